#include "storage/settings_files.h"

#include "storage/ini_file.h"

#include <QDir>


namespace ts {

namespace {

const QString kServer = QStringLiteral("服务器");
const QString kWorkstation = QStringLiteral("工作站");

IniFile loadFile(const QString& programDir, const QString& file, QString* problem)
{
    IniFile ini = IniFile::load(QDir(programDir).filePath(file));
    if (problem && !ini.isValid())
        *problem = ini.errorString();
    return ini;
}

QString valueOr(const IniFile& ini, const QString& section, const QString& key,
                const QString& fallback)
{
    const QString v = ini.value(section, key);
    return v == IniFile::defaultText() ? fallback : v;
}

} // namespace

QString valueKey()
{
    return QStringLiteral("值");
}

QString typeKey()
{
    return QStringLiteral("类型");
}

QString readSetting(const QString& programDir, const QString& file, const QString& section,
                    const QString& key, const QString& fallback, QString* problem)
{
    return valueOr(loadFile(programDir, file, problem), section, key, fallback);
}

bool writeSetting(const QString& programDir, const QString& file, const QString& section,
                  const QString& key, const QString& value, QString* error)
{
    IniFile ini = IniFile::load(QDir(programDir).filePath(file));
    ini.setValue(section, key, value);
    return ini.save(error);
}

WorkMode readWorkMode(const QString& programDir, QString* problem)
{
    const IniFile ini = loadFile(programDir, kWorkModeFile, problem);
    return WorkMode{valueOr(ini, QStringLiteral("工作模式"), valueKey(), kServer),
                    ini.value(QStringLiteral("目录"), valueKey())};
}

bool writeWorkMode(const QString& programDir, const WorkMode& mode, QString* error)
{
    IniFile ini = IniFile::load(QDir(programDir).filePath(kWorkModeFile));
    ini.setValue(QStringLiteral("工作模式"), valueKey(), mode.mode);
    if (mode.mode == kWorkstation)
        ini.setValue(QStringLiteral("目录"), valueKey(), mode.folder);
    return ini.save(error);
}

} // namespace ts
