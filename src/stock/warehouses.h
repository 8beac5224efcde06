#pragma once

#include "storage/db.h"
#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>

namespace ts {

// The warehouse list 库房名称 and the one-row editing of the warehouse
// window: an append or an edit is pending until 保存 writes it or 取消 drops
// it, and the five buttons follow that state.
class WarehouseEditor {
public:
    enum class Mode { Rest, Appending, Editing };
    enum class Button { Add, Edit, Save, Cancel, Delete };  // 新增 修改 保存 取消 删除

    explicit WarehouseEditor(Db& db) : db_(db) {}

    // Every warehouse, in id order as every warehouse pick list shows them.
    Rows list();

    Mode mode() const { return mode_; }
    bool isEnabled(Button b) const;
    // The row being edited; 0 while appending or at rest.
    qint64 editedId() const { return editedId_; }

    void append();
    // Edits the current row; with no row to edit (an empty list) this starts
    // an append, as there is nothing else the operator could have meant.
    void edit(qint64 currentId);
    // Writes the pending append or edit; the new row's id goes to *id.
    Outcome save(const QString& name, qint64* id = nullptr);
    void cancel();
    // Deletes the current row. A pending append is the current row, so it
    // is only dropped; a pending edit goes with its row.
    Outcome remove(qint64 currentId);

private:
    Db& db_;
    Mode mode_ = Mode::Rest;
    qint64 editedId_ = 0;
};

} // namespace ts
