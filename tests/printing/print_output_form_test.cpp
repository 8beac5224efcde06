#include "app/app_context.h"
#include "printing/Uprint_output.h"
#include "printing/board_prints.h"
#include "printing/order_note.h"
#include "session/login_settings.h"
#include "session/login_values.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace ts::printing {
namespace {

using namespace ts::test;

QString squeezed(const QString& s)
{
    return s.normalized(QString::NormalizationForm_KC).remove(QRegularExpression(QStringLiteral("\\s")));
}

// What a reader finds in the PDF, without the spaces and line ends that
// pdftotext puts between table cells and characters. The CJK fonts draw 水,
// 月, 日 and a few more with the glyph of the matching Kangxi radical, which
// is what the PDF then gives back for them: both sides are compared in the
// compatibility form (NFKC), where the two are the same character.
QString pdfText(const QString& path, int page = 0)
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
    EXPECT_TRUE(p.waitForFinished(60000)) << "pdftotext (poppler-utils) did not run";
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    return squeezed(QString::fromUtf8(p.readAllStandardOutput()));
}

struct PdfInfo {
    int pages = 0;
    QSizeF pageMm;
};

PdfInfo pdfInfo(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(p.waitForFinished(60000)) << "pdfinfo (poppler-utils) did not run";
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    PdfInfo info;
    info.pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out).captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    info.pageMm = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()) * 25.4 / 72;
    return info;
}

void expectAll(const QString& text, const QStringList& wanted)
{
    for (const QString& w : wanted)
        EXPECT_TRUE(text.contains(squeezed(w))) << w.toStdString() << " not in " << text.toStdString();
}

const QString kAddress = QStringLiteral("北京市海淀区中关村大街二十七号院");

Rows boardRows()
{
    return Rows({"id", "客户姓名", "电话", "地址", "产品名称", "数量", "应付货款", "收款方式", "配送工", "发货备注"},
                {{1, "王芳", "01062223333", kAddress, "桶装水", 2, Money::yuan(20).toVariant(), "现金", "张三", "上午送"},
                 {2, "李强", "13900001111", "学院路8号", "矿泉水", 3, Money::fromUnits(375000).toVariant(), "水票",
                  "李四", ""},
                 {3, "赵敏", "13900002222", "花园路2号", "桶装水", 1, Money::yuan(10).toVariant(), "签单", "张三", ""}});
}

TEST(PrintOutput, TheA4ListReadsBackFromItsPdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("a4.pdf");
    QString error;
    ASSERT_TRUE(printToPdf(a4List(boardRows(), QDate(2026, 12, 11)), pdf, &error)) << error.toStdString();
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageMm.width(), 210, 0.5);
    EXPECT_NEAR(info.pageMm.height(), 297, 0.5);
    expectAll(pdfText(pdf), {"2026年12月11日送水单", "姓名", "地址", "产品名称", "送水量", "应收货款", "收款方式", "备注",
                             "王芳", "李强", "赵敏", kAddress.left(15), "学院路8号", "桶装水", "矿泉水", "37.5", "水票",
                             "上午送", "送水合计（桶）：6"});
}

TEST(PrintOutput, EachPos58NoteIsAPageOfItsOwn)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("pos58.pdf");
    const Rows rows = boardRows();
    ASSERT_TRUE(printToPdf(pos58Notes(rows), pdf));
    const PdfInfo info = pdfInfo(pdf);
    ASSERT_EQ(info.pages, rows.size());
    EXPECT_NEAR(info.pageMm.width(), 58, 0.5);
    for (int r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        const QString page = pdfText(pdf, r + 1);
        expectAll(page, {"桶装水配送信息", "电话：" + rows.text(r, "电话"), "桶数：" + rows.text(r, "数量"),
                         "配送员：" + rows.text(r, "配送工"), "产品：" + rows.text(r, "产品名称")});
        // Nothing of the other notes on this page.
        EXPECT_FALSE(page.contains(rows.text((r + 1) % rows.size(), "电话")));
    }
}

class PrintOutputTest : public FormTest {
protected:
    void order()
    {
        const qint64 customer = addCustomer(db());
        addOrderLine(db(), {{"单据编号", kDoc}, {"客户编号", customer}, {"客户姓名", "王芳"}, {"电话", "01062223333"},
                            {"地址", kAddress}, {"单位", "澄源科技"}, {"发货备注", "下午送"}, {"配送工", "张三"},
                            {"操作员", "李丽"}, {"时间", "2026-12-11 08:30:00"}, {"发货时间", "2026-12-11 09:10:00"},
                            {"数量", 3}, {"销售单价", Money::yuan(10).toVariant()},
                            {"应付货款", Money::yuan(30).toVariant()}, {"收款方式", "签单"}, {"签单数", 3}});
        addOrderLine(db(), {{"单据编号", kDoc}, {"客户编号", customer}, {"产品名称", "矿泉水"}, {"数量", 2},
                            {"销售单价", Money::fromUnits(62500).toVariant()},
                            {"应付货款", Money::fromUnits(125000).toVariant()}});
        insertRow(db(), "欠桶", {{"客户编号", customer}, {"桶数", 2}, {"未还数量", 2}}, "id");
        insertRow(db(), "客户水票总表", {{"客户编号", customer}, {"还剩数量", 5}}, "id");
        customer_ = QString::number(customer);
    }

    // The previews left open, closed and gone.
    QList<QPrintPreviewDialog*> openPreviews()
    {
        QList<QPrintPreviewDialog*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QPrintPreviewDialog*>(w); d && d->isVisible())
                out << d;
        return out;
    }

    const QString kDoc = QStringLiteral("202612110007");
    const StationInfo kStation{QStringLiteral("清泉水站"), QStringLiteral("0571-88886666"), QStringLiteral("送水到家")};
    QString customer_;
};

TEST_P(PrintOutputTest, ThePos76SlipReadsBackWithEveryItemOnAPageAsLongAsItsRule)
{
    order();
    const QString pdf = dir_.filePath("pos76.pdf");
    ASSERT_TRUE(printToPdf(pos76(gatherOrderNote(db(), kDoc, kStation)), pdf));
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageMm.width(), 76.2, 0.1);
    EXPECT_NEAR(info.pageMm.height(), (457 + 19 * 2) * 25.4 / 96, 0.1);
    expectAll(pdfText(pdf), {"清泉水站", "送水到家", "服务电话：0571-88886666", "订单号码：" + kDoc, "张三", "王芳",
                             "编号：" + customer_, "01062223333", kAddress.left(15), kAddress.mid(15), "澄源科技",
                             "下午送", "2026-12-11 08:30:00", "2026-12-11 09:10:00", "李丽", "金额合计：42.5",
                             "水种名称", "桶", "单价", "合计", "桶装水", "矿泉水", "6.25", "12.5",
                             "欠空桶：2 个 签单：3 桶  剩余水票：5 张"});
}

TEST_P(PrintOutputTest, SingleOrderPrintKeepsTheStyleAndShowsItsPreview)
{
    order();
    ASSERT_TRUE(QFile::copy(QStringLiteral(TS_ASSETS "/自定义送水单.frf"), QDir(programDir()).filePath("自定义送水单.frf")));
    for (const char* style : {"POS76", "自定义报表"}) {
        SCOPED_TRACE(style);
        printSingleOrder(nullptr, db(), kDoc, QString::fromUtf8(style));
        const QList<QPrintPreviewDialog*> previews = openPreviews();
        ASSERT_EQ(previews.size(), 1);
        auto* pages = previews[0]->findChild<QPrintPreviewWidget*>();
        ASSERT_TRUE(pages);
        pages->updatePreview();
        EXPECT_EQ(pages->pageCount(), 1);
        previews[0]->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(openPreviews().isEmpty());

        EXPECT_EQ(LoginValues::current().singlePrintLayout, QString::fromUtf8(style));
        LoginValues saved;
        readSpecialSettings(programDir(), saved);
        EXPECT_EQ(saved.singlePrintLayout, QString::fromUtf8(style));
    }
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(' ').toStdString();

    // What stops each style, told to the operator.
    QFile::remove(QDir(programDir()).filePath("自定义送水单.frf"));
    printSingleOrder(nullptr, db(), kDoc, "自定义报表");
    printSingleOrder(nullptr, db(), kDoc, "word2003");
    EXPECT_EQ(messages.errors, (QStringList{"找不到报表模板：" + QDir(programDir()).filePath("自定义送水单.frf"),
                                            "找不到订单模板：" + QDir(programDir()).filePath("订单模板.doc")}));
    printSingleOrder(nullptr, db(), "202612110099", "POS76");
    EXPECT_EQ(messages.informations, QStringList{"该订水单据已不存在，可能已被其他电脑删除！！"});
    EXPECT_TRUE(openPreviews().isEmpty());
}

TS_BOTH_ENGINES(PrintOutputTest);

} // namespace
} // namespace ts::printing
