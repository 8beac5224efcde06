#include "stock/Ugonghuoshang_list.h"

#include "app/Uwiring.h"
#include "app/app_context.h"
#include "stock/Ugonghuoshang_add.h"
#include "stock/suppliers.h"
#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QAction>
#include <QMenuBar>
#include <QVBoxLayout>

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
        {"添加", &TFgonghuoshang_list::N1Click},
        {"修改", &TFgonghuoshang_list::N2Click},
        {"删除", &TFgonghuoshang_list::N3Click},
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

    connect(grid_, &DataGrid::rowDoubleClicked, this, [this] { N2Click(); });
}

void TFgonghuoshang_list::reload()
{
    const int row = grid_->currentRow();
    try {
        grid_->load(SupplierList(appDb()).list());
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
    if (row >= 0 && grid_->rowCount() > 0)
        grid_->setCurrentRow(qMin(row, grid_->rowCount() - 1));
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
    reload();
}

void TFgonghuoshang_list::N1Click()
{
    openSupplierForm({});
}

void TFgonghuoshang_list::N2Click()
{
    // An empty list has no row to change: the form opens for a new one.
    openSupplierForm(grid_->currentValues().value(QStringLiteral("rk")).toString());
}

void TFgonghuoshang_list::N3Click()
{
    const QString key = grid_->currentValues().value(QStringLiteral("rk")).toString();
    if (key.isEmpty())
        return;
    if (!Messages::instance().question(this, QStringLiteral("vide2008"), QStringLiteral("确实要删除吗？")))
        return;
    try {
        SupplierList(appDb()).remove(key);
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
}

} // namespace ts
