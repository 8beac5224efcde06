#pragma once

#include "storage/money.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt strings in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{';
    for (int i = 0; i < l.size(); ++i)
        *os << (i ? ", \"" : "\"") << l.at(i).toStdString() << '"';
    *os << '}';
}

namespace ts {
// Money in failure messages as its amount, not its bytes.
inline void PrintTo(const Money& m, std::ostream* os) { *os << m.toDecimalString().toStdString(); }
} // namespace ts
