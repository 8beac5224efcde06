#include "stock/warehouses.h"

namespace ts {

Rows WarehouseEditor::list()
{
    return db_.select(QStringLiteral("select id, 库房名称 from 库房名称 order by id"));
}

bool WarehouseEditor::isEnabled(Button b) const
{
    const bool pending = mode_ != Mode::Rest;
    switch (b) {
    case Button::Add:
    case Button::Edit:
        return !pending;
    case Button::Save:
    case Button::Cancel:
        return pending;
    case Button::Delete:
        return true;
    }
    return false;
}

void WarehouseEditor::append()
{
    mode_ = Mode::Appending;
    editedId_ = 0;
}

void WarehouseEditor::edit(qint64 currentId)
{
    if (currentId <= 0) {
        append();
        return;
    }
    mode_ = Mode::Editing;
    editedId_ = currentId;
}

Outcome WarehouseEditor::save(const QString& name, qint64* id)
{
    if (mode_ == Mode::Appending) {
        const qint64 newId = db_.insert(QStringLiteral("insert into 库房名称 (库房名称) values (:name)"),
                                        {{QStringLiteral("name"), name}});
        if (id)
            *id = newId;
    } else if (mode_ == Mode::Editing) {
        db_.run(QStringLiteral("update 库房名称 set 库房名称=:name where id=:id"),
                 {{QStringLiteral("name"), name}, {QStringLiteral("id"), editedId_}});
        if (id)
            *id = editedId_;
    }
    cancel();
    return Outcome::done();
}

void WarehouseEditor::cancel()
{
    mode_ = Mode::Rest;
    editedId_ = 0;
}

Outcome WarehouseEditor::remove(qint64 currentId)
{
    const qint64 id = mode_ == Mode::Editing ? editedId_ : currentId;
    const bool appending = mode_ == Mode::Appending;
    cancel();
    if (!appending && id > 0)
        db_.run(QStringLiteral("delete from 库房名称 where id=:id"), {{QStringLiteral("id"), id}});
    return Outcome::done();
}

} // namespace ts
