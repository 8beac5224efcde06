#include "stock/row_key.h"

namespace ts {

QString RowKey::select(const Db& db)
{
    return db.engine() == Engine::Postgres ? QStringLiteral("cast(ctid as text)") : QStringLiteral("rowid");
}

QString RowKey::order(const Db& db)
{
    return db.engine() == Engine::Postgres ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

QString RowKey::match(const Db& db)
{
    return db.engine() == Engine::Postgres ? QStringLiteral("ctid = cast(:rk as tid)")
                                           : QStringLiteral("rowid = cast(:rk as integer)");
}

} // namespace ts
