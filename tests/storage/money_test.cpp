#include "storage/money.h"

#include <gtest/gtest.h>

using ts::Money;

TEST(Money, ParsesAndRoundsToTheFourthDecimal)
{
    struct Case {
        const char* text;
        bool ok;
        std::int64_t units;
    };
    const Case cases[] = {
        {"12", true, 120000},        {"-3.5", true, -35000},      {"0.01", true, 100},
        {".5", true, 5000},          {"1.23455", true, 12346},    {"-1.23455", true, -12346},
        {"1.23454", true, 12345},    {"1000.0000000001588", true, 10000000}, {"1e2", true, 1000000},
        {"", false, 0},              {"abc", false, 0},           {"1.2.3", false, 0},
    };
    for (const Case& c : cases) {
        Money m;
        ASSERT_EQ(Money::parse(QString::fromUtf8(c.text), &m), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(m.units(), c.units) << c.text;
        }
    }
}

TEST(Money, ReadsEngineValuesAndPrints)
{
    EXPECT_EQ(Money::fromVariant(QVariant(0.1 + 0.2)).toDecimalString(), "0.3000");
    EXPECT_EQ(Money::fromVariant(QVariant(QString("12.3400"))).toDisplayString(), "12.34");
    EXPECT_EQ(Money::fromVariant(QVariant(5)).toDisplayString(), "5");
    EXPECT_EQ(Money::fromVariant(QVariant()).units(), 0);
    EXPECT_EQ(Money::fromUnits(-5000).toDisplayString(), "-0.5");
    EXPECT_EQ(Money::fromUnits(-5).toDecimalString(), "-0.0005");

    Money sum;
    for (int i = 0; i < 100000; ++i)
        sum += Money::fromUnits(100);
    EXPECT_EQ(sum, Money::yuan(1000));
}
