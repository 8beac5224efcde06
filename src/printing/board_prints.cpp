#include "printing/board_prints.h"

#include "orders/order_board.h"
#include "printing/slip_text.h"
#include "printing/text_sheet.h"
#include "storage/money.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace ts::printing {

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QSizeF kA4(210, 297);

// A column the rows do not have prints empty: a board read with fewer
// columns still prints what it has.
QString text(const Rows& rows, int row, const char* field)
{
    const int column = rows.column(str(field));
    return column < 0 ? QString() : fieldText(rows.value(row, column));
}

qint64 units(const Rows& rows)
{
    Money sum;
    for (int r = 0; r < rows.size(); ++r)
        sum += Money::fromVariant(rows.column(str("数量")) < 0 ? QVariant() : rows.value(r, str("数量")));
    return sum.units() / Money::kScale;
}

QString cell(const QString& escaped, const char* align = "left")
{
    return QStringLiteral("<td align=\"%1\">%2</td>").arg(QLatin1String(align), escaped);
}

// A list of one table on A4, the head row repeated on every page.
QString table(const QStringList& heads, const QStringList& body)
{
    QString out = QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                                 "style=\"border-collapse:collapse; border-color:#000\"><thead><tr>");
    for (const QString& h : heads)
        out += QStringLiteral("<th>") + html(h) + QStringLiteral("</th>");
    out += QStringLiteral("</tr></thead>") + body.join(QString()) + QStringLiteral("</table>");
    return out;
}

QString total(const Rows& rows)
{
    return QStringLiteral("<p align=\"right\" style=\"font-size:11pt\">") + html(str("送水合计（桶）：")) +
           QString::number(units(rows)) + QStringLiteral("</p>");
}

QString page(const QString& body, double pointSize)
{
    return QStringLiteral("<html><body style=\"font-size:%1pt\">").arg(pointSize) + body +
           QStringLiteral("</body></html>");
}

} // namespace

Printout a4List(const Rows& rows, const QDate& day)
{
    const QString title = QString::number(day.year()) + str("年") + QString::number(day.month()) + str("月") +
                          QString::number(day.day()) + str("日送水单");
    QStringList body;
    for (int r = 0; r < rows.size(); ++r) {
        body << QStringLiteral("<tr>") + cell(html(text(rows, r, "客户姓名"))) +
                    cell(html(wrapGb2312(text(rows, r, "地址")))) + cell(html(wrapGb2312(text(rows, r, "产品名称")))) +
                    cell(html(text(rows, r, "数量")), "right") + cell(html(text(rows, r, "应付货款")), "right") +
                    cell(html(text(rows, r, "收款方式"))) + cell(html(text(rows, r, "发货备注"))) +
                    QStringLiteral("</tr>");
    }
    const QString heads[] = {str("姓名"), str("地址"), str("产品名称"), str("送水量"),
                             str("应收货款"), str("收款方式"), str("备注")};
    const QString content = QStringLiteral("<h2 align=\"center\">") + html(title) + QStringLiteral("</h2>") +
                            table(QStringList(std::begin(heads), std::end(heads)), body) + total(rows);
    return {title, page(content, 10), kA4, 12};
}

Printout pos58Notes(const Rows& rows)
{
    // One note to a page, all pages as tall as the longest note: a roll
    // printer feeds what the page asks for, and a note must not run onto the
    // next one. A 58 mm printer prints about 48 mm of it: at 7 points the
    // longest label and a wrapped line of 15 Chinese characters fit side by
    // side.
    const double lineMm = 4;
    const double marginMm = 4;
    int mostLines = 0;
    QString body;
    for (int r = 0; r < rows.size(); ++r) {
        const QString product = wrapGb2312(text(rows, r, "产品名称"));
        const QString address = wrapGb2312(text(rows, r, "地址"));
        const std::pair<const char*, QString> fields[] = {
            {"姓名：", text(rows, r, "客户姓名")}, {"电话：", text(rows, r, "电话")},
            {"地址：", address},                    {"产品：", product},
            {"桶数：", text(rows, r, "数量")},     {"配送员：", text(rows, r, "配送工")},
        };
        int lines = 0;
        QString note = QStringLiteral("<p align=\"center\" style=\"font-size:10pt; font-weight:bold%1\">")
                           .arg(r > 0 ? QStringLiteral("; page-break-before:always") : QString()) +
                       html(str("桶装水配送信息")) + QStringLiteral("</p><table cellspacing=\"0\" cellpadding=\"1\">");
        for (const auto& [label, value] : fields) {
            note += QStringLiteral("<tr><td style=\"white-space:nowrap\">") + html(str(label)) +
                    QStringLiteral("</td><td>") + html(value) + QStringLiteral("</td></tr>");
            lines += int(value.count(QLatin1Char('\n'))) + 1;
        }
        body += note + QStringLiteral("</table>");
        mostLines = std::max(mostLines, lines);
    }
    const double height = 2 * marginMm + 8 + lineMm * mostLines + 4;
    return {str("桶装水配送信息"), page(body, 7), QSizeF(58, height), marginMm};
}

Printout batchDeliveryList(const Rows& rows, const QDate& day, const QString& worker)
{
    QStringList body;
    for (int r = 0; r < rows.size(); ++r) {
        body << QStringLiteral("<tr>") + cell(QString::number(r + 1), "right") + cell(html(text(rows, r, "客户姓名"))) +
                    cell(html(text(rows, r, "电话"))) + cell(html(wrapGb2312(text(rows, r, "地址")))) +
                    cell(html(wrapGb2312(text(rows, r, "产品名称")))) + cell(html(text(rows, r, "数量")), "right") +
                    cell(html(text(rows, r, "收款方式"))) + cell(html(text(rows, r, "应付货款")), "right") +
                    cell(html(text(rows, r, "发货备注"))) + QStringLiteral("</tr>");
    }
    const QString heads[] = {str("序号"),     str("姓名"),     str("电话"),     str("地址"),
                             str("产品名称"), str("送水量"), str("收款方式"), str("应收货款"), str("备注")};
    const QString title = str("送水员发货清单");
    const QString content =
        QStringLiteral("<h2 align=\"center\">") + html(title) + QStringLiteral("</h2>") +
        QStringLiteral("<table width=\"100%\"><tr><td>") + html(str("日期：") + fieldText(QVariant(day))) +
        QStringLiteral("</td><td align=\"right\">") + html(str("送水员：") + worker) + QStringLiteral("</td></tr></table>") +
        table(QStringList(std::begin(heads), std::end(heads)), body) + total(rows);
    return {title, page(content, 10), kA4, 12};
}

Outcome exportBoard(const Rows& rows, const QString& path, const std::function<bool(int, int)>& progress)
{
    QStringList header;
    for (int c = 1; c < rows.fields().size(); ++c)
        header << OrderBoard::title(rows.fields().at(c));
    QList<QVariantList> values;
    values.reserve(rows.size());
    for (const QVariantList& row : rows.data())
        values << row.mid(1);
    return writeTextSheet(path, str("销售记录"), header, values, progress);
}

} // namespace ts::printing
