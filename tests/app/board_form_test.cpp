#include "app/Umain.h"
#include "app/Umain_board.h"
#include "app/app_context.h"
#include "orders/order_basket.h"
#include "orders/order_entry.h"
#include "session/clock.h"
#include "storage/db.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "widgets/data_grid.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace ts {
namespace {

using namespace ts::test;

class BoardFormTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        if (!db_)
            return;
        clock::setNow(QDateTime(QDate(2026, 12, 11), QTime(8, 0)));
    }
    void TearDown() override
    {
        clock::reset();
        FormTest::TearDown();
    }
    qint64 line(const QString& document, QVariantMap columns = {})
    {
        columns.insert(QStringLiteral("单据编号"), document);
        return test::addOrderLine(db(), columns);
    }
    LoginValues& login() { return LoginValues::current(); }
};

TEST_P(BoardFormTest, TheBoardShowsTodayAndFollowsEveryCommittedOrder)
{
    line("202612110001", {{"发货完毕", true}, {"已发数量", 2}});
    line("", {{"客户姓名", "无单号"}});
    line("202612100001", {{"购物日期", "2026-12-10"}});
    Tmain w(login());
    w.show();
    DataGrid* grid = w.board()->grid();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->title("时间"), "订水时间");
    EXPECT_EQ(grid->footerText("数量"), "2");
    EXPECT_EQ(grid->footerText("单据编号"), "合计：");
    // The figures count every line of the day, as the board's own sums do not.
    EXPECT_EQ(w.board()->figure("今日订水"), "4  桶");
    EXPECT_EQ(w.board()->figure("未送桶数"), "2  桶");
    QTest::mouseClick(child<QLabel>(w, "今日订水"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"此数量不包含预约明日送水桶数！！"});

    // An order taken in any window appears without anyone asking.
    addWarehouse(db(), "一号库");
    addProduct(db(), {{"产品名称", "矿泉水"}, {"单价", Money::yuan(2).toVariant()}});
    addStock(db(), "一号库", "矿泉水", 10);
    OrderDraft d;
    d.basketKey = OrderBasket::newKey();
    d.name = "新客";
    d.address = "东街1号";
    d.warehouse = "一号库";
    OrderBasket basket(db(), d.basketKey);
    Money rate;
    OrderEntry entry(db(), login());
    ASSERT_TRUE(entry.addProduct(basket, "矿泉水", 0, {}, d.paymentMethod, &rate));
    ASSERT_TRUE(entry.confirm(d).outcome);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(w.board()->figure("未送桶数"), "2  桶");  // 矿泉水 has no type 水 here
}

TEST_P(BoardFormTest, ColoursFollowTheStateWhenShown)
{
    line("202612110001");
    line("202612110002", {{"收款方式", "预付款"}, {"交款完毕", true}, {"发货完毕", true}, {"回单登记", "否"}});
    db().run("update 颜色显示 set 需要颜色=:f", {{"f", false}});
    Tmain w(login());
    w.show();
    DataGrid* grid = w.board()->grid();
    auto* box = child<QCheckBox>(w, "需要颜色显示");
    ASSERT_FALSE(box->isChecked());
    QModelIndex first = grid->view()->model()->index(0, 0);
    EXPECT_FALSE(first.data(Qt::BackgroundRole).value<QColor>().isValid());
    box->click();
    EXPECT_TRUE(db().scalar("select 需要颜色 from 颜色显示").toBool());
    first = grid->view()->model()->index(0, 0);
    EXPECT_EQ(first.data(Qt::BackgroundRole).value<QColor>(), QColor(166, 202, 240));
    EXPECT_EQ(grid->view()->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 255));
}

TEST_P(BoardFormTest, OperationsCheckTheLineThenOpenTheirForm)
{
    line("202612110001", {{"发货完毕", true}, {"已发数量", 2}});
    line("202612110002", {{"收款方式", "预付款"}, {"交款完毕", true}});
    Tmain w(login());
    w.show();
    QAction* deliver = w.action("toolbar/发货");
    EXPECT_FALSE(deliver->isEnabled());

    QStringList opened;
    auto opener = [&](QWidget*, const QVariantMap& line, const QString& entry) {
        opened << entry + ":" + line.value("单据编号").toString();
    };
    w.registerLineForm("Tfahuo", opener);
    w.registerLineForm("Ttuidan", opener);
    EXPECT_TRUE(deliver->isEnabled());
    DataGrid* grid = w.board()->grid();

    grid->setCurrentRow(0);
    deliver->trigger();
    EXPECT_EQ(messages.informations, QStringList{"已经发货完毕了"});
    grid->setCurrentRow(1);
    deliver->trigger();
    EXPECT_EQ(opened, QStringList{"发货:202612110002"});

    // 退款 of a prepaid order goes to its deletion after saying so.
    messages.clear();
    opened.clear();
    w.registerLineForm("Ttuikuan", opener);
    w.board()->operate("退款");
    EXPECT_EQ(messages.informations, QStringList{"预付款定单请直接删除订单"});
    EXPECT_EQ(opened, QStringList{"删除订货单:202612110002"});
}

TEST_P(BoardFormTest, TheFilterPanelOpensWithinTheScreen)
{
    Tmain w(login());
    w.show();
    auto* toggle = child<QPushButton>(w, "显示查询条件");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(child<QWidget>(w, "查询条件")->isVisible());
    EXPECT_EQ(toggle->text(), "隐藏查询条件");
    const QSize least = w.minimumSizeHint().expandedTo(w.minimumSize());
    EXPECT_LE(least.width(), 1024);
    EXPECT_LE(least.height(), 768 - 40);  // the title bar and the task bar
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(child<QWidget>(w, "查询条件")->isVisible());
    EXPECT_EQ(toggle->text(), "显示查询条件");
}

TEST_P(BoardFormTest, APrintOfOneOrderWantsAnOrder)
{
    Tmain w(login());
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "单张打印"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"请先选择订水单据！！"});
}

TEST_P(BoardFormTest, ARecordingPlaysFromTheLineOrItsCall)
{
    line("202612110001", {{"录音文件", "录音文件\\k1.wav"}});
    line("202612110002");
    line("202612110003");
    insertRow(db(), "来电历史记录表", {{"订单编号", "202612110002"}, {"录音文件", "录音文件\\k2.wav"}}, "编号");
    Tmain w(login());
    w.show();
    auto* play = child<QPushButton>(w, "录音重放");
    EXPECT_FALSE(play->isEnabled());
    QStringList played;
    w.board()->setPlayer([&](const QString& file) { played << file; }, [] {});
    ASSERT_TRUE(play->isEnabled());
    for (int row = 0; row < 3; ++row) {
        w.board()->grid()->setCurrentRow(row);
        QTest::mouseClick(play, Qt::LeftButton);
    }
    const QDir dir(programDir());
    EXPECT_EQ(played, (QStringList{dir.filePath("录音文件/k1.wav"), dir.filePath("录音文件/k2.wav")}));
    EXPECT_EQ(messages.informations,
              (QStringList{"订单里没有录音录音文件，历史来电里找到了录音文件", "该通话没有被录音"}));
}

TEST_P(BoardFormTest, TheCallLogButtonIsTheMenuEntry)
{
    Tmain w(login());
    w.show();
    auto* calls = child<QPushButton>(w, "历史来电记录");
    EXPECT_FALSE(calls->isEnabled());
    int opened = 0;
    w.registerForm("Tlaidian_jilu", [&](QWidget*) { ++opened; });
    ASSERT_TRUE(calls->isEnabled());
    QTest::mouseClick(calls, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    LoginValues barred = login();
    barred.rights[6] = "1111111111011";
    w.applyRights(barred);
    EXPECT_FALSE(calls->isEnabled());
}

TEST_P(BoardFormTest, TimersStartAsTheSettingsSayAndRunTheirWork)
{
    struct Case {
        int ahead;
        const char* smsUser;
        bool booking;
        bool sms;
    };
    for (const Case c : {Case{0, "", false, false}, Case{10, "station", true, true}}) {
        SCOPED_TRACE(c.ahead);
        db().run("delete from 预约设置");
        db().run("delete from 短信帐户");
        insertRow(db(), "预约设置", {{"提前分钟", c.ahead}, {"间隔分钟", 5}});
        insertRow(db(), "短信帐户", {{"用户名", c.smsUser}});
        Tmain w(login());
        int overdue = 0;
        w.setTimerWork("Timer2", [&] { ++overdue; });
        w.show();
        EXPECT_TRUE(w.timer("Timer2")->isActive());
        EXPECT_TRUE(w.timer("Timer5")->isActive());
        EXPECT_EQ(w.timer("Timer3")->isActive(), c.booking);
        EXPECT_EQ(w.timer("Timer4")->isActive(), c.booking);
        EXPECT_EQ(w.timer("Timer_duanxin")->isActive(), c.sms);
        if (c.booking) {
            EXPECT_EQ(w.timer("Timer4")->interval(), 5 * 60000);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return overdue == 1; }, 5000));
        EXPECT_FALSE(w.timer("Timer2")->isActive());
    }
}

TEST_P(BoardFormTest, BatchDeliveryMarksTheUndeliveredLinesOfTheDay)
{
    line("202612110001", {{"配送工", "张三"}});
    line("202612110002", {{"配送工", "李四"}});
    line("202612100001", {{"购物日期", "2026-12-10"}});
    Tmain w(login());
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "成批发货"), Qt::LeftButton);
    EXPECT_EQ(db().scalar("select count(*) from 产品销售开票 where 发货完毕=:t", {{"t", true}}).toInt(), 2);
    EXPECT_EQ(db().scalar("select sum(已发数量) from 产品销售开票").toInt(), 4);
    EXPECT_EQ(w.board()->figure("今日送水"), "4  桶");
}

TS_BOTH_ENGINES(BoardFormTest);

} // namespace
} // namespace ts
