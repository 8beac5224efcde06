#include "orders/document_numbers.h"
#include "orders/order_basket.h"
#include "orders/order_entry.h"
#include "orders/order_events.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "storage/dates.h"
#include "storage/db.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/test_db.h"


#include <functional>

#include <gtest/gtest.h>

namespace ts {
namespace {

using test::addCustomer;
using test::addProduct;
using test::addStock;
using test::addWarehouse;
using test::addWorker;
using test::insertRow;

Money money(const char* text)
{
    return test::money(QString::fromUtf8(text));
}

// Counts the announcements of changed orders while it lives.
struct Announcements {
    Announcements()
        : connection(QObject::connect(&OrderEvents::instance(), &OrderEvents::ordersChanged, [this] { ++n; }))
    {
    }
    ~Announcements() { QObject::disconnect(connection); }
    int count() const { return n; }
    int n = 0;
    QMetaObject::Connection connection;
};

const QDateTime kNow(QDate(2026, 12, 11), QTime(9, 30, 15));
const QString kWarehouse = QStringLiteral("一号库");
const QString kWater = QStringLiteral("桶装水");
const QString kSpring = QStringLiteral("矿泉水");

// ---- document numbers ----

class DocumentNumberTest : public test::DbTest {
protected:
    void line(const QString& number, const QString& day)
    {
        insertRow(db(), QStringLiteral("产品销售开票"), {{QStringLiteral("单据编号"), number}, {QStringLiteral("购物日期"), day}});
    }
    QString next(const QDate& d)
    {
        return db().write([&] { return documents::next(db(), d); });
    }
};

TEST_P(DocumentNumberTest, EachDateKeepsItsOwnSequence)
{
    const QDate day(2026, 12, 11);
    struct Case {
        const char* what;
        std::function<void()> before;
        QDate date;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"first of a date", [] {}, day, "202612110001"},
        {"next of that date", [&] { line("202612110001", "2026-12-11"); }, day, "202612110002"},
        {"a booked date continues its own sequence",
         [&] { line("202612120003", "2026-12-12"); }, day.addDays(1), "202612120004"},
        // Restarting at 0001 would hand out a number the date has already.
        {"another date's number on the order date does not restart the sequence",
         [&] { line("202612100009", "2026-12-11"); }, day, "202612110002"},
        // A booking moved to another day keeps its number taken.
        {"a number of the date on a line of another date is taken",
         [&] { line("202612110007", "2026-12-13"); }, day, "202612110008"},
        {"past 9999 a fifth digit, never the next date's numbers",
         [&] { line("202612119999", "2026-12-11"); }, day, "2026121110000"},
        {"and on from there", [&] { line("2026121110000", "2026-12-11"); }, day, "2026121110001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before();
        EXPECT_EQ(next(c.date), QString::fromUtf8(c.expected));
    }
}

TEST_P(DocumentNumberTest, AllocationNeedsTheWritingTransaction)
{
    EXPECT_THROW(documents::next(db(), QDate(2026, 12, 11)), DbError);
}

TS_BOTH_ENGINES(DocumentNumberTest);

// ---- the order form's logic ----

class OrderEntryTest : public test::DbTest {
protected:
    void SetUp() override
    {
        test::DbTest::SetUp();
        if (!db_)
            return;
        clock::setNow(kNow);
        login.operatorName = QStringLiteral("王丽");
        login.commissionMethod = QStringLiteral("产品");
        login.stockWarning = QStringLiteral("提示");
        addWarehouse(db(), kWarehouse);
        addProduct(db(), {{QStringLiteral("产品名称"), kWater},
                          {QStringLiteral("单价"), money("10").toVariant()},
                          {QStringLiteral("业务员提成"), money("0.5").toVariant()},
                          {QStringLiteral("产品类型"), QStringLiteral("水")}});
        addProduct(db(), {{QStringLiteral("产品名称"), kSpring},
                          {QStringLiteral("单价"), money("2.5").toVariant()},
                          {QStringLiteral("业务员提成"), money("0.1").toVariant()},
                          {QStringLiteral("产品类型"), QStringLiteral("水")}});
        addStock(db(), kWarehouse, kWater, 10);
        addStock(db(), kWarehouse, kSpring, 100);
        addWorker(db(), QStringLiteral("张三"), {{QStringLiteral("电话"), QStringLiteral("13700000001")},
                                                 {QStringLiteral("配送提成"), QStringLiteral("否")}});
        addWorker(db(), QStringLiteral("李四"), {{QStringLiteral("电话"), QStringLiteral("13700000002")},
                                                 {QStringLiteral("配送提成"), QStringLiteral("是")}});
        customer = addCustomer(db(), {{QStringLiteral("客户姓名"), QStringLiteral("赵一")},
                                      {QStringLiteral("联系电话"), QStringLiteral("13912345678")},
                                      {QStringLiteral("联系地址"), QStringLiteral("花园路1号")},
                                      {QStringLiteral("手工编码"), QStringLiteral("A01")},
                                      {QStringLiteral("订水总数量"), 5},
                                      {QStringLiteral("订水总金额"), money("50").toVariant()},
                                      {QStringLiteral("订水总次数"), 2},
                                      {QStringLiteral("预付款剩余"), money("25").toVariant()},
                                      {QStringLiteral("积分"), money("3").toVariant()},
                                      {QStringLiteral("最后订水时间"), QStringLiteral("2026-12-01")}});
    }
    void TearDown() override
    {
        clock::reset();
        test::DbTest::TearDown();
    }

    OrderEntry entry() { return OrderEntry(db(), login); }

    // A draft for the customer of the fixture with `lines` of (product, quantity).
    OrderDraft draftFor(qint64 id, const QList<QPair<QString, int>>& lines)
    {
        OrderDraft d;
        d.basketKey = OrderBasket::newKey();
        d.customerId = id;
        d.name = QStringLiteral("赵一");
        d.phone = QStringLiteral("13912345678");
        d.address = QStringLiteral("花园路1号");
        d.code = QStringLiteral("A01");
        d.warehouse = kWarehouse;
        d.worker = QStringLiteral("李四");
        OrderBasket basket(db(), d.basketKey);
        Money rate;
        for (const auto& [product, qty] : lines) {
            EXPECT_TRUE(entry().addProduct(basket, product, id, {}, d.paymentMethod, &rate));
            const int line = basket.lines().last().line;
            EXPECT_TRUE(basket.setQuantity(line, QString::number(qty), {d.paymentMethod, login.commissionMethod, rate}));
        }
        return d;
    }

    Rows orderLines(const QString& number = {})
    {
        return db().select(QStringLiteral("select * from 产品销售开票 where 单据编号 like :n order by id"),
                           {{QStringLiteral("n"), number.isEmpty() ? QStringLiteral("%") : number}});
    }
    int stockOf(const QString& product)
    {
        return db().scalar(QStringLiteral("select 数量 from 库存总表 where 产品名称=:p"), {{QStringLiteral("p"), product}})
            .toInt();
    }
    QVariantMap customerRow(qint64 id)
    {
        return db().select(QStringLiteral("select * from 客户资料 where id=:id"), {{QStringLiteral("id"), id}}).map(0);
    }

    LoginValues login;
    qint64 customer = 0;
};

TEST_P(OrderEntryTest, AConfirmedOrderWritesItsLinesStockAndCustomerTogether)
{
    Announcements announced;
    OrderDraft d = draftFor(customer, {{kWater, 3}, {kSpring, 4}, {kWater, 2}});
    d.deliveryRemark = QStringLiteral("放门口");
    const Confirmation c = entry().confirm(d);
    ASSERT_TRUE(c.outcome) << c.outcome.message.toStdString();
    EXPECT_EQ(c.documentNumber, "202612110001");
    EXPECT_TRUE(c.outcome.notices.isEmpty());
    EXPECT_EQ(announced.count(), 1);

    const Rows r = orderLines();
    ASSERT_EQ(r.size(), 3);
    // Stock around each line: the second water line sees what the first left.
    const int before[] = {10, 100, 7};
    const int after[] = {7, 96, 5};
    const char* amounts[] = {"30", "10", "20"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.text(i, "单据编号"), c.documentNumber);
        EXPECT_EQ(r.text(i, "购物日期"), "2026-12-11");
        EXPECT_EQ(r.text(i, "时间"), "2026-12-11 09:30:15");
        EXPECT_EQ(r.value(i, "应付货款").value<Money>(), money(amounts[i]));
        EXPECT_EQ(r.value(i, "欠款").value<Money>(), money(amounts[i]));
        EXPECT_EQ(r.value(i, "售前库存").toInt(), before[i]);
        EXPECT_EQ(r.value(i, "售后库存").toInt(), after[i]);
        EXPECT_EQ(r.text(i, "配送工"), "李四");
        EXPECT_EQ(r.value(i, "客户编号").toLongLong(), customer);
        EXPECT_EQ(r.text(i, "操作员"), "王丽");
        EXPECT_EQ(r.text(i, "库房名称"), kWarehouse);
        EXPECT_EQ(r.text(i, "产品类型"), "水");
        EXPECT_EQ(r.text(i, "发货备注"), "放门口");
        EXPECT_EQ(r.value(i, "订水间隔天数").toInt(), 10);
        EXPECT_EQ(r.text(i, "发货时间"), "");
        EXPECT_FALSE(r.value(i, "发货完毕").toBool());
        EXPECT_FALSE(r.value(i, "是否预约").toBool());
        EXPECT_TRUE(r.value(i, "预约时间").isNull());
        EXPECT_EQ(r.value(i, "已发数量").toInt(), 0);
    }
    EXPECT_EQ(r.value(0, "提成").value<Money>(), money("1.5"));
    EXPECT_EQ(stockOf(kWater), 5);
    EXPECT_EQ(stockOf(kSpring), 96);

    const QVariantMap k = customerRow(customer);
    EXPECT_EQ(k.value("订水总数量").toInt(), 14);
    EXPECT_EQ(Money::fromVariant(k.value("订水总金额")), money("110"));
    EXPECT_EQ(k.value("订水总次数").toInt(), 3);
    EXPECT_EQ(Money::fromVariant(k.value("预付款剩余")), money("25"));
    EXPECT_EQ(Money::fromVariant(k.value("积分")), money("3"));
    EXPECT_EQ(dateText(k.value("最后订水时间")), "2026-12-11");

    // The next order of the day takes the next number.
    EXPECT_EQ(entry().confirm(draftFor(customer, {{kSpring, 1}})).documentNumber, "202612110002");
}

TEST_P(OrderEntryTest, ChecksRefuseInTheirOrderAndWriteNothing)
{
    struct Case {
        const char* expected;
        std::function<void(OrderDraft&)> change;
        QList<QPair<QString, int>> lines = {{kWater, 1}};
    };
    const std::vector<Case> cases{
        {"发送短信必须选择配送工！！",
         [](OrderDraft& d) {
             d.smsToWorker = true;
             d.worker = OrderEntry::kNoWorker;
             d.address.clear();  // a later check fails too: the earlier one speaks
         }},
        {"预付款金额不足，请采取其他方式支付！！",
         [](OrderDraft& d) {
             d.paymentMethod = QStringLiteral("预付款");
             d.worker.clear();
         },
         {{kWater, 3}}},
        {"请选择配送工！！", [](OrderDraft& d) { d.worker.clear(); }},
        {"请填写客户地址！！", [](OrderDraft& d) { d.address = QStringLiteral("  "); }},
        {"请填写库房名称！！", [](OrderDraft& d) { d.warehouse.clear(); }},
        {"请输入订水内容！！", [](OrderDraft&) {}, {}},
        {"桶装水在一号库订水数量大于库存数量", [](OrderDraft&) {}, {{kWater, 11}}},
        // Each line alone is within the stock; together they are not.
        {"桶装水在一号库订水数量大于库存数量", [](OrderDraft&) {}, {{kSpring, 1}, {kWater, 6}, {kWater, 5}}},
        {"矿泉水在二号库没有货了", [](OrderDraft& d) { d.warehouse = QStringLiteral("二号库"); }, {{kSpring, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        OrderDraft d = draftFor(customer, c.lines);
        c.change(d);
        Announcements announced;
        const Confirmation r = entry().confirm(d);
        EXPECT_FALSE(r.outcome);
        EXPECT_EQ(r.outcome.message, QString::fromUtf8(c.expected));
        EXPECT_EQ(announced.count(), 0);
        EXPECT_EQ(orderLines().size(), 0);
        EXPECT_EQ(stockOf(kWater), 10);
        EXPECT_EQ(stockOf(kSpring), 100);
        EXPECT_EQ(customerRow(customer).value("订水总次数").toInt(), 2);
    }
}

TEST_P(OrderEntryTest, QuantitiesAreWholeNumbersAboveZero)
{
    OrderDraft d = draftFor(customer, {{kWater, 1}});
    OrderBasket basket(db(), d.basketKey);
    const int line = basket.lines().first().line;
    for (const char* bad : {"0", "-2", "1.5", "两", ""}) {
        SCOPED_TRACE(bad);
        const Outcome o = basket.setQuantity(line, QString::fromUtf8(bad), {d.paymentMethod, login.commissionMethod, {}});
        EXPECT_EQ(o.message, "桶装水的数量必须是大于0的整数！！");
        EXPECT_EQ(basket.lines().first().quantity, "1");
    }
    // A bad quantity that reached the table another way is refused at confirmation.
    db().run(QStringLiteral("update 销售临时表 set 数量='0'"));
    EXPECT_EQ(entry().confirm(d).outcome.message, "桶装水的数量必须是大于0的整数！！");
}

TEST_P(OrderEntryTest, PrepaymentIsTakenFromTheBalanceInTheDatabase)
{
    // 25.00 on the balance: exactly that passes, one fen more does not.
    OrderDraft over = draftFor(customer, {{kWater, 2}, {kSpring, 2}});
    OrderBasket(db(), over.basketKey).setAmount(OrderBasket(db(), over.basketKey).lines().last().line, QStringLiteral("5.01"));
    over.paymentMethod = QStringLiteral("预付款");
    EXPECT_EQ(entry().confirm(over).outcome.message, "预付款金额不足，请采取其他方式支付！！");

    OrderDraft exact = draftFor(customer, {{kWater, 2}, {kSpring, 2}});
    exact.paymentMethod = QStringLiteral("预付款");
    // A second window on the same customer, loaded before the first spends.
    OrderDraft second = draftFor(customer, {{kSpring, 1}});
    second.paymentMethod = QStringLiteral("预付款");

    ASSERT_TRUE(entry().confirm(exact).outcome);
    QVariantMap k = customerRow(customer);
    EXPECT_EQ(Money::fromVariant(k.value("预付款剩余")), Money());
    EXPECT_EQ(Money::fromVariant(k.value("积分")), money("28"));
    EXPECT_EQ(entry().confirm(second).outcome.message, "预付款金额不足，请采取其他方式支付！！");
    k = customerRow(customer);
    EXPECT_EQ(Money::fromVariant(k.value("预付款剩余")), Money());
    EXPECT_EQ(k.value("订水总次数").toInt(), 3);
}

TEST_P(OrderEntryTest, TheBalanceLeftIsWhatItCoversToTheFen)
{
    struct Case {
        const char* what;
        const char* balance;
        QList<QPair<const char*, const char*>> orders;  // payment method, order total
        const char* balanceAfter;
    };
    const std::vector<Case> cases{
        // 25 − 2.35 − 2.35 is no binary fraction: kept as one, the balance
        // would fall short of the 20.30 it holds.
        {"what earlier prepaid orders leave covers an order of exactly that much", "25",
         {{"预付款", "2.35"}, {"预付款", "2.35"}, {"预付款", "20.3"}}, "0"},
        // A negative advance payment may leave the balance below zero.
        {"a balance below zero does not stop an order paid another way", "-5", {{"现金", "20"}}, "-5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        db().run(QStringLiteral("update 客户资料 set 预付款剩余=:b where id=:id"),
                 {{QStringLiteral("b"), money(c.balance).toVariant()}, {QStringLiteral("id"), customer}});
        for (const auto& [method, total] : c.orders) {
            OrderDraft d = draftFor(customer, {{kSpring, 1}});
            OrderBasket basket(db(), d.basketKey);
            ASSERT_TRUE(basket.setAmount(basket.lines().last().line, QString::fromUtf8(total)));
            d.paymentMethod = QString::fromUtf8(method);
            const Confirmation r = entry().confirm(d);
            EXPECT_TRUE(r.outcome) << method << " " << total << ": " << r.outcome.message.toStdString();
        }
        EXPECT_EQ(Money::fromVariant(customerRow(customer).value("预付款剩余")), money(c.balanceAfter));
    }
}

TEST_P(OrderEntryTest, EachPaymentMethodWritesItsColumns)
{
    struct Case {
        const char* method;
        const char* worker;
        bool paid;
        QVariant slip;
        const char* commission;  // per line of 2 water units
        const char* balanceAfter;
        const char* pointsAfter;
        const char* amount;
    };
    // 张三 earns no commission on prepaid and free orders; 李四 does.
    const std::vector<Case> cases{
        {"现金", "张三", false, QVariant(), "1", "25", "3", "20"},
        {"水票", "张三", false, QVariant(), "1", "25", "3", "20"},
        {"签单", "张三", false, QVariant(), "1", "25", "3", "20"},
        {"水卡", "张三", false, QVariant(), "1", "25", "3", "20"},
        {"预付款", "张三", true, QStringLiteral("否"), "0", "5", "23", "20"},
        {"预付款", "李四", true, QStringLiteral("否"), "1", "5", "23", "20"},
        {"免费", "张三", true, QStringLiteral("否"), "0", "25", "3", "0"},
        {"免费", "暂不指定", true, QStringLiteral("否"), "1", "25", "3", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.worker);
        db().run(QStringLiteral("update 客户资料 set 预付款剩余=25, 积分=3 where id=:id"), {{QStringLiteral("id"), customer}});
        db().run(QStringLiteral("update 库存总表 set 数量=100"));
        // Lines priced while "现金" was chosen: a free order still asks nothing.
        OrderDraft d = draftFor(customer, {{kWater, 2}});
        d.paymentMethod = QString::fromUtf8(c.method);
        d.worker = QString::fromUtf8(c.worker);
        const Confirmation r = entry().confirm(d);
        ASSERT_TRUE(r.outcome) << r.outcome.message.toStdString();
        const Rows l = orderLines(r.documentNumber);
        ASSERT_EQ(l.size(), 1);
        EXPECT_EQ(l.value(0, "交款完毕").toBool(), c.paid);
        EXPECT_EQ(l.value(0, "回单登记"), c.slip);
        EXPECT_EQ(l.value(0, "提成").value<Money>(), money(c.commission));
        EXPECT_EQ(l.value(0, "应付货款").value<Money>(), money(c.amount));
        EXPECT_EQ(l.value(0, "欠款").value<Money>(), money(c.amount));
        EXPECT_EQ(l.value(0, "销售单价").value<Money>(), d.paymentMethod == "免费" ? Money() : money("10"));
        EXPECT_EQ(l.text(0, "收款方式"), d.paymentMethod);
        const QVariantMap k = customerRow(customer);
        EXPECT_EQ(Money::fromVariant(k.value("预付款剩余")), money(c.balanceAfter));
        EXPECT_EQ(Money::fromVariant(k.value("积分")), money(c.pointsAfter));
    }
}

TEST_P(OrderEntryTest, CollectedAtTheStationIsDeliveredWithoutWorkerOrCommission)
{
    OrderDraft d = draftFor(customer, {{kWater, 2}});
    d.worker.clear();
    d.customerCollects = true;
    const Confirmation r = entry().confirm(d);
    ASSERT_TRUE(r.outcome) << r.outcome.message.toStdString();
    const Rows l = orderLines();
    EXPECT_TRUE(l.value(0, "发货完毕").toBool());
    EXPECT_EQ(l.value(0, "已发数量").toInt(), 2);
    EXPECT_EQ(l.text(0, "发货时间"), "2026-12-11 09:30:15");
    EXPECT_EQ(l.text(0, "配送工"), "");
    EXPECT_EQ(l.value(0, "提成").value<Money>(), Money());
}

TEST_P(OrderEntryTest, ANewCustomersFirstOrderCreatesHim)
{
    OrderDraft d = draftFor(0, {{kWater, 2}, {kSpring, 3}});
    d.name.clear();
    d.phone = QStringLiteral("13600000000");
    d.address = QStringLiteral("新村5号");
    d.customerType = QStringLiteral("居民");
    const Confirmation r = entry().confirm(d);
    ASSERT_TRUE(r.outcome) << r.outcome.message.toStdString();
    ASSERT_NE(r.customerId, customer);
    const QVariantMap k = customerRow(r.customerId);
    EXPECT_EQ(k.value("客户姓名").toString(), " ");
    EXPECT_EQ(k.value("联系电话").toString(), "13600000000");
    EXPECT_EQ(k.value("客户类型").toString(), "居民");
    EXPECT_EQ(k.value("订水总数量").toInt(), 5);
    EXPECT_EQ(Money::fromVariant(k.value("订水总金额")), money("27.5"));
    EXPECT_EQ(k.value("订水总次数").toInt(), 1);
    EXPECT_EQ(Money::fromVariant(k.value("预付款剩余")), Money());
    EXPECT_EQ(Money::fromVariant(k.value("积分")), Money());
    EXPECT_EQ(dateText(k.value("最后订水时间")), "2026-12-11");
    const Rows l = orderLines();
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l.value(0, "客户编号").toLongLong(), r.customerId);
    EXPECT_TRUE(l.value(0, "订水间隔天数").isNull());
}

TEST_P(OrderEntryTest, ABookingTakesItsDatesNumberAndIsToldWhenNotForToday)
{
    for (const QDate& day : {QDate(2026, 12, 12), kNow.date()}) {
        OrderDraft d = draftFor(customer, {{kWater, 1}});
        d.booked = true;
        d.bookingDate = day;
        d.bookingTime = QTime(14, 0);
        const Confirmation r = entry().confirm(d);
        ASSERT_TRUE(r.outcome);
        EXPECT_EQ(r.documentNumber, day.toString("yyyyMMdd") + "0001");
        const Rows l = orderLines(r.documentNumber);
        EXPECT_EQ(l.text(0, "购物日期"), day.toString("yyyy-MM-dd"));
        EXPECT_TRUE(l.value(0, "是否预约").toBool());
        EXPECT_EQ(l.text(0, "预约时间"), day.toString("yyyy-MM-dd") + " 14:00:00");
        if (day == kNow.date()) {
            EXPECT_TRUE(r.outcome.notices.isEmpty());
        } else {
            EXPECT_EQ(r.outcome.notices,
                      QStringList{"由于预约日期不是今天，此订水记录要在2026-12-12发货记录上才能看到，或者在预约记录上可以查询到。"});
        }
    }
}

TEST_P(OrderEntryTest, WithoutTheStockWarningStockMayGoNegativeOrBeMissing)
{
    login.stockWarning = QStringLiteral("不提示");
    db().run(QStringLiteral("delete from 库存总表 where 产品名称=:p"), {{QStringLiteral("p"), kSpring}});
    const Confirmation r = entry().confirm(draftFor(customer, {{kWater, 12}, {kSpring, 1}}));
    ASSERT_TRUE(r.outcome) << r.outcome.message.toStdString();
    EXPECT_EQ(r.outcome.notices, QStringList{"没有找到对应的产品名称和库房名称"});
    EXPECT_EQ(stockOf(kWater), -2);
    const Rows l = orderLines();
    EXPECT_EQ(l.value(0, "售后库存").toInt(), -2);
    EXPECT_TRUE(l.value(1, "售前库存").isNull());
    EXPECT_TRUE(l.value(1, "售后库存").isNull());
}

TEST_P(OrderEntryTest, TheWorkerIsToldByASmsRow)
{
    insertRow(db(), QStringLiteral("短信帐户"), {{QStringLiteral("短信尾"), QStringLiteral("清泉水站")}});
    OrderDraft d = draftFor(customer, {{kWater, 2}, {kSpring, 1}});
    d.smsToWorker = true;
    ASSERT_TRUE(entry().confirm(d).outcome);
    const Rows sms = db().select(QStringLiteral("select * from fasongneirong"));
    ASSERT_EQ(sms.size(), 1);
    EXPECT_EQ(sms.text(0, "neirong"), "赵一/13912345678/花园路1号[桶装水:2矿泉水:1]A01/清泉水站");
    EXPECT_EQ(sms.text(0, "shouji"), "13700000002");
    EXPECT_EQ(sms.text(0, "xingming"), "李四");
    EXPECT_EQ(sms.text(0, "fssj"), "");
    EXPECT_FALSE(sms.value(0, "fasongwanbi").toBool());
    // The preview shows the same text from the basket.
    EXPECT_EQ(entry().smsText(d, OrderBasket(db(), d.basketKey).lines()), sms.text(0, "neirong"));

    // A worker not on file gets nothing, and the order still goes.
    d = draftFor(customer, {{kWater, 1}});
    d.smsToWorker = true;
    d.worker = QStringLiteral("路人");
    EXPECT_TRUE(entry().confirm(d).outcome);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from fasongneirong")).toInt(), 1);
}

TEST_P(OrderEntryTest, TheCustomerLoadFillsTheStatusPanelAndPicksThePaymentMethod)
{
    std::optional<CustomerView> v = entry().load(customer);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->paymentMethod, "预付款");
    EXPECT_EQ(v->owedBuckets, 0);
    EXPECT_EQ(v->dispenser, "无");
    EXPECT_EQ(v->iou, "0");
    EXPECT_EQ(v->text("联系电话"), "13912345678");

    insertRow(db(), QStringLiteral("欠桶"), {{QStringLiteral("客户编号"), customer}, {QStringLiteral("未还数量"), 3}});
    insertRow(db(), QStringLiteral("饮水机租借表"),
              {{QStringLiteral("客户编号"), customer}, {QStringLiteral("数量"), 1}, {QStringLiteral("租金"), money("0").toVariant()}});
    insertRow(db(), QStringLiteral("产品销售开票"), {{QStringLiteral("客户编号"), customer}, {QStringLiteral("产品名称"), kSpring},
                                                    {QStringLiteral("收款方式"), QStringLiteral("签单")},
                                                    {QStringLiteral("签单数"), 4}});
    insertRow(db(), QStringLiteral("出租桶"), {{QStringLiteral("客户编号"), customer}, {QStringLiteral("收取押金"), money("30").toVariant()}});
    insertRow(db(), QStringLiteral("客户水票总表"), {{QStringLiteral("客户编号"), customer}, {QStringLiteral("产品名称"), kWater},
                                                    {QStringLiteral("还剩数量"), 7}});
    v = entry().load(customer);
    EXPECT_EQ(v->paymentMethod, "水票");
    EXPECT_EQ(v->owedBuckets, 3);
    EXPECT_EQ(v->dispenser, "借用");
    EXPECT_EQ(v->iou, "4");
    EXPECT_EQ(v->deposit, money("30"));
    EXPECT_EQ(v->lastProduct, kSpring);
    EXPECT_EQ(v->tickets.size(), 1);

    db().run(QStringLiteral("update 客户资料 set 预付款剩余=0 where id=:id"), {{QStringLiteral("id"), customer}});
    db().run(QStringLiteral("delete from 客户水票总表"));
    EXPECT_EQ(entry().load(customer)->paymentMethod, "现金");
    EXPECT_FALSE(entry().load(customer + 1000));
}

TEST_P(OrderEntryTest, SearchesFindOneNoneOrSeveral)
{
    addCustomer(db(), {{QStringLiteral("客户姓名"), QStringLiteral("赵二")}, {QStringLiteral("联系电话"), QStringLiteral("13912345000")}});
    struct Case {
        CustomerField field;
        const char* typed;
        CustomerSearch::Found found;
        const char* message;
    };
    const std::vector<Case> cases{
        {CustomerField::Telephone, "345678", CustomerSearch::Found::One, ""},
        {CustomerField::Telephone, "1391234", CustomerSearch::Found::Several, "找到的客户数量不唯一！！"},
        {CustomerField::Telephone, "555", CustomerSearch::Found::Nothing,
         "没有找到该电话号码，自动识别为新客户，如果您认为是老客户，请重新选择"},
        {CustomerField::Name, "赵", CustomerSearch::Found::Several,
         "对不起，您设置的搜索条件太简单，找到的客户数量不唯一，无法进行准确的客户定位！！"},
        {CustomerField::Name, "钱", CustomerSearch::Found::Nothing,
         "没有找到该客户姓名，自动识别为新客户，如果您认为是老客户，请重新选择"},
        {CustomerField::Code, "A0", CustomerSearch::Found::One, ""},
        {CustomerField::Code, "B", CustomerSearch::Found::Nothing,
         "没有找到该手工编码，自动识别为新客户，如果您认为是老客户，请重新选择"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const CustomerSearch s = entry().search(c.field, QString::fromUtf8(c.typed));
        EXPECT_EQ(s.found, c.found);
        EXPECT_EQ(s.message, QString::fromUtf8(c.message));
        if (c.found == CustomerSearch::Found::One) {
            EXPECT_EQ(s.customer.id, customer);
        }
    }
    EXPECT_EQ(entry().checkChosenName(QStringLiteral(" ")).message,
              "不能选择空客户姓名，自动识别为新客户，如果您认为是老客户，请重新选择");
    EXPECT_EQ(entry().byExactName(QStringLiteral("赵一"))->id, customer);
    EXPECT_FALSE(entry().byExactName(QStringLiteral("赵")));
}

TEST_P(OrderEntryTest, LinesArePricedAndTheirCommissionFollowsTheMethod)
{
    insertRow(db(), QStringLiteral("特价表"), {{QStringLiteral("客户编号"), customer}, {QStringLiteral("产品名称"), kWater},
                                              {QStringLiteral("特价"), money("8").toVariant()}});
    test::addCustomerType(db(), QStringLiteral("单位"), money("0.3"));
    struct Case {
        const char* method;
        qint64 customerId;
        const char* price;
        const char* commissionOf3;  // after the quantity became 3
    };
    const std::vector<Case> cases{
        {"产品", 1, "8", "1.5"},          // special price, product's commission
        {"产品", 0, "10", "1.5"},         // a new customer pays the list price
        {"客户类型", 0, "10", "0.9"},     // the type's rate for a new customer
        {"客户地区", 1, "8", "0"},        // the customer's own rate (none)
        {"", 1, "8", ""},                 // no method: no commission
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        login.commissionMethod = QString::fromUtf8(c.method);
        const qint64 id = c.customerId ? customer : 0;
        OrderBasket basket(db(), OrderBasket::newKey());
        Money rate;
        ASSERT_TRUE(entry().addProduct(basket, kWater, id, QStringLiteral("单位"), QStringLiteral("现金"), &rate));
        const BasketLine l = basket.lines().first();
        EXPECT_EQ(l.unitPrice, QString::fromUtf8(c.price));
        ASSERT_TRUE(basket.setQuantity(l.line, QStringLiteral("3"), {QStringLiteral("现金"), login.commissionMethod, rate}));
        const BasketLine edited = basket.lines().first();
        EXPECT_EQ(edited.amount, (money(c.price) * 3).toDisplayString());
        EXPECT_EQ(edited.commission, QString::fromUtf8(c.commissionOf3));
    }

    // Under "免费" a changed quantity is priced at 0; a typed price is charged as typed.
    login.commissionMethod = QStringLiteral("产品");
    OrderBasket basket(db(), OrderBasket::newKey());
    Money rate;
    entry().addProduct(basket, kSpring, 0, {}, QStringLiteral("免费"), &rate);
    entry().addProduct(basket, kSpring, 0, {}, QStringLiteral("免费"), &rate);
    QList<BasketLine> lines = basket.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].amount, "0");
    basket.setUnitPrice(lines[1].line, QStringLiteral("2"));
    basket.setQuantity(lines[1].line, QStringLiteral("4"), {QStringLiteral("免费"), login.commissionMethod, rate});
    EXPECT_EQ(basket.lines()[1].amount, "0");
    basket.setUnitPrice(lines[1].line, QStringLiteral("2"));
    EXPECT_EQ(basket.lines()[1].amount, "8");
    basket.remove(lines[0].line);
    EXPECT_EQ(basket.lines().size(), 1);
    EXPECT_FALSE(entry().addProduct(basket, QStringLiteral("不存在"), 0, {}, QStringLiteral("现金"), &rate));
}

TEST_P(OrderEntryTest, ANewCustomerCanBeSavedWithoutAnOrder)
{
    login.commissionMethod = QStringLiteral("客户类型");
    test::addCustomerType(db(), QStringLiteral("单位"), money("0.3"));
    OrderDraft d;
    d.name = QStringLiteral("孙七");
    d.address = QStringLiteral("东街");
    d.customerType = QStringLiteral("单位");
    qint64 id = 0;
    EXPECT_EQ(entry().saveNewCustomer(d, {}, &id).message, "请输入客户联系电话");
    EXPECT_EQ(id, 0);
    d.phone = QStringLiteral("13500000000");
    const Outcome o = entry().saveNewCustomer(d, {}, &id);
    EXPECT_EQ(o.message, "保存成功");
    const QVariantMap k = customerRow(id);
    EXPECT_EQ(k.value("客户姓名").toString(), "孙七");
    EXPECT_EQ(Money::fromVariant(k.value("提成")), money("0.3"));
    EXPECT_EQ(k.value("订水总次数").toInt(), 0);
}

TEST_P(OrderEntryTest, ACallLoggedAtOpeningIsMarkedWhenItLedToAnOrder)
{
    const qint64 call = entry().logCall(QStringLiteral("13912345678"), kNow, QStringLiteral("赵一"), QString::number(customer),
                                        QStringLiteral("花园路1号"));
    // A second call at the same second is a row of its own.
    const qint64 other = entry().logCall(QStringLiteral("13912345678"), kNow, {}, QStringLiteral("无"), {});
    entry().markCallOrdered(call, QStringLiteral("202612110001"));
    const Rows r = db().select(QStringLiteral("select 编号,处理结果,订单编号 from 来电历史记录表 order by 编号"));
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r.value(0, "编号").toLongLong(), call);
    EXPECT_EQ(r.text(0, "处理结果"), "订水");
    EXPECT_EQ(r.text(0, "订单编号"), "202612110001");
    EXPECT_EQ(r.value(1, "编号").toLongLong(), other);
    EXPECT_EQ(r.text(1, "处理结果"), "直接关闭");
}

TS_BOTH_ENGINES(OrderEntryTest);

} // namespace
} // namespace ts
