#include "customers/customer_spreadsheet.h"
#include "printing/board_prints.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/test_db.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace ts::printing {
namespace {

using test::addOrderLine;

TEST(BoardPrints, TheA4ListIsTitledWithTheDayWithoutLeadingZeros)
{
    struct Case {
        QDate day;
        const char* title;
    };
    const Case cases[] = {
        {QDate(2026, 1, 5), "2026年1月5日送水单"},
        {QDate(2026, 12, 11), "2026年12月11日送水单"},
        {QDate(2027, 10, 1), "2027年10月1日送水单"},
    };
    for (const Case& c : cases) {
        const Printout p = a4List(Rows(), c.day);
        EXPECT_EQ(p.title, QString::fromUtf8(c.title));
        EXPECT_TRUE(p.html.contains(QString::fromUtf8(c.title)));
    }
}

TEST(BoardPrints, TextsOfTheLinesAreHtmlEscaped)
{
    const Rows rows({"id", "客户姓名", "地址", "产品名称", "数量", "电话", "配送工"},
                    {{1, "<b>王</b>", "A&B", "水", 1, "1", "甲"}});
    for (const Printout& p : {a4List(rows, QDate(2026, 12, 11)), pos58Notes(rows),
                              batchDeliveryList(rows, QDate(2026, 12, 11), "<i>")}) {
        EXPECT_FALSE(p.html.contains("<b>王")) << p.title.toStdString();
        EXPECT_TRUE(p.html.contains("&lt;b&gt;王&lt;/b&gt;")) << p.title.toStdString();
        EXPECT_FALSE(p.html.contains("<i>"));
    }
}

TEST(BoardPrints, EveryPos58NoteFitsItsPageAndALongerNoteMakesTallerPages)
{
    const auto rows = [](const QString& address) {
        return Rows({"id", "客户姓名", "地址", "产品名称", "数量", "电话", "配送工"},
                    {{1, "王芳", "花园路1号", "水", 1, "1", "甲"}, {2, "李强", address, "水", 1, "2", "乙"}});
    };
    const Printout shortNotes = pos58Notes(rows(QStringLiteral("学院路8号")));
    const Printout longNotes = pos58Notes(rows(QString(40, QChar(0x8DEF))));  // three lines of 路
    EXPECT_EQ(shortNotes.pageMm.width(), 58);
    EXPECT_GT(longNotes.pageMm.height(), shortNotes.pageMm.height());
    EXPECT_EQ(shortNotes.html.count("page-break-before:always"), 1);
}

class BoardExportTest : public test::DbTest {};

TEST_P(BoardExportTest, TheBoardGoesToASheetOfTextsUnderItsTitles)
{
    addOrderLine(db(), {{"单据编号", "202612110001"}, {"客户姓名", "王芳"}, {"电话", "01062223333"},
                        {"应付货款", Money::fromUnits(125000).toVariant()}, {"时间", "2026-12-11 08:30:00"}});
    addOrderLine(db(), {{"单据编号", "202612110002"}, {"客户姓名", "李强"}, {"数量", 3}});
    const Rows board = db().select("select * from 产品销售开票 order by id");
    const QString path = dir_.filePath("board.xlsx");
    ASSERT_TRUE(exportBoard(board, path).ok);

    SheetRows sheet;
    QString error;
    ASSERT_TRUE(readWorksheet(path, &sheet, &error)) << error.toStdString();
    ASSERT_EQ(sheet.size(), 3);

    // Row 1: every field after the id, under the title the board gives it.
    const QHash<QString, QString> titles{{"时间", "订水时间"}, {"数量", "订水数"}, {"已发数量", "已发数"},
                                         {"回桶数量", "回桶数"}, {"销售单价", "单价"}};
    QVariantList header;
    for (const QString& f : board.fields().mid(1))
        header << titles.value(f, f);
    EXPECT_EQ(sheet[0], header);

    const auto cell = [&](int row, const char* field) {
        return sheet[row].value(board.column(QString::fromUtf8(field)) - 1);
    };
    EXPECT_EQ(cell(1, "单据编号"), QVariant(QStringLiteral("202612110001")));
    EXPECT_EQ(cell(1, "电话"), QVariant(QStringLiteral("01062223333")));
    EXPECT_EQ(cell(1, "应付货款"), QVariant(QStringLiteral("12.5")));
    EXPECT_EQ(cell(1, "时间"), QVariant(QStringLiteral("2026-12-11 08:30:00")));
    EXPECT_EQ(cell(2, "客户姓名"), QVariant(QStringLiteral("李强")));
    EXPECT_EQ(cell(2, "数量"), QVariant(QStringLiteral("3")));
    // Text cells only: no value comes back as a number.
    for (int r = 1; r < sheet.size(); ++r)
        for (const QVariant& v : sheet[r])
            EXPECT_TRUE(v.isNull() || v.metaType().id() == QMetaType::QString) << v.typeName();

    int err = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err),
                                                           &zip_discard);
    ASSERT_TRUE(archive);
    zip_file_t* f = zip_fopen(archive.get(), "xl/workbook.xml", 0);
    ASSERT_TRUE(f);
    QByteArray workbook(1 << 16, '\0');
    workbook.resize(qsizetype(zip_fread(f, workbook.data(), zip_uint64_t(workbook.size()))));
    zip_fclose(f);
    EXPECT_TRUE(workbook.contains("name=\"销售记录\"")) << workbook.constData();
}

TS_BOTH_ENGINES(BoardExportTest);

} // namespace
} // namespace ts::printing
