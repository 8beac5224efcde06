#include "orders/Ustaff_list.h"

#include "storage/db.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QVBoxLayout>

namespace ts {

StaffList::StaffList(const QString& objectName, const QString& title, const QString& gridName,
                     const QStringList& columns, QWidget* parent)
    : Form(parent)
{
    setObjectName(objectName);
    setWindowTitle(title);
    grid_ = new DataGrid;
    grid_->setObjectName(gridName);
    grid_->setColumns(columns);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttonRow({{QStringLiteral("新建"), [this] { Button1Click(); }},
                                 {QStringLiteral("修改"), [this] { Button2Click(); }},
                                 {QStringLiteral("删除"), [this] { Button3Click(); }},
                                 {QStringLiteral("退出"), [this] { reject(); }}}));
    connect(grid_, &DataGrid::rowDoubleClicked, this, &StaffList::Button2Click);
}

void StaffList::reload()
{
    try {
        grid_->load(rows());
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
}

QString StaffList::currentName() const
{
    return grid_->currentValues().value(QStringLiteral("姓名")).toString();
}

void StaffList::Button1Click()
{
    editNew();
    reload();
}

void StaffList::Button2Click()
{
    if (grid_->currentValues().isEmpty())
        return;
    try {
        editNamed(currentName());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
}

void StaffList::Button3Click()
{
    if (grid_->currentValues().isEmpty())
        return;
    // Unlike most lists, the staff lists ask under the program's own title.
    if (!Messages::instance().question(this, QGuiApplication::applicationDisplayName(),
                                       QStringLiteral("确实要删除吗？")))
        return;
    try {
        removeNamed(currentName());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
}

} // namespace ts
