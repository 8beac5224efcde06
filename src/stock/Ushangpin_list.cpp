#include "stock/Ushangpin_list.h"

#include "app/Uwiring.h"
#include "app/app_context.h"
#include "session/login_values.h"
#include "stock/Ushangpin_add.h"
#include "stock/products.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

namespace {

} // namespace

Tshangpin_list::Tshangpin_list(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tshangpin_list"));
    setWindowTitle(QStringLiteral("商品列表"));
    resize(820, 460);

    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("商品列表"));
    grid_->setColumns({QStringLiteral("产品编号"), QStringLiteral("产品类型"), QStringLiteral("产品名称"),
                       QStringLiteral("产品单位"), QStringLiteral("单价"), QStringLiteral("进货价"),
                       QStringLiteral("水票优惠单价"), QStringLiteral("业务员提成")});
    grid_->setTitle(QStringLiteral("单价"), QStringLiteral("销售单价"));
    grid_->setTitle(QStringLiteral("业务员提成"), QStringLiteral("配送提成"));

    auto* note = new QLabel(QStringLiteral("不要增加空桶资料名称，本软件空桶名称和水产品名称是一一对应的"));
    note->setObjectName(QStringLiteral("说明"));
    note->setStyleSheet(QStringLiteral("color: red"));

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* caption;
        void (Tshangpin_list::*slot)();
    } actions[] = {
        {"新建", &Tshangpin_list::newProduct},
        {"修改", &Tshangpin_list::editProduct},
        {"删除", &Tshangpin_list::deleteProduct},
        {"类型设置", &Tshangpin_list::editTypes},
    };
    for (const auto& a : actions)
        buttons->addWidget(makeButton(QString::fromUtf8(a.caption), [this, slot = a.slot] { (this->*slot)(); }));
    QPushButton* quit = makeButton(QStringLiteral("退出"), [this] { reject(); });
    buttons->addStretch();
    buttons->addWidget(quit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(note);
    layout->addLayout(buttons);

    connect(grid_, &DataGrid::rowDoubleClicked, this, [this] { editProduct(); });
}

void Tshangpin_list::reload()
{
    grid_->load(ProductCatalog(appDb()).list());
}

void Tshangpin_list::openProductForm(qint64 id)
{
    auto* form = FormRegistry::instance().get<Tshangpin_add>();
    if (!form)
        return;
    const qint64 keep = grid_->currentValues().value(QStringLiteral("id")).toLongLong();
    const int row = grid_->currentRow();
    if (id > 0)
        form->startEdit(id);
    else
        form->startNew();
    openModal(QStringLiteral("Tshangpin_add"), this);
    // Whatever the form did or dropped, the list shows the table as it is.
    runAction(this, [&] {
        reloadKeepingRow(grid_, [this] { reload(); }, QStringLiteral("id"), form->savedId() ? form->savedId() : keep,
                         row);
    });
}

void Tshangpin_list::newProduct()
{
    openProductForm(0);
}

void Tshangpin_list::editProduct()
{
    // With no product listed there is nothing to change: the form opens for
    // a new one.
    openProductForm(grid_->currentValues().value(QStringLiteral("id")).toLongLong());
}

void Tshangpin_list::deleteProduct()
{
    const QVariantMap current = grid_->currentValues();
    if (current.isEmpty())
        return;
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("rivodaz"),
                                       QStringLiteral("删除该商品后，空桶和库存数量也同时删除，确实要继续吗？")))
        return;
    const int row = grid_->currentRow();
    runAction(this, [&] { return ProductCatalog(appDb()).remove(current.value(QStringLiteral("id")).toLongLong()); });
    runAction(this, [&] { reloadKeepingRow(grid_, [this] { reload(); }, QString(), QVariant(), row); });
}

void Tshangpin_list::editTypes()
{
    openModal(QStringLiteral("TFshangpin_leixing"), this);
}

} // namespace ts
