#include "stock/stock_totals.h"

#include "storage/db.h"

namespace ts::stock {

Taken take(Db& db, const QString& warehouse, const QString& product, int n, bool refuseShortfall)
{
    db.requireTransaction("stock::take");
    const Binds b{{QStringLiteral("w"), warehouse}, {QStringLiteral("p"), product}, {QStringLiteral("n"), n}};
    // The condition is evaluated on the newest committed count (PostgreSQL
    // re-reads a row another transaction changed before it updates it), so a
    // shortfall cannot slip in between a check and the write.
    const QString condition = refuseShortfall ? QStringLiteral(" and coalesce(数量,0)>=:n") : QString();
    const int changed = db.run(QStringLiteral("update 库存总表 set 数量=coalesce(数量,0)-:n "
                                              "where 产品名称=:p and 库房名称=:w")
                                   + condition,
                               b);
    Taken t;
    const Rows r = db.select(QStringLiteral("select sum(数量) as n, count(*) as c from 库存总表 "
                                            "where 产品名称=:p and 库房名称=:w"),
                             b);
    t.found = r.value(0, QStringLiteral("c")).toLongLong() > 0;
    if (!t.found)
        return t;
    const int now = int(r.value(0, QStringLiteral("n")).toLongLong());
    if (changed == 0) {
        t.enough = false;
        t.before = t.after = now;
        return t;
    }
    t.after = now;
    t.before = now + n;
    return t;
}

} // namespace ts::stock
