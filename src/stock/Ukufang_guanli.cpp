#include "stock/Ukufang_guanli.h"

#include "app/app_context.h"
#include "app/login_values.h"
#include "widgets/data_grid.h"
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

    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("库房名称"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("库房名称"), name_);

    auto* row = new QHBoxLayout;
    const struct {
        Button button;
        const char* caption;
        void (Tkufang_guanli::*slot)();
    } all[] = {
        {Button::Add, "新增", &Tkufang_guanli::Button1Click},
        {Button::Edit, "修改", &Tkufang_guanli::Button2Click},
        {Button::Save, "保存", &Tkufang_guanli::Button3Click},
        {Button::Cancel, "取消", &Tkufang_guanli::Button4Click},
        {Button::Delete, "删除", &Tkufang_guanli::Button5Click},
    };
    for (const auto& b : all) {
        auto* pb = new QPushButton(QString::fromUtf8(b.caption));
        pb->setObjectName(QString::fromUtf8(b.caption));
        pb->setAutoDefault(false);
        connect(pb, &QPushButton::clicked, this, b.slot);
        row->addWidget(pb);
        buttons_.insert(b.button, pb);
    }
    // Enter in the name saves what is being typed.
    connect(name_, &QLineEdit::returnPressed, this, [this] {
        if (editor_->mode() != Mode::Rest)
            Button3Click();
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
    const qint64 keep = currentId();
    try {
        grid_->load(editor_->list());
    } catch (const DbError& e) {
        grid_->closeData();
        Messages::instance().error(this, e.message());
    }
    selectId(keep);
    showState();
    showCurrent();
}

qint64 Tkufang_guanli::currentId() const
{
    return grid_->currentValues().value(QStringLiteral("id")).toLongLong();
}

void Tkufang_guanli::selectId(qint64 id)
{
    for (int row = 0; row < grid_->rowCount(); ++row) {
        if (grid_->value(row, QStringLiteral("id")).toLongLong() == id) {
            grid_->setCurrentRow(row);
            return;
        }
    }
    if (grid_->rowCount() > 0 && grid_->currentRow() < 0)
        grid_->setCurrentRow(0);
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

void Tkufang_guanli::Button1Click()
{
    editor_->append();
    name_->clear();
    showState();
    name_->setFocus();
}

void Tkufang_guanli::Button2Click()
{
    editor_->edit(currentId());
    if (editor_->mode() == Mode::Appending)
        name_->clear();
    showState();
    name_->setFocus();
}

void Tkufang_guanli::Button3Click()
{
    qint64 id = 0;
    try {
        const Outcome r = editor_->save(name_->text(), &id);
        if (!r)
            Messages::instance().error(this, r.message);
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
        return;  // the row stays pending, so nothing typed is lost
    }
    reload();
    selectId(id);
    showCurrent();
}

void Tkufang_guanli::Button4Click()
{
    editor_->cancel();
    showState();
    showCurrent();
}

void Tkufang_guanli::Button5Click()
{
    if (editor_->mode() == Mode::Rest && currentId() <= 0)
        return;
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("rivodaz"),
                                       QStringLiteral("确实要删除吗？")))
        return;
    const int row = grid_->currentRow();
    try {
        editor_->remove(currentId());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    reload();
    if (grid_->rowCount() > 0)
        grid_->setCurrentRow(qMin(qMax(row, 0), grid_->rowCount() - 1));
    showCurrent();
}

} // namespace ts
