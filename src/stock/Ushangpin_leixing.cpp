#include "stock/Ushangpin_leixing.h"

#include "app/app_context.h"
#include "session/login_values.h"
#include "stock/product_types.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

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

    type_ = makeLineEdit(QStringLiteral("商品类型"));
    auto* label = new QLabel(QStringLiteral("商品类型"));
    label->setBuddy(type_);

    QPushButton* add = makeButton(QStringLiteral("添加"), [this] { addType(); });
    add->setDefault(true);
    QPushButton* remove = makeButton(QStringLiteral("删除"), [this] { removeType(); });

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

}

void TFshangpin_leixing::reload()
{
    reloadKeepingRow(
        grid_, [this] { grid_->load(ProductTypes(appDb()).list()); }, QString(), QVariant(),
        std::max(grid_->currentRow(), 0));
}

void TFshangpin_leixing::addType()
{
    const QString type = type_->text();
    runAction(this, [&] {
        const Outcome o = ProductTypes(appDb()).add(type);
        if (o)
            // A new type is listed last when its name is not found as typed.
            reloadKeepingRow(grid_, [this] { reload(); }, QStringLiteral("类型"), type.trimmed(),
                             std::numeric_limits<int>::max());
        return o;
    });
}

void TFshangpin_leixing::removeType()
{
    const QVariantMap current = grid_->currentValues();
    if (current.isEmpty())
        return;
    const QString type = current.value(QStringLiteral("类型")).toString();
    if (!runAction(this, [&] { return ProductTypes::checkRemovable(type); }))
        return;
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("razeroz"),
                                       QStringLiteral("确实要删除[") + type + QStringLiteral("]吗？")))
        return;
    runAction(this, [&] { return ProductTypes(appDb()).remove(current.value(QStringLiteral("rk")).toString()); });
    runAction(this, [this] { reload(); });
}

} // namespace ts
