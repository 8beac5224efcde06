#include "printing/order_note.h"

#include "printing/capital_numerals.h"
#include "printing/rtf_template.h"
#include "printing/slip_text.h"
#include "session/login_values.h"
#include "storage/db.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ts::printing {

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

qint64 whole(const QVariant& v)
{
    return Money::fromVariant(v).units() / Money::kScale;
}

QString text(const Rows& rows, int row, const char* field)
{
    return fieldText(rows.value(row, str(field)));
}

QString labelled(const char* label, const QString& value)
{
    return QStringLiteral("<tr><td style=\"white-space:pre\">") + html(str(label)) + QStringLiteral("</td><td>") +
           html(value) + QStringLiteral("</td></tr>");
}

} // namespace

StationInfo StationInfo::fromLogin(const LoginValues& v)
{
    return {v.stationName, v.stationPhone, v.serviceSlogan};
}

QString OrderNote::summary() const
{
    return str("欠空桶：") + QString::number(owedBuckets) + str(" 个 签单：") + QString::number(iouUnits) +
           str(" 桶  剩余水票：") + QString::number(tickets) + str(" 张");
}

OrderNote gatherOrderNote(Db& db, const QString& document, const StationInfo& station)
{
    OrderNote n;
    n.station = station;
    n.document = document;
    n.lines = db.select(QStringLiteral("select * from 产品销售开票 where 单据编号=:doc order by id"),
                        {{QStringLiteral("doc"), document}});
    if (n.lines.isEmpty())
        return n;
    n.worker = text(n.lines, 0, "配送工");
    n.customerName = text(n.lines, 0, "客户姓名");
    n.customerNumber = text(n.lines, 0, "客户编号");
    n.manualCode = text(n.lines, 0, "手工编号");
    n.phone = text(n.lines, 0, "电话");
    n.address = text(n.lines, 0, "地址");
    n.subArea = text(n.lines, 0, "小区域");
    n.company = text(n.lines, 0, "单位");
    n.remark = text(n.lines, 0, "发货备注");
    n.payment = text(n.lines, 0, "收款方式");
    n.orderTime = text(n.lines, 0, "时间");
    n.deliveryTime = text(n.lines, 0, "发货时间");
    n.operatorName = text(n.lines, 0, "操作员");

    // The order's total and the customer's three balances in one statement.
    const Rows sums = db.select(
        QStringLiteral("select (select sum(应付货款) from 产品销售开票 where 单据编号=:doc) as total, "
                       "(select sum(未还数量) from 欠桶 where 客户编号=:customer) as owed, "
                       "(select sum(签单数) from 产品销售开票 where 客户编号=:customer and 收款方式=:iou) as iou, "
                       "(select sum(还剩数量) from 客户水票总表 where 客户编号=:customer) as tickets"),
        {{QStringLiteral("doc"), document},
         {QStringLiteral("customer"), n.lines.value(0, str("客户编号"))},
         {QStringLiteral("iou"), str("签单")}});
    n.total = Money::fromVariant(sums.value(0, QStringLiteral("total")));
    n.owedBuckets = whole(sums.value(0, QStringLiteral("owed")));
    n.iouUnits = whole(sums.value(0, QStringLiteral("iou")));
    n.tickets = whole(sums.value(0, QStringLiteral("tickets")));
    return n;
}

Printout pos76(const OrderNote& note)
{
    QString body = QStringLiteral("<p align=\"center\" style=\"font-size:12pt; font-weight:bold\">") +
                   html(note.station.name) + QStringLiteral("</p>") + QStringLiteral("<p align=\"center\">") +
                   html(note.station.slogan) + QStringLiteral("<br/>") + html(str("服务电话：") + note.station.phone) +
                   QStringLiteral("</p><table cellspacing=\"0\" cellpadding=\"1\">") +
                   labelled("订单号码：", note.document) + labelled("送 水 员：", note.worker) +
                   labelled("姓    名：", note.customerName) + labelled("编    号：", note.customerNumber) +
                   labelled("联系电话：", note.phone) + labelled("地    址：", wrapGb2312(note.address)) +
                   labelled("单    位：", note.company) + labelled("发货备注：", note.remark) +
                   labelled("订水时间：", note.orderTime) + QStringLiteral("</table>");

    body += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"1\" "
                           "style=\"border-collapse:collapse\"><tr><th>") +
            html(str("水种名称")) + QStringLiteral("</th><th>") + html(str("桶")) + QStringLiteral("</th><th>") +
            html(str("单价")) + QStringLiteral("</th><th>") + html(str("合计")) + QStringLiteral("</th></tr>");
    for (int r = 0; r < note.lines.size(); ++r) {
        body += QStringLiteral("<tr><td>") + html(wrapGb2312(text(note.lines, r, "产品名称"))) +
                QStringLiteral("</td><td align=\"right\">") + html(text(note.lines, r, "数量")) +
                QStringLiteral("</td><td align=\"right\">") + html(text(note.lines, r, "销售单价")) +
                QStringLiteral("</td><td align=\"right\">") + html(text(note.lines, r, "应付货款")) +
                QStringLiteral("</td></tr>");
    }
    body += QStringLiteral("</table><table cellspacing=\"0\" cellpadding=\"1\">") +
            labelled("金额合计：", note.total.toDisplayString()) + labelled("送水时间：", note.deliveryTime) +
            labelled("制 单 人：", note.operatorName) + QStringLiteral("</table><p>") + html(note.summary()) +
            QStringLiteral("</p>");

    const double height = reportUnitsToMm(457 + 19 * note.lines.size());
    return {str("送水单"), QStringLiteral("<html><body style=\"font-size:9pt\">") + body + QStringLiteral("</body></html>"),
            QSizeF(76.2, height), 3};
}

Placeholders orderTemplateValues(Db& db, const OrderNote& note, const QString& operatorName)
{
    Placeholders v{
        {str("$公司名称"), note.station.name}, {str("$订水时间"), note.orderTime},
        {str("$订单编号"), note.document},     {str("$收货人"), note.customerName},
        {str("$收货地址"), note.subArea},      {str("$收货电话"), note.phone},
        {str("$送水员"), note.worker},         {str("$skfs"), note.payment},
        {str("$制单人"), operatorName},
    };
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        QString product, quantity, capitals, code, unit;
        if (i < note.lines.size()) {
            product = text(note.lines, i, "产品名称");
            const QVariant units = note.lines.value(i, str("数量"));
            quantity = fieldText(units);
            capitals = TKAIMoney::quantity(whole(units));
            const Rows item = db.select(QStringLiteral("select 产品编号,产品单位 from 产品列表 where 产品名称=:name limit 1"),
                                        {{QStringLiteral("name"), product}});
            if (!item.isEmpty()) {
                code = text(item, 0, "产品编号");
                unit = text(item, 0, "产品单位");
            }
        }
        v << std::pair{str("$产品") + n, product} << std::pair{QStringLiteral("$sl") + n, quantity}
          << std::pair{QStringLiteral("$sldx") + n, capitals} << std::pair{QStringLiteral("$cpbm") + n, code}
          << std::pair{QStringLiteral("$cpdw") + n, unit};
    }
    return v;
}

Outcome writeOrderDocument(const QString& templatePath, const Placeholders& values, const QString& outPath)
{
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly))
        return Outcome::refused(str("找不到订单模板：") + templatePath);
    const QByteArray rtf = in.readAll();
    if (!isRtf(rtf))
        return Outcome::refused(str("订单模板“") + QFileInfo(templatePath).fileName() +
                                str("”不是RTF格式的文档，请在文字处理软件中把它另存为RTF格式（文件名不变）后再打印"));
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(fillRtf(rtf, values)) < 0 || !out.commit())
        return Outcome::refused(str("无法写入文件：") + outPath);
    return Outcome::done();
}

Placeholders reportVariables(const OrderNote& note)
{
    return {
        // The board's print asks for 欠桶数量 and the delivery slip for
        // 欠桶变量; one template serves both.
        {str("欠桶数量"), note.summary()},
        {str("欠桶变量"), note.summary()},
        {str("订单号码"), note.document},
        {str("送水工"), note.worker},
        {str("订水时间"), note.orderTime},
        {str("送水时间"), note.deliveryTime},
        {str("客户编号"), note.customerNumber},
        {str("客户姓名"), note.customerName},
        {str("联系电话"), note.phone},
        {str("联系地址"), note.address},
        {str("客户单位"), note.company},
        {str("发货备注"), note.remark},
        {str("应收合计"), note.total.toDisplayString()},
        {str("水站名称"), note.station.name},
        {str("客户手工编号"), note.manualCode},
    };
}

} // namespace ts::printing
