// Several stations on one database, as real processes.

#include "storage/db.h"
#include "support/stations.h"

using namespace ts;

namespace {

struct Tally {
    int ok = 0;
    QStringList refused;  // messages
    QStringList other;    // busy and error lines
};

Tally tally(const QList<QStringList>& outputs)
{
    Tally t;
    for (const QStringList& lines : outputs)
        for (const QString& l : lines) {
            if (l == QLatin1String("ok"))
                ++t.ok;
            else if (l.startsWith(QLatin1String("refused ")))
                t.refused << l.mid(8);
            else if (l != QLatin1String("holding"))
                t.other << l;
        }
    return t;
}

} // namespace

class StationsTest : public test::StationsFixture {
protected:
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
};

TEST_P(StationsTest, SameNamesAndAddressesFromFourStationsGiveOneRowEach)
{
    const int n = 40;
    QList<QStringList> stations;
    for (int s = 0; s < 4; ++s) {
        stations << QStringList{"add-products", "纯净水", QString::number(n)};
        stations << QStringList{"add-customers", "人民路", QString::number(n)};
    }
    const Tally t = tally(run(stations));
    EXPECT_TRUE(t.other.isEmpty()) << t.other.join('\n').toStdString();
    EXPECT_EQ(t.ok, 2 * n);
    EXPECT_EQ(t.refused.size(), 2 * 3 * n);
    for (const QString& m : t.refused)
        EXPECT_TRUE(m == "此产品名称已经存在！！" || m == "该客户地址已经存在！！") << m.toStdString();
    EXPECT_EQ(count("select count(*) from 产品列表 where 产品名称 like '纯净水%'"), n);
    EXPECT_EQ(count("select count(distinct 产品名称) from 产品列表 where 产品名称 like '纯净水%'"), n);
    EXPECT_EQ(count("select count(*) from 客户资料 where 联系地址 like '人民路%'"), n);
    EXPECT_EQ(count("select count(distinct 联系地址) from 客户资料 where 联系地址 like '人民路%'"), n);
}

TEST_P(StationsTest, EveryCheckThenWriteRuleHoldsWithFourStations)
{
    struct Case {
        const char* kind;
        const char* table;   // where the rows land
        const char* column;  // the name column
        const char* refusal; // what the losers are told; null: every attempt lands
        int n;
    };
    const Case cases[] = {
        {"product-type", "商品类型", "类型", "已有重复的类型！！", 20},
        {"customer-type", "客户类型", "客户类型", "已有重复的客户类型！！", 20},
        {"region", "区域", "区域", "已有重复的区域设置！！", 20},
        {"sub-area", "小区域", "小区域", "已有重复的小区域设置！！", 20},
        {"worker", "员工列表", "姓名", "已有重复的配送员姓名！！", 20},
        {"salesperson", "业务员表", "姓名", "已有重复的业务员姓名！！", 20},
        {"operator", "登陆", "用户", "此用户名已经存在！！", 6},
        {"special-price", "特价表", "产品名称", nullptr, 20},
        {"ticket-balance", "客户水票总表", "产品名称", nullptr, 20},
    };
    // One rule at a time, four stations on it at once.
    for (const Case& c : cases) {
        QList<QStringList> stations;
        for (int s = 0; s < 4; ++s)
            stations << QStringList{"add", c.kind, QStringLiteral("名%1_").arg(c.kind), QString::number(c.n)};
        const Tally t = tally(run(stations));
        EXPECT_TRUE(t.other.isEmpty()) << c.kind << ": " << t.other.join('\n').toStdString();
        const QString like = QStringLiteral("名%1\\_%%").arg(c.kind);
        const Binds b{{"p", like}};
        const QString where = QStringLiteral(" from %1 where %2 like :p escape '\\'").arg(c.table, c.column);
        EXPECT_EQ(db().scalar("select count(*)" + where, b).toInt(), c.n) << c.kind;
        EXPECT_EQ(db().scalar(QStringLiteral("select count(distinct %1)").arg(c.column) + where, b).toInt(), c.n) << c.kind;
        if (c.refusal) {
            EXPECT_EQ(t.ok, c.n) << c.kind;
            EXPECT_EQ(t.refused, QStringList(3 * c.n, QString::fromUtf8(c.refusal))) << c.kind;
        } else {
            EXPECT_EQ(t.ok, 4 * c.n) << c.kind;
        }
    }
    // Every station's ticket reached the one balance row of its kind.
    EXPECT_EQ(db().scalar("select sum(还剩数量) from 客户水票总表 where 客户编号=1").toInt(), 4 * 20);
}

TEST_P(StationsTest, RenamingOneCustomerFromFourStationsLandsEveryRename)
{
    const qint64 id = db().insert("insert into 客户资料 (客户姓名, 联系地址, 联系电话, 客户地区) "
                                  "values ('张三', '一号', '1', '城东')",
                                  {}, "id");
    db().exec("insert into 产品销售开票 (客户编号, 客户姓名) values (:id, '张三')", {{"id", id}});
    db().exec("insert into 欠桶 (客户编号, 客户姓名) values (:id, '张三')", {{"id", id}});
    const int n = 25;
    QList<QStringList> stations;
    for (int s = 0; s < 4; ++s)
        stations << QStringList{"rename-customer", QString::number(id), QStringLiteral("站%1名").arg(s), QString::number(n)};
    const Tally t = tally(run(stations));
    EXPECT_TRUE(t.other.isEmpty()) << t.other.join('\n').toStdString();
    EXPECT_TRUE(t.refused.isEmpty()) << t.refused.join('\n').toStdString();
    EXPECT_EQ(t.ok, 4 * n);
    // Whoever renamed last, the copies carry the same name as the customer.
    const QString name = db().scalar("select 客户姓名 from 客户资料 where id=:id", {{"id", id}}).toString();
    EXPECT_TRUE(name.endsWith("名" + QString::number(n - 1))) << name.toStdString();
    EXPECT_EQ(db().scalar("select 客户姓名 from 产品销售开票 where 客户编号=:id", {{"id", id}}).toString(), name);
    EXPECT_EQ(db().scalar("select 客户姓名 from 欠桶 where 客户编号=:id", {{"id", id}}).toString(), name);
}

TEST_P(StationsTest, AWriteHeldTooLongIsToldAsAnotherStationSaving)
{
    auto holder = start({"hold", "60"});
    ASSERT_TRUE(holder->waitForReadyRead(30000));
    ASSERT_TRUE(holder->readLine().startsWith("holding"));
    const QList<QStringList> out = run({{"add-products", "矿泉水", "1"}});
    holder->kill();
    holder->waitForFinished();
    ASSERT_EQ(out.first().size(), 1);
    EXPECT_EQ(out.first().first(), "busy " + busyMessage());
    EXPECT_EQ(count("select count(*) from 产品列表 where 产品名称 like '矿泉水%'"), 0);
}

TS_BOTH_ENGINES(StationsTest);
