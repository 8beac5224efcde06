#pragma once

#include <QString>
#include <QStringList>

namespace ts {

// What the login establishes and every later form reads: who works, with
// which rights, which caller-ID hardware, and the settings of the three
// settings files. Held from login to the end of the program.
struct LoginValues {
    QString operatorName;
    QStringList rights = QStringList(9);  // right1 … right9, "1"/"0" per position

    QString dateSeparator = QStringLiteral("-");
    QString workMode;      // "服务器" or "工作站"
    QString databaseFolder;

    // "来电登陆", "录音登陆H型", "录音登陆Q型", "录音登陆H型无录音" or empty
    QString callerIdMode;
    QString callerIdBoxType;  // "MODEM", "一路", "二路", "四路"
    int serialPort = 0;       // 1–20; 0 when the serial box is not used
    int recordingChannels = 0;

    QString commissionMethod;  // "产品", "客户地区", "客户类型"

    // shezhi.ini, station
    QString stationName;
    QString stationPhone;
    QString serviceSlogan;
    QString printPreview;              // "预览" / "不预览"
    QString closeDeliveryAfterSave;    // "是" / "否"
    QString stockWarning;              // "提示" / "不提示"
    // shezhi.ini, branding
    QString companyShortName = QStringLiteral("澄源");
    QString companyFullName;
    QString servicePhone;
    QString serviceQQ;
    QString serviceEmail;
    QString website;
    // tsyq.ini
    QString specialRequirement = QStringLiteral("0");
    QString singlePrintLayout = QStringLiteral("POS76");

    // Position k (1-based) of rights string `group` (1–9). A string too short
    // for the position allows the entry; only an explicit "0" bars it.
    bool allows(int group, int position) const;
    // The stricter reading used by 积分兑换: only an explicit "1" allows.
    bool allowsStrict(int group, int position) const;

    // The program's one instance.
    static LoginValues& current();
};

} // namespace ts
