#include "orders/order_board.h"
#include "storage/db.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/test_db.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

using test::insertRow;

const QDate kToday(2026, 12, 11);

class OrderBoardTest : public test::DbTest {
protected:
    // An order line of the fixture day; `columns` override.
    qint64 line(const QString& document, QVariantMap columns = {})
    {
        columns.insert(QStringLiteral("单据编号"), document);
        return test::addOrderLine(db(), columns);
    }
    QStringList documentsShown(const BoardFilter& f)
    {
        return db().select(OrderBoard(db()).query(f, kToday)).texts(QStringLiteral("单据编号"));
    }
    QStringList figureTexts()
    {
        QStringList out;
        for (const DayFigure& f : OrderBoard(db()).figures(kToday))
            out << f.caption + f.value;
        return out;
    }
};

TEST_P(OrderBoardTest, AnEmptyDayShowsEveryFigureAsZero)
{
    EXPECT_EQ(figureTexts(),
              (QStringList{"今日订水：0  桶", "今日送水：0  桶", "送水收款：0  元", "送水收票：0  张", "送水签单：0  张",
                           "未送桶数：0  桶", "免费桶数：0  桶", "今日租桶：0  桶", "租桶回收：0  桶", "今日借桶：0  桶",
                           "借桶归还：0  桶", "水票销售：0  张", "水票回收：0  张", "今日还票：0  张", "今日还款：0  元"}));
    EXPECT_TRUE(documentsShown({}).isEmpty());
}

TEST_P(OrderBoardTest, TheDaysFiguresCountTodayOnly)
{
    line("202612110001", {{"数量", 3}, {"已发数量", 1}});
    line("202612110002", {{"数量", 4}, {"销售单价", Money().toVariant()}});
    line("202612110003", {{"产品类型", "饮水机"}, {"数量", 1}});
    line("202612120001", {{"购物日期", "2026-12-12"}, {"数量", 9}});
    line("202612100001", {{"购物日期", "2026-12-10"}, {"结算日期", "2026-12-11"}, {"实付货款", Money(Money::fromUnits(125500)).toVariant()}});
    line("202612100002", {{"购物日期", "2026-12-10"}, {"结算日期", "2026-12-11"}, {"收款方式", "水票"}, {"实付票数", 2}});
    line("202612100003", {{"购物日期", "2026-12-10"}, {"签单日期", "2026-12-11"}, {"签单数", 5}});
    insertRow(db(), "出租桶明细", {{"桶数", 2}, {"时间", "2026-12-11 08:00:00"}});
    // Midnight of tomorrow is tomorrow.
    insertRow(db(), "出租桶明细", {{"桶数", 7}, {"时间", "2026-12-12 00:00:00"}});
    insertRow(db(), "欠桶明细表", {{"桶数", 1}, {"时间", "2026-12-11 23:59:59"}});
    insertRow(db(), "水票销售明细", {{"购买数量", 20}, {"时间", "2026-12-11 10:00:00"}});
    insertRow(db(), "签单还款明细表", {{"金额", Money::fromUnits(123400).toVariant()}, {"日期", "2026-12-11"}});
    insertRow(db(), "签单还款明细表", {{"金额", Money::fromUnits(5000).toVariant()}, {"日期", "2026-12-11"}});

    EXPECT_EQ(figureTexts(),
              (QStringList{"今日订水：7  桶", "今日送水：1  桶", "送水收款：12.55  元", "送水收票：2  张", "送水签单：5  张",
                           "未送桶数：6  桶", "免费桶数：4  桶", "今日租桶：2  桶", "租桶回收：0  桶", "今日借桶：1  桶",
                           "借桶归还：0  桶", "水票销售：20  张", "水票回收：0  张", "今日还票：0  张",
                           "今日还款：12.84  元"}));
}

TEST_P(OrderBoardTest, TheFilterPanelNarrowsTheBoard)
{
    line("", {{"客户姓名", "无单号"}});
    line("202612110001", {{"区域", "东区"}, {"小区域", "一街"}, {"配送工", "O'Neil"}});
    line("202612110002", {{"区域", "东区"}, {"小区域", "二街"}, {"交款完毕", true}});
    line("202612110003", {{"区域", "西区"}, {"发货完毕", true}, {"配送工", "张三"}});
    line("202612110004", {{"交款完毕", true}, {"发货完毕", true}});
    line("202612090001", {{"购物日期", "2026-12-09"}});

    using S = BoardFilter::State;
    struct Case {
        const char* what;
        BoardFilter filter;
        QStringList shown;
    };
    BoardFilter east;
    east.region = "东区";
    BoardFilter eastSecond = east;
    eastSecond.subRegion = "二街";
    BoardFilter worker;
    worker.byWorker = true;
    worker.worker = "O'Neil";  // bound, not pasted
    BoardFilter period;
    period.period = BoardFilter::Period::Between;
    period.from = QDate(2026, 12, 9);
    period.to = kToday;
    BoardFilter byRegion;
    byRegion.order = BoardFilter::Order::ByRegion;
    byRegion.region = "东区";
    BoardFilter undelivered;
    undelivered.undeliveredOnly = true;
    BoardFilter unpaid;
    unpaid.unpaidOnly = true;
    auto state = [](S s) {
        BoardFilter f;
        f.state = s;
        return f;
    };
    const std::vector<Case> cases{
        {"today, no empty number", {}, {"202612110001", "202612110002", "202612110003", "202612110004"}},
        {"region", east, {"202612110001", "202612110002"}},
        {"sub-region", eastSecond, {"202612110002"}},
        {"worker", worker, {"202612110001"}},
        {"period", period, {"202612110001", "202612110002", "202612110003", "202612110004", "202612090001"}},
        {"by region", byRegion, {"202612110001", "202612110002"}},
        {"neither", state(S::NotDeliveredNotPaid), {"202612110001"}},
        {"paid only", state(S::NotDeliveredPaid), {"202612110002"}},
        {"delivered only", state(S::DeliveredNotPaid), {"202612110003"}},
        {"both", state(S::DeliveredPaid), {"202612110004"}},
        {"undelivered", undelivered, {"202612110001", "202612110002"}},
        {"unpaid", unpaid, {"202612110001", "202612110003"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(documentsShown(c.filter), c.shown);
    }
}

TEST(OrderBoardColours, StateAndThePrepaidSlipOverride)
{
    struct Case {
        bool paid, delivered;
        const char* method;
        const char* slip;
        LineColour colour;
    };
    const Case cases[] = {
        {false, false, "现金", "", LineColour::NotDeliveredNotPaid},
        {true, false, "现金", "", LineColour::NotDeliveredPaid},
        {false, true, "现金", "", LineColour::DeliveredNotPaid},
        {true, true, "现金", "", LineColour::DeliveredPaid},
        {true, true, "预付款", "否", LineColour::PrepaidSlipMissing},
        {false, true, "预付款", "否", LineColour::PrepaidSlipMissing},
        {true, true, "预付款", "是", LineColour::DeliveredPaid},
        {true, false, "预付款", "否", LineColour::NotDeliveredPaid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.method) + c.slip);
        EXPECT_EQ(OrderBoard::colourOf(c.paid, c.delivered, QString::fromUtf8(c.method), QString::fromUtf8(c.slip)),
                  c.colour);
    }
    EXPECT_EQ(OrderBoard::legend(LineColour::PrepaidSlipMissing), "预付款未回单：");
}

TEST_P(OrderBoardTest, OperationsCheckEveryLineOfTheDocumentAsItIsNow)
{
    // Two-line orders; the board showed the first line, another station has
    // changed the second since.
    auto order = [&](const QString& doc, const QVariantMap& first, const QVariantMap& second) {
        line(doc, first);
        line(doc, second);
    };
    order("D-open", {}, {});
    order("D-partly-sent", {}, {{"已发数量", 1}});
    order("D-one-delivered", {}, {{"发货完毕", true}, {"已发数量", 2}});
    order("D-delivered", {{"发货完毕", true}}, {{"发货完毕", true}});
    order("D-one-paid", {}, {{"交款完毕", true}});
    order("D-paid", {{"交款完毕", true}}, {{"交款完毕", true}});
    order("D-tickets", {}, {{"交款完毕", true}, {"实付票数", 2}, {"收款方式", "水票"}});
    order("D-prepaid", {{"收款方式", "预付款"}, {"交款完毕", true}, {"回单登记", "否"}},
          {{"收款方式", "预付款"}, {"交款完毕", true}, {"回单登记", "否"}});
    order("D-slip-back", {{"收款方式", "预付款"}, {"交款完毕", true}, {"回单登记", "是"}},
          {{"收款方式", "预付款"}, {"交款完毕", true}, {"回单登记", "是"}});

    OrderBoard board(db());
    struct Case {
        const char* what;
        std::function<Outcome(const QString&)> check;
        const char* document;
        const char* message;  // empty: allowed
    };
    auto deliver = [&](const QString& d) { return board.checkDeliver(d); };
    auto receive = [&](const QString& d) { return board.checkReceive(d); };
    auto slip = [&](const QString& d) { return board.checkPrepaidSlip(d); };
    auto cancel = [&](const QString& d) { return board.checkCancel(d); };
    auto goBack = [&](const QString& d) { return board.checkReturn(d); };
    const std::vector<Case> cases{
        {"deliver, nothing chosen", deliver, "", "请先选择订水单据！！"},
        {"deliver, gone", deliver, "D-none", "该订水单据已不存在，可能已被其他电脑删除！！"},
        {"deliver open", deliver, "D-open", ""},
        {"deliver the rest", deliver, "D-one-delivered", ""},
        {"deliver delivered", deliver, "D-delivered", "已经发货完毕了"},
        {"receive open", receive, "D-open", ""},
        {"receive paid", receive, "D-paid", "已经收款完毕，不能再收款了"},
        {"receive partly paid", receive, "D-one-paid", "已经收款完毕，不能再收款了"},
        {"receive with tickets used", receive, "D-tickets", "此单已经用水票付过款了，就不能用现金付款了！！"},
        {"slip of a cash order", slip, "D-open", "该功能是预付款回单登记，不能使用在收现金、水票、签单的收款方式上"},
        {"slip", slip, "D-prepaid", ""},
        {"slip twice", slip, "D-slip-back", "此单已经回单完毕！！"},
        {"cancel open", cancel, "D-open", ""},
        {"cancel prepaid", cancel, "D-prepaid", ""},
        {"cancel partly sent", cancel, "D-partly-sent", "此项定单已经发货完毕，不能退单，请退货后再退单！！"},
        {"cancel partly delivered", cancel, "D-one-delivered", "此项定单已经发货完毕，不能退单，请退货后再退单！！"},
        {"cancel partly paid", cancel, "D-one-paid", "此项定单已经收款完毕，不能退单，请退款后再退单！！"},
        {"return undelivered", goBack, "D-open", "此单还没有发货，所以不能退货！！"},
        {"return partly delivered", goBack, "D-one-delivered", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome o = c.check(QString::fromUtf8(c.document));
        EXPECT_EQ(o.ok, *c.message == '\0');
        EXPECT_EQ(o.message, QString::fromUtf8(c.message));
    }

    QString message;
    EXPECT_EQ(board.checkRefund("D-open", &message), OrderBoard::RefundWay::Refuse);
    EXPECT_EQ(message, "此单还未交款！！");
    EXPECT_EQ(board.checkRefund("D-paid", &message), OrderBoard::RefundWay::Refund);
    EXPECT_EQ(board.checkRefund("D-prepaid", &message), OrderBoard::RefundWay::CancelInstead);
    EXPECT_EQ(message, "预付款定单请直接删除订单");
}

TEST_P(OrderBoardTest, BatchDeliveryMarksExactlyTheLinesShown)
{
    const qint64 shown = line("202612110001");
    const qint64 deliveredMeanwhile = line("202612110002", {{"发货完毕", true}, {"已发数量", 1}});
    const qint64 arrivedSince = line("202612110003");
    EXPECT_EQ(OrderBoard(db()).deliverAll({shown, deliveredMeanwhile}), 1);
    const Rows r = db().select("select id,发货完毕,已发数量 from 产品销售开票 order by id");
    EXPECT_TRUE(r.value(0, "发货完毕").toBool());
    EXPECT_EQ(r.value(0, "已发数量").toInt(), 2);
    EXPECT_EQ(r.value(1, "已发数量").toInt(), 1);
    EXPECT_FALSE(r.value(2, "发货完毕").toBool());
    EXPECT_EQ(r.value(2, "id").toLongLong(), arrivedSince);
}

TEST_P(OrderBoardTest, ARecordingIsTheLinesOrElseItsCalls)
{
    insertRow(db(), "来电历史记录表", {{"订单编号", "202612110002"}, {"录音文件", "录音文件\\k2.wav"}}, "编号");
    insertRow(db(), "来电历史记录表", {{"订单编号", "202612110003"}, {"录音文件", ""}}, "编号");
    OrderBoard board(db());
    struct Case {
        const char* lineFile;
        const char* document;
        const char* file;
        QStringList notices;
        const char* refusal;
    };
    const QString found = "订单里没有录音录音文件，历史来电里找到了录音文件";
    const Case cases[] = {
        {"录音文件\\k1.wav", "202612110001", "录音文件\\k1.wav", {}, ""},
        {"", "202612110002", "录音文件\\k2.wav", {found}, ""},
        {"", "202612110003", "", {found}, ""},
        {"", "202612110009", "", {}, "该通话没有被录音"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        const OrderBoard::Recording r = board.recordingOf(QString::fromUtf8(c.lineFile), QString::fromUtf8(c.document));
        EXPECT_EQ(r.outcome.message, QString::fromUtf8(c.refusal));
        EXPECT_EQ(r.outcome.notices, c.notices);
        EXPECT_EQ(r.file, QString::fromUtf8(c.file));
    }
}

TEST_P(OrderBoardTest, TheColourChoiceIsKept)
{
    OrderBoard board(db());
    board.setColourShown(true);
    EXPECT_TRUE(board.colourShown());
    board.setColourShown(false);
    EXPECT_FALSE(board.colourShown());
}

TS_BOTH_ENGINES(OrderBoardTest);

} // namespace
} // namespace ts
