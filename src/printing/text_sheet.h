#pragma once

#include "storage/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace ts::printing {

// Told the steps done and the steps to do; returning false abandons the
// export.
using SheetProgress = std::function<bool(int done, int total)>;

// Writes a list to a new .xlsx of one sheet named `sheet` (its title too):
// `header` in row 1, then one row per entry of `rows`. Every value becomes a
// text cell as a list shows it (money in its shortest form, dates in the
// stored form), so telephone numbers and document numbers keep their digits.
// Converting and writing are told as one run of twice the rows; an abandoned
// export leaves no file behind.
Outcome writeTextSheet(const QString& path, const QString& sheet, const QStringList& header,
                       const QList<QVariantList>& rows, const SheetProgress& progress = {});

} // namespace ts::printing
