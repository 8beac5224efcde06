#include "stock/Ushangpin_leixing.h"

#include "app/app_context.h"
#include "app/login_values.h"
#include "stock/product_types.h"
#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

TFshangpin_leixing::TFshangpin_leixing(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFshangpin_leixing"));
    setWindowTitle(QStringLiteral("商品类型"));
    resize(320, 380);

    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("类型列表"));
    grid_->setColumns({QStringLiteral("类型")});
    grid_->setTitle(QStringLiteral("类型"), QStringLiteral("商品类型"));

    type_ = new QLineEdit;
    type_->setObjectName(QStringLiteral("商品类型"));
    auto* label = new QLabel(QStringLiteral("商品类型"));
    label->setBuddy(type_);

    auto* add = new QPushButton(QStringLiteral("添加"));
    add->setObjectName(QStringLiteral("添加"));
    add->setDefault(true);
    auto* remove = new QPushButton(QStringLiteral("删除"));
    remove->setObjectName(QStringLiteral("删除"));
    remove->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(type_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(remove);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(row);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &TFshangpin_leixing::Button1Click);
    connect(remove, &QPushButton::clicked, this, &TFshangpin_leixing::Button2Click);
}

void TFshangpin_leixing::reload()
{
    const int row = grid_->currentRow();
    try {
        grid_->load(ProductTypes(appDb()).list());
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
    if (row >= 0 && grid_->rowCount() > 0)
        grid_->setCurrentRow(qMin(row, grid_->rowCount() - 1));
}

void TFshangpin_leixing::Button1Click()
{
    Outcome r;
    try {
        r = ProductTypes(appDb()).add(type_->text());
    } catch (const DbError& e) {
        r = Outcome::refused(e.message());
    }
    if (!r) {
        Messages::instance().error(this, r.message);
        return;
    }
    reload();
    grid_->setCurrentRow(grid_->rowCount() - 1);
}

void TFshangpin_leixing::Button2Click()
{
    const QVariantMap current = grid_->currentValues();
    if (current.isEmpty())
        return;
    const QString type = current.value(QStringLiteral("类型")).toString();
    if (const Outcome c = ProductTypes::checkRemovable(type); !c) {
        Messages::instance().error(this, c.message);
        return;
    }
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("razeroz"),
                                       QStringLiteral("确实要删除[") + type + QStringLiteral("]吗？")))
        return;
    Outcome r;
    try {
        r = ProductTypes(appDb()).remove(current.value(QStringLiteral("rk")).toString());
    } catch (const DbError& e) {
        r = Outcome::refused(e.message());
    }
    if (!r)
        Messages::instance().error(this, r.message);
    reload();
}

} // namespace ts
