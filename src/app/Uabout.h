#pragma once

#include <QDialog>

namespace ts {

struct LoginValues;

// Who made and services this copy of the program: the branding settings,
// read once at login and not changed while it runs.
class Tabout : public QDialog {
    Q_OBJECT
public:
    explicit Tabout(const LoginValues& login, QWidget* parent = nullptr);
};

} // namespace ts
