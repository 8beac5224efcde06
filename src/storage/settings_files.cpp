#include "storage/settings_files.h"

#include "session/login_values.h"
#include "storage/ini_file.h"

#include <QDir>

#include <initializer_list>

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

struct Field {
    QString section;
    QString key;
    QString fallback;
    QString LoginValues::*target;
};

void readInto(const QString& programDir, const QString& file, std::initializer_list<Field> fields,
              LoginValues& v, QString* problem)
{
    const IniFile ini = loadFile(programDir, file, problem);
    for (const Field& f : fields)
        v.*f.target = valueOr(ini, f.section, f.key, f.fallback);
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

void readStationSettings(const QString& programDir, LoginValues& v, QString* problem)
{
    // Name, telephone and slogan have no default of their own: a station that
    // never set them sees "default" on its slips and knows what to fill in.
    const QString unset = IniFile::defaultText();
    readInto(programDir, kStationFile,
             {
                 {QStringLiteral("水店名称"), valueKey(), unset, &LoginValues::stationName},
                 {QStringLiteral("联系电话"), valueKey(), unset, &LoginValues::stationPhone},
                 {QStringLiteral("服务用语"), valueKey(), unset, &LoginValues::serviceSlogan},
                 {QStringLiteral("打印预览"), valueKey(), QStringLiteral("预览"),
                  &LoginValues::printPreview},
                 {QStringLiteral("发货确定按钮直接关闭"), valueKey(), QStringLiteral("是"),
                  &LoginValues::closeDeliveryAfterSave},
                 {QStringLiteral("库存提示"), valueKey(), QStringLiteral("提示"),
                  &LoginValues::stockWarning},
             },
             v, problem);
}

void readBranding(const QString& programDir, LoginValues& v, QString* problem)
{
    // The contact defaults are ours as the maker; a reseller overrides them by
    // editing shezhi.ini by hand.
    readInto(programDir, kStationFile,
             {
                 {QStringLiteral("公司简称"), typeKey(), QStringLiteral("澄源"),
                  &LoginValues::companyShortName},
                 {QStringLiteral("公司全称"), typeKey(), QStringLiteral("澄源纯净水配送管理系统"),
                  &LoginValues::companyFullName},
                 {QStringLiteral("电话"), typeKey(), QStringLiteral("400-800-1234"),
                  &LoginValues::servicePhone},
                 {QStringLiteral("QQ"), typeKey(), QStringLiteral("800012345"),
                  &LoginValues::serviceQQ},
                 {QStringLiteral("EMAIL"), typeKey(), QStringLiteral("service@tongshui.cn"),
                  &LoginValues::serviceEmail},
                 {QStringLiteral("网站"), typeKey(), QStringLiteral("http://www.tongshui.cn"),
                  &LoginValues::website},
             },
             v, problem);
}

void readSpecialSettings(const QString& programDir, LoginValues& v, QString* problem)
{
    readInto(programDir, kSpecialFile,
             {
                 {QStringLiteral("特殊要求"), typeKey(), QStringLiteral("0"),
                  &LoginValues::specialRequirement},
                 {QStringLiteral("单张打印"), typeKey(), QStringLiteral("POS76"),
                  &LoginValues::singlePrintLayout},
             },
             v, problem);
}

} // namespace ts
