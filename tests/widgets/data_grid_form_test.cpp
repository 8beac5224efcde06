#include "widgets/data_grid.h"

#include "storage/db.h"
#include "storage/money.h"
#include "support/test_db.h"

#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace ts {
namespace {

using State = DataGrid::SortState;

// Rows read back from a real SQLite query, so the grid sees the value and
// field types an engine hands over: integer, numeric(19,4) as REAL, varchar.
class DataGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection());
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral(
            "create table 订单 (id integer, 名称 varchar(20), 数量 integer, 金额 numeric(19,4), 编码 varchar(20))")));
        ASSERT_TRUE(q.exec(QStringLiteral("insert into 订单 values "
                                          "(1, '王五', 10, 2.5, '10'), (2, '李四', 2, 12.25, '9'), "
                                          "(3, null, 33, null, '100'), (4, '张三', 2, 0.75, '2')")));
        load();
        grid.setSortable(true);
        grid.resize(640, 240);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void TearDown() override
    {
        QSqlDatabase::database(connection()).close();
        QSqlDatabase::removeDatabase(connection());
    }

    static QString connection() { return QStringLiteral("data_grid_test"); }

    void load()
    {
        QSqlQuery q(QSqlDatabase::database(connection()));
        ASSERT_TRUE(q.exec(QStringLiteral("select * from 订单 order by id"))) << q.lastError().text().toStdString();
        grid.load(q);
    }

    std::vector<int> ids() const
    {
        std::vector<int> out;
        for (int r = 0; r < grid.rowCount(); ++r)
            out.push_back(grid.value(r, QStringLiteral("id")).toInt());
        return out;
    }

    int section(const QString& title) const
    {
        const QHeaderView* h = grid.view()->horizontalHeader();
        for (int c = 0; c < h->count(); ++c)
            if (h->model()->headerData(c, Qt::Horizontal).toString() == title)
                return c;
        return -1;
    }

    void clickHeader(const QString& title)
    {
        QHeaderView* h = grid.view()->horizontalHeader();
        const int c = section(title);
        ASSERT_GE(c, 0) << title.toStdString();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
    }

    DataGrid grid;
};

TEST_F(DataGridTest, TitleClicksCycleAscendingDescendingAndBackToLoadOrder)
{
    grid.setTitle(QStringLiteral("数量"), QStringLiteral("订水数"));
    grid.setCurrentRow(2);  // id 3
    QHeaderView* h = grid.view()->horizontalHeader();
    const int column = section(QStringLiteral("订水数"));

    struct Step {
        State state;
        std::vector<int> ids;
        int markerSection;
        Qt::SortOrder markerOrder;
    };
    const std::vector<Step> steps = {
        {State::Ascending, {2, 4, 1, 3}, column, Qt::AscendingOrder},
        {State::Descending, {3, 1, 2, 4}, column, Qt::DescendingOrder},
        {State::None, {1, 2, 3, 4}, -1, Qt::AscendingOrder},
        {State::Ascending, {2, 4, 1, 3}, column, Qt::AscendingOrder},
    };
    for (const Step& s : steps) {
        clickHeader(QStringLiteral("订水数"));
        EXPECT_EQ(grid.sortState(QStringLiteral("数量")), s.state);
        EXPECT_EQ(ids(), s.ids);
        EXPECT_TRUE(h->isSortIndicatorShown());
        EXPECT_EQ(h->sortIndicatorSection(), s.markerSection);
        if (s.markerSection >= 0) {
            EXPECT_EQ(h->sortIndicatorOrder(), s.markerOrder);
        }
        // The operator stays on the record he was on.
        EXPECT_EQ(grid.currentValues().value(QStringLiteral("id")).toInt(), 3);
    }

    // Another title starts its own cycle and takes the marker along.
    clickHeader(QStringLiteral("名称"));
    EXPECT_EQ(grid.sortState(QStringLiteral("数量")), State::None);
    EXPECT_EQ(grid.sortState(QStringLiteral("名称")), State::Ascending);
    EXPECT_EQ(h->sortIndicatorSection(), section(QStringLiteral("名称")));

    // A reload keeps the chosen sort on the new rows.
    load();
    EXPECT_EQ(grid.sortState(QStringLiteral("名称")), State::Ascending);
    EXPECT_EQ(ids(), (std::vector<int>{3, 4, 2, 1}));
}

TEST_F(DataGridTest, NumbersSortAsNumbersTextAsTextEmptyFirst)
{
    struct Case {
        const char* field;
        std::vector<int> ascending;
        std::vector<int> descending;
    };
    const Case cases[] = {
        {"数量", {2, 4, 1, 3}, {3, 1, 2, 4}},  // ties keep load order both ways
        {"金额", {3, 4, 1, 2}, {2, 1, 4, 3}},
        {"编码", {1, 3, 4, 2}, {2, 4, 3, 1}},  // digits in a text column: "10" < "100" < "2" < "9"
        {"名称", {3, 4, 2, 1}, {1, 2, 4, 3}},  // code point order: 张 < 李 < 王
    };
    for (const Case& c : cases) {
        const QString field = QString::fromUtf8(c.field);
        SCOPED_TRACE(c.field);
        grid.clickTitle(field);
        EXPECT_EQ(ids(), c.ascending);
        grid.clickTitle(field);
        EXPECT_EQ(ids(), c.descending);
        grid.clickTitle(field);
        EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3, 4}));
    }
}

TEST_F(DataGridTest, NoSortWhereTheGridDoesNotOfferIt)
{
    grid.setSortable(false);
    clickHeader(QStringLiteral("数量"));
    EXPECT_EQ(grid.sortState(QStringLiteral("数量")), State::None);
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(grid.view()->horizontalHeader()->isSortIndicatorShown());

    grid.setSortable(true);
    grid.closeData();
    grid.clickTitle(QStringLiteral("数量"));
    EXPECT_EQ(grid.sortState(QStringLiteral("数量")), State::None);
    EXPECT_EQ(grid.rowCount(), 0);
}

TEST_F(DataGridTest, ColumnsTitlesAndHiddenFieldsSurviveAReload)
{
    grid.setColumns({QStringLiteral("名称"), QStringLiteral("金额"), QStringLiteral("数量")});
    grid.setColumnHidden(QStringLiteral("数量"));
    grid.setTitle(QStringLiteral("金额"), QStringLiteral("应付货款"));
    load();

    EXPECT_TRUE(grid.isColumnShown(QStringLiteral("名称")));
    EXPECT_TRUE(grid.isColumnShown(QStringLiteral("金额")));
    EXPECT_FALSE(grid.isColumnShown(QStringLiteral("数量")));
    EXPECT_FALSE(grid.isColumnShown(QStringLiteral("id")));  // not among the chosen columns
    EXPECT_EQ(section(QStringLiteral("名称")), 0);
    EXPECT_EQ(section(QStringLiteral("应付货款")), 1);
    // Hidden fields still travel with their row.
    EXPECT_EQ(grid.value(0, QStringLiteral("数量")).toInt(), 10);
    EXPECT_EQ(grid.value(0, QStringLiteral("ID")).toInt(), 1);
    EXPECT_EQ(grid.text(1, QStringLiteral("金额")), QStringLiteral("12.25"));
}

TEST(DataGridFooter, SumsAreExactAndFixedTextsShow)
{
    DataGrid grid;
    grid.setFooterText(QStringLiteral("单据编号"), QStringLiteral("合计："));
    grid.setFooterSum(QStringLiteral("应付货款"));
    grid.setFooterSum(QStringLiteral("实付货款"));
    grid.setFooterSum(QStringLiteral("数量"));
    QList<QVariantList> rows;
    // 0.01 a thousand times: a double sum would come to 9.99999999999983.
    for (int i = 0; i < 1000; ++i)
        rows << QVariantList{QStringLiteral("D%1").arg(i), 0.01, QStringLiteral("0.0100"), 3};
    rows << QVariantList{QStringLiteral("X"), QVariant(), QVariant(), QVariant()};
    grid.setRows({QStringLiteral("单据编号"), QStringLiteral("应付货款"), QStringLiteral("实付货款"),
                  QStringLiteral("数量")},
                 rows);

    EXPECT_EQ(grid.footerText(QStringLiteral("单据编号")), QStringLiteral("合计："));
    EXPECT_EQ(grid.footerText(QStringLiteral("应付货款")), QStringLiteral("10"));
    EXPECT_EQ(grid.footerText(QStringLiteral("实付货款")), QStringLiteral("10"));
    EXPECT_EQ(grid.footerText(QStringLiteral("数量")), QStringLiteral("3000"));

    grid.setRows({QStringLiteral("单据编号"), QStringLiteral("应付货款")},
                 {{QStringLiteral("A"), 0.1}, {QStringLiteral("B"), 0.2}, {QStringLiteral("C"), 0.7}});
    EXPECT_EQ(grid.footerText(QStringLiteral("应付货款")), QStringLiteral("1"));
    EXPECT_EQ(grid.text(1, QStringLiteral("应付货款")), QStringLiteral("0.2"));
}

// A grid given a statement, on both engines, against the same statement
// read whole: more rows than the grid keeps pages of, so that rows come and
// go from its pages while it is used.
class PagedDataGridTest : public test::DbTest {
protected:
    static constexpr int kRows = 2100;

    void SetUp() override
    {
        DbTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        db().exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i+1 from n where i < %1) "
            "insert into 产品销售开票 (单据编号,数量,应付货款,客户姓名,地址) "
            "select 'D' || i, i % 7, 0.01, case when i % 5 = 0 then null when i % 3 = 0 then '王五' "
            "when i % 3 = 1 then '李四' else '张三' end, "
            "case when i = 7 then '北京市海淀区中关村大街甲二十七号院东区三号楼二单元一千二百零一室' else '' end from n")
                      .arg(kRows));
        grid.resize(640, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    static Query statement()
    {
        return {QStringLiteral("select id,单据编号,数量,应付货款,客户姓名,地址 from 产品销售开票 where 数量 >= :least order by id"),
                {{QStringLiteral("least"), 0}}};
    }

    Rows whole() { return db().select(statement()); }

    std::vector<qint64> shownIds() const
    {
        std::vector<qint64> out;
        for (int r = 0; r < grid.rowCount(); ++r)
            out.push_back(grid.value(r, QStringLiteral("id")).toLongLong());
        return out;
    }

    // The ids of `rows` ordered by a field as the grid promises: empty
    // values first going up, last going down, ties in the statement's order.
    static std::vector<qint64> sortedIds(const Rows& rows, const QString& field, bool ascending)
    {
        std::vector<int> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        auto less = [&](int a, int b) {
            const QVariant& x = rows.value(a, field);
            const QVariant& y = rows.value(b, field);
            if (x.isNull() != y.isNull())
                return x.isNull();
            if (x.isNull())
                return false;
            if (x.metaType() == QMetaType::fromType<Money>() || x.canConvert<qlonglong>())
                if (x.metaType().id() != QMetaType::QString)
                    return Money::fromVariant(x) < Money::fromVariant(y);
            return x.toString() < y.toString();
        };
        if (ascending)
            std::stable_sort(order.begin(), order.end(), less);
        else
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
        std::vector<qint64> ids;
        for (int i : order)
            ids.push_back(rows.value(i, QStringLiteral("id")).toLongLong());
        return ids;
    }

    DataGrid grid;
};

TEST_P(PagedDataGridTest, EveryRowAndSumComesFromTheEngineAsReadWhole)
{
    grid.setFooterSum(QStringLiteral("应付货款"));
    grid.setFooterSum(QStringLiteral("数量"));
    grid.setFooterText(QStringLiteral("单据编号"), QStringLiteral("合计："));
    grid.load(db(), statement());
    const Rows all = whole();
    ASSERT_EQ(all.size(), kRows);
    ASSERT_EQ(grid.rowCount(), kRows);
    EXPECT_EQ(grid.fields(), all.fields());

    // Far apart and back again, so that early pages are read a second time.
    for (int r : {0, 199, 200, 1234, kRows - 1, 3, 1999, 0}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid.rowValues(r), all.map(r));
        EXPECT_EQ(grid.text(r, QStringLiteral("应付货款")), QStringLiteral("0.01"));
    }
    grid.setCurrentRow(1500);
    EXPECT_EQ(grid.currentValues(), all.map(1500));
    EXPECT_EQ(grid.value(kRows, QStringLiteral("id")), QVariant());

    Money amount, units;
    for (int r = 0; r < all.size(); ++r) {
        amount += Money::fromVariant(all.value(r, QStringLiteral("应付货款")));
        units += Money::fromVariant(all.value(r, QStringLiteral("数量")));
    }
    EXPECT_EQ(grid.footerText(QStringLiteral("应付货款")), amount.toDisplayString());
    EXPECT_EQ(amount, Money::fromUnits(100) * kRows);  // 0.01 each, not a double's near miss
    EXPECT_EQ(grid.footerText(QStringLiteral("数量")), units.toDisplayString());
    EXPECT_EQ(grid.footerText(QStringLiteral("单据编号")), QStringLiteral("合计："));

    EXPECT_EQ(grid.findRow(QStringLiteral("id"), all.value(1777, QStringLiteral("id"))), 1777);
    // The page the record is found on is read around it: its neighbours too.
    EXPECT_EQ(grid.findRow(QStringLiteral("id"), all.value(605, QStringLiteral("id"))), 605);
    for (int r : {1600, 1776, 1777, 1799, 1800, 1999, 400, 599, 600, 605, 799}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid.rowValues(r), all.map(r));
    }
    EXPECT_EQ(grid.findRow(QStringLiteral("id"), -5), -1);
    EXPECT_EQ(grid.allRows().data(), all.data());

    // Ordered by a column it does not show: the statement keeps its order.
    grid.load(db(), {QStringLiteral("select 单据编号 from 产品销售开票 where 数量 = 3 order by id desc;"), {}});
    const Rows threes = db().select(QStringLiteral("select 单据编号 from 产品销售开票 where 数量 = 3 order by id desc"));
    ASSERT_EQ(grid.rowCount(), threes.size());
    EXPECT_EQ(grid.allRows().texts(QStringLiteral("单据编号")), threes.texts(QStringLiteral("单据编号")));
    EXPECT_EQ(grid.text(threes.size() - 1, QStringLiteral("单据编号")), threes.texts(QStringLiteral("单据编号")).last());

    // A narrower statement: new count, new sums.
    grid.load(db(), {statement().sql, {{QStringLiteral("least"), 6}}});
    const Rows sixes = db().select(statement().sql, {{QStringLiteral("least"), 6}});
    EXPECT_EQ(grid.rowCount(), sixes.size());
    EXPECT_EQ(grid.footerText(QStringLiteral("数量")), QString::number(6 * sixes.size()));
}

TEST_P(PagedDataGridTest, TitleClicksSortByTheEngineAndKeepTheRecord)
{
    grid.setSortable(true);
    grid.load(db(), statement());
    const Rows all = whole();
    std::vector<qint64> loadOrder = sortedIds(all, QStringLiteral("id"), true);
    const qint64 kept = all.value(777, QStringLiteral("id")).toLongLong();
    grid.setCurrentRow(777);

    struct Step {
        const char* field;
        State state;
        bool ascending;
    };
    const Step steps[] = {
        {"数量", State::Ascending, true},  {"数量", State::Descending, false}, {"数量", State::None, true},
        {"客户姓名", State::Ascending, true}, {"客户姓名", State::Descending, false},
    };
    for (const Step& s : steps) {
        const QString field = QString::fromUtf8(s.field);
        SCOPED_TRACE(std::string(s.field) + (s.ascending ? " up" : " down"));
        grid.clickTitle(field);
        EXPECT_EQ(grid.sortState(field), s.state);
        const std::vector<qint64> expected =
            s.state == State::None ? loadOrder : sortedIds(all, field, s.ascending);
        EXPECT_EQ(shownIds(), expected);
        EXPECT_EQ(grid.currentValues().value(QStringLiteral("id")).toLongLong(), kept);
        EXPECT_EQ(grid.findRow(QStringLiteral("id"), kept),
                  int(std::find(expected.begin(), expected.end(), kept) - expected.begin()));
    }
    // A new load keeps the chosen sort.
    grid.load(db(), statement());
    EXPECT_EQ(grid.sortState(QStringLiteral("客户姓名")), State::Descending);
    EXPECT_EQ(shownIds(), sortedIds(all, QStringLiteral("客户姓名"), false));
    EXPECT_EQ(grid.allRows().texts(QStringLiteral("id")).first(), QString::number(shownIds().front()));
}

TEST_P(PagedDataGridTest, HidingAColumnLeavesTheOthersAndLongTextsShowWholeInTheirTip)
{
    grid.setColumns({QStringLiteral("单据编号"), QStringLiteral("地址"), QStringLiteral("数量"), QStringLiteral("客户姓名")});
    grid.load(db(), statement());
    QHeaderView* h = grid.view()->horizontalHeader();
    const int address = 1;
    const int units = 2;
    h->resizeSection(units, 123);  // the operator's own width
    const int addressWidth = h->sectionSize(address);

    grid.setColumnHidden(QStringLiteral("客户姓名"));
    EXPECT_FALSE(grid.isColumnShown(QStringLiteral("客户姓名")));
    EXPECT_TRUE(grid.isColumnShown(QStringLiteral("数量")));
    EXPECT_EQ(h->sectionSize(units), 123);
    grid.load(db(), statement());
    EXPECT_EQ(h->sectionSize(units), 123);
    EXPECT_EQ(h->sectionSize(address), addressWidth);
    EXPECT_FALSE(grid.isColumnShown(QStringLiteral("客户姓名")));
    grid.setColumnHidden(QStringLiteral("客户姓名"), false);
    EXPECT_TRUE(grid.isColumnShown(QStringLiteral("客户姓名")));

    // Row 7 holds a long address: cut short in its cell, whole in its tip.
    const int row = grid.findRow(QStringLiteral("单据编号"), QStringLiteral("D7"));
    ASSERT_GE(row, 0);
    const QModelIndex cell = grid.view()->model()->index(row, address);
    const QString whole = grid.text(row, QStringLiteral("地址"));
    EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), whole);
    EXPECT_LT(h->sectionSize(address), grid.view()->fontMetrics().horizontalAdvance(whole));
}

TS_BOTH_ENGINES(PagedDataGridTest);

} // namespace
} // namespace ts
