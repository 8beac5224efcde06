#include "widgets/data_grid.h"

#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

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

} // namespace
} // namespace ts
