#include "customers/customer_spreadsheet.h"

#include "customers/customer_list.h"
#include "printing/text_sheet.h"
#include "storage/dates.h"
#include "storage/db.h"
#include "storage/money.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

#include <freexl.h>
#include <zip.h>

#include <cmath>
#include <memory>

namespace ts {

namespace {

// ---- .xlsx: a zip of XML parts ----

bool zipEntry(zip_t* archive, const QString& name, QByteArray* out)
{
    const QByteArray n = name.toUtf8();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archive, n.constData(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return false;
    zip_file_t* f = zip_fopen(archive, n.constData(), 0);
    if (!f)
        return false;
    out->resize(qsizetype(st.size));
    const zip_int64_t got = zip_fread(f, out->data(), st.size);
    zip_fclose(f);
    return got == zip_int64_t(st.size);
}

// The part of the first worksheet, found through the workbook's relations.
QString firstSheetPart(zip_t* archive)
{
    QByteArray workbook, rels;
    if (!zipEntry(archive, QStringLiteral("xl/workbook.xml"), &workbook))
        return {};
    QString relId;
    QXmlStreamReader wb(workbook);
    while (!wb.atEnd() && relId.isEmpty()) {
        if (wb.readNext() == QXmlStreamReader::StartElement && wb.name() == QLatin1String("sheet")) {
            for (const QXmlStreamAttribute& a : wb.attributes())
                if (a.name() == QLatin1String("id"))
                    relId = a.value().toString();
        }
    }
    if (relId.isEmpty() || !zipEntry(archive, QStringLiteral("xl/_rels/workbook.xml.rels"), &rels))
        return QStringLiteral("xl/worksheets/sheet1.xml");
    QXmlStreamReader rr(rels);
    while (!rr.atEnd()) {
        if (rr.readNext() == QXmlStreamReader::StartElement && rr.name() == QLatin1String("Relationship")
            && rr.attributes().value(QLatin1String("Id")) == relId) {
            const QString target = rr.attributes().value(QLatin1String("Target")).toString();
            return target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
        }
    }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}

QStringList sharedStrings(zip_t* archive)
{
    QByteArray data;
    QStringList out;
    if (!zipEntry(archive, QStringLiteral("xl/sharedStrings.xml"), &data))
        return out;
    QXmlStreamReader x(data);
    QString current;
    bool inItem = false;
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (x.name() == QLatin1String("si")) {
                inItem = true;
                current.clear();
            } else if (inItem && x.name() == QLatin1String("t")) {
                current += x.readElementText();
            } else if (x.name() == QLatin1String("rPh")) {
                x.skipCurrentElement();  // phonetic hints are no part of the text
            }
        } else if (token == QXmlStreamReader::EndElement && x.name() == QLatin1String("si")) {
            out << current;
            inItem = false;
        }
    }
    return out;
}

// A number format shows a date when it is one of the built-in date formats
// or its code has a day, month or year part outside quotes and brackets
// ("[Red]" and "[$-804]" are no date parts).
bool dateFormat(int id, const QString& code)
{
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return true;
    bool quoted = false;
    int bracket = 0;
    for (QChar c : code) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('['))
            ++bracket;
        else if (!quoted && c == QLatin1Char(']'))
            bracket = std::max(0, bracket - 1);
        else if (!quoted && bracket == 0 && QStringLiteral("dmyDMY").contains(c))
            return true;
    }
    return false;
}

// For every cell style (the "s" of a cell), whether it shows a date: a
// birthday typed as a date is a day count in the file and must read as the
// date, in the program's date form.
QList<bool> dateStyles(zip_t* archive)
{
    QByteArray data;
    QList<bool> out;
    if (!zipEntry(archive, QStringLiteral("xl/styles.xml"), &data))
        return out;
    QHash<int, QString> codes;
    QXmlStreamReader x(data);
    bool inCellXfs = false;
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (x.name() == QLatin1String("numFmt")) {
                codes.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                             x.attributes().value(QLatin1String("formatCode")).toString());
            } else if (x.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && x.name() == QLatin1String("xf")) {
                const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
                out << dateFormat(id, codes.value(id));
            }
        } else if (token == QXmlStreamReader::EndElement && x.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    return out;
}

// "AB12" → column 27 (0-based 27), ignoring the row digits.
int columnOf(QStringView ref)
{
    int col = 0;
    for (QChar c : ref) {
        if (!c.isLetter())
            break;
        col = col * 26 + (c.toUpper().unicode() - 'A' + 1);
    }
    return col - 1;
}

bool readXlsx(const QString& path, SheetRows* rows, QString* error)
{
    int err = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err),
                                                           &zip_discard);
    if (!archive) {
        *error = QStringLiteral("不是有效的excel文件");
        return false;
    }
    const QStringList strings = sharedStrings(archive.get());
    const QList<bool> dates = dateStyles(archive.get());
    QByteArray sheet;
    if (!zipEntry(archive.get(), firstSheetPart(archive.get()), &sheet)) {
        *error = QStringLiteral("文件中没有工作表");
        return false;
    }
    QXmlStreamReader x(sheet);
    int rowIndex = -1;
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (x.name() == QLatin1String("row")) {
            bool ok = false;
            const int r = x.attributes().value(QLatin1String("r")).toInt(&ok);
            rowIndex = ok ? r - 1 : rowIndex + 1;
            while (rows->size() <= rowIndex)
                rows->append(QVariantList());
        } else if (x.name() == QLatin1String("c") && rowIndex >= 0) {
            const auto attrs = x.attributes();
            const QString type = attrs.value(QLatin1String("t")).toString();
            const int style = attrs.value(QLatin1String("s")).toInt();
            int col = attrs.hasAttribute(QLatin1String("r")) ? columnOf(attrs.value(QLatin1String("r")))
                                                              : int((*rows)[rowIndex].size());
            QString raw;
            bool any = false;
            while (!(x.isEndElement() && x.name() == QLatin1String("c")) && !x.atEnd()) {
                x.readNext();
                if (x.isStartElement() && (x.name() == QLatin1String("v") || x.name() == QLatin1String("t"))) {
                    raw += x.readElementText();
                    any = true;
                }
            }
            if (!any || col < 0)
                continue;
            QVariant value;
            if (type == QLatin1String("s")) {
                const int i = raw.toInt();
                value = i >= 0 && i < strings.size() ? strings.at(i) : QString();
            } else if (type == QLatin1String("str") || type == QLatin1String("inlineStr") || type == QLatin1String("e")) {
                value = raw;
            } else if (type == QLatin1String("b")) {
                value = raw == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            } else {
                bool ok = false;
                const double d = raw.toDouble(&ok);
                value = ok ? QVariant(d) : QVariant(raw);
                if (ok && dates.value(style) && d >= 1 && d < 2958466)
                    value = QDate(1899, 12, 30).addDays(qint64(d));
            }
            QVariantList& r = (*rows)[rowIndex];
            while (r.size() <= col)
                r.append(QVariant());
            r[col] = value;
        }
    }
    if (x.hasError()) {
        *error = x.errorString();
        return false;
    }
    return true;
}

// ---- .xls through FreeXL ----

bool readXls(const QString& path, SheetRows* rows, QString* error)
{
    const void* handle = nullptr;
    if (freexl_open(QFile::encodeName(path).constData(), &handle) != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        *error = QStringLiteral("不是有效的excel文件");
        return false;
    }
    unsigned int rowCount = 0;
    unsigned short colCount = 0;
    if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK
        || freexl_worksheet_dimensions(handle, &rowCount, &colCount) != FREEXL_OK) {
        freexl_close(handle);
        *error = QStringLiteral("文件中没有工作表");
        return false;
    }
    for (unsigned int r = 0; r < rowCount; ++r) {
        QVariantList row;
        for (unsigned short c = 0; c < colCount; ++c) {
            FreeXL_CellValue cell;
            QVariant v;
            if (freexl_get_cell_value(handle, r, c, &cell) == FREEXL_OK) {
                switch (cell.type) {
                case FREEXL_CELL_INT:
                    v = double(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    v = cell.value.double_value;
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    v = QString::fromUtf8(cell.value.text_value);
                    break;
                default:
                    break;
                }
            }
            row.append(v);
        }
        rows->append(row);
    }
    freexl_close(handle);
    return true;
}

// A cell as the spreadsheet would show it in a plain column: whole numbers
// without a decimal point, so a telephone typed as a number stays digits.
QString cellText(const QVariant& v)
{
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDate)
        return dbDate(v.toDate());
    if (v.metaType().id() == QMetaType::Double) {
        const double d = v.toDouble();
        if (std::fabs(d) < 1e15 && d == std::floor(d))
            return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    return v.toString().trimmed();
}

// Dates are numbers of days since 1899-12-30 in the sheet when typed as
// dates, text otherwise; anything else is no date.
QVariant dateCell(const QVariant& v)
{
    if (v.isNull())
        return {};
    QDate d;
    if (v.metaType().id() == QMetaType::QDate) {
        d = v.toDate();
    } else if (v.metaType().id() == QMetaType::Double) {
        const double serial = v.toDouble();
        if (serial >= 1 && serial < 2958466)
            d = QDate(1899, 12, 30).addDays(qint64(serial));
    } else {
        d = parseDateText(v.toString().trimmed()).date();
    }
    return d.isValid() ? QVariant(dbDate(d)) : QVariant();
}

QString cellAt(const QVariantList& row, int column)
{
    return column < row.size() ? cellText(row.at(column)) : QString();
}

const QString kSheet = QStringLiteral("客户资料");

} // namespace

bool readWorksheet(const QString& path, SheetRows* rows, QString* error)
{
    rows->clear();
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件：") + path;
        return false;
    }
    // The contents decide, not the name: a zip is .xlsx, anything else is
    // tried as the older binary format.
    const bool zipped = probe.read(2) == QByteArrayLiteral("PK");
    probe.close();
    return zipped ? readXlsx(path, rows, error) : readXls(path, rows, error);
}

QStringList CustomerSpreadsheet::templateHeader()
{
    return CustomerList::fields().mid(0, 13);
}

Outcome CustomerSpreadsheet::exportRows(const QString& path, const QStringList& fields, const QList<QVariantList>& rows,
                                        const Progress& progress)
{
    return printing::writeTextSheet(path, kSheet, fields, rows, progress);
}

Outcome CustomerSpreadsheet::writeTemplate(const QString& path)
{
    const QVariantList example{
        QStringLiteral("张三"), QStringLiteral("01088886666"), QStringLiteral("海淀区"), QStringLiteral("中关村"),
        QStringLiteral("中关村大街1号3单元501"), QStringLiteral("澄源科技"), QString(), QStringLiteral("家庭"),
        QStringLiteral("5月1日"), QStringLiteral("A001"), QStringLiteral("2026-12-01"), QString(),
        QStringLiteral("下午送")};
    return printing::writeTextSheet(path, kSheet, templateHeader(), {example});
}

Outcome CustomerSpreadsheet::importFile(const QString& path, const Progress& progress, int* imported)
{
    if (imported)
        *imported = 0;
    SheetRows rows;
    QString error;
    if (!readWorksheet(path, &rows, &error))
        return Outcome::refused(QStringLiteral("无法读取该文件：") + QFileInfo(path).fileName() + QStringLiteral("（")
                                + error + QStringLiteral("），没有导入任何数据"));

    const QStringList header = templateHeader();
    const QVariantList first = rows.value(0);
    for (int c = 0; c < header.size(); ++c) {
        if (c == 11)
            continue;
        if (cellAt(first, c) != header.at(c))
            return Outcome::refused(QStringLiteral("该文件第一行的标题和客户模板的第一行不同，没有导入任何数据！！"));
    }

    int last = 1;  // rows 2 .. last, 0-based 1 .. last-1
    while (last < rows.size() && !cellAt(rows.at(last), 4).isEmpty())
        ++last;
    const int total = last - 1;

    static const char* const names[] = {"name", "phone", "region", "subarea", "address", "company",
                                        "idnumber", "type", "birthday", "code"};
    const Outcome written = db_.write([&] {
        // The same rule as a customer added by hand: no other station adds
        // a customer while the import runs.
        db_.serialise(QStringLiteral("客户资料.联系地址"));
        for (int r = 1; r < last; ++r) {
            const QVariantList& row = rows.at(r);
            Binds b;
            for (int c = 0; c < 10; ++c)
                b.insert(QString::fromLatin1(names[c]), cellAt(row, c));
            b.insert(QStringLiteral("lastorder"), dateCell(row.value(10)));
            b.insert(QStringLiteral("note"), cellAt(row, 12));
            b.insert(QStringLiteral("units"), 0);
            b.insert(QStringLiteral("amount"), Money().toVariant());
            b.insert(QStringLiteral("orders"), 0);
            b.insert(QStringLiteral("points"), Money().toVariant());
            b.insert(QStringLiteral("prepaid"), Money().toVariant());
            db_.run(QStringLiteral("insert into 客户资料 (客户姓名,联系电话,客户地区,小区域,联系地址,客户单位,身份证号,客户类型,"
                                    "生日,手工编码,最后订水时间,备用1,订水总数量,订水总金额,订水总次数,积分,预付款剩余) values "
                                    "(:name,:phone,:region,:subarea,:address,:company,:idnumber,:type,:birthday,:code,"
                                    ":lastorder,:note,:units,:amount,:orders,:points,:prepaid)"),
                     b);
            if (progress && !progress(r, total))
                return Outcome::refused(QStringLiteral("导入已取消，没有导入任何数据"));
        }
        return Outcome::done();
    });
    if (!written)
        return written;
    if (imported)
        *imported = total;
    return Outcome::done(QStringLiteral("导入完毕，共导入") + QString::number(total) + QStringLiteral("个客户"));
}

} // namespace ts
