#pragma once

#include "storage/money.h"
#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace ts {

class Db;

// A customer as the customer form shows him. Numbers arrive as the form's
// texts; an empty 洗机频率 or 提成 leaves the column empty.
struct CustomerInput {
    QString type;
    QString name;
    QString address;
    QString phone;
    QString region;
    QString subArea;
    QString code;
    // 积分 as the form shows it and as it showed it on opening, and whether
    // the operator has the right to change points.
    QString points;
    QString pointsAtOpening;
    bool mayChangePoints = false;
    // Points are written only when the operator may change them and did:
    // otherwise a save would overwrite points an order added meanwhile.
    std::optional<Money> pointsToWrite() const;
    QString company;
    QString idNumber;
    QString birthday;
    QString note;          // 备用1
    QString cleaningDays;  // 洗机频率
    QString salesperson;
    QString commission;    // 提成
};

// The ticket sale that may come with a new customer.
struct TicketSaleInput {
    bool sell = false;
    QString product;  // 商品名称
    QString unitPrice;
    QString quantity;
    QString due;   // 应付货款
    QString paid;  // 实付货款
    QString note;
    bool tracking = false;  // 水票跟踪
    QStringList numbers;
};

// Saving customers and their special prices.
class CustomerRecords {
public:
    static constexpr int kMostTicketNumbers = 1000;

    explicit CustomerRecords(Db& db) : db_(db) {}

    // The new customer, any ticket sale with its ledger row and tracked
    // numbers: all of it or nothing. *newId receives the customer's number.
    Outcome create(const CustomerInput& input, const TicketSaleInput& sale, const QString& operatorName,
                   qint64* newId = nullptr);
    // The customer's row and, when the name changed since the form opened,
    // the name copied into the rows of other tables that carry it.
    Outcome update(qint64 customerId, const QString& nameAtOpening, const CustomerInput& input);
    // The customer's row as the form shows it; points always filled.
    std::optional<CustomerInput> load(qint64 customerId);

    // The tables whose copy of the name follows a rename, with the column
    // that holds it there.
    static const QList<QPair<QString, QString>>& renamedTables();

    // The prefix followed by each number from `from` to `to`; none when
    // from is above to. A range of more than kMostTicketNumbers is refused.
    static Outcome ticketNumbers(const QString& prefix, const QString& from, const QString& to, QStringList* out);

    // Kinds of ticket in stock, and the ticket price of a product.
    QStringList ticketKinds();
    Money ticketPrice(const QString& product);

    // 产品编号, 产品名称, 单价 of every product.
    Rows products();
    // ID, 产品名称, 特价 of the customer's special prices.
    Rows specialPrices(qint64 customerId);
    Outcome setSpecialPrice(qint64 customerId, const QString& customerName, const QString& product,
                            const QString& price);
    void removeSpecialPrice(qint64 rowId);

private:
    static Outcome checkRequired(const CustomerInput& input);
    Outcome checkCustomer(const CustomerInput& input, QVariantMap* binds);
    Db& db_;
};

} // namespace ts
