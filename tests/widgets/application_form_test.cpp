#include "storage/db.h"
#include "support/qt_print.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace ts;

TEST(Application, ARefusedStatementInAHandlerIsShownAndTheProgramGoesOn)
{
    RecordingMessages messages;
    QPushButton button("x");
    QObject::connect(&button, &QPushButton::clicked,
                     [] { throw DbError(QStringLiteral("no such table: 客户"), QStringLiteral("select * from 客户")); });
    button.show();
    // A real click goes through the application's event dispatch.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(messages.shown, QStringList{"no such table: 客户"});
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(messages.shown.size(), 2);
}
