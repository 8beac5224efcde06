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

} // namespace ts
