#pragma once

#include "printing/printout.h"

#include <QString>

class QDialog;
class QFont;
class QPrinter;
class QWidget;

namespace ts {
class Db;
}

// Where the layouts of printing/ meet paper: Qt's print preview, the printer
// and PDF files. Every printout is laid out the same way in all three.
//
//   showPreview(this, printing::a4List(rows, today), PreviewWait::UntilClosed);  // 成批打印
//   printSingleOrder(this, appDb(), document, styleBox->currentText());            // 单张打印
//   printToPdf(printing::pos76(note), "/tmp/note.pdf", &error);
namespace ts::printing {

// The font the slips are set in: one that has the Chinese characters on
// every station (Noto Sans CJK on Linux, Microsoft YaHei or SimSun on
// Windows).
QFont slipFont();

// Sets the printer's page to the printout's paper and margins.
void setUpPrinter(QPrinter* printer, const Printout& p);
// Lays the printout out on the printer's page as it is set now and paints
// every page. False when the printer cannot start (a PDF file that cannot be
// written).
bool render(QPrinter* printer, const Printout& p);

enum class PreviewWait { No, UntilClosed };
// Shows the print preview, from which the operator prints. UntilClosed returns
// when the preview closes (and gives nullptr); No returns the preview at once,
// left open on its own until the operator closes it.
QDialog* showPreview(QWidget* parent, const Printout& p, PreviewWait wait);

// Writes the printout to a PDF file. False, with the reason in *error.
bool printToPdf(const Printout& p, const QString& file, QString* error = nullptr);

// 单张打印: makes `style` the current single-order layout (kept in tsyq.ini),
// reads the order and prints it in that layout: "POS76" and "自定义报表"
// (the template 自定义送水单.frf of the program folder) as a preview that
// stays open, "word2003" as a document filled from 订单模板.doc of the
// program folder and opened in the word processor. Tells the operator what
// stopped it.
void printSingleOrder(QWidget* parent, Db& db, const QString& document, const QString& style);

} // namespace ts::printing
