#include "stock/Ugonghuoshang_list.h"

#include "app/Uwiring.h"
#include "app/app_context.h"
#include "stock/Ugonghuoshang_add.h"
#include "stock/suppliers.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QAction>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

namespace ts {

TFgonghuoshang_list::TFgonghuoshang_list(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFgonghuoshang_list"));
    setWindowTitle(QStringLiteral("供货商列表"));
    resize(720, 420);

    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("供货商列表"));
    grid_->setColumns({QStringLiteral("供货商"), QStringLiteral("联系人"), QStringLiteral("电话"), QStringLiteral("手机"),
                       QStringLiteral("地址")});

    auto* menu = new QMenuBar;
    const struct {
        const char* caption;
        void (TFgonghuoshang_list::*slot)();
    } entries[] = {
        {"添加", &TFgonghuoshang_list::addSupplier},
        {"修改", &TFgonghuoshang_list::editSupplier},
        {"删除", &TFgonghuoshang_list::deleteSupplier},
    };
    for (const auto& e : entries) {
        QAction* a = menu->addAction(QString::fromUtf8(e.caption));
        a->setObjectName(QString::fromUtf8(e.caption));
        connect(a, &QAction::triggered, this, e.slot);
    }
    QAction* back = menu->addAction(QStringLiteral("返回"));
    back->setObjectName(QStringLiteral("返回"));
    connect(back, &QAction::triggered, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(grid_);

    connect(grid_, &DataGrid::rowDoubleClicked, this, [this] { editSupplier(); });
}

void TFgonghuoshang_list::reload()
{
    reloadKeepingRow(
        grid_, [this] { grid_->load(SupplierList(appDb()).list()); }, QString(), QVariant(),
        std::max(grid_->currentRow(), 0));
}

void TFgonghuoshang_list::openSupplierForm(const QString& key)
{
    auto* form = FormRegistry::instance().get<TFgonghuoshang_add>();
    if (!form)
        return;
    if (key.isEmpty())
        form->startNew();
    else
        form->startEdit(key);
    openModal(QStringLiteral("TFgonghuoshang_add"), this);
    runAction(this, [this] { reload(); });
}

void TFgonghuoshang_list::addSupplier()
{
    openSupplierForm({});
}

void TFgonghuoshang_list::editSupplier()
{
    // An empty list has no row to change: the form opens for a new one.
    openSupplierForm(grid_->currentValues().value(QStringLiteral("rk")).toString());
}

void TFgonghuoshang_list::deleteSupplier()
{
    const QString key = grid_->currentValues().value(QStringLiteral("rk")).toString();
    if (key.isEmpty())
        return;
    if (!Messages::instance().question(this, QStringLiteral("vide2008"), QStringLiteral("确实要删除吗？")))
        return;
    runAction(this, [&] {
        SupplierList(appDb()).remove(key);
        reload();
    });
}

} // namespace ts
