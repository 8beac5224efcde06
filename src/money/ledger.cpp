#include "money/ledger.h"

#include "storage/dates.h"
#include "storage/db.h"

namespace ts::ledger {

void record(Db& db, const LedgerEntry& e)
{
    db.requireTransaction("ledger::record");
    db.run(QStringLiteral("insert into 费用登记表 (资金名称,金额,经手人,时间,资金类型,录入类型,单据编号) "
                          "values (:kind,:amount,:operator,:day,:direction,:entry,:key)"),
           {{QStringLiteral("kind"), e.name},
            {QStringLiteral("amount"), e.amount.toVariant()},
            {QStringLiteral("operator"), e.operatorName},
            {QStringLiteral("day"), dbDate(e.day)},
            {QStringLiteral("direction"), e.income ? QStringLiteral("收入") : QStringLiteral("支出")},
            {QStringLiteral("entry"), e.entryKind},
            {QStringLiteral("key"), e.documentKey}});
}

} // namespace ts::ledger
