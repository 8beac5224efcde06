#include "storage/db.h"
#include "storage/money.h"
#include "support/test_db.h"

using namespace ts;
using ts::test::DbTest;

class WriteTest : public DbTest {
protected:
    int types() { return db().scalar("select count(*) from 商品类型").toInt(); }
    void addType(const QString& t) { db().run("insert into 商品类型 (类型) values (:t)", {{"t", t}}); }
};

TEST_P(WriteTest, AnOperationInsideAnotherJoinsItAndTheOutermostDecides)
{
    const int before = types();
    db().write([&] {
        addType("甲");
        // The inner operation fails: only its own writes go.
        EXPECT_THROW(db().write([&] {
            addType("乙");
            db().run("insert into no_such_table values (1)");
        }),
                     DbError);
        // A refused inner operation leaves nothing either.
        const Outcome refused = db().write([&] {
            addType("丙");
            return Outcome::refused("不行");
        });
        EXPECT_FALSE(refused.ok);
        db().write([&] { addType("丁"); });
    });
    EXPECT_EQ(types(), before + 2);
    EXPECT_EQ(db().select("select 类型 from 商品类型 where 类型 in ('甲','乙','丙','丁') order by 类型").texts("类型"),
              (QStringList{"丁", "甲"}));

    // Whatever the outermost operation wrote goes when it fails late.
    EXPECT_THROW(db().write([&] {
        db().write([&] { addType("戊"); });
        throw DbError("停", "");
    }),
                 DbError);
    EXPECT_EQ(types(), before + 2);
    EXPECT_FALSE(db().inTransaction());
}

TEST_P(WriteTest, ContentionRunsTheWholeOperationAgainThenTellsTheOperator)
{
    int runs = 0;
    db().write([&] {
        addType(QStringLiteral("第%1次").arg(++runs));
        if (runs < 3)
            throw DbError("deadlock detected", "", "40P01", true);
    });
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(db().scalar("select count(*) from 商品类型 where 类型 like '第%'").toInt(), 1);

    runs = 0;
    try {
        db().write([&] {
            ++runs;
            addType("总是失败");
            throw DbError("database is locked", "", "5", true);
        });
        FAIL() << "no DbBusy";
    } catch (const DbBusy& e) {
        EXPECT_EQ(e.message(), busyMessage());
    }
    EXPECT_EQ(runs, Db::kWriteAttempts);
    EXPECT_EQ(db().scalar("select count(*) from 商品类型 where 类型='总是失败'").toInt(), 0);

    // Any other failure is not tried again.
    runs = 0;
    EXPECT_THROW(db().write([&] {
        ++runs;
        throw DbError("syntax error", "");
    }),
                 DbError);
    EXPECT_EQ(runs, 1);
}

TEST_P(WriteTest, SharedWritesRefuseToRunOutsideAnOperation)
{
    EXPECT_THROW(db().requireTransaction("test"), DbError);
    EXPECT_THROW(db().serialise("rule"), DbError);
    db().write([&] {
        db().requireTransaction("test");
        db().serialise("rule", 7);
    });
}

TEST_P(WriteTest, RowsAreReadToTheEndWhileOtherStatementsRunInTheLoop)
{
    for (int i = 1; i <= 5; ++i)
        db().run("insert into 产品列表 (产品名称, 单价, 进货价) values (:n, :p, null)",
                 {{"n", QStringLiteral("品%1").arg(i)}, {"p", Money::fromUnits(i * 1001).toVariant()}});
    const Rows rows = db().select("select id, 产品名称, 单价, 进货价 from 产品列表 order by id");
    int seen = 0;
    for (int r = 0; r < rows.size(); ++r) {
        db().run("update 产品列表 set 产品单位='桶' where id=:id", {{"id", rows.value(r, "ID")}});
        db().select("select count(*) from 客户资料");
        ++seen;
    }
    EXPECT_EQ(seen, 5);
    // Values come back alike from both engines.
    EXPECT_EQ(rows.value(2, "单价").value<Money>(), Money::fromUnits(3003));
    EXPECT_EQ(rows.text(2, "单价"), "0.3003");
    EXPECT_TRUE(rows.value(2, "进货价").isNull());
    EXPECT_EQ(db().scalar("select count(*) from 产品列表 where 产品单位='桶'").toInt(), 5);
    EXPECT_THROW(rows.value(0, "没有这一列"), std::out_of_range);
}

TEST_P(WriteTest, TypedWildcardsMatchThemselves)
{
    for (const char* v : {"a%b", "axb", "a_b", "a\\b", "ab"})
        db().run("insert into 区域 (区域) values (:v)", {{"v", QString::fromUtf8(v)}});
    struct Case {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
        {"%", {"a%b"}}, {"_", {"a_b"}}, {"\\", {"a\\b"}}, {"a", {"a%b", "a\\b", "a_b", "ab", "axb"}}, {"x", {"axb"}},
    };
    for (const Case& c : cases) {
        const Rows r = db().select(QStringLiteral("select 区域 from 区域 where 区域 like :p%1 order by 区域").arg(kLikeEscape),
                                   {{"p", containsPattern(QString::fromUtf8(c.typed))}});
        QStringList got = r.texts("区域");
        got.sort();
        EXPECT_EQ(got, c.found) << c.typed;
    }
    EXPECT_EQ(db().select(QStringLiteral("select 区域 from 区域 where 区域 like :p%1").arg(kLikeEscape),
                          {{"p", startsWithPattern("a_")}})
                  .texts("区域"),
              QStringList{"a_b"});
}

TS_BOTH_ENGINES(WriteTest);

TEST(MoneyArithmetic, QuantitiesAndRatesRoundHalfAwayFromZeroAndRefuseOverflow)
{
    struct Case {
        const char* amount;
        const char* rate;  // null: multiply by the quantity
        qint64 quantity;
        const char* result;  // null: does not fit
    };
    const Case cases[] = {
        {"12.5", nullptr, 3, "37.5"},
        {"-0.0001", nullptr, 7, "-0.0007"},
        {"10", "0.85", 0, "8.5"},
        {"0.0001", "0.5", 0, "0.0001"},     // half a ten-thousandth rounds up
        {"-0.0001", "0.5", 0, "-0.0001"},   // and away from zero below it
        {"0.0001", "0.4999", 0, "0"},
        {"33.3333", "3", 0, "99.9999"},
        {"90000000000000", nullptr, 2, nullptr},
        {"90000000000000", "1.5", 0, nullptr},
        {"900000000", "100000", 0, "90000000000000"},
    };
    for (const Case& c : cases) {
        Money a, rate;
        ASSERT_TRUE(Money::parse(QString::fromUtf8(c.amount), &a));
        std::optional<Money> r;
        if (c.rate) {
            ASSERT_TRUE(Money::parse(QString::fromUtf8(c.rate), &rate));
            r = a.timesRate(rate);
        } else {
            r = a.times(c.quantity);
        }
        if (!c.result) {
            EXPECT_FALSE(r.has_value()) << c.amount;
            continue;
        }
        ASSERT_TRUE(r.has_value()) << c.amount;
        EXPECT_EQ(r->toDisplayString(), QString::fromUtf8(c.result)) << c.amount << " " << (c.rate ? c.rate : "");
    }
}
