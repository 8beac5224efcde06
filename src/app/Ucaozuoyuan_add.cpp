#include "app/Ucaozuoyuan_add.h"

#include "app/app_context.h"
#include "session/login_values.h"
#include "session/operators.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

Tcaozuoyuan_add::Tcaozuoyuan_add(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tcaozuoyuan_add"));
    setWindowTitle(QStringLiteral("操作员添加"));
    name_ = makeLineEdit(QStringLiteral("用户"));
    password_ = makeLineEdit(QStringLiteral("密码"));
    password_->setEchoMode(QLineEdit::Password);
    repeat_ = makeLineEdit(QStringLiteral("重复密码"));
    repeat_->setEchoMode(QLineEdit::Password);
    ok_ = makeButton(QStringLiteral("确定"));
    ok_->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用    户"), name_);
    form->addRow(QStringLiteral("密    码"), password_);
    form->addRow(QStringLiteral("重复密码"), repeat_);
    QBoxLayout* buttons = buttonRow({{QStringLiteral("取消"), [this] { reject(); }}});
    buttons->insertWidget(1, ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &Tcaozuoyuan_add::save);
}

void Tcaozuoyuan_add::editNew()
{
    id_ = 0;
    name_->clear();
    password_->clear();
    repeat_->clear();
    password_->setPlaceholderText(QString());
    repeat_->setPlaceholderText(QString());
}

void Tcaozuoyuan_add::editOperator(qint64 id, const QString& name)
{
    id_ = id;
    name_->setText(name);
    // Only a hash is stored, so there is nothing to show: empty keeps it.
    password_->clear();
    repeat_->clear();
    password_->setPlaceholderText(QStringLiteral("不修改请留空"));
    repeat_->setPlaceholderText(QStringLiteral("不修改请留空"));
}

void Tcaozuoyuan_add::save()
{
    const Outcome r = runAction(this, [&] {
        Operators ops(appDb());
        if (id_ == 0)
            return ops.add(name_->text(), password_->text(), repeat_->text());
        return ops.change(id_, name_->text(), password_->text(), repeat_->text(),
                          &LoginValues::current().operatorName);
    });
    if (!r)
        return;
    if (!r.message.isEmpty())
        Messages::instance().information(this, r.message);
    accept();
}

} // namespace ts
