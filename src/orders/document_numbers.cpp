#include "orders/document_numbers.h"

#include "storage/db.h"

namespace ts::documents {

QString next(Db& db, const QDate& orderDate)
{
    db.requireTransaction("documents::next");
    const QString day = orderDate.toString(QStringLiteral("yyyyMMdd"));
    // One station at a time per date; other dates go on in parallel.
    db.serialise(QStringLiteral("单据编号"), day.toLongLong());
    // Bounds of digits only, so that the range means the same under any
    // collation a PostgreSQL server was set up with, and the index on
    // 单据编号 serves it. A stray number with other characters in it is passed
    // over rather than read as 0.
    const Rows r = db.select(QStringLiteral("select 单据编号 from 产品销售开票 where 单据编号>=:lo and 单据编号<=:hi "
                                            "order by length(单据编号) desc, 单据编号 desc limit 20"),
                             {{QStringLiteral("lo"), day + QStringLiteral("0000")},
                              {QStringLiteral("hi"), day + QStringLiteral("99999")}});
    qint64 sequence = 0;
    for (const QString& number : r.texts(0)) {
        bool ok = false;
        const qint64 last = number.mid(day.size()).toLongLong(&ok);
        if (ok && number.startsWith(day) && last > 0) {
            sequence = last;
            break;
        }
    }
    return day + QStringLiteral("%1").arg(sequence + 1, 4, 10, QLatin1Char('0'));
}

} // namespace ts::documents
