#pragma once

#include "storage/money.h"

#include <QString>

namespace ts {

// Amounts in Chinese financial numerals, as printed slips write them:
// 1005 → "壹仟零伍圆整", 12.5 → "壹拾贰圆伍角", -5 → "负伍圆整".
//
// The amount is exact (Money), never a floating-point number formatted on
// the way, and fen are rounded half away from zero rather than cut. Zero
// yuan is written "零圆": 0 → "零圆整", 0.05 → "零圆伍分".
class TKAIMoney {
public:
    void setMoneyNumber(Money amount) { amount_ = amount; }
    Money moneyNumber() const { return amount_; }
    QString text() const { return convert(amount_); }

    static QString convert(Money amount);
    // A quantity in capitals without the currency words: 3 → "叁", 12 → "壹拾贰".
    static QString quantity(qint64 n);

private:
    Money amount_;
};

} // namespace ts
