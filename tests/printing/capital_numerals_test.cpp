#include "printing/capital_numerals.h"

#include <gtest/gtest.h>

#include <limits>

namespace ts {
namespace {

Money amount(const char* text)
{
    Money m;
    EXPECT_TRUE(Money::parse(QString::fromUtf8(text), &m)) << text;
    return m;
}

TEST(CapitalNumerals, AmountsReadAsOnAChequeOrSlip)
{
    struct Case {
        const char* amount;
        const char* text;
    };
    const Case cases[] = {
        {"1005", "壹仟零伍圆整"},
        {"10", "壹拾圆整"},
        {"100000", "壹拾万圆整"},
        {"12.5", "壹拾贰圆伍角"},
        {"3.70", "叁圆柒角"},
        {"-5", "负伍圆整"},
        {"20005", "贰万零伍圆整"},
        {"1000010", "壹佰万零壹拾圆整"},
        {"101000", "壹拾万壹仟圆整"},
        // A group without digits has no group word.
        {"100000000", "壹亿圆整"},
        {"100010000", "壹亿零壹万圆整"},
        {"1000000000000", "壹万亿圆整"},
        // Fen are rounded, not cut.
        {"12.345", "壹拾贰圆叁角伍分"},
        {"12.3449", "壹拾贰圆叁角肆分"},
        {"0.999", "壹圆整"},
        {"-0.004", "零圆整"},
        // Zero yuan is written, not left out.
        {"0", "零圆整"},
        {"0.05", "零圆伍分"},
        {"0.5", "零圆伍角"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        TKAIMoney k;
        k.setMoneyNumber(amount(c.amount));
        EXPECT_EQ(k.text(), QString::fromUtf8(c.text));
    }
}

TEST(CapitalNumerals, TheLargestAmountsComeOutWhole)
{
    // The largest amount the money columns hold, and the most negative.
    EXPECT_EQ(TKAIMoney::convert(Money::fromUnits(std::numeric_limits<std::int64_t>::max())),
              QStringLiteral("玖佰贰拾贰万叁仟叁佰柒拾贰亿零叁佰陆拾捌万伍仟肆佰柒拾柒圆伍角捌分"));
    EXPECT_EQ(TKAIMoney::convert(Money::fromUnits(std::numeric_limits<std::int64_t>::min())),
              QStringLiteral("负玖佰贰拾贰万叁仟叁佰柒拾贰亿零叁佰陆拾捌万伍仟肆佰柒拾柒圆伍角捌分"));
}

TEST(CapitalNumerals, QuantitiesLeaveTheCurrencyOut)
{
    EXPECT_EQ(TKAIMoney::quantity(3), QStringLiteral("叁"));
    EXPECT_EQ(TKAIMoney::quantity(12), QStringLiteral("壹拾贰"));
    EXPECT_EQ(TKAIMoney::quantity(0), QStringLiteral("零"));
}

} // namespace
} // namespace ts
