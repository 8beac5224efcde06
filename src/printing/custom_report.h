#pragma once

#include "printing/order_note.h"
#include "printing/printout.h"

#include <QString>

// Our own report templates, such as 自定义送水单.frf in the program folder,
// which the station edits to its liking with any text editor. The file is
// text (UTF-8, or GB18030 as older editors save it):
//   - a line starting with '#' is a remark;
//   - "@纸宽 2100" sets the page width in tenths of a millimetre (A4 width
//     when not given); the height follows the order: 730 and 200 more for
//     each line, in the same unit;
//   - the lines between "@明细" and "@明细完" repeat once per order line;
//   - everything else is HTML as Qt's rich text knows it, with fields in
//     square brackets: "[客户姓名]". Outside the repeated part a field is a
//     variable (reportVariables()); inside it, a column of the order line
//     ("[产品名称]", "[数量]", "[销售单价]", "[应付货款]"), "[序号]", or a
//     variable. A field nobody answers stays as written, so a misspelt name
//     shows on the preview instead of vanishing.
//
//   ReportTemplate t;
//   if (loadReportTemplate(QDir(programDir()).filePath("自定义送水单.frf"), &t, &error))
//       showPreview(this, printing::customReport(t, note), PreviewWait::No);
namespace ts::printing {

struct ReportTemplate {
    double widthTenths = 2100;
    QString head;    // before the repeated part
    QString detail;  // once per order line
    QString foot;    // after it
};

ReportTemplate parseReportTemplate(const QString& text);
// False, with the text to show in *error, when the file cannot be read.
bool loadReportTemplate(const QString& path, ReportTemplate* out, QString* error);

Printout customReport(const ReportTemplate& report, const OrderNote& note);

} // namespace ts::printing
