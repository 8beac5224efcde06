#pragma once

#include "storage/db.h"
#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>

namespace ts {

// The choices of 产品类型 (table 商品类型). "水" and "饮水机" are reserved:
// stock views and the dispenser forms look products up by those two names.
class ProductTypes {
public:
    explicit ProductTypes(Db& db) : db_(db) {}

    static bool isReserved(const QString& type);

    // Rows with the type and a key column "rk" that remove() takes.
    Rows list();
    Outcome add(const QString& type);
    // Refuses a reserved type; asked before the operator is asked to confirm.
    static Outcome checkRemovable(const QString& type);
    // Deletes the one row of the key (a reserved type is refused even here).
    Outcome remove(const QString& key);

private:
    Db& db_;
};

} // namespace ts
