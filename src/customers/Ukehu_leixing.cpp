#include "customers/Ukehu_leixing.h"

#include "app/app_context.h"
#include "customers/customer_setup.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace ts {

TFkehu_leixing::TFkehu_leixing(QWidget* parent)
    : Form(parent)
{
    setObjectName(QStringLiteral("TFkehu_leixing"));
    setWindowTitle(QStringLiteral("客户类型设置"));
    resize(460, 400);

    type_ = makeLineEdit(QStringLiteral("客户类型"), this);
    commission_ = makeLineEdit(QStringLiteral("提成"), this);
    commission_->setValidator(moneyValidator(commission_));

    grid_ = new DataGrid(this);
    grid_->setObjectName(QStringLiteral("客户类型列表"));
    grid_->setColumns({QStringLiteral("客户类型"), QStringLiteral("提成")});
    grid_->setTitle(QStringLiteral("提成"), QStringLiteral("提成（以客户提成时生效）"));

    QPushButton* add = makeButton(QStringLiteral("添加"), {}, this);
    QPushButton* remove = makeButton(QStringLiteral("删除"), {}, this);
    QPushButton* apply = makeButton(QStringLiteral("成批根据设置修改客户提成"), {}, this);
    QPushButton* close = makeButton(QStringLiteral("退出"), {}, this);
    connect(add, &QPushButton::clicked, this, &TFkehu_leixing::addType);
    connect(remove, &QPushButton::clicked, this, &TFkehu_leixing::removeType);
    connect(apply, &QPushButton::clicked, this, &TFkehu_leixing::applyToCustomers);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(new QLabel(QStringLiteral("客户类型"), this));
    inputs->addWidget(type_);
    inputs->addWidget(new QLabel(QStringLiteral("提成"), this));
    inputs->addWidget(commission_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, remove, apply, close})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addLayout(buttons);
    layout->addWidget(grid_);
}

void TFkehu_leixing::reload()
{
    CustomerTypes(appDb()).fillEmptyCommissions();
    showTypes();
}

void TFkehu_leixing::showTypes()
{
    grid_->load(CustomerTypes(appDb()).list());
}

void TFkehu_leixing::addType()
{
    runAction(this, [this] {
        const Outcome o = CustomerTypes(appDb()).add(type_->text(), commission_->text());
        if (!o)
            return o;
        type_->clear();
        commission_->clear();
        showTypes();
        return o;
    });
}

void TFkehu_leixing::removeType()
{
    const QVariantMap row = grid_->currentValues();
    if (row.isEmpty())
        return;
    const QString type = row.value(QStringLiteral("客户类型")).toString();
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("razeroz"),
                                       QStringLiteral("确实要删除[") + type + QStringLiteral("]吗？")))
        return;
    runAction(this, [&] {
        CustomerTypes(appDb()).remove(type);
        showTypes();
    });
}

void TFkehu_leixing::applyToCustomers()
{
    const Outcome o = runAction(this, [] { return CustomerTypes(appDb()).applyToCustomers(); });
    if (o)
        Messages::instance().information(this, o.message);
}

} // namespace ts
