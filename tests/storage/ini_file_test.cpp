#include "session/login_settings.h"
#include "session/login_values.h"
#include "storage/ini_file.h"
#include "storage/settings_files.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace ts;

namespace {

QByteArray gb(const QString& text)
{
    QStringEncoder encode("GB18030");
    QByteArray bytes = encode(text);
    EXPECT_FALSE(encode.hasError());
    return bytes;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class IniFileTest : public ::testing::Test {
protected:
    QString file(const QString& name = QStringLiteral("shezhi.ini")) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

// Bytes as an old GB2312 editor saved them, not as our own encoder makes them.
TEST_F(IniFileTest, ReadsAndWritesGb2312Bytes)
{
    const QByteArray serverFile("[\xB9\xA4\xD7\xF7\xC4\xA3\xCA\xBD]\r\n\xD6\xB5=\xB7\xFE\xCE\xF1\xC6\xF7\r\n");
    writeBytes(file(), serverFile);
    IniFile ini = IniFile::load(file());
    EXPECT_TRUE(ini.isValid());
    EXPECT_EQ(ini.value(QStringLiteral("工作模式"), QStringLiteral("值")), QStringLiteral("服务器"));

    ini.setValue(QStringLiteral("工作模式"), QStringLiteral("值"), QStringLiteral("工作站"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(file()),
              QByteArray("[\xB9\xA4\xD7\xF7\xC4\xA3\xCA\xBD]\r\n\xD6\xB5=\xB9\xA4\xD7\xF7\xD5\xBE\r\n"));
}

// GB18030 reaches beyond GB2312, so any text an operator types survives.
TEST_F(IniFileTest, TextOutsideGb2312SurvivesASave)
{
    const QString slogan = QStringLiteral("喆€ 😀 送水到家");
    IniFile ini = IniFile::load(file());
    ini.setValue(QStringLiteral("服务用语"), QStringLiteral("值"), slogan);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(file()), gb(QStringLiteral("[服务用语]\r\n值=") + slogan + QStringLiteral("\r\n")));
    EXPECT_EQ(IniFile::load(file()).value(QStringLiteral("服务用语"), QStringLiteral("值")), slogan);
}

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsDefault)
{
    const IniFile none = IniFile::load(file(QStringLiteral("absent.ini")));
    EXPECT_TRUE(none.isValid());
    EXPECT_EQ(none.value(QStringLiteral("水店名称"), QStringLiteral("值")), QStringLiteral("default"));

    writeBytes(file(), gb(QStringLiteral("[水店名称]\r\n类型=清泉\r\n")));
    const IniFile ini = IniFile::load(file());
    EXPECT_EQ(ini.value(QStringLiteral("联系电话"), QStringLiteral("值")), QStringLiteral("default"));
    EXPECT_EQ(ini.value(QStringLiteral("水店名称"), QStringLiteral("值")), QStringLiteral("default"));
}

TEST_F(IniFileTest, ReadsFilesAsPeopleWriteThem)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        QString section;
        QString key;
        QString expected;
    };
    const QString s = QStringLiteral("水店名称");
    const QString k = QStringLiteral("值");
    const Case cases[] = {
        {"blanks around = and value", gb(QStringLiteral("[ 水店名称 ]\r\n  值 =  清泉 \r\n")), s, k,
         QStringLiteral("清泉")},
        {"comments and blank lines", gb(QStringLiteral("; 水站设置\r\n\r\n[水店名称]\r\n;值=旧名\r\n\r\n值=清泉\r\n")), s, k,
         QStringLiteral("清泉")},
        {"LF line ends", gb(QStringLiteral("[水店名称]\n值=清泉\n")), s, k, QStringLiteral("清泉")},
        {"no final line end", gb(QStringLiteral("[水店名称]\r\n值=清泉")), s, k, QStringLiteral("清泉")},
        {"names ignore case", gb(QStringLiteral("[email]\r\n类型=a@b.cn\r\n")), QStringLiteral("EMAIL"),
         QStringLiteral("类型"), QStringLiteral("a@b.cn")},
        {"quotes keep edge blanks", gb(QStringLiteral("[水店名称]\r\n值=\" 清泉 \"\r\n")), s, k,
         QStringLiteral(" 清泉 ")},
        {"empty value is not missing", gb(QStringLiteral("[水店名称]\r\n值=\r\n")), s, k, QString()},
        {"'=' inside the value", gb(QStringLiteral("[水店名称]\r\n值=a=b\r\n")), s, k, QStringLiteral("a=b")},
        {"first duplicate wins", gb(QStringLiteral("[水店名称]\r\n值=甲\r\n值=乙\r\n[水店名称]\r\n值=丙\r\n")), s, k,
         QStringLiteral("甲")},
        {"key of the next section", gb(QStringLiteral("[水店名称]\r\n[联系电话]\r\n值=123\r\n")), s, k,
         QStringLiteral("default")},
        {"UTF-8 with byte-order mark", QByteArray("\xEF\xBB\xBF") + QStringLiteral("[水店名称]\r\n值=清泉\r\n").toUtf8(),
         s, k, QStringLiteral("清泉")},
    };
    for (const Case& c : cases) {
        writeBytes(file(), c.bytes);
        const IniFile ini = IniFile::load(file());
        EXPECT_TRUE(ini.isValid()) << c.what;
        EXPECT_EQ(ini.value(c.section, c.key), c.expected) << c.what;
    }
}

TEST_F(IniFileTest, ChangingOneKeyKeepsEverythingElse)
{
    const QString original = QStringLiteral(
        "; 由水站手工维护\r\n"
        "[水店名称]\r\n"
        "值 = 清泉水站\r\n"
        "\r\n"
        "[公司简称]\r\n"
        "; 代理商改过\r\n"
        "类型=澄源\r\n"
        "\r\n"
        "[打印预览]\r\n"
        "值=预览\r\n");
    writeBytes(file(), gb(original));

    IniFile untouched = IniFile::load(file());
    ASSERT_TRUE(untouched.save());
    EXPECT_EQ(readBytes(file()), gb(original));

    IniFile ini = IniFile::load(file());
    ini.setValue(QStringLiteral("水店名称"), QStringLiteral("值"), QStringLiteral("甘泉\r\n水站"));
    ini.setValue(QStringLiteral("公司简称"), QStringLiteral("网站"), QStringLiteral("http://x.cn"));
    ini.setValue(QStringLiteral("库存提示"), QStringLiteral("值"), QStringLiteral("不提示"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(file()), gb(QStringLiteral(
                                     "; 由水站手工维护\r\n"
                                     "[水店名称]\r\n"
                                     "值=甘泉 水站\r\n"
                                     "\r\n"
                                     "[公司简称]\r\n"
                                     "; 代理商改过\r\n"
                                     "类型=澄源\r\n"
                                     "网站=http://x.cn\r\n"
                                     "\r\n"
                                     "[打印预览]\r\n"
                                     "值=预览\r\n"
                                     "[库存提示]\r\n"
                                     "值=不提示\r\n")));
}

// A truncated or foreign byte must not cost the station the rest of its file.
TEST_F(IniFileTest, UndecodableFileIsReportedAndNeverOverwritten)
{
    const QByteArray badValues[] = {
        QByteArray("\x80"),       // not a GB18030 lead byte
        QByteArray("\xFF"),
        QByteArray("\xC7"),       // lead byte cut off by the line end
        QByteArray("\x81\x30"),   // four-byte sequence cut short
    };
    for (const QByteArray& bad : badValues) {
        const QByteArray bytes = gb(QStringLiteral("[水店名称]\r\n值=清泉\r\n[服务用语]\r\n值=")) + bad + "\r\n";
        writeBytes(file(), bytes);

        IniFile ini = IniFile::load(file());
        EXPECT_FALSE(ini.isValid()) << bad.toHex().constData();
        EXPECT_TRUE(ini.errorString().contains(QStringLiteral("第4行"))) << ini.errorString().toStdString();
        EXPECT_EQ(ini.value(QStringLiteral("水店名称"), QStringLiteral("值")), QStringLiteral("清泉"));

        ini.setValue(QStringLiteral("水店名称"), QStringLiteral("值"), QStringLiteral("甘泉"));
        QString error;
        EXPECT_FALSE(ini.save(&error));
        EXPECT_FALSE(error.isEmpty());
        error.clear();
        EXPECT_FALSE(writeSetting(dir.path(), kStationFile, QStringLiteral("库存提示"), valueKey(),
                                  QStringLiteral("不提示"), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(readBytes(file()), bytes);

        LoginValues v;
        QString problem;
        readStationSettings(dir.path(), v, &problem);
        EXPECT_EQ(v.stationName, QStringLiteral("清泉"));
        EXPECT_EQ(problem, ini.errorString());
    }
}

namespace {

struct Setting {
    QString file;
    QString section;
    QString key;
    QString LoginValues::*field;
    QString whenMissing;
    QString sample;
};

const QString kValue = QStringLiteral("值");
const QString kType = QStringLiteral("类型");

const Setting kSettings[] = {
    {QStringLiteral("shezhi.ini"), QStringLiteral("水店名称"), kValue, &LoginValues::stationName,
     QStringLiteral("default"), QStringLiteral("清泉水站")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("联系电话"), kValue, &LoginValues::stationPhone,
     QStringLiteral("default"), QStringLiteral("0571-88886666")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("服务用语"), kValue, &LoginValues::serviceSlogan,
     QStringLiteral("default"), QStringLiteral("送水到家")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("打印预览"), kValue, &LoginValues::printPreview,
     QStringLiteral("预览"), QStringLiteral("不预览")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("发货确定按钮直接关闭"), kValue,
     &LoginValues::closeDeliveryAfterSave, QStringLiteral("是"), QStringLiteral("否")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("库存提示"), kValue, &LoginValues::stockWarning,
     QStringLiteral("提示"), QStringLiteral("不提示")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("公司简称"), kType, &LoginValues::companyShortName,
     QStringLiteral("澄源"), QStringLiteral("甘泉")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("公司全称"), kType, &LoginValues::companyFullName,
     QStringLiteral("澄源纯净水配送管理系统"), QStringLiteral("甘泉软件")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("电话"), kType, &LoginValues::servicePhone,
     QStringLiteral("400-800-1234"), QStringLiteral("12345")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("QQ"), kType, &LoginValues::serviceQQ,
     QStringLiteral("800012345"), QStringLiteral("111 222")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("EMAIL"), kType, &LoginValues::serviceEmail,
     QStringLiteral("service@tongshui.cn"), QStringLiteral("a@b.cn")},
    {QStringLiteral("shezhi.ini"), QStringLiteral("网站"), kType, &LoginValues::website,
     QStringLiteral("http://www.tongshui.cn"), QStringLiteral("http://b.cn")},
    {QStringLiteral("tsyq.ini"), QStringLiteral("特殊要求"), kType, &LoginValues::specialRequirement,
     QStringLiteral("0"), QStringLiteral("vidi")},
    {QStringLiteral("tsyq.ini"), QStringLiteral("单张打印"), kType, &LoginValues::singlePrintLayout,
     QStringLiteral("POS76"), QStringLiteral("word2003")},
};

// Every field starts out as text no reader would produce, so a reader that
// skips a field cannot pass by the struct's own initial value.
LoginValues readAll(const QString& dir)
{
    LoginValues v;
    for (const Setting& s : kSettings)
        v.*s.field = QStringLiteral("unread");
    readStationSettings(dir, v);
    readBranding(dir, v);
    readSpecialSettings(dir, v);
    return v;
}

// Writes one file per name, each setting a section of its own.
void writeFiles(const QString& dir, const std::function<QString(const Setting&)>& line)
{
    QMap<QString, QString> text;
    for (const Setting& s : kSettings)
        text[s.file] += line(s);
    for (auto it = text.cbegin(); it != text.cend(); ++it)
        writeBytes(QDir(dir).filePath(it.key()), gb(it.value()));
}

} // namespace

TEST_F(IniFileTest, SettingsReadTheirDefaultsWhenMissing)
{
    struct Case {
        const char* what;
        std::function<QString(const Setting&)> line;  // empty: no files at all
    };
    const Case cases[] = {
        {"no files", {}},
        {"other sections only",
         [](const Setting&) { return QStringLiteral("[其他]\r\n值=1\r\n类型=1\r\n"); }},
        {"the other key",
         [](const Setting& s) {
             return QStringLiteral("[%1]\r\n%2=x\r\n").arg(s.section, s.key == kValue ? kType : kValue);
         }},
        {"written as default",
         [](const Setting& s) { return QStringLiteral("[%1]\r\n%2=default\r\n").arg(s.section, s.key); }},
    };
    for (const Case& c : cases) {
        QTemporaryDir here;
        if (c.line)
            writeFiles(here.path(), c.line);
        const LoginValues v = readAll(here.path());
        for (const Setting& s : kSettings)
            EXPECT_EQ(v.*s.field, s.whenMissing) << c.what << ": " << s.section.toStdString();
    }
}

TEST_F(IniFileTest, SettingsReadFromTheirOwnSectionAndKey)
{
    writeFiles(dir.path(), [](const Setting& s) {
        return QStringLiteral("[%1]\r\n%2=%3\r\n").arg(s.section, s.key, s.sample);
    });
    const LoginValues v = readAll(dir.path());
    for (const Setting& s : kSettings)
        EXPECT_EQ(v.*s.field, s.sample) << s.section.toStdString();
}

TEST_F(IniFileTest, WorkModeKeepsTheFolderOfAWorkstationOnly)
{
    const WorkMode fresh = readWorkMode(dir.path());
    EXPECT_EQ(fresh.mode, QStringLiteral("服务器"));
    EXPECT_EQ(fresh.folder, QStringLiteral("default"));

    ASSERT_TRUE(writeWorkMode(dir.path(), {QStringLiteral("服务器"), QStringLiteral("D:\\data")}));
    EXPECT_EQ(readBytes(file(QStringLiteral("moshi.ini"))), gb(QStringLiteral("[工作模式]\r\n值=服务器\r\n")));

    const QString share = QStringLiteral("\\\\server\\澄源纯净水配送管理系统$");
    ASSERT_TRUE(writeWorkMode(dir.path(), {QStringLiteral("工作站"), share}));
    WorkMode read = readWorkMode(dir.path());
    EXPECT_EQ(read.mode, QStringLiteral("工作站"));
    EXPECT_EQ(read.folder, share);

    ASSERT_TRUE(writeWorkMode(dir.path(), {QStringLiteral("服务器"), QStringLiteral("D:\\data")}));
    read = readWorkMode(dir.path());
    EXPECT_EQ(read.mode, QStringLiteral("服务器"));
    EXPECT_EQ(read.folder, share);
}

TEST_F(IniFileTest, TheChosenSinglePrintLayoutIsCurrentAndKeptBesideTheSpecialRequirement)
{
    writeBytes(file(QStringLiteral("tsyq.ini")), gb(QStringLiteral("[特殊要求]\r\n类型=vidi\r\n")));
    LoginValues v;
    ASSERT_TRUE(saveSinglePrintLayout(dir.path(), QStringLiteral("自定义报表"), v));
    EXPECT_EQ(v.singlePrintLayout, QStringLiteral("自定义报表"));

    LoginValues next;
    readSpecialSettings(dir.path(), next);
    EXPECT_EQ(next.singlePrintLayout, QStringLiteral("自定义报表"));
    EXPECT_EQ(next.specialRequirement, QStringLiteral("vidi"));

    // A file that cannot be written still leaves the choice current.
    writeBytes(file(QStringLiteral("tsyq.ini")), QByteArray("[\xFF]\r\n"));
    QString error;
    EXPECT_FALSE(saveSinglePrintLayout(dir.path(), QStringLiteral("word2003"), v, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(v.singlePrintLayout, QStringLiteral("word2003"));
}
