// Orders confirmed by several stations at once, and by a station killed in
// the middle of its work: real ts_station processes on one database.

#include "storage/db.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/stations.h"

#include <QDate>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

namespace ts {
namespace {

using test::addCustomer;
using test::addProduct;
using test::addStock;
using test::addWarehouse;
using test::addWorker;

const QDate kDay(2026, 12, 11);
const QString kWarehouse = QStringLiteral("一号库");
const QString kPrepaid = QStringLiteral("预付款");
const QString kShortOfPrepayment = QStringLiteral("预付款金额不足，请采取其他方式支付！！");
const QString kProducts = QStringLiteral("桶装水,矿泉水,纯净水");

using test::money;

Money money(const char* text)
{
    return money(QString::fromUtf8(text));
}

// What the stations printed, one entry per attempt.
struct Attempts {
    struct Refusal {
        QString message;
        qint64 customer = 0;
        QString method;
        Money total;
    };
    QStringList numbers;  // of the orders a station was told were written
    QList<Refusal> refused;
    // Attempts that met the other stations in their way past every retry:
    // the operator is told so and nothing is written, which the totals of
    // every test prove. Rare, and only on a heavily loaded machine.
    QStringList busy;
    QStringList other;    // error lines

    void add(const QStringList& lines)
    {
        for (const QString& l : lines) {
            if (l.startsWith(QLatin1String("ok "))) {
                numbers << l.mid(3);
            } else if (l.startsWith(QLatin1String("refused "))) {
                const QStringList parts = l.mid(8).split(QLatin1Char('\t'));
                const QStringList what = parts.value(1).split(QLatin1Char(' '));
                refused.append({parts.at(0), what.value(0).toLongLong(), what.value(1), money(what.value(2))});
            } else if (l.startsWith(QLatin1String("busy ")) && l.mid(5).section(QLatin1Char('\t'), 0, 0) == busyMessage()) {
                busy << l;
            } else {
                other << l;
            }
        }
    }
    void add(const QList<QStringList>& outputs)
    {
        for (const QStringList& lines : outputs)
            add(lines);
    }
    int count() const { return int(numbers.size() + refused.size() + busy.size()); }
};

// The columns of a customer that an order moves.
struct Totals {
    qint64 orders = 0;
    qint64 units = 0;
    Money amount;
    Money prepayment;
    Money points;
};

// An order as its lines in the database tell it.
struct Order {
    QString day;
    qint64 customer = 0;
    QString method;
    int lines = 0;
};

struct StockLine {
    int before = 0;
    int after = 0;
    int quantity = 0;
};

} // namespace

class OrderStationsTest : public test::StationsFixture {
protected:
    void SetUp() override
    {
        test::StationsFixture::SetUp();
        if (!db_)
            return;
        addWarehouse(db(), kWarehouse);
        const struct {
            const char* name;
            const char* price;
            const char* commission;
        } products[] = {{"桶装水", "12.5", "0.5"}, {"矿泉水", "2.35", "0.1"}, {"纯净水", "8", "0.3"}};
        for (const auto& p : products) {
            addProduct(db(), {{QStringLiteral("产品名称"), QString::fromUtf8(p.name)},
                              {QStringLiteral("单价"), money(p.price).toVariant()},
                              {QStringLiteral("业务员提成"), money(p.commission).toVariant()},
                              {QStringLiteral("产品类型"), QStringLiteral("水")}});
            addStock(db(), kWarehouse, QString::fromUtf8(p.name), 100000);
        }
        addWorker(db(), QStringLiteral("李四"), {{QStringLiteral("电话"), QStringLiteral("13700000002")},
                                                 {QStringLiteral("配送提成"), QStringLiteral("是")}});
        // Balances that run out during a run, one that never covers an order,
        // one that lasts, customers who pay cash, and one whose totals an
        // older program left empty.
        const struct {
            const char* prepayment;
            const char* points;
            int orders;
            int units;
            const char* amount;
        } customers[] = {{"100", "7", 3, 10, "80"}, {"0.01", "0", 1, 1, "12.5"}, {"2000", "120.5", 40, 90, "900"},
                         {"250.35", "3", 2, 2, "25"}, {"0", "0", 0, 0, "0"}, {"0", "15", 7, 21, "150.7"},
                         {"0", "0", 1, 3, "24"}};
        for (const auto& c : customers)
            customers_ << addCustomer(db(), {{QStringLiteral("预付款剩余"), money(c.prepayment).toVariant()},
                                             {QStringLiteral("积分"), money(c.points).toVariant()},
                                             {QStringLiteral("订水总次数"), c.orders},
                                             {QStringLiteral("订水总数量"), c.units},
                                             {QStringLiteral("订水总金额"), money(c.amount).toVariant()}});
        customers_ << addCustomer(db());
    }

    // The arguments of a station that confirms n orders for the customers.
    QStringList confirming(int n, int seed, const QList<qint64>& customers, const QStringList& options = {})
    {
        QStringList ids;
        for (qint64 id : customers)
            ids << QString::number(id);
        return QStringList{QStringLiteral("confirm-orders"), QString::number(n), QString::number(seed),
                           kDay.toString(Qt::ISODate), QStringLiteral("customers=") + ids.join(QLatin1Char(','))}
               + options;
    }

    // Taken before the stations start; what every check compares with.
    void rememberStart()
    {
        const Rows c = db().select(QStringLiteral("select id,订水总次数,订水总数量,订水总金额,预付款剩余,积分 from 客户资料"));
        for (int i = 0; i < c.size(); ++i)
            startTotals_[c.value(i, 0).toLongLong()] = totalsOf(c, i);
        const Rows s = db().select(QStringLiteral("select 产品名称,数量 from 库存总表"));
        for (int i = 0; i < s.size(); ++i)
            startStock_[s.text(i, QStringLiteral("产品名称"))] = s.value(i, QStringLiteral("数量")).toInt();
    }

    static Totals totalsOf(const Rows& r, int i)
    {
        return {r.value(i, QStringLiteral("订水总次数")).toLongLong(), r.value(i, QStringLiteral("订水总数量")).toLongLong(),
                Money::fromVariant(r.value(i, QStringLiteral("订水总金额"))),
                Money::fromVariant(r.value(i, QStringLiteral("预付款剩余"))),
                Money::fromVariant(r.value(i, QStringLiteral("积分")))};
    }

    // Everything in the database agrees with the order lines written since
    // rememberStart(): each order whole under one number, each date's numbers
    // 0001…n, stock and customers moved by exactly what the lines say.
    // `unreported` orders may have been written without their station
    // printing so (a station killed between the commit and the print).
    void expectWholeOrders(const Attempts& a, int minLines, int maxLines, int unreported = 0)
    {
        const Rows r = db().select(QStringLiteral("select 单据编号,购物日期,客户编号,收款方式,产品名称,数量,销售单价,"
                                                  "应付货款,售前库存,售后库存 from 产品销售开票 order by id"));
        std::map<QString, Order> orders;
        std::map<QString, std::vector<StockLine>> stockLines;
        std::map<qint64, Totals> moved;
        for (int i = 0; i < r.size(); ++i) {
            const QString number = r.text(i, QStringLiteral("单据编号"));
            const qint64 customer = r.value(i, QStringLiteral("客户编号")).toLongLong();
            const QString method = r.text(i, QStringLiteral("收款方式"));
            const int quantity = r.value(i, QStringLiteral("数量")).toInt();
            const Money amount = Money::fromVariant(r.value(i, QStringLiteral("应付货款")));
            EXPECT_EQ(Money::fromVariant(r.value(i, QStringLiteral("销售单价"))) * quantity, amount) << number.toStdString();
            auto [o, first] = orders.try_emplace(number, Order{r.text(i, QStringLiteral("购物日期")), customer, method});
            // Every line of an order is of the same order.
            EXPECT_EQ(o->second.day, r.text(i, QStringLiteral("购物日期"))) << number.toStdString();
            EXPECT_EQ(o->second.customer, customer) << number.toStdString();
            EXPECT_EQ(o->second.method, method) << number.toStdString();
            ++o->second.lines;
            Totals& t = moved[customer];
            t.orders += first ? 1 : 0;
            t.units += quantity;
            t.amount += amount;
            if (method == kPrepaid) {
                t.prepayment -= amount;
                t.points += amount;
            }
            stockLines[r.text(i, QStringLiteral("产品名称"))].push_back(
                {r.value(i, QStringLiteral("售前库存")).toInt(), r.value(i, QStringLiteral("售后库存")).toInt(), quantity});
        }

        // Numbers: the date's, one per order, with no gap in a date's sequence.
        std::map<QString, std::vector<int>> sequences;
        for (const auto& [number, o] : orders) {
            EXPECT_GE(o.lines, minLines) << number.toStdString();
            EXPECT_LE(o.lines, maxLines) << number.toStdString();
            EXPECT_EQ(number.size(), 12) << number.toStdString();
            EXPECT_EQ(number.left(8), QString(o.day).remove(QLatin1Char('-'))) << number.toStdString();
            sequences[o.day].push_back(number.mid(8).toInt());
        }
        for (auto& [day, s] : sequences) {
            std::sort(s.begin(), s.end());
            for (std::size_t i = 0; i < s.size(); ++i)
                ASSERT_EQ(s[i], int(i) + 1) << day.toStdString() << ": a number twice or a gap";
        }

        // What the stations were told was written is there, each once.
        const std::set<QString> told(a.numbers.begin(), a.numbers.end());
        EXPECT_EQ(told.size(), std::size_t(a.numbers.size())) << "a number handed out twice";
        for (const QString& n : told)
            EXPECT_TRUE(orders.count(n)) << n.toStdString() << " was confirmed but is not there";
        EXPECT_GE(orders.size(), told.size());
        EXPECT_LE(orders.size(), told.size() + std::size_t(unreported));

        // Stock: the lines of each product, from the start down, each taking
        // from where the one before left the stock, ending at today's count.
        for (auto& [product, lines] : stockLines) {
            std::sort(lines.begin(), lines.end(), [](const StockLine& x, const StockLine& y) { return x.before > y.before; });
            int at = startStock_.at(product);
            for (const StockLine& l : lines) {
                ASSERT_EQ(l.before, at) << product.toStdString() << ": two lines took the same units";
                EXPECT_EQ(l.after, l.before - l.quantity) << product.toStdString();
                at = l.after;
            }
            EXPECT_EQ(db().scalar(QStringLiteral("select 数量 from 库存总表 where 产品名称=:p"), {{QStringLiteral("p"), product}})
                          .toInt(),
                      at)
                << product.toStdString();
        }
        for (const auto& [product, units] : startStock_) {
            if (!stockLines.count(product)) {
                EXPECT_EQ(db().scalar(QStringLiteral("select 数量 from 库存总表 where 产品名称=:p"),
                                      {{QStringLiteral("p"), product}})
                              .toInt(),
                          units);
            }
        }

        // Customers: the start plus what their lines say, never below nothing.
        const Rows c = db().select(QStringLiteral("select id,订水总次数,订水总数量,订水总金额,预付款剩余,积分 from 客户资料"));
        std::map<qint64, Totals> now;
        for (int i = 0; i < c.size(); ++i) {
            const qint64 id = c.value(i, 0).toLongLong();
            now[id] = totalsOf(c, i);
            const Totals& s = startTotals_.at(id);
            const Totals m = moved.count(id) ? moved.at(id) : Totals{};
            SCOPED_TRACE(id);
            EXPECT_EQ(now[id].orders, s.orders + m.orders);
            EXPECT_EQ(now[id].units, s.units + m.units);
            EXPECT_EQ(now[id].amount, s.amount + m.amount);
            EXPECT_EQ(now[id].prepayment, s.prepayment + m.prepayment);
            EXPECT_EQ(now[id].points, s.points + m.points);
            EXPECT_GE(now[id].prepayment, Money());
        }

        // A refusal for want of prepayment: the balance, which only falls,
        // is still short of that order now.
        for (const Attempts::Refusal& f : a.refused) {
            if (f.message != kShortOfPrepayment)
                continue;
            EXPECT_EQ(f.method, kPrepaid);
            EXPECT_LT(now.at(f.customer).prepayment, f.total) << f.customer;
        }
    }

    QList<qint64> customers_;
    std::map<qint64, Totals> startTotals_;
    std::map<QString, int> startStock_;
};

TEST_P(OrderStationsTest, TwoThenFourStationsGetEveryOrderWholeUnderItsOwnNumber)
{
    rememberStart();
    struct Run {
        int stations;
        int orders;
    };
    Attempts all;
    int seed = 0;
    for (const Run size : {Run{2, 200}, Run{4, 60}}) {
        SCOPED_TRACE(size.stations);
        QList<QStringList> stations;
        for (int s = 0; s < size.stations; ++s)
            stations << confirming(size.orders, ++seed, customers_, {QStringLiteral("products=") + kProducts,
                                                                    QStringLiteral("book=20")});
        Attempts a;
        a.add(run(stations));
        EXPECT_TRUE(a.other.isEmpty()) << a.other.join('\n').toStdString();
        EXPECT_EQ(a.count(), size.stations * size.orders);
        // The only refusal: a balance short of the order.
        for (const Attempts::Refusal& f : a.refused)
            EXPECT_EQ(f.message, kShortOfPrepayment);
        all.numbers << a.numbers;
        all.refused << a.refused;
        expectWholeOrders(all, 1, 3);
    }
    // The customer whose balance never covers an order was refused each time
    // he was picked, and the two dates both have orders.
    const qint64 neverCovered = customers_.at(1);
    EXPECT_TRUE(std::any_of(all.refused.begin(), all.refused.end(),
                            [&](const Attempts::Refusal& f) { return f.customer == neverCovered; }));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from 产品销售开票 where 客户编号=:id"),
                          {{QStringLiteral("id"), neverCovered}})
                  .toInt(),
              0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(distinct 购物日期) from 产品销售开票")).toInt(), 2);
}

TEST_P(OrderStationsTest, AcrossStationsExactlyWhatTheBalanceOrTheStockCoversIsWritten)
{
    const int k = 20;  // orders covered; four stations try twice as many
    struct Case {
        const char* what;
        const char* pay;
        const char* refusal;
        const char* prepayment;  // of the customer
        int stock;               // of 限量水
    };
    const Case cases[] = {
        // One unit of 限量水 costs 12.5: the balance covers k orders.
        {"prepayment", "预付款", "预付款金额不足，请采取其他方式支付！！", "250", 100000},
        {"stock", "现金", "限量水在一号库订水数量大于库存数量", "0", k},
    };
    addProduct(db(), {{QStringLiteral("产品名称"), QStringLiteral("限量水")},
                      {QStringLiteral("单价"), money("12.5").toVariant()},
                      {QStringLiteral("产品类型"), QStringLiteral("水")}});
    addStock(db(), kWarehouse, QStringLiteral("限量水"), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const qint64 customer = addCustomer(db(), {{QStringLiteral("预付款剩余"), money(c.prepayment).toVariant()}});
        db().run(QStringLiteral("update 库存总表 set 数量=:n where 产品名称='限量水'"), {{QStringLiteral("n"), c.stock}});
        rememberStart();
        QList<QStringList> stations;
        for (int s = 0; s < 4; ++s)
            stations << confirming(k / 2, s + 1, {customer},
                                   {QStringLiteral("products=限量水"), QStringLiteral("lines=1-1"),
                                    QStringLiteral("qty=1-1"), QStringLiteral("pay=") + QString::fromUtf8(c.pay)});
        Attempts a;
        a.add(run(stations));
        EXPECT_TRUE(a.other.isEmpty()) << a.other.join('\n').toStdString();
        EXPECT_EQ(a.numbers.size(), k);
        ASSERT_EQ(a.refused.size() + a.busy.size(), k);
        for (const Attempts::Refusal& f : a.refused)
            EXPECT_EQ(f.message, QString::fromUtf8(c.refusal));
        const Rows after = db().select(QStringLiteral("select 预付款剩余,积分,订水总次数 from 客户资料 where id=:id"),
                                       {{QStringLiteral("id"), customer}});
        EXPECT_EQ(after.value(0, QStringLiteral("订水总次数")).toInt(), k);
        if (QString::fromUtf8(c.pay) == kPrepaid) {
            EXPECT_EQ(Money::fromVariant(after.value(0, QStringLiteral("预付款剩余"))), Money());
            EXPECT_EQ(Money::fromVariant(after.value(0, QStringLiteral("积分"))), money("250"));
        } else {
            EXPECT_EQ(db().scalar(QStringLiteral("select 数量 from 库存总表 where 产品名称='限量水'")).toInt(), 0);
        }
        expectWholeOrders(a, 1, 1);
        db().run(QStringLiteral("delete from 产品销售开票"));
    }
}

TEST_P(OrderStationsTest, AStationKilledAtAnyMomentLeavesOnlyWholeOrders)
{
    rememberStart();
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(seed);  // the moments of this run, to run it again
    std::mt19937 random(seed);
    const int kills = 5;
    Attempts all;
    for (int k = 0; k < kills; ++k) {
        auto station = start(confirming(100000, k + 1, customers_,
                                        {QStringLiteral("products=") + kProducts, QStringLiteral("lines=3-3"),
                                         QStringLiteral("book=20")}));
        // Killed while it is taking orders, not while it starts.
        ASSERT_TRUE(station->waitForReadyRead(60000));
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 351));
        station->kill();
        ASSERT_TRUE(station->waitForFinished(60000));
        EXPECT_EQ(station->exitStatus(), QProcess::CrashExit);
        all.add(QString::fromUtf8(station->readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    }
    // The station starts again, takes a few more orders and closes as the
    // main window does, clearing the baskets the killed ones left.
    all.add(run({confirming(5, kills + 1, customers_,
                            {QStringLiteral("products=") + kProducts, QStringLiteral("lines=3-3"), QStringLiteral("close=1")})}));
    EXPECT_TRUE(all.other.isEmpty()) << all.other.join('\n').toStdString();
    for (const Attempts::Refusal& f : all.refused)
        EXPECT_EQ(f.message, kShortOfPrepayment);
    expectWholeOrders(all, 3, 3, kills);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from 销售临时表")).toInt(), 0);
    if (GetParam() == Engine::Sqlite) {
        EXPECT_EQ(db().scalar(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
    }
}

TS_BOTH_ENGINES(OrderStationsTest);

} // namespace ts
