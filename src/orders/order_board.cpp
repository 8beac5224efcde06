#include "orders/order_board.h"

#include "storage/dates.h"
#include "storage/db.h"
#include "storage/money.h"

#include <QHash>

namespace ts {

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kEmptyDocument = QStringLiteral("请先选择订水单据！！");
const QString kGone = QStringLiteral("该订水单据已不存在，可能已被其他电脑删除！！");

} // namespace

const QStringList& OrderBoard::columns()
{
    static const QStringList all{
        str("时间"),     str("手工编号"), str("客户姓名"), str("产品名称"), str("收款方式"), str("数量"),
        str("已发数量"), str("回桶数量"), str("租桶数"),   str("借桶数"),   str("配送工"),   str("电话"),
        str("地址"),     str("销售单价"), str("区域"),     str("应付货款"), str("实付货款"), str("实付票数"),
        str("小区域"),   str("提成"),     str("签单数"),   str("签单人姓名"), str("单据编号"), str("售前库存"),
        str("售后库存"), str("操作员")};
    return all;
}

QString OrderBoard::title(const QString& column)
{
    static const QHash<QString, QString> titles{{str("时间"), str("订水时间")},   {str("数量"), str("订水数")},
                                                {str("已发数量"), str("已发数")}, {str("回桶数量"), str("回桶数")},
                                                {str("销售单价"), str("单价")}};
    return titles.value(column, column);
}

const QStringList& OrderBoard::summedColumns()
{
    static const QStringList summed{str("数量"),     str("已发数量"), str("回桶数量"), str("租桶数"), str("借桶数"),
                                    str("应付货款"), str("实付货款"), str("实付票数"), str("签单数")};
    return summed;
}

const QStringList& OrderBoard::vidiHiddenColumns()
{
    static const QStringList hidden{str("数量"), str("电话"), str("应付货款"), str("实付货款"), str("实付票数")};
    return hidden;
}

Query OrderBoard::query(const BoardFilter& f, const QDate& today) const
{
    Query q;
    q.sql = QStringLiteral("select * from 产品销售开票 where ");
    if (f.period == BoardFilter::Period::Today) {
        q.sql += QStringLiteral("购物日期=:day");
        q.binds.insert(QStringLiteral("day"), dbDate(today));
    } else {
        q.sql += QStringLiteral("购物日期 between :from and :to");
        q.binds.insert(QStringLiteral("from"), dbDate(f.from));
        q.binds.insert(QStringLiteral("to"), dbDate(f.to));
    }
    q.sql += QStringLiteral(" and 单据编号<>:none");
    q.binds.insert(QStringLiteral("none"), QString(QLatin1String("")));
    if (!f.region.isEmpty()) {
        q.sql += QStringLiteral(" and 区域=:region");
        q.binds.insert(QStringLiteral("region"), f.region);
    }
    if (!f.subRegion.isEmpty()) {
        q.sql += QStringLiteral(" and 小区域=:sub");
        q.binds.insert(QStringLiteral("sub"), f.subRegion);
    }
    if (f.state != BoardFilter::State::All) {
        const bool paid = f.state == BoardFilter::State::NotDeliveredPaid || f.state == BoardFilter::State::DeliveredPaid;
        const bool delivered =
            f.state == BoardFilter::State::DeliveredNotPaid || f.state == BoardFilter::State::DeliveredPaid;
        q.sql += QStringLiteral(" and 交款完毕=:paid and 发货完毕=:delivered");
        q.binds.insert(QStringLiteral("paid"), paid);
        q.binds.insert(QStringLiteral("delivered"), delivered);
    }
    if (f.undeliveredOnly) {
        q.sql += QStringLiteral(" and 发货完毕=:notDelivered");
        q.binds.insert(QStringLiteral("notDelivered"), false);
    }
    if (f.unpaidOnly) {
        q.sql += QStringLiteral(" and 交款完毕=:notPaid");
        q.binds.insert(QStringLiteral("notPaid"), false);
    }
    if (f.byWorker) {
        q.sql += QStringLiteral(" and 配送工=:worker");
        q.binds.insert(QStringLiteral("worker"), f.worker);
    }
    q.sql += f.order == BoardFilter::Order::ByTime ? QStringLiteral(" order by id")
                                                   : QStringLiteral(" order by 区域,小区域,id");
    return q;
}

Query OrderBoard::figuresQuery(const QDate& today)
{
    // One statement, one round trip: each figure a sub-select on the index
    // of its own date column, every date compared as a range of the whole
    // day, so that a value stored with a time of day counts too.
    return {
        QStringLiteral(
            "select (select sum(数量) from 产品销售开票 where 购物日期>=:d1 and 购物日期<:d2 and 产品类型=:water) as ordered, "
            "(select sum(已发数量) from 产品销售开票 where 购物日期>=:d1 and 购物日期<:d2 and 产品类型=:water) as sent, "
            "(select sum(数量) from 产品销售开票 where 购物日期>=:d1 and 购物日期<:d2 and 销售单价=0) as free, "
            "(select sum(实付货款) from 产品销售开票 where 结算日期>=:d1 and 结算日期<:d2 and 收款方式=:cash) as cash, "
            "(select sum(实付票数) from 产品销售开票 where 结算日期>=:d1 and 结算日期<:d2 and 收款方式=:tickets) as tickets, "
            "(select sum(签单数) from 产品销售开票 where 签单日期>=:d1 and 签单日期<:d2) as iou, "
            "(select sum(桶数) from 出租桶明细 where 时间>=:d1 and 时间<:d2) as rented, "
            "(select sum(桶数) from 回收桶 where 回收桶时间>=:d1 and 回收桶时间<:d2) as unrented, "
            "(select sum(桶数) from 欠桶明细表 where 时间>=:d1 and 时间<:d2) as lent, "
            "(select sum(桶数) from 还桶 where 时间>=:d1 and 时间<:d2) as returned, "
            "(select sum(购买数量) from 水票销售明细 where 时间>=:d1 and 时间<:d2) as sold, "
            "(select sum(回收数量) from 水票回收表 where 日期>=:d1 and 日期<:d2) as collected, "
            "(select sum(数量) from 签单还票明细表 where 日期>=:d1 and 日期<:d2) as repaidTickets, "
            "(select sum(金额) from 签单还款明细表 where 日期>=:d1 and 日期<:d2) as repaidMoney"),
        {{QStringLiteral("d1"), dbDate(today)},
         {QStringLiteral("d2"), dbDate(today.addDays(1))},
         {QStringLiteral("water"), str("水")},
         {QStringLiteral("cash"), str("现金")},
         {QStringLiteral("tickets"), str("水票")}}};
}

QList<DayFigure> OrderBoard::figures(const QDate& today)
{
    const Rows all = db_.select(figuresQuery(today));
    auto count = [](const QVariant& v, const char* unit) {
        return QString::number(Money::fromVariant(v).units() / Money::kScale) + QStringLiteral("  ") + str(unit);
    };
    auto amount = [](const QVariant& v, const char* unit) {
        return Money::fromVariant(v).toDisplayString() + QStringLiteral("  ") + str(unit);
    };
    auto v = [&all](const char* field) { return all.value(0, QString::fromUtf8(field)); };
    const Money orderedUnits = Money::fromVariant(v("ordered"));
    const Money sent = Money::fromVariant(v("sent"));
    return {
        {str("今日订水："), count(v("ordered"), "桶")},
        {str("今日送水："), count(v("sent"), "桶")},
        {str("送水收款："), amount(v("cash"), "元")},
        {str("送水收票："), count(v("tickets"), "张")},
        {str("送水签单："), count(v("iou"), "张")},
        {str("未送桶数："), count((orderedUnits - sent).toVariant(), "桶")},
        {str("免费桶数："), count(v("free"), "桶")},
        {str("今日租桶："), count(v("rented"), "桶")},
        {str("租桶回收："), count(v("unrented"), "桶")},
        {str("今日借桶："), count(v("lent"), "桶")},
        {str("借桶归还："), count(v("returned"), "桶")},
        {str("水票销售："), count(v("sold"), "张")},
        {str("水票回收："), count(v("collected"), "张")},
        {str("今日还票："), count(v("repaidTickets"), "张")},
        // Repayments keep their fen.
        {str("今日还款："), amount(v("repaidMoney"), "元")},
    };
}

LineColour OrderBoard::colourOf(bool paid, bool delivered, const QString& paymentMethod, const QString& slipReturned)
{
    if (paymentMethod == str("预付款") && delivered && slipReturned == str("否"))
        return LineColour::PrepaidSlipMissing;
    if (delivered)
        return paid ? LineColour::DeliveredPaid : LineColour::DeliveredNotPaid;
    return paid ? LineColour::NotDeliveredPaid : LineColour::NotDeliveredNotPaid;
}

QString OrderBoard::legend(LineColour colour)
{
    switch (colour) {
    case LineColour::NotDeliveredNotPaid: return str("未发货并且未交款：");
    case LineColour::NotDeliveredPaid: return str("未发货，已收款：");
    case LineColour::DeliveredNotPaid: return str("已发货未交款：");
    case LineColour::DeliveredPaid: return str("已交款已发货：");
    case LineColour::PrepaidSlipMissing: return str("预付款未回单：");
    }
    return {};
}

bool OrderBoard::colourShown()
{
    return db_.scalar(QStringLiteral("select 需要颜色 from 颜色显示 limit 1")).toBool();
}

void OrderBoard::setColourShown(bool on)
{
    db_.run(QStringLiteral("update 颜色显示 set 需要颜色=:on"), {{QStringLiteral("on"), on}});
}

Rows OrderBoard::documentLines(const QString& document)
{
    return db_.select(QStringLiteral("select 发货完毕,已发数量,交款完毕,实付票数,收款方式,回单登记 from 产品销售开票 "
                                     "where 单据编号=:doc"),
                      {{QStringLiteral("doc"), document}});
}

namespace {

struct DocumentState {
    int lines = 0;
    int delivered = 0;      // 发货完毕
    int partlySent = 0;     // not 发货完毕 but some units out
    int paid = 0;           // 交款完毕
    int paidByTickets = 0;  // 交款完毕 with tickets handed in
    int prepaid = 0;        // 收款方式 预付款
    int slipBack = 0;       // 回单登记 是
};

DocumentState stateOf(const Rows& r)
{
    DocumentState s;
    s.lines = r.size();
    for (int i = 0; i < r.size(); ++i) {
        const bool delivered = r.value(i, QStringLiteral("发货完毕")).toBool();
        const bool paid = r.value(i, QStringLiteral("交款完毕")).toBool();
        s.delivered += delivered;
        s.partlySent += !delivered && r.value(i, QStringLiteral("已发数量")).toLongLong() > 0;
        s.paid += paid;
        s.paidByTickets += paid && r.value(i, QStringLiteral("实付票数")).toLongLong() != 0;
        s.prepaid += r.text(i, QStringLiteral("收款方式")) == str("预付款");
        s.slipBack += r.text(i, QStringLiteral("回单登记")) == str("是");
    }
    return s;
}

} // namespace

Outcome OrderBoard::checkDeliver(const QString& document)
{
    if (document.isEmpty())
        return Outcome::refused(kEmptyDocument);
    const DocumentState s = stateOf(documentLines(document));
    if (s.lines == 0)
        return Outcome::refused(kGone);
    if (s.delivered == s.lines)
        return Outcome::refused(str("已经发货完毕了"));
    return Outcome::done();
}

Outcome OrderBoard::checkReceive(const QString& document)
{
    if (document.isEmpty())
        return Outcome::refused(kEmptyDocument);
    const DocumentState s = stateOf(documentLines(document));
    if (s.lines == 0)
        return Outcome::refused(kGone);
    if (s.paid == s.lines)
        return Outcome::refused(str("已经收款完毕，不能再收款了"));
    if (s.paidByTickets > 0)
        return Outcome::refused(str("此单已经用水票付过款了，就不能用现金付款了！！"));
    // A line paid meanwhile on another station: the order is not taken in twice.
    if (s.paid > 0)
        return Outcome::refused(str("已经收款完毕，不能再收款了"));
    return Outcome::done();
}

Outcome OrderBoard::checkPrepaidSlip(const QString& document)
{
    if (document.isEmpty())
        return Outcome::refused(kEmptyDocument);
    const DocumentState s = stateOf(documentLines(document));
    if (s.lines == 0)
        return Outcome::refused(kGone);
    if (s.prepaid != s.lines)
        return Outcome::refused(str("该功能是预付款回单登记，不能使用在收现金、水票、签单的收款方式上"));
    if (s.slipBack > 0)
        return Outcome::refused(str("此单已经回单完毕！！"));
    return Outcome::done();
}

Outcome OrderBoard::checkCancel(const QString& document)
{
    if (document.isEmpty())
        return Outcome::refused(kEmptyDocument);
    const Rows r = documentLines(document);
    const DocumentState s = stateOf(r);
    if (s.lines == 0)
        return Outcome::refused(kGone);
    // A partly delivered order is not deleted either.
    if (s.delivered > 0 || s.partlySent > 0)
        return Outcome::refused(str("此项定单已经发货完毕，不能退单，请退货后再退单！！"));
    for (int i = 0; i < r.size(); ++i) {
        if (r.value(i, QStringLiteral("交款完毕")).toBool() && r.text(i, QStringLiteral("收款方式")) != str("预付款"))
            return Outcome::refused(str("此项定单已经收款完毕，不能退单，请退款后再退单！！"));
    }
    return Outcome::done();
}

Outcome OrderBoard::checkReturn(const QString& document)
{
    if (document.isEmpty())
        return Outcome::refused(kEmptyDocument);
    const DocumentState s = stateOf(documentLines(document));
    if (s.lines == 0)
        return Outcome::refused(kGone);
    if (s.delivered == 0)
        return Outcome::refused(str("此单还没有发货，所以不能退货！！"));
    return Outcome::done();
}

OrderBoard::RefundWay OrderBoard::checkRefund(const QString& document, QString* message)
{
    auto refuse = [&](const QString& text) {
        if (message)
            *message = text;
        return RefundWay::Refuse;
    };
    if (document.isEmpty())
        return refuse(kEmptyDocument);
    const DocumentState s = stateOf(documentLines(document));
    if (s.lines == 0)
        return refuse(kGone);
    if (s.paid == 0)
        return refuse(str("此单还未交款！！"));
    if (s.prepaid > 0) {
        if (message)
            *message = str("预付款定单请直接删除订单");
        return RefundWay::CancelInstead;
    }
    return RefundWay::Refund;
}

OrderBoard::Recording OrderBoard::recordingOf(const QString& lineFile, const QString& document)
{
    Recording r;
    if (!lineFile.isEmpty()) {
        r.file = lineFile;
        return r;
    }
    const Rows calls = db_.select(QStringLiteral("select 录音文件 from 来电历史记录表 where 订单编号=:doc order by 编号"),
                                  {{QStringLiteral("doc"), document}});
    if (document.isEmpty() || calls.isEmpty()) {
        r.outcome = Outcome::refused(str("该通话没有被录音"));
        return r;
    }
    r.outcome.notices << str("订单里没有录音录音文件，历史来电里找到了录音文件");
    r.file = calls.text(0, QStringLiteral("录音文件"));
    return r;
}

int OrderBoard::deliverAll(const QList<qint64>& lineIds)
{
    if (lineIds.isEmpty())
        return 0;
    return db_.write([&] {
        int marked = 0;
        // One statement per line keeps the binds plain; a line another
        // station delivered since the preview is left as it is.
        for (const qint64 id : lineIds)
            marked += db_.run(QStringLiteral("update 产品销售开票 set 发货完毕=:yes,已发数量=数量 "
                                             "where id=:id and 发货完毕=:no"),
                              {{QStringLiteral("yes"), true}, {QStringLiteral("no"), false}, {QStringLiteral("id"), id}});
        return marked;
    });
}

} // namespace ts
