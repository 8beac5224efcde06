#pragma once

#include "storage/db.h"

#include <QString>

#include <memory>

namespace ts::bench {

// The same statements through the engine's own C library, with nothing of
// Qt or of the program between: the floor each benchmark is measured against.
// Named :placeholders are turned into the engine's own.
class BareSql {
public:
    virtual ~BareSql() = default;
    static std::unique_ptr<BareSql> open(const DbTarget& target);

    // Runs the statement and reads every value of every row as text; gives
    // the number of rows.
    virtual long long read(const QString& sql, const Binds& binds = {}) = 0;
    // Runs a statement that returns no rows.
    virtual void run(const QString& sql, const Binds& binds = {}) = 0;
    // The first value of the first row as text; empty when there is no row.
    virtual QString first(const QString& sql, const Binds& binds = {}) = 0;
};

} // namespace ts::bench
