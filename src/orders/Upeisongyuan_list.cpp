#include "orders/Upeisongyuan_list.h"

#include "app/app_context.h"
#include "orders/Upeisongyuan_add.h"
#include "orders/workers.h"
#include "storage/db.h"
#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

Tpeisongyuan_list::Tpeisongyuan_list(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tpeisongyuan_list"));
    setWindowTitle(QStringLiteral("配送员列表"));

    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("配送员"));
    grid_->setColumns({QStringLiteral("姓名"), QStringLiteral("电话"), QStringLiteral("所用车辆"),
                       QStringLiteral("配送提成")});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::pair<QString, void (Tpeisongyuan_list::*)()> actions[] = {
        {QStringLiteral("新建"), &Tpeisongyuan_list::Button1Click},
        {QStringLiteral("修改"), &Tpeisongyuan_list::Button2Click},
        {QStringLiteral("删除"), &Tpeisongyuan_list::Button3Click},
        {QStringLiteral("退出"), nullptr},
    };
    for (const auto& [caption, slot] : actions) {
        auto* b = new QPushButton(caption);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        if (slot)
            connect(b, &QPushButton::clicked, this, slot);
        else
            connect(b, &QPushButton::clicked, this, &QDialog::reject);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    connect(grid_, &DataGrid::rowDoubleClicked, this, &Tpeisongyuan_list::Button2Click);
    resize(560, 380);
}

void Tpeisongyuan_list::reload()
{
    try {
        QSqlQuery q = DeliveryWorkers(appDb()).list();
        grid_->load(q);
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
}

Tpeisongyuan_add* Tpeisongyuan_list::editor()
{
    if (auto* shared = FormRegistry::instance().get<Tpeisongyuan_add>())
        return shared;
    if (!ownEditor_)
        ownEditor_ = new Tpeisongyuan_add(this);
    return ownEditor_;
}

void Tpeisongyuan_list::Button1Click()
{
    Tpeisongyuan_add* e = editor();
    e->startNew();
    e->exec();
    reload();
}

void Tpeisongyuan_list::Button2Click()
{
    const QVariantMap row = grid_->currentValues();
    if (row.isEmpty())
        return;
    std::optional<DeliveryWorker> worker;
    try {
        worker = DeliveryWorkers(appDb()).find(row.value(QStringLiteral("姓名")).toString());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
        return;
    }
    if (!worker) {
        reload();
        return;
    }
    Tpeisongyuan_add* e = editor();
    e->startEdit(*worker);
    e->exec();
    reload();
}

void Tpeisongyuan_list::Button3Click()
{
    const QVariantMap row = grid_->currentValues();
    if (row.isEmpty())
        return;
    // Unlike most lists, the staff lists ask under the program's own title.
    if (!Messages::instance().question(this, QGuiApplication::applicationDisplayName(),
                                       QStringLiteral("确实要删除吗？")))
        return;
    try {
        DeliveryWorkers(appDb()).remove(row.value(QStringLiteral("姓名")).toString());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
}

} // namespace ts
