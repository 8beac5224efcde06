#pragma once

#include "storage/outcome.h"
#include "storage/rows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace ts {

class Db;

// What the customer list searches by, as the list's search boxes hold it.
// An empty box does not narrow the list.
struct CustomerFilter {
    QString name;
    QString phone;
    QString code;      // 手工编码
    QString region;    // 客户地区
    QString subArea;   // 小区域
    QString type;      // 客户类型
    QString address;
    QString company;   // 客户单位
    bool periodOn = false;  // 最后订水时间区间从
    QDate from;
    QDate to;
    bool withoutCommission = false;  // 按客户提成无送水提成的客户
    bool byLastOrder = false;        // 按最后订水时间排序

    // The list's first search when it opens leaves out the company and
    // commission boxes, whatever they hold.
    CustomerFilter onOpening() const;
};

// The customer list 客户资料: its search, the region summary, the remaining
// tickets of the chosen customer and the choices of its boxes.
class CustomerList {
public:
    explicit CustomerList(Db& db) : db_(db) {}

    // The fields of every row the search returns, in the list's order.
    static QStringList fields();
    // The list's statement, for a grid that reads it page by page.
    Query search(const CustomerFilter& filter) const;
    static QString countText(int rows);

    // 客户地区 and cc: the number of customers of each region.
    Rows regionSummary();
    // 产品名称 and 还剩数量 of the customer's tickets.
    Rows remainingTickets(qint64 customerId);

    // Every customer whose telephone holds the number (the caller lookup of
    // the order forms), in the order they were entered.
    Rows byTelephone(const QString& number);

    // A customer without a code would drop out of every search by code.
    void fillEmptyCodes();

    QStringList regions();
    QStringList subAreas(const QString& region);
    QStringList types();
    QStringList salespeople();

    // Every column of the customer's row, by column name; empty when the
    // customer no longer exists.
    QVariantMap customer(qint64 customerId);

    // Only the 客户资料 row goes: order lines, tickets and buckets keep the
    // number and name they were written with.
    void remove(qint64 customerId);

private:
    Db& db_;
};

} // namespace ts
