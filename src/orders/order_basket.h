#pragma once

#include "storage/money.h"
#include "storage/outcome.h"
#include "storage/rows.h"

#include <QList>
#include <QString>

#include <optional>

namespace ts {

class Db;

// One line of an order being composed, as 销售临时表 holds it: text, as the
// operator typed it, until the confirmation reads it.
struct BasketLine {
    int line = 0;  // 行号, unique within the basket, in the order lines were added
    QString product;
    QString quantity;
    QString unitPrice;
    QString amount;
    QString commission;
    QString productType;
};

// What a line's quantity and amounts are recomputed by.
struct PricingRules {
    QString paymentMethod;     // "免费" prices every changed line at 0
    QString commissionMethod;  // "产品", "客户地区", "客户类型" or anything else
    Money customerRate;        // per-unit commission of the customer (or type)
};

// The lines of one order form's basket in 销售临时表. The key is unique to
// the window (a station prefix and a random part), so no other window, on
// this station or another, ever reads or clears these lines.
class OrderBasket {
public:
    OrderBasket(Db& db, QString key) : db_(db), key_(std::move(key)) {}

    // A key no other window has: this station's prefix and a random part.
    static QString newKey();
    // Every basket key of this station starts with it.
    static QString stationPrefix();
    // When the program ends: this station's baskets go, other stations'
    // open baskets stay.
    static void clearStation(Db& db);

    const QString& key() const { return key_; }

    // 行号, 产品名称, 数量, 销售单价, 总金额, 提成 in line order, for the grid.
    Rows rows();
    QList<BasketLine> lines();
    std::optional<BasketLine> line(int line);

    // Appends a line of one unit and gives its number.
    int add(const QString& product, Money unitPrice, const std::optional<Money>& commission,
            const QString& productType);
    void remove(int line);
    void clear();

    // Edits of the grid's cells. Each refuses a text that is not a number of
    // its kind with a message and keeps the line as it was.
    Outcome setQuantity(int line, const QString& text, const PricingRules& rules);
    Outcome setUnitPrice(int line, const QString& text);
    Outcome setAmount(int line, const QString& text);
    Outcome setCommission(int line, const QString& text);

    // A quantity the confirmation accepts: a whole number above 0.
    static std::optional<int> parseQuantity(const QString& text);
    static QString quantityMessage(const QString& product);

private:
    void save(const BasketLine& l);
    // A line's values under the names its insert and update bind.
    Binds bindsOf(const BasketLine& l) const;
    // An amount typed into one of the line's money cells.
    Outcome setMoney(int line, const QString& text, QString BasketLine::*field, const QString& refusal);

    Db& db_;
    QString key_;
};

} // namespace ts
