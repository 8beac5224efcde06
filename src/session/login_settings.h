#pragma once

#include <QString>

namespace ts {

struct LoginValues;

// The settings of shezhi.ini and tsyq.ini that the login keeps in memory.
// `problem` receives the file's errorString() when it could not be read or
// decoded cleanly; the values are still read as far as possible.

// Station name, telephone, slogan, print preview, closing the delivery form
// after saving, stock warning.
void readStationSettings(const QString& programDir, LoginValues& v, QString* problem = nullptr);
// Short and full company name, service telephone, QQ, e-mail, web address.
void readBranding(const QString& programDir, LoginValues& v, QString* problem = nullptr);
// Special requirement and single-order print layout.
void readSpecialSettings(const QString& programDir, LoginValues& v, QString* problem = nullptr);

// The single-order print layout the operator chose ("POS76", "word2003",
// "自定义报表"): current from now on, and kept in tsyq.ini for the next start.
// False, with the reason in `error`, when the file could not be written; the
// layout is current all the same.
bool saveSinglePrintLayout(const QString& programDir, const QString& layout, LoginValues& v,
                           QString* error = nullptr);

} // namespace ts
