#include "printing/text_sheet.h"

#include "storage/dates.h"
#include "storage/money.h"

#include <QByteArray>
#include <QFile>

#include <xlsxwriter.h>

namespace ts::printing {

namespace {

// xlsxwriter takes UTF-8 C strings; every text of one write lives until the
// workbook is closed.
class Workbook {
public:
    explicit Workbook(const QString& path) : path_(QFile::encodeName(path)), book_(workbook_new(path_.constData())) {}
    ~Workbook()
    {
        if (book_)
            workbook_close(book_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    bool ok() const { return book_ != nullptr; }
    lxw_worksheet* sheet(const QString& name)
    {
        // The title is what a spreadsheet program shows for the book before
        // it is saved under a name of the operator's own.
        lxw_doc_properties properties{};
        properties.title = keep(name);
        workbook_set_properties(book_, &properties);
        return workbook_add_worksheet(book_, keep(name));
    }
    lxw_error close()
    {
        const lxw_error e = workbook_close(book_);
        book_ = nullptr;
        return e;
    }
    // Writable, because the document properties take char*; the library
    // copies them.
    char* keep(const QString& text)
    {
        texts_.append(text.toUtf8());
        return texts_.last().data();
    }

private:
    QByteArray path_;
    lxw_workbook* book_;
    QList<QByteArray> texts_;
};

const QString kExportCancelled = QStringLiteral("导出已取消，没有生成文件");

QString cellText(const QVariant& v)
{
    if (v.isNull())
        return {};
    const int type = v.metaType().id();
    if (type == QMetaType::QDateTime || type == QMetaType::QDate)
        return dateText(v);
    if (v.metaType() == QMetaType::fromType<Money>() || type == QMetaType::Double)
        return Money::fromVariant(v).toDisplayString();
    return v.toString();
}

} // namespace

Outcome writeTextSheet(const QString& path, const QString& sheetName, const QStringList& header,
                       const QList<QVariantList>& rows, const SheetProgress& progress)
{
    const int total = int(rows.size()) * 2;
    QList<QStringList> texts;
    texts.reserve(rows.size());
    for (const QVariantList& r : rows) {
        QStringList t;
        for (const QVariant& v : r)
            t << cellText(v);
        texts << t;
        if (progress && !progress(int(texts.size()), total))
            return Outcome::refused(kExportCancelled);
    }

    Workbook book(path);
    if (!book.ok())
        return Outcome::refused(QStringLiteral("无法写入文件：") + path);
    lxw_worksheet* sheet = book.sheet(sheetName);
    for (int c = 0; c < header.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), book.keep(header.at(c)), nullptr);
    bool cancelled = false;
    for (int r = 0; r < texts.size() && !cancelled; ++r) {
        for (int c = 0; c < texts.at(r).size(); ++c)
            if (!texts.at(r).at(c).isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c), book.keep(texts.at(r).at(c)), nullptr);
        cancelled = progress && !progress(int(rows.size()) + r + 1, total);
    }
    const bool closed = book.close() == LXW_NO_ERROR;
    if (cancelled) {
        QFile::remove(path);
        return Outcome::refused(kExportCancelled);
    }
    if (!closed)
        return Outcome::refused(QStringLiteral("无法写入文件：") + path);
    return Outcome::done();
}

} // namespace ts::printing
