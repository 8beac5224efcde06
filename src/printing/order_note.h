#pragma once

#include "printing/printout.h"
#include "storage/money.h"
#include "storage/outcome.h"
#include "storage/rows.h"

#include <QList>
#include <QString>

#include <utility>

namespace ts {
class Db;
struct LoginValues;
} // namespace ts

// One order printed on its own (单张打印): what every style gathers, and the
// narrow POS76 slip, the word-processor document and our own report template
// built from it. The delivery slip prints the same note with its own worker
// and times filled in.
//
//   OrderNote note = printing::gatherOrderNote(db, document, StationInfo::fromLogin(LoginValues::current()));
//   showPreview(this, printing::pos76(note), PreviewWait::No);
namespace ts::printing {

// The station as shezhi.ini names it: 水店名称, 联系电话, 服务用语.
struct StationInfo {
    QString name;
    QString phone;
    QString slogan;

    static StationInfo fromLogin(const LoginValues& v);
};

using Placeholders = QList<std::pair<QString, QString>>;

struct OrderNote {
    StationInfo station;
    QString document;
    // Every line of the order, "select * from 产品销售开票", in the order taken.
    Rows lines;

    // From the first line, the one the board selects when it loads an order.
    QString worker;          // 配送工
    QString customerName;    // 客户姓名
    QString customerNumber;  // 客户编号
    QString manualCode;      // 手工编号
    QString phone;           // 电话
    QString address;         // 地址
    QString subArea;         // 小区域
    QString company;         // 单位
    QString remark;          // 发货备注
    QString payment;         // 收款方式
    QString orderTime;       // 时间
    QString deliveryTime;    // 发货时间
    QString operatorName;    // 操作员

    Money total;              // sum of 应付货款 over the order
    qint64 owedBuckets = 0;   // the customer's 欠桶 not yet returned
    qint64 iouUnits = 0;      // the customer's buckets on IOU (签单)
    qint64 tickets = 0;       // the customer's remaining water tickets

    // "欠空桶：<owed> 个 签单：<IOU> 桶  剩余水票：<tickets> 张"
    QString summary() const;
};

// Reads the order and the customer's balances. An order without lines comes
// back with no lines and zeros; the caller has refused an empty choice before.
OrderNote gatherOrderNote(Db& db, const QString& document, const StationInfo& station);

// The POS76 slip: 76.2 mm wide, 457 + 19 report units a line long.
Printout pos76(const OrderNote& note);

// The order template's placeholders ("$公司名称", "$订水时间", … and for lines
// 1–4 "$产品N", "$slN", "$sldxN", "$cpbmN", "$cpdwN") with this order's
// values; a line the order does not have gives empty values. `operatorName`
// is who prints it (制单人).
Placeholders orderTemplateValues(Db& db, const OrderNote& note, const QString& operatorName);

// Fills the order template (RTF, whatever its file is called) into `outPath`.
// Refused, with the text to show, when the template is missing or no RTF, or
// the document cannot be written.
Outcome writeOrderDocument(const QString& templatePath, const Placeholders& values, const QString& outPath);

// The variables our report templates ask for, with this order's values.
Placeholders reportVariables(const OrderNote& note);

} // namespace ts::printing
