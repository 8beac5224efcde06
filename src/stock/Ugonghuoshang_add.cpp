#include "stock/Ugonghuoshang_add.h"

#include "app/app_context.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

TFgonghuoshang_add::TFgonghuoshang_add(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFgonghuoshang_add"));
    setWindowTitle(QStringLiteral("增加供货商"));
    resize(400, 0);

    auto* form = new QFormLayout;
    const struct {
        const char* label;
        QLineEdit** edit;
    } fields[] = {
        {"供货商名称", &name_}, {"联系人", &contact_}, {"电话", &phone_}, {"手机", &mobile_}, {"地址", &address_},
    };
    for (const auto& f : fields) {
        *f.edit = makeLineEdit(QString::fromUtf8(f.label));
        form->addRow(QString::fromUtf8(f.label), *f.edit);
    }

    QPushButton* ok = makeButton(QStringLiteral("确定"), [this] { save(); });
    ok->setDefault(true);
    QPushButton* cancel = makeButton(QStringLiteral("取消"), [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

}

void TFgonghuoshang_add::startNew()
{
    key_.clear();
    showSupplier({});
}

void TFgonghuoshang_add::startEdit(const QString& key)
{
    std::optional<Supplier> s;
    runAction(this, [&] { s = SupplierList(appDb()).read(key); });
    if (!s) {
        startNew();
        return;
    }
    key_ = key;
    showSupplier(*s);
}

void TFgonghuoshang_add::showSupplier(const Supplier& s)
{
    name_->setText(s.name);
    contact_->setText(s.contact);
    phone_->setText(s.phone);
    mobile_->setText(s.mobile);
    address_->setText(s.address);
    name_->setFocus();
}

Supplier TFgonghuoshang_add::input() const
{
    return {name_->text(), contact_->text(), phone_->text(), mobile_->text(), address_->text()};
}

void TFgonghuoshang_add::save()
{
    const Outcome r = runAction(this, [this] {
        SupplierList list(appDb());
        if (!key_.isEmpty())
            return list.update(key_, input());
        list.add(input());
        return Outcome::done();
    });
    if (r)
        accept();
}

} // namespace ts
