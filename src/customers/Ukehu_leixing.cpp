#include "customers/Ukehu_leixing.h"

#include "app/app_context.h"
#include "app/login_values.h"
#include "customers/customer_setup.h"
#include "storage/db.h"
#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QDoubleValidator>
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

    type_ = new QLineEdit(this);
    type_->setObjectName(QStringLiteral("客户类型"));
    commission_ = new QLineEdit(this);
    commission_->setObjectName(QStringLiteral("提成"));
    auto* v = new QDoubleValidator(commission_);
    v->setDecimals(4);
    v->setNotation(QDoubleValidator::StandardNotation);
    commission_->setValidator(v);

    grid_ = new DataGrid(this);
    grid_->setObjectName(QStringLiteral("客户类型列表"));
    grid_->setColumns({QStringLiteral("客户类型"), QStringLiteral("提成")});
    grid_->setTitle(QStringLiteral("提成"), QStringLiteral("提成（以客户提成时生效）"));

    auto make = [this](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* add = make(QStringLiteral("添加"));
    QPushButton* remove = make(QStringLiteral("删除"));
    QPushButton* apply = make(QStringLiteral("成批根据设置修改客户提成"));
    QPushButton* close = make(QStringLiteral("退出"));
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
    const Outcome o = CustomerTypes(appDb()).add(type_->text(), commission_->text());
    if (!o) {
        Messages::instance().information(this, o.message);
        return;
    }
    type_->clear();
    commission_->clear();
    showTypes();
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
    CustomerTypes(appDb()).remove(type);
    showTypes();
}

void TFkehu_leixing::applyToCustomers()
{
    try {
        Messages::instance().information(this, CustomerTypes(appDb()).applyToCustomers().message);
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
}

} // namespace ts
