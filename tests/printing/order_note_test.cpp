#include "printing/order_note.h"
#include "printing/rtf_template.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/test_db.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace ts::printing {
namespace {

using test::addCustomer;
using test::addOrderLine;
using test::addProduct;
using test::insertRow;

const StationInfo kStation{QStringLiteral("清泉水站"), QStringLiteral("0571-88886666"), QStringLiteral("送水到家")};
const QString kDoc = QStringLiteral("202612110007");

class OrderNoteTest : public test::DbTest {
protected:
    // Order kDoc of a customer: 3 buckets of 桶装水 on IOU and 12 of 矿泉水.
    qint64 order()
    {
        const qint64 customer = addCustomer(db());
        addOrderLine(db(), {{"单据编号", kDoc}, {"客户编号", customer}, {"客户姓名", "王芳"}, {"手工编号", "A07"},
                            {"电话", "01062223333"}, {"地址", "花园路1号3单元"}, {"小区域", "花园小区"},
                            {"单位", "澄源科技"}, {"发货备注", "下午送"}, {"配送工", "张三"}, {"操作员", "李丽"},
                            {"时间", "2026-12-11 08:30:00"}, {"发货时间", "2026-12-11 09:10:00"},
                            {"产品名称", "桶装水"}, {"数量", 3}, {"应付货款", Money::yuan(30).toVariant()},
                            {"收款方式", "签单"}, {"签单数", 3}});
        addOrderLine(db(), {{"单据编号", kDoc}, {"客户编号", customer}, {"产品名称", "矿泉水"}, {"数量", 12},
                            {"应付货款", Money::fromUnits(125000).toVariant()}, {"收款方式", "签单"}});
        return customer;
    }
};

TEST_P(OrderNoteTest, GathersTheOrderAndTheCustomersBalances)
{
    const qint64 customer = order();
    const qint64 other = addCustomer(db());
    // The customer's other IOU order counts, cash orders and other customers do not.
    addOrderLine(db(), {{"单据编号", "202612100003"}, {"客户编号", customer}, {"收款方式", "签单"}, {"签单数", 2}});
    addOrderLine(db(), {{"单据编号", "202612100004"}, {"客户编号", customer}, {"收款方式", "现金"}, {"签单数", 4}});
    addOrderLine(db(), {{"单据编号", "202612100005"}, {"客户编号", other}, {"收款方式", "签单"}, {"签单数", 7}});
    using Counts = std::initializer_list<std::pair<qint64, int>>;
    for (const auto& [who, open] : Counts{{customer, 2}, {customer, 1}, {other, 5}})
        insertRow(db(), "欠桶", {{"客户编号", who}, {"桶数", open}, {"未还数量", open}}, "id");
    for (const auto& [who, left] : Counts{{customer, 4}, {customer, 6}, {other, 9}})
        insertRow(db(), "客户水票总表", {{"客户编号", who}, {"还剩数量", left}}, "id");

    const OrderNote n = gatherOrderNote(db(), kDoc, kStation);
    EXPECT_EQ(n.lines.texts("产品名称"), (QStringList{"桶装水", "矿泉水"}));
    EXPECT_EQ(n.total, Money::fromUnits(425000));
    EXPECT_EQ(n.owedBuckets, 3);
    EXPECT_EQ(n.iouUnits, 5);
    EXPECT_EQ(n.tickets, 10);
    EXPECT_EQ(n.summary(), QStringLiteral("欠空桶：3 个 签单：5 桶  剩余水票：10 张"));
    EXPECT_EQ((QStringList{n.document, n.customerNumber, n.customerName, n.manualCode, n.phone, n.address, n.subArea,
                           n.company, n.remark, n.worker, n.operatorName, n.orderTime, n.deliveryTime, n.payment}),
              (QStringList{kDoc, QString::number(customer), "王芳", "A07", "01062223333", "花园路1号3单元", "花园小区",
                           "澄源科技", "下午送", "张三", "李丽", "2026-12-11 08:30:00", "2026-12-11 09:10:00", "签单"}));
    EXPECT_EQ(n.station.name, kStation.name);
}

TEST_P(OrderNoteTest, ACustomerWithoutBalancesGetsZerosAndAGoneOrderNoLines)
{
    addOrderLine(db(), {{"单据编号", kDoc}, {"客户编号", addCustomer(db())}});
    EXPECT_EQ(gatherOrderNote(db(), kDoc, kStation).summary(), QStringLiteral("欠空桶：0 个 签单：0 桶  剩余水票：0 张"));
    const OrderNote gone = gatherOrderNote(db(), "202612110099", kStation);
    EXPECT_TRUE(gone.lines.isEmpty());
    EXPECT_TRUE(gone.total.isZero());
}

TEST_P(OrderNoteTest, ThePos76SlipGrowsByNineteenReportUnitsALine)
{
    for (int lines = 1; lines <= 3; ++lines) {
        addOrderLine(db(), {{"单据编号", kDoc}});
        const Printout p = pos76(gatherOrderNote(db(), kDoc, kStation));
        EXPECT_DOUBLE_EQ(p.pageMm.width(), 76.2);
        // A report unit is 1/96 inch.
        EXPECT_NEAR(p.pageMm.height() / 25.4 * 96, 457 + 19 * lines, 1e-9);
    }
}

TEST_P(OrderNoteTest, TheOrderTemplateIsFilledWithEveryValueAndNoPlaceholderLeft)
{
    order();
    addProduct(db(), {{"产品名称", "桶装水"}, {"产品编号", "T01"}, {"产品单位", "桶"}});
    addProduct(db(), {{"产品名称", "矿泉水"}, {"产品编号", "K02"}, {"产品单位", "箱"}});
    const OrderNote n = gatherOrderNote(db(), kDoc, kStation);
    const QString out = dir_.filePath("订单.rtf");
    ASSERT_TRUE(writeOrderDocument(QStringLiteral(TS_ASSETS "/订单模板.doc"), orderTemplateValues(db(), n, "admin"), out)
                    .ok);

    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    ASSERT_TRUE(isRtf(rtf));
    const QString text = rtfText(rtf);
    for (const char* value : {"清泉水站", "2026-12-11 08:30:00", "202612110007", "王芳", "花园小区", "01062223333",
                              "张三", "签单", "admin", "桶装水", "矿泉水", "T01", "K02", "桶", "箱"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(value))) << value;
    // Quantities in figures and in capitals, each in its own cell.
    for (const char* cells : {"\t3\t叁\t", "\t12\t壹拾贰\t"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(cells))) << cells;
    EXPECT_FALSE(text.contains(QLatin1Char('$'))) << text.toStdString();
}

TEST_P(OrderNoteTest, AMissingOrForeignTemplateIsRefused)
{
    const QString docx = dir_.filePath("订单模板.doc");
    QFile f(docx);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 a zipped document");
    f.close();
    const QString out = dir_.filePath("out.rtf");
    EXPECT_EQ(writeOrderDocument(dir_.filePath("无.doc"), {}, out).message, "找不到订单模板：" + dir_.filePath("无.doc"));
    EXPECT_EQ(writeOrderDocument(docx, {}, out).message,
              QStringLiteral("订单模板“订单模板.doc”不是RTF格式的文档，请在文字处理软件中把它另存为RTF格式（文件名不变）后再打印"));
    EXPECT_FALSE(QFile::exists(out));
}

TS_BOTH_ENGINES(OrderNoteTest);

} // namespace
} // namespace ts::printing
