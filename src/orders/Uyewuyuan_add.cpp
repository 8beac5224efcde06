#include "orders/Uyewuyuan_add.h"

#include "app/app_context.h"
#include "orders/salespeople.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

TFyewuyuan_add::TFyewuyuan_add(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFyewuyuan_add"));
    setWindowTitle(QStringLiteral("业务员信息添加"));

    name_ = makeLineEdit(QStringLiteral("业务员姓名"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("业务员姓名"), name_);

    ok_ = new QPushButton(QStringLiteral("确定"));
    ok_->setObjectName(QStringLiteral("确定"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"));
    cancel->setObjectName(QStringLiteral("取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &TFyewuyuan_add::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(300, 110);
}

void TFyewuyuan_add::startNew()
{
    isNew_ = true;
    originalName_.clear();
    name_->clear();
    name_->setFocus();
}

void TFyewuyuan_add::startEdit(const QString& name)
{
    isNew_ = false;
    originalName_ = name;
    name_->setText(name);
    name_->setFocus();
}

void TFyewuyuan_add::save()
{
    const Outcome o = runAction(this, [this] {
        Salespeople people(appDb());
        return isNew_ ? people.add(name_->text()) : people.rename(originalName_, name_->text());
    });
    if (o)
        accept();
}

} // namespace ts
