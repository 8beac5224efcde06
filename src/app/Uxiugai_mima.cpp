#include "app/Uxiugai_mima.h"

#include "app/app_context.h"
#include "session/login_values.h"
#include "session/operators.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

Txiugai_mima::Txiugai_mima(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Txiugai_mima"));
    setWindowTitle(QStringLiteral("修改密码"));
    auto input = [](const char* name) {
        QLineEdit* e = makeLineEdit(QString::fromUtf8(name));
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    old_ = input("原始密码");
    fresh_ = input("新密码");
    confirm_ = input("密码验证");
    QPushButton* ok = makeButton(QStringLiteral("确定"));
    ok->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("原始密码"), old_);
    form->addRow(QStringLiteral("新密码"), fresh_);
    form->addRow(QStringLiteral("密码验证"), confirm_);
    QBoxLayout* buttons = buttonRow({{QStringLiteral("取消"), [this] { reject(); }}});
    buttons->insertWidget(1, ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &Txiugai_mima::changePassword);
}

void Txiugai_mima::reload()
{
    old_->clear();
    fresh_->clear();
    confirm_->clear();
    old_->setFocus();
}

void Txiugai_mima::changePassword()
{
    const Outcome r = runAction(this, [&] {
        return Operators(appDb()).changePassword(LoginValues::current().operatorName, old_->text(), fresh_->text(),
                                                 confirm_->text());
    });
    if (!r)
        return;
    Messages::instance().information(this, r.message);
    accept();
}

} // namespace ts
