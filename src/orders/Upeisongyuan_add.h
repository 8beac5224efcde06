#pragma once

#include "orders/workers.h"
#include "widgets/form_registry.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace ts {

// "配送员管理": one delivery worker, new or existing. Nothing is written
// until 确定, so closing the window any other way drops the edit.
class Tpeisongyuan_add : public Form {
    Q_OBJECT
public:
    explicit Tpeisongyuan_add(QWidget* parent = nullptr);

    void startNew();
    void startEdit(const DeliveryWorker& worker);

public slots:
    void save();  // 确定

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* name_;
    QLineEdit* phone_;
    QLineEdit* vehicle_;
    QComboBox* commission_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QString originalName_;  // empty while the window holds a new worker
    bool isNew_ = true;
};

} // namespace ts
