#include "customers/customer_list.h"
#include "customers/customer_spreadsheet.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/test_db.h"

#include <QFile>

#include <xlsxwriter.h>
#include <QSqlQuery>

namespace ts {
namespace {

using test::DbTest;
using test::addCustomer;

class CustomerSpreadsheetTest : public DbTest {
protected:
    QString file(const QString& name) { return dir_.filePath(name); }

    // A sheet in the template's layout: the header, then the given rows.
    QString sheet(const QList<QStringList>& rows)
    {
        QList<QVariantList> values;
        for (const QStringList& r : rows) {
            QVariantList v;
            for (const QString& s : r)
                v << s;
            values << v;
        }
        const QString path = file(QStringLiteral("in%1.xlsx").arg(++n_));
        EXPECT_TRUE(CustomerSpreadsheet::exportRows(path, CustomerSpreadsheet::templateHeader(), values).ok);
        return path;
    }

    QStringList row(const QString& name, const QString& address, const QString& lastOrder = {})
    {
        return {name, "13800000000", "海淀区", "中关村", address, "", "", "家庭", "", "", lastOrder, "99", "备注"};
    }

    QList<QStringList> customers()
    {
        QSqlQuery q = db().exec("select 客户姓名,联系电话,联系地址,最后订水时间,备用1,订水总数量,积分 from 客户资料 order by id");
        QList<QStringList> out;
        while (q.next())
            out << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                               q.value(3).isNull() ? "null" : q.value(3).toString().left(10), q.value(4).toString(),
                               q.value(5).toString(), Money::fromVariant(q.value(6)).toDisplayString()};
        return out;
    }

    int n_ = 0;
};

TEST_P(CustomerSpreadsheetTest, ImportStopsAtTheFirstEmptyAddress)
{
    const QString path = sheet({row("甲", "地址1", "2026-12-01"), row("乙", "地址2", "不是日期"), row("丙", "   "),
                                row("丁", "地址4")});
    std::vector<std::pair<int, int>> progress;
    int imported = -1;
    const Outcome o = CustomerSpreadsheet(db()).importFile(
        path, [&](int done, int total) { progress.emplace_back(done, total); return true; }, &imported);
    ASSERT_TRUE(o.ok) << o.message.toStdString();
    EXPECT_EQ(o.message, QStringLiteral("导入完毕，共导入2个客户"));
    EXPECT_EQ(imported, 2);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_EQ(customers(), (QList<QStringList>{{"甲", "13800000000", "地址1", "2026-12-01", "备注", "0", "0"},
                                               {"乙", "13800000000", "地址2", "null", "备注", "0", "0"}}));
}

TEST_P(CustomerSpreadsheetTest, ExportThenImportKeepsTheCustomers)
{
    db().exec("insert into 客户资料 (客户姓名,联系电话,客户地区,小区域,联系地址,客户单位,身份证号,客户类型,生日,手工编码,"
              "最后订水时间,备用1,订水总数量) values ('王芳','01062223333','海淀区','中关村','花园路1号“东门”','澄源',"
              "'110101199001011234','家庭','5月1日','A01','2026-11-20','下午送',12)");
    addCustomer(db(), {{"客户姓名", "李强"}, {"联系电话", "0013"}, {"联系地址", "学院路8号"}});
    const Query search = CustomerList(db()).search({});
    QSqlQuery q = db().exec(search.sql, search.binds);
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList r;
        for (int i = 0; i < CustomerList::fields().size(); ++i)
            r << q.value(i);
        rows << r;
    }
    const QString path = file("out.xlsx");
    ASSERT_TRUE(CustomerSpreadsheet::exportRows(path, CustomerList::fields(), rows).ok);
    const QList<QStringList> before = customers();
    db().exec("delete from 客户资料");

    int imported = 0;
    ASSERT_TRUE(CustomerSpreadsheet(db()).importFile(path, {}, &imported).ok);
    EXPECT_EQ(imported, 2);
    QList<QStringList> after = customers();
    // The import starts every customer's totals from nothing.
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(after[0], (QStringList{"王芳", "01062223333", "花园路1号“东门”", "2026-11-20", "下午送", "0", "0"}));
    EXPECT_EQ(after[1], (QStringList{"李强", "0013", "学院路8号", "null", "", "0", "0"}));
    EXPECT_EQ(before[0].mid(0, 5), after[0].mid(0, 5));
    EXPECT_EQ(db().scalar("select 身份证号 from 客户资料 where 客户姓名='王芳'").toString(),
              QStringLiteral("110101199001011234"));
}

TEST_P(CustomerSpreadsheetTest, RefusedFilesImportNothing)
{
    const QString wrongHeader = file("wrong.xlsx");
    QStringList header = CustomerSpreadsheet::templateHeader();
    header[4] = "地址";
    ASSERT_TRUE(CustomerSpreadsheet::exportRows(wrongHeader, header, {{"甲", "1", "", "", "地址1"}}).ok);
    const QString garbage = file("garbage.xls");
    QFile g(garbage);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("this is no spreadsheet");
    g.close();

    CustomerSpreadsheet s(db());
    EXPECT_EQ(s.importFile(wrongHeader).message,
              QStringLiteral("该文件第一行的标题和客户模板的第一行不同，没有导入任何数据！！"));
    const Outcome bad = s.importFile(garbage);
    EXPECT_FALSE(bad.ok);
    EXPECT_TRUE(bad.message.startsWith(QStringLiteral("无法读取该文件：garbage.xls"))) << bad.message.toStdString();
    EXPECT_FALSE(s.importFile(file("missing.xlsx")).ok);

    // Abandoned half-way: the rows already inserted go too.
    const QString two = sheet({row("甲", "地址1"), row("乙", "地址2")});
    const Outcome cancelled = s.importFile(two, [](int done, int) { return done < 2; });
    EXPECT_EQ(cancelled.message, QStringLiteral("导入已取消，没有导入任何数据"));
    EXPECT_EQ(db().scalar("select count(*) from 客户资料").toInt(), 0);
}

TEST_P(CustomerSpreadsheetTest, TemplateIsReadableByTheImport)
{
    const QString path = file("客户模板.xlsx");
    ASSERT_TRUE(CustomerSpreadsheet::writeTemplate(path).ok);
    int imported = 0;
    ASSERT_TRUE(CustomerSpreadsheet(db()).importFile(path, {}, &imported).ok);
    EXPECT_EQ(imported, 1);
}

// A sheet filled by hand holds telephones and dates as numbers, a date
// formatted as such being a count of days since 1899-12-30.
TEST_P(CustomerSpreadsheetTest, NumbersTypedByHandReadAsTheirText)
{
    const QString path = file("hand.xlsx");
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(name.constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    const QStringList header = CustomerSpreadsheet::templateHeader();
    QList<QByteArray> texts;
    for (int c = 0; c < header.size(); ++c) {
        texts << header.at(c).toUtf8();
        worksheet_write_string(sheet, 0, lxw_col_t(c), texts.last().constData(), nullptr);
    }
    const QByteArray address = QStringLiteral("花园路1号").toUtf8();
    worksheet_write_number(sheet, 1, 1, 13800138000.0, nullptr);
    worksheet_write_string(sheet, 1, 4, address.constData(), nullptr);
    worksheet_write_number(sheet, 1, 9, 7, nullptr);
    worksheet_write_number(sheet, 1, 10, 46357, nullptr);  // 2026-12-01
    // A birthday typed as a date reads as that date, not as its day count.
    lxw_format* date = workbook_add_format(book);
    const QByteArray dateCode = QStringLiteral("yyyy\"年\"m\"月\"d\"日\"").toUtf8();
    format_set_num_format(date, dateCode.constData());
    worksheet_write_number(sheet, 1, 8, 32994, date);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

    ASSERT_TRUE(CustomerSpreadsheet(db()).importFile(path).ok);
    QSqlQuery q = db().exec("select 联系电话,手工编码,最后订水时间,生日 from 客户资料");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("13800138000"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("7"));
    EXPECT_EQ(q.value(2).toString().left(10), QStringLiteral("2026-12-01"));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("1990-05-01"));
}

TS_BOTH_ENGINES(CustomerSpreadsheetTest);

// Numbers and dates typed into a sheet by hand come as numbers; the reader
// hands them over so that the import can tell a date from a telephone.
TEST(Worksheet, ReadsOwnXlsx)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xlsx");
    ASSERT_TRUE(CustomerSpreadsheet::exportRows(path, {"甲", "乙"}, {{"一", QVariant()}, {QVariant(), "二"}}).ok);
    SheetRows rows;
    QString error;
    ASSERT_TRUE(readWorksheet(path, &rows, &error)) << error.toStdString();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], (QVariantList{"甲", "乙"}));
    EXPECT_EQ(rows[1].value(0).toString(), QStringLiteral("一"));
    EXPECT_EQ(rows[2].value(1).toString(), QStringLiteral("二"));
}

// An export abandoned at any point, converting or writing, leaves no file.
TEST(Worksheet, ACancelledExportLeavesNoFile)
{
    QTemporaryDir dir;
    const QList<QVariantList> rows(10, QVariantList{"甲", "1"});
    for (const int stopAt : {3, 15}) {
        SCOPED_TRACE(stopAt);
        const QString path = dir.filePath(QStringLiteral("b%1.xlsx").arg(stopAt));
        int lastTotal = 0;
        const Outcome o = CustomerSpreadsheet::exportRows(path, {"姓名", "电话"}, rows, [&](int done, int total) {
            lastTotal = total;
            return done < stopAt;
        });
        EXPECT_EQ(o.message, QStringLiteral("导出已取消，没有生成文件"));
        EXPECT_EQ(lastTotal, 20);
        EXPECT_FALSE(QFile::exists(path));
    }
}

} // namespace
} // namespace ts
