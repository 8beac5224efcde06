#include "app/login.h"

#include "session/login_settings.h"
#include "session/operators.h"
#include "storage/dates.h"
#include "storage/settings_files.h"

#include "storage/db.h"
#include "storage/schema_version.h"

namespace ts {

namespace {

const QStringList kBoxTypes{QStringLiteral("一路"), QStringLiteral("二路"), QStringLiteral("四路"),
                            QStringLiteral("MODEM")};

Outcome checkHardware(const HardwareChoice& hw)
{
    if (!hw.boxType.isEmpty() && !kBoxTypes.contains(hw.boxType))
        return Outcome::refused(QStringLiteral("接收设备类型选择错误！！"));
    // The port and its limit matter only for the serial box; a hidden port
    // list must not stand in the way of a login without it.
    if (hw.serial && hw.boxType != QLatin1String("MODEM") && !hw.boxType.isEmpty() && hw.port.toInt() >= 5)
        return Outcome::refused(
            QStringLiteral("一路和二路和四路的来电显示接收盒有效串口编号为1-4，请重新进行设置！！"));
    if (hw.serial && hw.port.isEmpty())
        return Outcome::refused(QStringLiteral("请选择串口编号！！"));
    return Outcome::done();
}

} // namespace

HardwareChoice Login::storedHardware()
{
    HardwareChoice hw;
    const int port = db_.scalar(QStringLiteral("select 编号 from 串口编号 limit 1")).toInt();
    if (port != 0) {
        hw.serial = true;
        hw.port = QString::number(port);
        hw.boxType = db_.scalar(QStringLiteral("select 路数 from 来电路数 limit 1")).toString();
    }
    const Rows r = db_.select(QStringLiteral("select 录音设备, 路数 from 录音设备 limit 1"));
    if (!r.isEmpty() && !r.text(0, QStringLiteral("录音设备")).isEmpty()) {
        hw.usbRecording = true;
        hw.model = r.text(0, QStringLiteral("录音设备"));
        hw.channels = r.text(0, QStringLiteral("路数"));
    }
    return hw;
}

QStringList Login::userNames()
{
    return db_.select(QStringLiteral("select 用户 from 登陆 order by id")).texts(QStringLiteral("用户"));
}

QString Login::runRepairs()
{
    // Our own tables already have the column types the program needs, so
    // only the null totals are repaired here: one pass over the customers,
    // and no write at all (no lock another station would wait for) when
    // nothing is null. The outbox probe stands apart, so that its failure
    // does not undo the repair.
    QStringList problems;
    try {
        const QString anyNull = customerNullTotalsCondition();
        if (!db_.select(QStringLiteral("select id from 客户资料 where %1 limit 1").arg(anyNull)).isEmpty())
            db_.write([&] {
                db_.run(QStringLiteral("update 客户资料 set 订水总数量=coalesce(订水总数量,0),订水总次数=coalesce(订水总次数,0),"
                                       "订水总金额=coalesce(订水总金额,0),预付款剩余=coalesce(预付款剩余,0),"
                                       "积分=coalesce(积分,0) where %1")
                            .arg(anyNull));
            });
    } catch (const DbError& e) {
        problems << e.message();
    }
    try {
        db_.select(QStringLiteral("select * from fasongneirong limit 1"));
    } catch (const DbError& e) {
        problems << e.message();
    }
    return problems.join(QLatin1Char('\n'));
}

Outcome Login::login(const LoginInput& input, const QString& programDir, LoginValues& values)
{
    Outcome checked = checkHardware(input.hardware);
    if (!checked)
        return checked;

    Outcome result = Outcome::done();
    const QString repairError = runRepairs();
    if (!repairError.isEmpty())
        result.notices << repairError;

    const std::optional<QStringList> rights = Operators(db_).authenticate(input.user, input.password);
    if (!rights)
        return Outcome::refused(kNoRight);

    LoginValues v = values;
    v.operatorName = input.user;
    v.rights = *rights;
    v.dateSeparator = systemDateSeparator();
    QString problem;
    readSpecialSettings(programDir, v, &problem);
    if (!problem.isEmpty())
        result.notices << problem;

    const HardwareChoice& hw = input.hardware;
    db_.write([&] {
        if (hw.serial) {
            v.callerIdMode = QStringLiteral("来电登陆");
            v.callerIdBoxType = hw.boxType;
            v.serialPort = hw.port.toInt();
            db_.run(QStringLiteral("update 串口编号 set 编号=:n"), {{QStringLiteral("n"), v.serialPort}});
            db_.run(QStringLiteral("update 来电路数 set 路数=:n"), {{QStringLiteral("n"), hw.boxType}});
        } else {
            v.callerIdMode.clear();
            v.serialPort = 0;
            db_.run(QStringLiteral("update 串口编号 set 编号=0"));
        }
        if (hw.usbRecording) {
            v.callerIdMode = QStringLiteral("录音登陆") + hw.model;
            v.recordingChannels = hw.channels.toInt();
            db_.run(QStringLiteral("update 录音设备 set 录音设备=:m,路数=:n"),
                     {{QStringLiteral("m"), hw.model}, {QStringLiteral("n"), v.recordingChannels}});
        } else {
            db_.run(QStringLiteral("update 录音设备 set 录音设备=:m"), {{QStringLiteral("m"), QString()}});
        }
    });

    problem.clear();
    readStationSettings(programDir, v, &problem);
    if (!problem.isEmpty())
        result.notices << problem;
    v.commissionMethod = db_.scalar(QStringLiteral("select 方式 from 提成方式 limit 1")).toString();
    values = v;
    return result;
}

} // namespace ts
