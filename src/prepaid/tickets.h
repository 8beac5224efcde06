#pragma once

#include "storage/money.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace ts {

class Db;

// A sale of water tickets to one customer, as 水票销售明细 records it.
struct TicketSale {
    qint64 customerId = 0;
    QString customerName;
    QString customerAddress;
    QString product;        // 商品名称: the kind of ticket
    int quantity = 0;
    Money unitPrice;
    Money due;              // 应付货款
    Money paid;             // 实付货款
    QString note;
    QString operatorName;
    QDateTime at;
    QString key;            // 时间编号: ties the sale, its money row and its tracked numbers
};

// The water-ticket accounts: what each customer has left, the station's
// stock of tickets, the sales and the tracked numbers. Every function here
// writes inside the caller's transaction (it throws when none is open), so
// that a sale is booked with whatever else the operation writes, or not at all.
namespace tickets {

// A new sale key: milliseconds of the clock rather than of the station's
// uptime, so that two stations sharing the database do not hand out the same.
QString newSaleKey();

// 客户水票总表: adds n (or takes it, when negative) to the customer's count of
// the kind, making the row when the customer has none.
void addToBalance(Db& db, qint64 customerId, const QString& customerName, const QString& product, int n);
// 水票库存表: the station's stock of the kind changes by n.
void changeStock(Db& db, const QString& product, int n);
// The sale row, the customer's balance, the stock, and the ledger row of the
// money taken.
void sell(Db& db, const TicketSale& sale);
// One 水票跟踪 row per number, tied to the sale by its key.
void track(Db& db, const TicketSale& sale, const QStringList& numbers);

} // namespace tickets

} // namespace ts
