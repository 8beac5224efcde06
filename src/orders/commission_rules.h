#pragma once

#include "storage/money.h"
#include "storage/outcome.h"

#include <QString>

#include <optional>

namespace ts {

class Db;
struct LoginValues;

// The station's one commission method (提成方式) and the rules that make an
// order line's delivery commission. The order and receipt forms follow these.
namespace commission {

inline const QString kByProduct = QStringLiteral("产品");
inline const QString kByDistrict = QStringLiteral("客户地区");
inline const QString kByCustomerType = QStringLiteral("客户类型");

// What the receipt tells the operator when the worker typed there is unknown.
inline const QString kUnknownWorkerNotice = QStringLiteral("您选择的配送工没有不存在，系统默认不享用提成");

// The stored method, as the login reads it.
QString loadMethod(Db& db);
// The method a radio button of the settings window stands for
// ("根据商品提成" → "产品", …); empty for any other caption.
QString methodOfCaption(const QString& caption);
// Stores the method and makes it the one the order forms use from now on.
Outcome saveMethod(Db& db, LoginValues& login, const QString& method);

// A line's commission: its units times the per-unit rate the method picks,
// the product's under "产品", the customer's under the two customer methods.
// Under any other method the order forms leave the commission alone: none.
std::optional<Money> lineCommission(const QString& method, int units, Money productRate, Money customerRate);

// The per-unit rate of a customer type, for a customer not yet on file
// under "客户类型"; 0 for a type not on file.
Money customerTypeRate(Db& db, const QString& customerType);

// Whether an order line keeps its commission when it is written: not when the
// customer fetches the goods himself, nor when a prepaid or free order goes
// with a worker whose 配送提成 is "否". workerFlag is that column's value.
bool keepsCommissionAtEntry(bool customerCollects, const QString& paymentMethod, const QString& workerFlag);

enum class WorkerAtReceipt { NoWorker, Unknown, Earns, DoesNotEarn };
// Whether the worker named on a receipt earns the lines' commission. Only a
// worker on file whose 配送提成 is exactly "是" does.
WorkerAtReceipt workerAtReceipt(Db& db, const QString& worker);

} // namespace commission
} // namespace ts
