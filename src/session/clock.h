#pragma once

#include <QDate>
#include <QDateTime>

namespace ts {

// The program's one idea of "now". Order dates, document numbers and entry
// times all come from here, so a test can put the station on any day (and
// keep it there) instead of racing midnight.
namespace clock {

QDateTime now();
QDate today();

// From now on now() answers `at` and stays there, until reset().
void setNow(const QDateTime& at);
void reset();

} // namespace clock
} // namespace ts
