#include "storage/db.h"
#include "support/forms/recording_messages.h"
#include "support/qt_print.h"
#include "widgets/action.h"
#include "widgets/application.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace ts;

// The last resort for a slot that forgot runAction: the operator is told in
// the program's words and the program goes on.
TEST(Application, AnExceptionThatEscapesASlotIsShownAndTheProgramGoesOn)
{
    test::RecordingMessages messages;
    QPushButton button("x");
    QObject::connect(&button, &QPushButton::clicked,
                     [] { throw DbError(QStringLiteral("no such table: 客户"), QStringLiteral("select * from 客户")); });
    button.show();
    // A real click goes through the application's event dispatch.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(messages.errors, QStringList{databaseErrorText()});
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(messages.errors.size(), 2);
}

TEST(Application, QtsOwnChineseTextsAreThere)
{
    QTranslator translator;
    ASSERT_TRUE(Application::loadQtTranslation(translator));
    EXPECT_EQ(translator.translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(translator.translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
    EXPECT_EQ(translator.translate("QFileDialog", "Open"), QStringLiteral("打开"));
}
