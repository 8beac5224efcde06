#include "stock/Ushangpin_list.h"

#include "app/Uwiring.h"
#include "app/app_context.h"
#include "app/login_values.h"
#include "stock/Ushangpin_add.h"
#include "stock/products.h"
#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

namespace {

QPushButton* button(const QString& caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(caption);
    return b;
}

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
        {"新建", &Tshangpin_list::Button1Click},
        {"修改", &Tshangpin_list::Button2Click},
        {"删除", &Tshangpin_list::Button3Click},
        {"类型设置", &Tshangpin_list::Button4Click},
    };
    for (const auto& a : actions) {
        QPushButton* b = button(QString::fromUtf8(a.caption));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    QPushButton* quit = button(QStringLiteral("退出"));
    quit->setAutoDefault(false);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(quit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(note);
    layout->addLayout(buttons);

    connect(grid_, &DataGrid::rowDoubleClicked, this, [this] { Button2Click(); });
}

void Tshangpin_list::reload()
{
    try {
        grid_->load(ProductCatalog(appDb()).list());
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
}

void Tshangpin_list::selectProduct(qint64 id)
{
    for (int row = 0; row < grid_->rowCount(); ++row) {
        if (grid_->value(row, QStringLiteral("id")).toLongLong() == id) {
            grid_->setCurrentRow(row);
            return;
        }
    }
}

void Tshangpin_list::openProductForm(qint64 id)
{
    auto* form = FormRegistry::instance().get<Tshangpin_add>();
    if (!form)
        return;
    const qint64 keep = grid_->currentValues().value(QStringLiteral("id")).toLongLong();
    if (id > 0)
        form->startEdit(id);
    else
        form->startNew();
    openModal(QStringLiteral("Tshangpin_add"), this);
    // Whatever the form did or dropped, the list shows the table as it is.
    reload();
    selectProduct(form->savedId() ? form->savedId() : keep);
}

void Tshangpin_list::Button1Click()
{
    openProductForm(0);
}

void Tshangpin_list::Button2Click()
{
    // With no product listed there is nothing to change: the form opens for
    // a new one.
    openProductForm(grid_->currentValues().value(QStringLiteral("id")).toLongLong());
}

void Tshangpin_list::Button3Click()
{
    const QVariantMap current = grid_->currentValues();
    if (current.isEmpty())
        return;
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("rivodaz"),
                                       QStringLiteral("删除该商品后，空桶和库存数量也同时删除，确实要继续吗？")))
        return;
    const int row = grid_->currentRow();
    try {
        const Outcome r = ProductCatalog(appDb()).remove(current.value(QStringLiteral("id")).toLongLong());
        if (!r)
            Messages::instance().error(this, r.message);
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
    if (grid_->rowCount() > 0)
        grid_->setCurrentRow(qMin(row, grid_->rowCount() - 1));
}

void Tshangpin_list::Button4Click()
{
    openModal(QStringLiteral("TFshangpin_leixing"), this);
}

} // namespace ts
