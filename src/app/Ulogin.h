#pragma once

#include "app/login.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ts {

// The login window "用户登陆": operator, password and the caller-ID or
// recording hardware of this station. It lives for the whole run; closing
// it ends the program.
class Tlogin : public QDialog {
    Q_OBJECT
public:
    explicit Tlogin(QWidget* parent = nullptr);

    // What the window shows as the hardware choice.
    HardwareChoice hardware() const;

signals:
    // The login values are set; the main window may be shown.
    void loggedIn();

public slots:
    void logIn();  // 登陆

protected:
    void showEvent(QShowEvent* e) override;

private:
    void serialToggled(bool on);
    void usbToggled(bool on);
    void showHardware(const HardwareChoice& hw);

    QComboBox* user_;
    QLineEdit* password_;
    QCheckBox* serial_;
    QLabel* portLabel_;
    QComboBox* port_;
    QLabel* typeLabel_;
    QComboBox* boxType_;
    QCheckBox* usb_;
    QLabel* modelLabel_;
    QComboBox* model_;
    QLabel* channelsLabel_;
    QComboBox* channels_;
    QPushButton* loginButton_;
    QPushButton* quitButton_;
};

} // namespace ts
