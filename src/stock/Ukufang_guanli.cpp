#include "stock/Ukufang_guanli.h"

#include "app/app_context.h"
#include "session/login_values.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

using Button = WarehouseEditor::Button;
using Mode = WarehouseEditor::Mode;

Tkufang_guanli::Tkufang_guanli(QWidget* parent) : Form(parent), editor_(std::make_unique<WarehouseEditor>(appDb()))
{
    setObjectName(QStringLiteral("Tkufang_guanli"));
    setWindowTitle(QStringLiteral("库房管理"));
    resize(420, 380);

    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("库房列表"));
    grid_->setColumns({QStringLiteral("库房名称")});

    name_ = makeLineEdit(QStringLiteral("库房名称"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("库房名称"), name_);

    auto* row = new QHBoxLayout;
    const struct {
        Button button;
        const char* caption;
        void (Tkufang_guanli::*slot)();
    } all[] = {
        {Button::Add, "新增", &Tkufang_guanli::addWarehouse},
        {Button::Edit, "修改", &Tkufang_guanli::editWarehouse},
        {Button::Save, "保存", &Tkufang_guanli::saveWarehouse},
        {Button::Cancel, "取消", &Tkufang_guanli::cancelEdit},
        {Button::Delete, "删除", &Tkufang_guanli::deleteWarehouse},
    };
    for (const auto& b : all) {
        QPushButton* pb = makeButton(QString::fromUtf8(b.caption), [this, slot = b.slot] { (this->*slot)(); });
        row->addWidget(pb);
        buttons_.insert(b.button, pb);
    }
    // Enter in the name saves what is being typed.
    connect(name_, &QLineEdit::returnPressed, this, [this] {
        if (editor_->mode() != Mode::Rest)
            saveWarehouse();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(form);
    layout->addLayout(row);

    connect(grid_, &DataGrid::currentRowChanged, this, [this] {
        if (editor_->mode() == Mode::Rest)
            showCurrent();
    });
}

Tkufang_guanli::~Tkufang_guanli() = default;

void Tkufang_guanli::reload()
{
    // Reopening drops whatever was left pending when the window closed.
    editor_->cancel();
    reloadKeeping(currentId());
}

void Tkufang_guanli::reloadKeeping(qint64 id, int fallbackRow)
{
    runAction(this, [&] {
        reloadKeepingRow(grid_, [this] { grid_->load(editor_->list()); }, QStringLiteral("id"), id, fallbackRow);
    });
    showState();
    showCurrent();
}

qint64 Tkufang_guanli::currentId() const
{
    return grid_->currentValues().value(QStringLiteral("id")).toLongLong();
}

void Tkufang_guanli::showState()
{
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setEnabled(editor_->isEnabled(it.key()));
    const bool pending = editor_->mode() != Mode::Rest;
    // The name is only typed into while a row is pending, and the list stays
    // where it is until that row is saved or dropped.
    name_->setReadOnly(!pending);
    grid_->setEnabled(!pending);
}

void Tkufang_guanli::showCurrent()
{
    name_->setText(grid_->currentValues().value(QStringLiteral("库房名称")).toString());
}

void Tkufang_guanli::addWarehouse()
{
    editor_->append();
    name_->clear();
    showState();
    name_->setFocus();
}

void Tkufang_guanli::editWarehouse()
{
    editor_->edit(currentId());
    if (editor_->mode() == Mode::Appending)
        name_->clear();
    showState();
    name_->setFocus();
}

void Tkufang_guanli::saveWarehouse()
{
    qint64 id = 0;
    bool answered = false;
    runAction(this, [&] {
        const Outcome o = editor_->save(name_->text(), &id);
        answered = true;
        return o;
    });
    // When the database failed the row stays pending, so nothing typed is
    // lost; a refusal was an answer and the list is shown as it is.
    if (!answered)
        return;
    editor_->cancel();
    reloadKeeping(id);
}

void Tkufang_guanli::cancelEdit()
{
    editor_->cancel();
    showState();
    showCurrent();
}

void Tkufang_guanli::deleteWarehouse()
{
    if (editor_->mode() == Mode::Rest && currentId() <= 0)
        return;
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("rivodaz"),
                                       QStringLiteral("确实要删除吗？")))
        return;
    const int row = grid_->currentRow();
    runAction(this, [this] { editor_->remove(currentId()); });
    editor_->cancel();
    reloadKeeping(0, row);
}

} // namespace ts
