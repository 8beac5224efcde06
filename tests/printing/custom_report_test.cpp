#include "printing/custom_report.h"
#include "storage/money.h"
#include "support/qt_print.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ts::printing {
namespace {

OrderNote note(int lines)
{
    OrderNote n;
    n.station = {QStringLiteral("清泉水站"), QStringLiteral("88886666"), QStringLiteral("送水到家")};
    n.document = QStringLiteral("202612110007");
    n.worker = QStringLiteral("张三");
    n.customerName = QStringLiteral("王芳");
    n.customerNumber = QStringLiteral("42");
    n.manualCode = QStringLiteral("A07");
    n.phone = QStringLiteral("01062223333");
    n.address = QStringLiteral("花园路1号<3单元>");
    n.company = QStringLiteral("澄源科技");
    n.remark = QStringLiteral("下午送");
    n.orderTime = QStringLiteral("2026-12-11 08:30:00");
    n.deliveryTime = QStringLiteral("2026-12-11 09:10:00");
    n.total = Money::fromUnits(425000);
    n.owedBuckets = 3;
    n.iouUnits = 5;
    n.tickets = 10;
    QList<QVariantList> data;
    for (int i = 0; i < lines; ++i)
        data << QVariantList{i + 1, QStringLiteral("产品%1").arg(i + 1), i + 2, Money::yuan(10).toVariant(),
                             Money::yuan(10 * (i + 2)).toVariant()};
    n.lines = Rows({"id", "产品名称", "数量", "销售单价", "应付货款"}, data);
    return n;
}

const QRegularExpression kField(QStringLiteral("\\[[^\\]]*\\]"));

TEST(CustomReport, TheShippedTemplateAnswersEveryFieldItAsksFor)
{
    ReportTemplate t;
    QString error;
    ASSERT_TRUE(loadReportTemplate(QStringLiteral(TS_ASSETS "/自定义送水单.frf"), &t, &error));
    for (int lines = 1; lines <= 3; ++lines) {
        const OrderNote n = note(lines);
        const Printout p = customReport(t, n);
        EXPECT_FALSE(p.html.contains(kField)) << kField.match(p.html).captured().toStdString();
        for (const QString& value : {n.station.name, n.document, n.worker, n.customerName, n.customerNumber,
                                     n.manualCode, n.phone, n.company, n.remark, n.orderTime, n.deliveryTime,
                                     n.summary(), QStringLiteral("42.5"), n.address.toHtmlEscaped()})
            EXPECT_TRUE(p.html.contains(value)) << value.toStdString();
        for (int i = 1; i <= lines; ++i)
            EXPECT_TRUE(p.html.contains(QStringLiteral("产品%1").arg(i)));
        EXPECT_FALSE(p.html.contains(QStringLiteral("产品%1").arg(lines + 1)));
        // Tenths of a millimetre: 730 and 200 a line.
        EXPECT_DOUBLE_EQ(p.pageMm.height() * 10, 730 + 200 * lines);
        EXPECT_DOUBLE_EQ(p.pageMm.width(), 210);
    }
}

TEST(CustomReport, TheFormatReadsAsItsRemarksSay)
{
    struct Case {
        const char* what;
        const char* text;
        const char* html;
        double width;
    };
    const Case cases[] = {
        {"remarks and settings leave nothing", "# 说明\n@纸宽 762\n<p>[客户姓名]</p>\n", "<p>王芳</p>\n", 762},
        {"the repeated part once a line, with its number",
         "<t>\r\n@明细\r\n<r>[序号]:[产品名称]x[数量]@[订单号码]</r>\r\n@明细完\r\n</t>\r\n",
         "<t>\n<r>1:产品1x2@202612110007</r>\n<r>2:产品2x3@202612110007</r>\n</t>\n", 2100},
        {"unknown fields and a bad width stay as written", "@纸宽 宽\n[客户名字] [产品名称] [ 送水工 ]\n",
         "[客户名字] [产品名称] 张三\n", 2100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Printout p = customReport(parseReportTemplate(QString::fromUtf8(c.text)), note(2));
        EXPECT_EQ(p.html, QString::fromUtf8(c.html));
        EXPECT_DOUBLE_EQ(p.pageMm.width() * 10, c.width);
    }
}

TEST(CustomReport, ATemplateSavedInTheOldCodePageReadsTheSame)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("<p>送水工：[送水工]</p>\n");
    QStringEncoder gb("GB18030");
    for (const QByteArray& bytes : {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), QByteArray(gb.encode(text))}) {
        const QString path = dir.filePath("t.frf");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        ReportTemplate t;
        QString error;
        ASSERT_TRUE(loadReportTemplate(path, &t, &error));
        EXPECT_EQ(customReport(t, note(1)).html, QStringLiteral("<p>送水工：张三</p>\n"));
    }
    ReportTemplate t;
    QString error;
    EXPECT_FALSE(loadReportTemplate(dir.filePath("无.frf"), &t, &error));
    EXPECT_EQ(error, QStringLiteral("找不到报表模板：") + dir.filePath("无.frf"));
}

} // namespace
} // namespace ts::printing
