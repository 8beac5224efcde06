#include "printing/Uprint_output.h"

#include "app/app_context.h"
#include "printing/custom_report.h"
#include "printing/order_note.h"
#include "session/login_settings.h"
#include "session/login_values.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QUrl>

namespace ts::printing {

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kGone = QStringLiteral("该订水单据已不存在，可能已被其他电脑删除！！");

} // namespace

QFont slipFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                   QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
    f.setPointSizeF(10);
    return f;
}

void setUpPrinter(QPrinter* printer, const Printout& p)
{
    // A page wider than high (a short note, a slip across the paper) is a
    // portrait size turned on its side: that is how drivers and PDF readers
    // expect it.
    const bool wide = p.pageMm.width() > p.pageMm.height();
    const QSizeF portrait = wide ? p.pageMm.transposed() : p.pageMm;
    const QPageSize size(portrait, QPageSize::Millimeter, p.title, QPageSize::ExactMatch);
    const QMarginsF margins(p.marginMm, p.marginMm, p.marginMm, p.marginMm);
    printer->setPageLayout(QPageLayout(size, wide ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                                       QPageLayout::Millimeter));
    printer->setDocName(p.title);
}

bool render(QPrinter* printer, const Printout& p)
{
    QTextDocument doc;
    doc.setDefaultFont(slipFont());
    doc.setDocumentMargin(0);
    // Laid out on the printer itself, so that text is measured at the
    // printer's resolution and breaks where it will print.
    doc.documentLayout()->setPaintDevice(printer);
    doc.setHtml(p.html);
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    doc.setPageSize(page.size());

    QPainter painter;
    if (!painter.begin(printer))
        return false;
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * page.height(), page.width(), page.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

QDialog* showPreview(QWidget* parent, const Printout& p, PreviewWait wait)
{
    auto* preview = new QPrintPreviewDialog(parent);
    preview->setWindowTitle(p.title);
    setUpPrinter(preview->printer(), p);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [p](QPrinter* printer) { render(printer, p); });
    if (wait == PreviewWait::UntilClosed) {
        preview->exec();
        delete preview;
        return nullptr;
    }
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->show();
    return preview;
}

bool printToPdf(const Printout& p, const QString& file, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    setUpPrinter(&printer, p);
    if (render(&printer, p))
        return true;
    if (error)
        *error = str("无法写入文件：") + file;
    return false;
}

void printSingleOrder(QWidget* parent, Db& db, const QString& document, const QString& style)
{
    LoginValues& login = LoginValues::current();
    QString error;
    if (!saveSinglePrintLayout(programDir(), style, login, &error))
        Messages::instance().error(parent, str("无法保存单张打印的样式：") + error);

    const OrderNote note = gatherOrderNote(db, document, StationInfo::fromLogin(login));
    if (note.lines.isEmpty()) {
        Messages::instance().information(parent, kGone);
        return;
    }
    if (style == QStringLiteral("POS76")) {
        showPreview(parent, pos76(note), PreviewWait::No);
    } else if (style == str("自定义报表")) {
        ReportTemplate report;
        if (!loadReportTemplate(QDir(programDir()).filePath(str("自定义送水单.frf")), &report, &error)) {
            Messages::instance().error(parent, error);
            return;
        }
        showPreview(parent, customReport(report, note), PreviewWait::No);
    } else if (style == QStringLiteral("word2003")) {
        const QString templatePath = QDir(programDir()).filePath(str("订单模板.doc"));
        const Placeholders values = orderTemplateValues(db, note, login.operatorName);
        // The word processor may still hold the document of an earlier print
        // of this order; then this one gets a name of its own.
        const QString base = QDir::temp().filePath(str("订单") + document);
        QString out = base + QStringLiteral(".rtf");
        Outcome written = writeOrderDocument(templatePath, values, out);
        if (!written && QFileInfo::exists(templatePath)) {
            out = base + QDateTime::currentDateTime().toString(QStringLiteral("-hhmmss")) + QStringLiteral(".rtf");
            written = writeOrderDocument(templatePath, values, out);
        }
        if (!written) {
            Messages::instance().error(parent, written.message);
            return;
        }
        openWithDesktop(parent, QUrl::fromLocalFile(out), str("无法启动Word。请检查是否已安装。"));
    }
}

} // namespace ts::printing
