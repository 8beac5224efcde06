#pragma once

#include "storage/outcome.h"

#include <QString>
#include <QStringList>

namespace ts {

class Db;

// Sets the per-unit commission rate of many customers at once, by district
// or by customer type. Order lines already written keep their commission.
class CustomerCommissionBatch {
public:
    explicit CustomerCommissionBatch(Db& db) : db_(db) {}

    QStringList districts();
    QStringList subDistricts(const QString& district);
    QStringList customerTypes();

    // District and sub-district: those customers; district alone: the
    // district's customers; no district: every customer.
    Outcome byDistrict(const QString& district, const QString& subDistrict, const QString& rateText);
    // A type: its customers and the type's own rate, so that new customers of
    // the type get it too; no type: every customer, the types unchanged. A
    // type with an empty rate changes nothing.
    Outcome byCustomerType(const QString& customerType, const QString& rateText);

    static QString doneMessage() { return QStringLiteral("设置完毕"); }
    static QString badRateMessage() { return QStringLiteral("送水提成必须是数字！！"); }

private:
    Db& db_;
};

} // namespace ts
