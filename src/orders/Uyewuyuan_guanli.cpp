#include "orders/Uyewuyuan_guanli.h"

#include "app/app_context.h"
#include "orders/Uyewuyuan_add.h"
#include "orders/salespeople.h"
#include "storage/db.h"
#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

TFyewuyuan_guanli::TFyewuyuan_guanli(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFyewuyuan_guanli"));
    setWindowTitle(QStringLiteral("业务员管理"));

    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("业务员"));
    grid_->setColumns({QStringLiteral("姓名")});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::pair<QString, void (TFyewuyuan_guanli::*)()> actions[] = {
        {QStringLiteral("新建"), &TFyewuyuan_guanli::Button1Click},
        {QStringLiteral("修改"), &TFyewuyuan_guanli::Button2Click},
        {QStringLiteral("删除"), &TFyewuyuan_guanli::Button3Click},
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
    connect(grid_, &DataGrid::rowDoubleClicked, this, &TFyewuyuan_guanli::Button2Click);
    resize(380, 340);
}

void TFyewuyuan_guanli::reload()
{
    try {
        QSqlQuery q = Salespeople(appDb()).list();
        grid_->load(q);
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
}

TFyewuyuan_add* TFyewuyuan_guanli::editor()
{
    if (auto* shared = FormRegistry::instance().get<TFyewuyuan_add>())
        return shared;
    if (!ownEditor_)
        ownEditor_ = new TFyewuyuan_add(this);
    return ownEditor_;
}

void TFyewuyuan_guanli::Button1Click()
{
    TFyewuyuan_add* e = editor();
    e->startNew();
    e->exec();
    reload();
}

void TFyewuyuan_guanli::Button2Click()
{
    const QVariantMap row = grid_->currentValues();
    if (row.isEmpty())
        return;
    TFyewuyuan_add* e = editor();
    e->startEdit(row.value(QStringLiteral("姓名")).toString());
    e->exec();
    reload();
}

void TFyewuyuan_guanli::Button3Click()
{
    const QVariantMap row = grid_->currentValues();
    if (row.isEmpty())
        return;
    // Unlike most lists, the staff lists ask under the program's own title.
    if (!Messages::instance().question(this, QGuiApplication::applicationDisplayName(),
                                       QStringLiteral("确实要删除吗？")))
        return;
    try {
        Salespeople(appDb()).remove(row.value(QStringLiteral("姓名")).toString());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
}

} // namespace ts
