#pragma once

#include "storage/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace ts {

class Db;

// The cells of a worksheet's first sheet, row by row from row 1; a missing
// cell or row reads as null. Numbers come as double, numbers an .xlsx shows
// as dates as QDate, everything else as text.
using SheetRows = QList<QVariantList>;

// Reads the first worksheet of an .xlsx or .xls file. False, with *error
// set, for a file that cannot be read.
bool readWorksheet(const QString& path, SheetRows* rows, QString* error);

// Customers to and from spreadsheet files.
class CustomerSpreadsheet {
public:
    explicit CustomerSpreadsheet(Db& db) : db_(db) {}

    // Row 1 of the import template, one title per column; column 12 is not
    // read and may hold anything.
    static QStringList templateHeader();

    // Writes rows of the customer list as text to an .xlsx worksheet named
    // 客户资料, the field names in row 1. The telephone stays text, so that
    // a leading zero survives.
    // Progress is told per row and may abandon the export; no file is left
    // behind then.
    using Progress = std::function<bool(int done, int total)>;
    static Outcome exportRows(const QString& path, const QStringList& fields, const QList<QVariantList>& rows,
                              const Progress& progress = {});
    // The sample file the import instructions point to.
    static Outcome writeTemplate(const QString& path);

    // Told the rows done and the rows to do; returning false abandons the
    // whole import.
    // Inserts a customer for every row from row 2 up to the first whose
    // address is empty, all in one transaction. The outcome's message tells
    // how many customers came in; *imported the same number.
    Outcome importFile(const QString& path, const Progress& progress = {}, int* imported = nullptr);

private:
    Db& db_;
};

} // namespace ts
