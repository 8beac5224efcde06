#pragma once

#include "storage/money.h"

#include <QDate>
#include <QString>

namespace ts {

class Db;

// One row of the money ledger 费用登记表: money taken in or paid out outside
// an order line. Every business that moves such money writes it here, and
// the daily checkout sums what is here.
struct LedgerEntry {
    QString name;            // 资金名称: "水票销售", "租桶押金", …
    Money amount;
    QString operatorName;    // 经手人
    QDate day;               // 时间
    bool income = true;      // 资金类型 "收入" or "支出"
    QString entryKind = QStringLiteral("业务生成");  // 录入类型
    QString documentKey;     // 单据编号: the sale key or document number it belongs to
};

namespace ledger {

// Writes the row inside the caller's transaction (it throws when none is
// open): the ledger row belongs to the operation that moved the money.
void record(Db& db, const LedgerEntry& entry);

} // namespace ledger

} // namespace ts
