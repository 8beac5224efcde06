#include "orders/Upeisongyuan_add.h"

#include "app/app_context.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

Tpeisongyuan_add::Tpeisongyuan_add(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tpeisongyuan_add"));
    setWindowTitle(QStringLiteral("配送员管理"));

    name_ = makeLineEdit(QStringLiteral("员工姓名"));
    phone_ = makeLineEdit(QStringLiteral("联系电话"));
    vehicle_ = makeLineEdit(QStringLiteral("所用车辆"));
    commission_ = makeComboBox(QStringLiteral("配送提成"));
    commission_->addItems(DeliveryWorkers::commissionChoices());

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("员工姓名"), name_);
    fields->addRow(QStringLiteral("联系电话"), phone_);
    fields->addRow(QStringLiteral("所用车辆"), vehicle_);
    fields->addRow(QStringLiteral("配送提成"), commission_);

    ok_ = new QPushButton(QStringLiteral("确定"));
    ok_->setObjectName(QStringLiteral("确定"));
    cancel_ = new QPushButton(QStringLiteral("取消"));
    cancel_->setObjectName(QStringLiteral("取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    // Enter walks name → telephone → vehicle → 确定 without saving on the way.
    for (QLineEdit* e : {name_, phone_, vehicle_})
        e->installEventFilter(this);
    connect(ok_, &QPushButton::clicked, this, &Tpeisongyuan_add::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(340, 200);
}

bool Tpeisongyuan_add::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == name_)
                phone_->setFocus();
            else if (watched == phone_)
                vehicle_->setFocus();
            else if (watched == vehicle_)
                ok_->setFocus();
            else
                return Form::eventFilter(watched, event);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void Tpeisongyuan_add::startNew()
{
    isNew_ = true;
    originalName_.clear();
    name_->clear();
    phone_->clear();
    vehicle_->clear();
    // A new worker's commission stays undecided until someone picks it.
    commission_->setCurrentIndex(-1);
    name_->setFocus();
}

void Tpeisongyuan_add::startEdit(const DeliveryWorker& worker)
{
    isNew_ = false;
    originalName_ = worker.name;
    name_->setText(worker.name);
    phone_->setText(worker.phone);
    vehicle_->setText(worker.vehicle);
    commission_->setCurrentIndex(commission_->findText(worker.commission));
    name_->setFocus();
}

void Tpeisongyuan_add::save()
{
    const DeliveryWorker worker{name_->text(), phone_->text(), vehicle_->text(), commission_->currentText()};
    const Outcome o = runAction(this, [&] {
        DeliveryWorkers workers(appDb());
        return isNew_ ? workers.add(worker) : workers.change(originalName_, worker);
    });
    if (o)
        accept();
}

} // namespace ts
