#pragma once

#include <QLatin1String>
#include <QString>

namespace ts {

// The three settings files live in the program folder (the executable's, not
// the working folder); callers pass that folder in. Every setting is a section
// of its own holding one key, `值` or `类型` depending on the setting.
inline constexpr QLatin1String kWorkModeFile{"moshi.ini"};
inline constexpr QLatin1String kStationFile{"shezhi.ini"};
inline constexpr QLatin1String kSpecialFile{"tsyq.ini"};

QString valueKey();  // 值: moshi.ini and the station settings of shezhi.ini
QString typeKey();   // 类型: tsyq.ini and the branding settings of shezhi.ini

// Every reader below takes an optional `problem`: it receives the file's
// errorString() when the file could not be read or decoded cleanly, so the
// caller can tell the operator; the values are still read as far as possible.

// One key, with `fallback` in place of IniFile::defaultText().
QString readSetting(const QString& programDir, const QString& file, const QString& section,
                    const QString& key, const QString& fallback, QString* problem = nullptr);

// Writes one key and leaves the rest of the file as it was. False, with the
// reason in `error`, when the file cannot be written or would lose content.
bool writeSetting(const QString& programDir, const QString& file, const QString& section,
                  const QString& key, const QString& value, QString* error = nullptr);

struct WorkMode {
    QString mode;    // "服务器" or "工作站"; "服务器" when unset
    QString folder;  // database folder of a workstation; "default" when unset
};

WorkMode readWorkMode(const QString& programDir, QString* problem = nullptr);
// The folder only matters to a workstation, and a server keeps the folder a
// former workstation setup left, so it is written for "工作站" only.
bool writeWorkMode(const QString& programDir, const WorkMode& mode, QString* error = nullptr);

} // namespace ts
