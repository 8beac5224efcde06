#include "app/login.h"
#include "app/startup.h"
#include "storage/money.h"
#include "storage/settings_files.h"
#include "support/test_db.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

using namespace ts;
using ts::test::DbTest;

class LoginTest : public DbTest {
protected:
    Outcome login(const QString& user, const QString& password, const HardwareChoice& hw = {})
    {
        values = LoginValues();
        return Login(db()).login({user, password, hw}, dir_.path(), values);
    }
    LoginValues values;
};

TEST_P(LoginTest, HardwareChoiceIsCheckedBeforeAnythingElse)
{
    struct Case {
        bool serial;
        const char* port;
        const char* type;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {true, "3", "一路", ""},
        {true, "5", "四路", "一路和二路和四路的来电显示接收盒有效串口编号为1-4，请重新进行设置！！"},
        {true, "5", "二路", "一路和二路和四路的来电显示接收盒有效串口编号为1-4，请重新进行设置！！"},
        {true, "5", "MODEM", ""},
        {true, "20", "MODEM", ""},
        {true, "", "MODEM", "请选择串口编号！！"},
        {true, "2", "八路", "接收设备类型选择错误！！"},
        {false, "9", "四路", ""},  // the hidden port of an unused box is not checked
    };
    for (const Case& c : cases) {
        HardwareChoice hw;
        hw.serial = c.serial;
        hw.port = QString::fromUtf8(c.port);
        hw.boxType = QString::fromUtf8(c.type);
        const Outcome r = login("admin", "admin", hw);
        EXPECT_EQ(r.ok, QString::fromUtf8(c.message).isEmpty()) << c.type << c.port;
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << c.type << c.port;
    }
}

TEST_P(LoginTest, NameAndPasswordMustMatchARow)
{
    db().exec("insert into 登陆 (用户, 密码, right1) values ('小王', '', '0')");
    struct Case {
        const char* user;
        const char* password;
        bool ok;
    };
    const Case cases[] = {
        {"admin", "admin", true}, {"admin", "", false},   {"admin", "ADMIN", false}, {"admin' --", "x", false},
        {"小王", "", true},       {"小王", "admin", false}, {"nobody", "", false},
    };
    for (const Case& c : cases) {
        const Outcome r = login(QString::fromUtf8(c.user), QString::fromUtf8(c.password));
        EXPECT_EQ(r.ok, c.ok) << c.user << "/" << c.password;
        if (!c.ok) {
            EXPECT_EQ(r.message, kNoRight);
        }
    }
}

TEST_P(LoginTest, SuccessfulLoginLoadsValuesAndStoresHardware)
{
    db().exec("update 提成方式 set 方式='客户类型'");
    db().exec("update 登陆 set right2='0101' where 用户='admin'");
    ASSERT_TRUE(writeSetting(dir_.path(), "shezhi.ini", "水店名称", "值", "清泉水站"));

    HardwareChoice usb;
    usb.usbRecording = true;
    usb.model = "Q型";
    usb.channels = "8";
    ASSERT_TRUE(login("admin", "admin", usb));
    EXPECT_EQ(values.operatorName, "admin");
    EXPECT_EQ(values.rights.value(1), "0101");
    EXPECT_EQ(values.commissionMethod, "客户类型");
    EXPECT_EQ(values.callerIdMode, "录音登陆Q型");
    EXPECT_EQ(values.recordingChannels, 8);
    EXPECT_EQ(values.stationName, "清泉水站");
    EXPECT_EQ(values.stationPhone, "default");
    EXPECT_EQ(values.printPreview, "预览");
    EXPECT_EQ(db().scalar("select 录音设备 from 录音设备").toString(), "Q型");
    EXPECT_EQ(db().scalar("select 路数 from 录音设备").toInt(), 8);
    EXPECT_EQ(db().scalar("select 编号 from 串口编号").toInt(), 0);
    HardwareChoice shown = Login(db()).storedHardware();
    EXPECT_TRUE(shown.usbRecording);
    EXPECT_FALSE(shown.serial);

    HardwareChoice serial;
    serial.serial = true;
    serial.port = "5";
    serial.boxType = "MODEM";
    ASSERT_TRUE(login("admin", "admin", serial));
    EXPECT_EQ(values.callerIdMode, "来电登陆");
    EXPECT_EQ(db().scalar("select 编号 from 串口编号").toInt(), 5);
    EXPECT_EQ(db().scalar("select 路数 from 来电路数").toString(), "MODEM");
    EXPECT_EQ(db().scalar("select 录音设备 from 录音设备").toString(), "");

    ASSERT_TRUE(login("admin", "admin"));
    EXPECT_EQ(values.callerIdMode, "");
    shown = Login(db()).storedHardware();
    EXPECT_FALSE(shown.serial);
    EXPECT_FALSE(shown.usbRecording);
}

TEST_P(LoginTest, RepairsFillNullTotalsAndChangeNothingOnceDone)
{
    db().exec("insert into 客户资料 (客户姓名, 订水总数量, 订水总金额, 订水总次数, 预付款剩余, 积分) "
              "values ('甲', null, null, null, null, null)");
    db().exec("insert into 客户资料 (客户姓名, 订水总数量, 订水总金额, 订水总次数, 预付款剩余, 积分) "
              "values ('乙', 7, 12.5, 3, 100, 8)");
    const auto snapshot = [&] {
        QStringList rows;
        QSqlQuery q = db().exec("select 客户姓名, 订水总数量, 订水总金额, 订水总次数, 预付款剩余, 积分 from 客户资料 "
                                "order by id");
        while (q.next()) {
            QStringList row{q.value(0).toString()};
            for (int i = 1; i < 6; ++i)
                row << (q.value(i).isNull() ? QStringLiteral("null") : Money::fromVariant(q.value(i)).toDisplayString());
            rows << row.join(',');
        }
        return rows;
    };
    ASSERT_TRUE(login("admin", "admin"));
    const QStringList once = snapshot();
    EXPECT_EQ(once.value(0), "甲,0,0,0,0,0");
    EXPECT_EQ(once.value(1), "乙,7,12.5,3,100,8");
    ASSERT_TRUE(login("admin", "admin"));
    EXPECT_EQ(snapshot(), once);
}

TEST_P(LoginTest, FailingRepairIsToldAndTheLoginGoesOn)
{
    db().exec("drop table fasongneirong");
    const Outcome r = login("admin", "admin");
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_FALSE(r.notices.first().isEmpty());
}

TS_BOTH_ENGINES(LoginTest);

TEST(Startup, WorkModeDecidesWhichDatabaseOpens)
{
    QTemporaryDir program, working, shared;

    // No moshi.ini: stand-alone, tongshui.db made in the working folder.
    OpenedDatabase first = openProgramDatabase(program.path(), working.path(), std::nullopt);
    ASSERT_TRUE(first.db) << first.detail.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(working.path()).filePath(kDatabaseFileName)));
    first.db.reset();

    // A workstation whose shared folder holds no database creates nothing there.
    ASSERT_TRUE(writeWorkMode(program.path(), {"工作站", shared.path()}));
    OpenedDatabase none = openProgramDatabase(program.path(), working.path(), std::nullopt);
    EXPECT_FALSE(none.db);
    EXPECT_FALSE(none.detail.isEmpty());
    EXPECT_TRUE(QDir(shared.path()).isEmpty());

    // Once the server's file is there, the workstation opens it.
    ASSERT_TRUE(QFile::copy(QDir(working.path()).filePath(kDatabaseFileName),
                            QDir(shared.path()).filePath(kDatabaseFileName)));
    OpenedDatabase ws = openProgramDatabase(program.path(), working.path(), std::nullopt);
    ASSERT_TRUE(ws.db) << ws.detail.toStdString();
    EXPECT_EQ(ws.db->target().file, QDir(shared.path()).filePath(kDatabaseFileName));
}

TEST(Startup, ForeignOrCorruptFilesAreRefusedUntouched)
{
    QTemporaryDir program, working;
    const QString file = QDir(working.path()).filePath(kDatabaseFileName);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, '\x7f'));
    f.close();
    OpenedDatabase r = openProgramDatabase(program.path(), working.path(), std::nullopt);
    EXPECT_FALSE(r.db);
    EXPECT_FALSE(r.detail.isEmpty());
    QFile again(file);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray(4096, '\x7f'));
}

TEST_P(LoginTest, UnreadableSettingsFileIsToldAndDefaultsApply)
{
    QFile f(QDir(dir_.path()).filePath("tsyq.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[\xff\xfe\x81]\r\n\xe7\xb1\xbb=\x80\r\n");
    f.close();
    const Outcome r = login("admin", "admin");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_TRUE(r.notices.first().contains("tsyq.ini")) << r.notices.first().toStdString();
    EXPECT_EQ(values.specialRequirement, "0");
    EXPECT_EQ(values.singlePrintLayout, "POS76");
}

TEST(Startup, AWorkModeThatCannotBeReadNeverCreatesADatabase)
{
    struct Case {
        const char* name;
        QByteArray content;
        const char* detailHas;  // what the message must name
    };
    const Case cases[] = {
        // Saved as UTF-8 by an editor: the bytes do not decode as the settings' code page.
        {"utf8", QByteArray("[工作模式]\r\n值=工作站\r\n[目录]\r\n值=\\\\server\\share\r\n"), "moshi.ini"},
        // A mode the program does not know is a workstation without a folder.
        {"unknown mode", QByteArray("[\xb9\xa4\xd7\xf7\xc4\xa3\xca\xbd]\r\n\xd6\xb5=client\r\n"), "目录"},
    };
    for (const Case& c : cases) {
        QTemporaryDir program, working;
        QFile f(QDir(program.path()).filePath("moshi.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        OpenedDatabase r = openProgramDatabase(program.path(), working.path(), std::nullopt);
        EXPECT_FALSE(r.db) << c.name;
        EXPECT_TRUE(r.detail.contains(QString::fromUtf8(c.detailHas))) << c.name << ": " << r.detail.toStdString();
        EXPECT_TRUE(QDir(working.path()).isEmpty()) << c.name << ": a database was created";
    }
}

TEST_P(LoginTest, AnOperatorWithoutAPasswordCannotLogIn)
{
    db().exec("insert into 登陆 (用户, 密码, right1) values ('无密码', null, '1')");
    for (const char* password : {"", "null", "admin"})
        EXPECT_FALSE(login("无密码", QString::fromUtf8(password)).ok) << password;
}

TEST_P(LoginTest, ARepairStaysWhenTheOutboxProbeFails)
{
    const qint64 id = db().insert("insert into 客户资料 (客户姓名, 积分) values ('李四', null)", {}, "id");
    db().exec("drop table fasongneirong");
    const Outcome r = login("admin", "admin");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.notices.size(), 1);
    EXPECT_EQ(Money::fromVariant(db().scalar("select 积分 from 客户资料 where id=:id", {{"id", id}})), Money());
    EXPECT_FALSE(db().scalar("select 积分 from 客户资料 where id=:id", {{"id", id}}).isNull());
}
