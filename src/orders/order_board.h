#pragma once

#include "storage/outcome.h"
#include "storage/rows.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace ts {

class Db;

// What the board's filter panel asks for. The default is the board as every
// refresh shows it: today's lines in the order they were taken.
struct BoardFilter {
    enum class Period { Today, Between };
    enum class State { All, NotDeliveredNotPaid, NotDeliveredPaid, DeliveredNotPaid, DeliveredPaid };
    enum class Order { ByTime, ByRegion };

    Period period = Period::Today;
    QDate from;  // with Between
    QDate to;
    QString region;     // 指定区域; empty for 所有区域
    QString subRegion;  // 二级区域; empty for all
    State state = State::All;
    bool byWorker = false;  // 配送工 ticked
    QString worker;
    Order order = Order::ByTime;
    // 查询未发货 and 查询未收款 of the batch work for one worker.
    bool undeliveredOnly = false;
    bool unpaidOnly = false;
};

// How a line of the board is coloured, by its delivery and payment state.
enum class LineColour { NotDeliveredNotPaid, NotDeliveredPaid, DeliveredNotPaid, DeliveredPaid, PrepaidSlipMissing };

// One figure of "今日统计": its caption and its value with the unit.
struct DayFigure {
    QString caption;  // "今日订水："
    QString value;    // "12  桶"
};

// The order board of the main window: today's order lines, the filter
// panel, the day's figures, and the checks the operations on a selected
// line make before their forms open.
class OrderBoard {
public:
    explicit OrderBoard(Db& db) : db_(db) {}

    // The board's columns in screen order, their titles and which are summed.
    static const QStringList& columns();
    static QString title(const QString& column);
    static const QStringList& summedColumns();
    // The columns hidden for the special requirement "vidi".
    static const QStringList& vidiHiddenColumns();

    // The board's statement; every value bound, the worker's name too.
    // Lines without a document number never show.
    Query query(const BoardFilter& filter, const QDate& today) const;

    // "今日统计" in screen order. A figure over no rows is 0.
    QList<DayFigure> figures(const QDate& today);
    // The one statement the figures come from.
    static Query figuresQuery(const QDate& today);

    static LineColour colourOf(bool paid, bool delivered, const QString& paymentMethod, const QString& slipReturned);
    static QString legend(LineColour colour);

    // 需要颜色显示, kept in 颜色显示.
    bool colourShown();
    void setColourShown(bool on);

    // The checks of the operations on a selected line, on every line of its
    // document as the database holds it now (another station may have
    // delivered or paid part of it since the board was read). An empty
    // number is refused with "请先选择订水单据！！".
    Outcome checkDeliver(const QString& document);
    Outcome checkReceive(const QString& document);      // 收款, 收票, 签单, 卡付款
    Outcome checkPrepaidSlip(const QString& document);  // 预付回单
    Outcome checkCancel(const QString& document);       // 删除订货单
    Outcome checkReturn(const QString& document);       // 退货
    // 退款: refused when unpaid; a prepaid order is told to be deleted
    // instead (the message comes back as the outcome's message while ok is
    // true, and the caller goes on to 删除订货单).
    enum class RefundWay { Refuse, Refund, CancelInstead };
    RefundWay checkRefund(const QString& document, QString* message);

    // 录音重放: the recording of the line's call. The line's own 录音文件 when
    // it has one; else the call that led to its order, with a notice that it
    // was found there; else refused with "该通话没有被录音". `file` is the
    // stored name (a full path in the Q-type recording mode, else relative
    // to the program folder).
    struct Recording {
        Outcome outcome;
        QString file;
    };
    Recording recordingOf(const QString& lineFile, const QString& document);

    // 成批发货: marks delivered exactly the lines the operator saw in the
    // preview that are still undelivered; returns how many were marked.
    int deliverAll(const QList<qint64>& lineIds);

private:
    Rows documentLines(const QString& document);

    Db& db_;
};

} // namespace ts
