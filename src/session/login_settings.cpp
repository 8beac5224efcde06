#include "session/login_settings.h"

#include "session/login_values.h"
#include "storage/ini_file.h"
#include "storage/settings_files.h"

#include <QDir>

#include <initializer_list>

namespace ts {

namespace {

struct Field {
    QString section;
    QString key;
    QString fallback;
    QString LoginValues::*target;
};

void readInto(const QString& programDir, const QString& file, std::initializer_list<Field> fields,
              LoginValues& v, QString* problem)
{
    const IniFile ini = IniFile::load(QDir(programDir).filePath(file));
    if (problem && !ini.isValid())
        *problem = ini.errorString();
    for (const Field& f : fields) {
        const QString value = ini.value(f.section, f.key);
        v.*f.target = value == IniFile::defaultText() ? f.fallback : value;
    }
}

} // namespace

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

bool saveSinglePrintLayout(const QString& programDir, const QString& layout, LoginValues& v, QString* error)
{
    v.singlePrintLayout = layout;
    return writeSetting(programDir, kSpecialFile, QStringLiteral("单张打印"), typeKey(), layout, error);
}

} // namespace ts
