#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace ts {

// Dates go into the database always as "yyyy-MM-dd" and "yyyy-MM-dd hh:mm:ss",
// whatever separator the operator's screen uses, so that equality, between
// and like give the same answer on every station and on both engines.
QString dbDate(const QDate& d);
QString dbDateTime(const QDateTime& t);

// A date or date-and-time value as it comes back from either engine
// (PostgreSQL gives QDateTime, SQLite the stored text), in the stored form:
// "yyyy-MM-dd" when there is no time of day, else "yyyy-MM-dd hh:mm:ss".
// A null value gives an empty text.
QString dateText(const QVariant& v);

// Accepts "2026-12-11", "2026/12/11", "2026-1-5" and the same with a time
// of day; an invalid date gives an invalid QDateTime.
QDateTime parseDateText(const QString& text);

// The separator of the operator's short date ("-" or "/"), as the login
// reads it from the system's short date text of today.
QString systemDateSeparator();

} // namespace ts
