#include "printing/rtf_template.h"
#include "support/qt_print.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace ts::printing {
namespace {

// Chinese as \uN with a one-character fallback, as we and many programs write it.
QByteArray u(const char* utf8)
{
    QByteArray out;
    for (QChar c : QString::fromUtf8(utf8))
        out += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode()))
                                  : "\\u" + QByteArray::number(qint16(c.unicode())) + '?';
    return out;
}

// Chinese as GBK bytes, \'hh each, as a Chinese word processor writes it.
QByteArray gbk(const char* utf8)
{
    QStringEncoder encode("GB18030");
    const QByteArray bytes = encode.encode(QString::fromUtf8(utf8));
    QByteArray out;
    for (char b : bytes)
        out += uchar(b) < 0x80 ? QByteArray(1, b) : "\\'" + QByteArray::number(uchar(b), 16);
    return out;
}

const QByteArray kHead = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}"
                         "{\\f1\\fswiss\\fcharset0 Arial;}}{\\info{\\title $收货人}}\\f0 ";

TEST(RtfTemplate, PlaceholdersAreFoundHoweverAWordProcessorWroteThem)
{
    struct Case {
        const char* what;
        QByteArray rtf;
    };
    const Case cases[] = {
        {"\\uN escapes", kHead + u("收货人：$收货人") + "\\par}"},
        {"code-page bytes", kHead + gbk("收货人：$收货人") + "\\par}"},
        {"split into runs with hidden marks between",
         kHead + gbk("收货人：") + "$" + "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\b\\insrsid123 " + gbk("收货") +
             "}{\\*\\bkmkstart a}" + gbk("人") + "{\\*\\bkmkend a}\\par}"},
        {"\\uN with two fallback bytes each",
         kHead + u("收货人：") + "{\\uc2 $\\u25910\\'ca\\'d5\\u36135\\'bb\\'f5\\u20154\\'c8\\'cb}\\par}"},
        {"a Chinese font in a Western document",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\froman\\fcharset0 Times;}{\\f1\\fnil\\fcharset134 SimSun;}}"
         "{\\info{\\title $收货人}}\\f1 " + gbk("收货人：$收货人") + "\\par}"},
        {"a control word right before the placeholder's characters",
         kHead + u("收货人：") + "$\\b" + u("收货人") + "\\b0\\par}"},
    };
    const QString value = QStringLiteral("王芳 {A&B} \\ 甲\n乙");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(rtfText(c.rtf), QStringLiteral("收货人：$收货人\n"));
        const QByteArray filled = fillRtf(c.rtf, {{QStringLiteral("$收货人"), value}});
        EXPECT_EQ(rtfText(filled), QStringLiteral("收货人：") + value + QLatin1Char('\n')) << filled.constData();
        // The title in the document's properties is no part of its text.
        EXPECT_TRUE(filled.contains("{\\title $收货人}"));
        EXPECT_EQ(filled.count('{'), filled.count('}'));
    }
}

TEST(RtfTemplate, LongerNamesGoFirstAndEmptyValuesLeaveNothing)
{
    // The name of the operator right after a control word: taking it out
    // must not run the word into the "x" after it.
    const QByteArray rtf = kHead + "[$sldx1] [$sl1] [$sl10] [$\\i" + u("制单人") + "x]\\par}";
    const QByteArray filled = fillRtf(rtf, {{QStringLiteral("$sl1"), QStringLiteral("3")},
                                            {QStringLiteral("$sldx1"), QStringLiteral("叁")},
                                            {QStringLiteral("$sl10"), QStringLiteral("x")},
                                            {QStringLiteral("$制单人"), QString()}});
    EXPECT_EQ(rtfText(filled), QStringLiteral("[叁] [3] [x] [x]\n"));
}

TEST(RtfTemplate, OnlyRtfIsATemplate)
{
    EXPECT_TRUE(isRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(isRtf("\xEF\xBB\xBF\r\n{\\rtf1}"));
    EXPECT_FALSE(isRtf("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));  // a Word binary document
    EXPECT_FALSE(isRtf("PK\x03\x04"));
    EXPECT_FALSE(isRtf(""));
}

} // namespace
} // namespace ts::printing
