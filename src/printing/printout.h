#pragma once

#include <QSizeF>
#include <QString>

namespace ts::printing {

// A slip or list ready for the printer: the page it goes on and what goes on
// it, as HTML that Qt's rich text understands (tables, <br/>, CSS
// `page-break-after`). The layouts build these without touching a printer;
// printing/Uprint_output.h previews, prints or writes them to PDF.
struct Printout {
    QString title;   // the preview window's title and the PDF's
    QString html;
    QSizeF pageMm;   // width × height of one page, in millimetres
    double marginMm = 3;
};

// Heights of the narrow order slip are counted in report units of 1/96 inch
// (a screen pixel at the usual setting), the unit its rule of 457 plus 19 a
// line was measured in.
inline double reportUnitsToMm(double units) { return units * 25.4 / 96.0; }
// Our own report templates count their page in tenths of a millimetre.
inline double tenthsToMm(double tenths) { return tenths / 10.0; }

} // namespace ts::printing
