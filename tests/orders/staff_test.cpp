#include "orders/commission_reports.h"
#include "orders/commission_rules.h"
#include "orders/customer_commission_batch.h"
#include "orders/salespeople.h"
#include "orders/workers.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/test_db.h"

#include <QMap>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace ts {
namespace {

using test::DbTest;
using test::addCustomer;

Money money(const char* text)
{
    Money m;
    EXPECT_TRUE(Money::parse(QString::fromUtf8(text), &m)) << text;
    return m;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

QStringList column(const Rows& rows, const QString& field)
{
    return rows.texts(field);
}

// ---- delivery workers and salespeople ----

class StaffListTest : public DbTest {
protected:
    QStringList workerRows()
    {
        QStringList out;
        const Rows q = DeliveryWorkers(db()).list();
        for (int r = 0; r < q.size(); ++r)
            out << QStringList{q.value(r, 0).toString(), q.value(r, 1).toString(), q.value(r, 2).toString(),
                               q.value(r, 3).toString()}
                       .join(QLatin1Char('|'));
        // The engines sort Chinese names differently; the set is what counts.
        out.sort();
        return out;
    }
};

TEST_P(StaffListTest, WorkersAreAddedChangedAndDeletedByName)
{
    DeliveryWorkers workers(db());
    ASSERT_TRUE(workers.add({"张三", "13800000001", "三轮车", "是"}));
    ASSERT_TRUE(workers.add({"李四", "13800000002", "", ""}));
    EXPECT_EQ(workerRows(), sorted({"张三|13800000001|三轮车|是", "李四|13800000002||"}));

    // Renaming keeps the row count and moves every value.
    Outcome changed = workers.change("李四", {"李小四", "13900000000", "面包车", "否"});
    ASSERT_TRUE(changed) << changed.message.toStdString();
    EXPECT_FALSE(workers.find("李四"));
    auto renamed = workers.find("李小四");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->phone, "13900000000");
    EXPECT_EQ(renamed->vehicle, "面包车");
    EXPECT_EQ(renamed->commission, "否");

    ASSERT_TRUE(workers.remove("张三"));
    EXPECT_EQ(workerRows(), QStringList{"李小四|13900000000|面包车|否"});
}

TEST_P(StaffListTest, WorkerRefusals)
{
    DeliveryWorkers workers(db());
    ASSERT_TRUE(workers.add({"张三", "1", "", "是"}));
    ASSERT_TRUE(workers.add({"王五", "2", "", "否"}));
    struct Case {
        const char* what;
        std::function<Outcome()> run;
        const char* message;
    };
    const std::vector<Case> cases{
        {"empty name", [&] { return workers.add({"", "3", "", "是"}); }, "请输入员工姓名！！"},
        {"blank name", [&] { return workers.add({"  ", "3", "", "是"}); }, "请输入员工姓名！！"},
        {"same name again", [&] { return workers.add({"张三", "3", "", "否"}); }, "已有重复的配送员姓名！！"},
        {"renamed onto another", [&] { return workers.change("王五", {"张三", "2", "", "否"}); },
         "已有重复的配送员姓名！！"},
        {"renamed to nothing", [&] { return workers.change("王五", {"", "2", "", "否"}); }, "请输入员工姓名！！"},
        {"changed after deletion", [&] { return workers.change("赵六", {"赵六", "9", "", "是"}); },
         "该配送员已经不存在！！"},
    };
    for (const Case& c : cases) {
        Outcome o = c.run();
        EXPECT_FALSE(o.ok) << c.what;
        EXPECT_EQ(o.message, QString::fromUtf8(c.message)) << c.what;
    }
    EXPECT_EQ(workerRows(), sorted({"张三|1||是", "王五|2||否"}));
    // Saving a worker under his own name is no duplicate.
    EXPECT_TRUE(workers.change("王五", {"王五", "22", "货车", "是"}));
    EXPECT_EQ(workers.find("王五")->phone, "22");
}

TEST_P(StaffListTest, SalespeopleAreKeptByName)
{
    Salespeople people(db());
    ASSERT_TRUE(people.add("周"));
    ASSERT_TRUE(people.add("吴"));
    EXPECT_EQ(people.add("周").message, "已有重复的业务员姓名！！");
    EXPECT_EQ(people.add("").message, "请输入业务员姓名！！");
    EXPECT_EQ(people.rename("吴", "周").message, "已有重复的业务员姓名！！");
    EXPECT_EQ(people.rename("郑", "郑二").message, "该业务员已经不存在！！");
    ASSERT_TRUE(people.rename("吴", "吴一"));
    // A deleted salesperson stays on the customers he brought.
    addCustomer(db(), {{"客户姓名", "甲"}, {"业务员", "周"}});
    ASSERT_TRUE(people.remove("周"));
    EXPECT_EQ(people.names(), QStringList{"吴一"});
    EXPECT_EQ(db().scalar("select 业务员 from 客户资料").toString(), "周");
}

TS_BOTH_ENGINES(StaffListTest);

// ---- commission method and per-line rules ----

class CommissionRulesTest : public DbTest {};

TEST_P(CommissionRulesTest, SavingTheMethodStoresItAndSwitchesTheLoginValue)
{
    LoginValues login;
    login.commissionMethod = commission::kByProduct;
    for (const char* caption : {"根据客户地区提成", "根据客户类型提成", "根据商品提成"}) {
        const QString method = commission::methodOfCaption(QString::fromUtf8(caption));
        Outcome o = commission::saveMethod(db(), login, method);
        ASSERT_TRUE(o) << caption;
        EXPECT_EQ(o.message, "修改完毕");
        EXPECT_EQ(login.commissionMethod, method);
        EXPECT_EQ(commission::loadMethod(db()), method);
    }
    EXPECT_EQ(commission::methodOfCaption("按件提成"), QString());
    Outcome refused = commission::saveMethod(db(), login, QString());
    EXPECT_EQ(refused.message, "请选择提成方式！！");
    EXPECT_EQ(commission::loadMethod(db()), commission::kByProduct);
    EXPECT_EQ(login.commissionMethod, commission::kByProduct);
}

TEST_P(CommissionRulesTest, LineCommissionFollowsTheMethod)
{
    struct Case {
        const char* method;
        int units;
        const char* expected;  // nullptr: the line's commission is left alone
    };
    const Money productRate = money("0.5");
    const Money customerRate = money("1.1");
    const std::vector<Case> cases{
        {"产品", 3, "1.5"}, {"产品", 4, "2"},       {"客户地区", 3, "3.3"},
        {"客户类型", 2, "2.2"}, {"", 3, nullptr}, {"按件", 3, nullptr},
    };
    for (const Case& c : cases) {
        auto got = commission::lineCommission(QString::fromUtf8(c.method), c.units, productRate, customerRate);
        if (!c.expected) {
            EXPECT_FALSE(got) << c.method;
            continue;
        }
        ASSERT_TRUE(got) << c.method;
        EXPECT_EQ(*got, money(c.expected)) << c.method << " " << c.units;
    }

    test::addCustomerType(db(), "单位", Money::yuan(1));
    EXPECT_EQ(commission::customerTypeRate(db(), "单位"), Money::yuan(1));
    EXPECT_EQ(commission::customerTypeRate(db(), "家庭"), Money());
}

TEST_P(CommissionRulesTest, WhenALineLosesItsCommission)
{
    struct Entry {
        bool collects;
        const char* payment;
        const char* flag;
        bool keeps;
    };
    const std::vector<Entry> entries{
        {true, "现金", "是", false},   {false, "预付款", "否", false}, {false, "免费", "否", false},
        {false, "预付款", "", true},   {false, "免费", "是", true},    {false, "现金", "否", true},
        {false, "水票", "否", true},
    };
    for (const Entry& e : entries)
        EXPECT_EQ(commission::keepsCommissionAtEntry(e.collects, QString::fromUtf8(e.payment),
                                                     QString::fromUtf8(e.flag)),
                  e.keeps)
            << e.payment << " " << e.flag << " " << e.collects;

    DeliveryWorkers workers(db());
    ASSERT_TRUE(workers.add({"张三", "", "", "是"}));
    ASSERT_TRUE(workers.add({"李四", "", "", "否"}));
    ASSERT_TRUE(workers.add({"王五", "", "", ""}));
    using W = commission::WorkerAtReceipt;
    EXPECT_EQ(commission::workerAtReceipt(db(), ""), W::NoWorker);
    EXPECT_EQ(commission::workerAtReceipt(db(), "赵六"), W::Unknown);
    EXPECT_EQ(commission::workerAtReceipt(db(), "张三"), W::Earns);
    EXPECT_EQ(commission::workerAtReceipt(db(), "李四"), W::DoesNotEarn);
    // An undecided worker keeps prepaid commissions but loses cash ones at receipt.
    EXPECT_EQ(commission::workerAtReceipt(db(), "王五"), W::DoesNotEarn);
}

TS_BOTH_ENGINES(CommissionRulesTest);

// ---- batch change of customer rates ----

class CommissionBatchTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (!db_)
            return;
        struct C {
            const char* name;
            const char* district;
            const char* sub;
            const char* type;
        };
        for (const C& c : std::vector<C>{{"甲", "东区", "东一", "单位"},
                                         {"乙", "东区", "东二", "家庭"},
                                         {"丙", "西区", "西一", "单位"},
                                         {"丁", nullptr, nullptr, nullptr}}) {
            db().insert("insert into 客户资料 (客户姓名,客户地区,小区域,客户类型,提成) values (:n,:d,:s,:t,:r)",
                        {{"n", QString::fromUtf8(c.name)},
                         {"d", c.district ? QVariant(QString::fromUtf8(c.district)) : QVariant()},
                         {"s", c.sub ? QVariant(QString::fromUtf8(c.sub)) : QVariant()},
                         {"t", c.type ? QVariant(QString::fromUtf8(c.type)) : QVariant()},
                         {"r", money("0.3").toVariant()}});
        }
        test::addCustomerType(db(), "单位", money("0.3"));
        test::addCustomerType(db(), "家庭", money("0.3"));
        test::addRegion(db(), "东区", {"东二", "东一"});
        test::addRegion(db(), "西区", {"西一"});
        db().exec("insert into 产品销售开票 (单据编号,客户编号,提成) values ('202612010001', 1, 0.9)");
    }

    // Customer name → rate, as shown.
    QMap<QString, QString> rates()
    {
        QMap<QString, QString> out;
        QSqlQuery q = db().exec("select 客户姓名,提成 from 客户资料");
        while (q.next())
            out.insert(q.value(0).toString(), Money::fromVariant(q.value(1)).toDisplayString());
        return out;
    }
    QMap<QString, QString> typeRates()
    {
        QMap<QString, QString> out;
        QSqlQuery q = db().exec("select 客户类型,提成 from 客户类型");
        while (q.next())
            out.insert(q.value(0).toString(), Money::fromVariant(q.value(1)).toDisplayString());
        return out;
    }
};

TEST_P(CommissionBatchTest, ListsForTheDropDowns)
{
    CustomerCommissionBatch batch(db());
    EXPECT_EQ(sorted(batch.districts()), sorted({"东区", "西区"}));
    EXPECT_EQ(sorted(batch.subDistricts("东区")), sorted({"东一", "东二"}));
    EXPECT_EQ(batch.subDistricts("西区"), QStringList{"西一"});
    EXPECT_TRUE(batch.subDistricts("北区").isEmpty());
    EXPECT_EQ(sorted(batch.customerTypes()), sorted({"单位", "家庭"}));
}

TEST_P(CommissionBatchTest, ByDistrictChangesExactlyTheChosenCustomers)
{
    struct Case {
        const char* district;
        const char* sub;
        QMap<QString, QString> expected;
    };
    const std::vector<Case> cases{
        {"东区", "东一", {{"甲", "1.25"}, {"乙", "0.3"}, {"丙", "0.3"}, {"丁", "0.3"}}},
        {"东区", "", {{"甲", "1.25"}, {"乙", "1.25"}, {"丙", "0.3"}, {"丁", "0.3"}}},
        {"", "", {{"甲", "1.25"}, {"乙", "1.25"}, {"丙", "1.25"}, {"丁", "1.25"}}},
    };
    for (const Case& c : cases) {
        db().exec("update 客户资料 set 提成=0.3");
        Outcome o = CustomerCommissionBatch(db()).byDistrict(QString::fromUtf8(c.district),
                                                            QString::fromUtf8(c.sub), "1.25");
        ASSERT_TRUE(o) << o.message.toStdString();
        EXPECT_EQ(o.message, "设置完毕");
        EXPECT_EQ(rates(), c.expected) << c.district << "/" << c.sub;
    }
    // Order lines keep the commission they were written with.
    EXPECT_EQ(Money::fromVariant(db().scalar("select 提成 from 产品销售开票")), money("0.9"));
}

TEST_P(CommissionBatchTest, ByCustomerTypeChangesItsCustomersAndTheType)
{
    CustomerCommissionBatch batch(db());
    Outcome o = batch.byCustomerType("单位", "2");
    ASSERT_TRUE(o);
    EXPECT_EQ(o.message, "设置完毕");
    EXPECT_EQ(rates(), (QMap<QString, QString>{{"甲", "2"}, {"乙", "0.3"}, {"丙", "2"}, {"丁", "0.3"}}));
    EXPECT_EQ(typeRates(), (QMap<QString, QString>{{"单位", "2"}, {"家庭", "0.3"}}));

    // A type with no rate typed changes nothing.
    EXPECT_EQ(batch.byCustomerType("家庭", "").message, "设置完毕");
    EXPECT_EQ(typeRates(), (QMap<QString, QString>{{"单位", "2"}, {"家庭", "0.3"}}));

    // No type: every customer, the types stay.
    ASSERT_TRUE(batch.byCustomerType("", "0.75"));
    EXPECT_EQ(rates(), (QMap<QString, QString>{{"甲", "0.75"}, {"乙", "0.75"}, {"丙", "0.75"}, {"丁", "0.75"}}));
    EXPECT_EQ(typeRates(), (QMap<QString, QString>{{"单位", "2"}, {"家庭", "0.3"}}));
}

TEST_P(CommissionBatchTest, ARateThatIsNoNumberIsRefusedAndChangesNothing)
{
    CustomerCommissionBatch batch(db());
    const auto before = rates();
    for (const char* rate : {"abc", "", "1,5"}) {
        EXPECT_EQ(batch.byDistrict("东区", "", QString::fromUtf8(rate)).message, "送水提成必须是数字！！") << rate;
        EXPECT_FALSE(batch.byDistrict("", "", QString::fromUtf8(rate)).ok) << rate;
    }
    EXPECT_EQ(batch.byCustomerType("单位", "x").message, "送水提成必须是数字！！");
    EXPECT_EQ(batch.byCustomerType("", "").message, "送水提成必须是数字！！");
    // A name that would break a pasted statement is only a value here.
    ASSERT_TRUE(batch.byDistrict("东区' or '1'='1", "", "5"));
    EXPECT_EQ(rates(), before);
    EXPECT_EQ(typeRates(), (QMap<QString, QString>{{"单位", "0.3"}, {"家庭", "0.3"}}));
}

TS_BOTH_ENGINES(CommissionBatchTest);

// ---- commission reports ----

class CommissionReportTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (!db_)
            return;
        auto customer = [&](const char* name, const QVariant& salesperson) {
            return db().insert("insert into 客户资料 (客户姓名,业务员) values (:n,:s)",
                               {{"n", QString::fromUtf8(name)}, {"s", salesperson}});
        };
        c1 = customer("甲", QString::fromUtf8("周"));
        c2 = customer("乙", QString::fromUtf8("周"));
        c3 = customer("丙", QString::fromUtf8("吴"));
        c4 = customer("丁", QString());
        c5 = customer("戊", QVariant());
        struct L {
            const char* doc;
            const char* day;
            qint64 customer;
            const char* worker;
            int units;
            const char* commission;
            bool settled;
        };
        for (const L& l : std::vector<L>{
                 {"202612010001", "2026-12-01", c1, "张三", 3, "0.1", true},
                 {"202612030001", "2026-12-03", c2, "张三", 2, "0.1", false},
                 {"202612050001", "2026-12-05", c3, "张三", 1, "0.1", true},
                 {"202612050002", "2026-12-05", c4, "李四", 5, "2.5", true},
                 {"202612060001", "2026-12-06", c5, "张三", 7, "0.7", true},
                 {"202612100001", "2026-12-10", c1, "张三", 4, "1", true},
             }) {
            db().insert("insert into 产品销售开票 (单据编号,购物日期,产品名称,数量,应付货款,配送工,客户编号,提成,交款完毕,"
                        "客户姓名) values (:doc,:day,'桶装水',:units,:amount,:worker,:customer,:commission,:settled,"
                        "(select 客户姓名 from 客户资料 where id=:customer2))",
                        {{"doc", l.doc},
                         {"day", l.day},
                         {"units", l.units},
                         {"amount", (Money::yuan(8) * l.units).toVariant()},
                         {"worker", QString::fromUtf8(l.worker)},
                         {"customer", l.customer},
                         {"customer2", l.customer},
                         {"commission", money(l.commission).toVariant()},
                         {"settled", l.settled}});
        }
    }
    qint64 c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0;
};

TEST_P(CommissionReportTest, WorkerDetailListsEveryLineOfThePeriodSettledOrNot)
{
    CommissionReports reports(db());
    const Rows q = db().select(reports.workerLines("张三", QDate(2026, 12, 1), QDate(2026, 12, 6)));
    QStringList docs;
    Money total;
    int units = 0;
    for (int r = 0; r < q.size(); ++r) {
        docs << q.text(r, "单据编号");
        total += Money::fromVariant(q.value(r, "提成"));
        units += q.value(r, "数量").toInt();
        EXPECT_EQ(q.text(r, "配送工"), "张三");
    }
    EXPECT_EQ(docs, (QStringList{"202612010001", "202612030001", "202612050001", "202612060001"}));
    EXPECT_EQ(total, money("1.0"));
    EXPECT_EQ(units, 13);

    // Both ends of the period count.
    EXPECT_EQ(column(db().select(reports.workerLines("张三", QDate(2026, 12, 10), QDate(2026, 12, 10))), "单据编号"),
              QStringList{"202612100001"});
    EXPECT_TRUE(column(db().select(reports.workerLines("张三' or '1'='1", QDate(2026, 1, 1), QDate(2027, 1, 1))), "单据编号")
                    .isEmpty());
}

TEST_P(CommissionReportTest, SalespersonTotalsCountTheirCustomersLines)
{
    CommissionReports reports(db());
    auto totals = [&](const OrderPeriod& p) {
        QMap<QString, int> out;
        const Rows q = db().select(reports.salespersonTotals(p));
        for (int r = 0; r < q.size(); ++r)
            out.insert(q.text(r, "业务员"), q.value(r, "客户购买数量").toInt());
        return out;
    };
    // Customers without a salesperson (empty or never set) are left out.
    EXPECT_EQ(totals({}), (QMap<QString, int>{{"周", 9}, {"吴", 1}}));
    EXPECT_EQ(totals({true, QDate(2026, 12, 3), QDate(2026, 12, 5)}), (QMap<QString, int>{{"周", 2}, {"吴", 1}}));
    EXPECT_TRUE(totals({true, QDate(2026, 12, 11), QDate(2026, 12, 31)}).isEmpty());

    EXPECT_EQ(column(db().select(reports.salespersonLines("周", {})), "单据编号"),
              (QStringList{"202612010001", "202612030001", "202612100001"}));
    const Rows period = db().select(reports.salespersonLines("周", {true, QDate(2026, 12, 2), QDate(2026, 12, 10)}));
    ASSERT_EQ(period.size(), 2);
    EXPECT_EQ(period.text(0, "单据编号"), "202612030001");
    EXPECT_EQ(period.text(0, "客户姓名"), "乙");
    EXPECT_EQ(period.text(0, "业务员"), "周");
    EXPECT_EQ(Money::fromVariant(period.value(0, "应付货款")), Money::yuan(16));
    EXPECT_EQ(period.text(1, "单据编号"), "202612100001");
}

TS_BOTH_ENGINES(CommissionReportTest);

} // namespace
} // namespace ts
