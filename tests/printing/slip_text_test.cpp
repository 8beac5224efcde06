#include "printing/slip_text.h"
#include "support/qt_print.h"

#include <gtest/gtest.h>

namespace ts::printing {
namespace {

TEST(SlipText, LongTextsBreakAfterThirtyGb2312Bytes)
{
    const QString han16 = QStringLiteral("北京市海淀区中关村大街二十七号院");  // 16 characters
    const QString ascii31 = QString(31, QLatin1Char('a'));
    const QString face = QString::fromUcs4(U"\U0001F600");  // outside the BMP: one character, two units
    struct Case {
        QString text;
        QString wrapped;
    };
    const Case cases[] = {
        {QString(), QString()},
        {QStringLiteral("1234567890"), QStringLiteral("1234567890")},
        // 15 Chinese characters fill the line; the 16th starts the next.
        {han16, han16.left(15) + QLatin1Char('\n') + han16.mid(15)},
        {han16.left(15), han16.left(15)},
        {ascii31, ascii31.left(30) + QLatin1Char('\n') + QLatin1Char('a')},
        // 29 bytes then a Chinese character: the line ends one byte over
        // rather than split it.
        {QString(29, QLatin1Char('a')) + QStringLiteral("号楼"),
         QString(29, QLatin1Char('a')) + QStringLiteral("号\n楼")},
        // Two lines' worth and more.
        {han16 + han16, han16.left(15) + QLatin1Char('\n') + han16.mid(15) + han16.left(14) + QLatin1Char('\n') +
                            han16.mid(14)},
        // A break already there starts a new count.
        {QStringLiteral("一二三\n") + han16, QStringLiteral("一二三\n") + han16.left(15) + QLatin1Char('\n') +
                                                 han16.mid(15)},
        {QString(14, QChar(0x4E00)) + face + face, QString(14, QChar(0x4E00)) + face + QLatin1Char('\n') + face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(wrapGb2312(c.text), c.wrapped);
    }
}

} // namespace
} // namespace ts::printing
