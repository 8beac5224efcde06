#pragma once

#include "storage/db.h"

#include <QString>

namespace ts {

// 商品类型 and 供货商列表 have no id column, yet their lists must change and
// delete the one row the operator pointed at, not every row that happens to
// hold the same texts. The engine's own row identity serves as the key:
// SQLite's rowid, PostgreSQL's ctid. A ctid changes when its row is updated,
// so a key is only good until the list is read again, which every list here
// does after each write.
struct RowKey {
    // Expression to select as the key column; the key comes back as text.
    static QString select(const Db& db);
    // Physical order of the rows, the order they were written in as long as
    // nothing was updated.
    static QString order(const Db& db);
    // Condition matching the row whose key is bound to :rk.
    static QString match(const Db& db);
};

} // namespace ts
