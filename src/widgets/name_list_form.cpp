#include "widgets/name_list_form.h"

#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QVBoxLayout>

namespace ts {

NameListForm::NameListForm(const QString& objectName, const QString& title, const QString& gridName,
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
    layout->addLayout(buttonRow({{QStringLiteral("新建"), [this] { addNew(); }},
                                 {QStringLiteral("修改"), [this] { editCurrent(); }},
                                 {QStringLiteral("删除"), [this] { deleteCurrent(); }},
                                 {QStringLiteral("退出"), [this] { reject(); }}}));
    connect(grid_, &DataGrid::rowDoubleClicked, this, &NameListForm::editCurrent);
}

void NameListForm::reload()
{
    grid_->load(rows());
}

QString NameListForm::currentName() const
{
    return grid_->currentValues().value(QStringLiteral("姓名")).toString();
}

void NameListForm::addNew()
{
    runAction(this, [this] { editNew(); });
    runAction(this, [this] { reload(); });
}

void NameListForm::editCurrent()
{
    if (grid_->currentValues().isEmpty())
        return;
    runAction(this, [this] { editNamed(currentName()); });
    runAction(this, [this] { reload(); });
}

void NameListForm::deleteCurrent()
{
    if (grid_->currentValues().isEmpty())
        return;
    // Unlike most lists, the staff lists ask under the program's own title.
    if (!Messages::instance().question(this, QGuiApplication::applicationDisplayName(),
                                       QStringLiteral("确实要删除吗？")))
        return;
    runAction(this, [this] { removeNamed(currentName()); });
    runAction(this, [this] { reload(); });
}

} // namespace ts
