#pragma once

#include <QDate>
#include "storage/rows.h"
#include <QString>

namespace ts {

class Db;

// A period of order dates, both ends included; an unset period means all time.
struct OrderPeriod {
    bool on = false;
    QDate from;
    QDate to;
};

// The two commission reports of the staff: one delivery worker's order lines
// in a period, and the units each salesperson's customers bought.
class CommissionReports {
public:
    explicit CommissionReports(Db& db) : db_(db) {}

    // Every line the worker carried in the period, settled or not, so its
    // commission total may exceed the delivery report's settled-only sum.
    Query workerLines(const QString& worker, const QDate& from, const QDate& to);

    // 业务员, 客户购买数量: every line of customers who have a salesperson.
    Query salespersonTotals(const OrderPeriod& period);
    // The lines of one salesperson's customers, by order date.
    Query salespersonLines(const QString& salesperson, const OrderPeriod& period);

private:
    Db& db_;
};

} // namespace ts
