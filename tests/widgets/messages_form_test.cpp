#include "support/forms/recording_messages.h"
#include "support/qt_print.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace ts {
namespace {

using test::RecordingMessages;

TEST(RecordingMessages, KeepsKindsApartAnswersExpectedQuestionsAndPutsBackTheOneBefore)
{
    Messages* before = &Messages::instance();
    {
        RecordingMessages outer;
        {
            RecordingMessages inner;
            inner.expectQuestion(QStringLiteral("删除吗？"), false);
            inner.expectQuestion(QStringLiteral("再删？"), true);
            EXPECT_EQ(&Messages::instance(), &inner);
            EXPECT_FALSE(Messages::instance().question(nullptr, QStringLiteral("澄源rivodaz"), QStringLiteral("删除吗？")));
            EXPECT_TRUE(Messages::instance().question(nullptr, QStringLiteral("澄源rivodaz"), QStringLiteral("再删？")));
            Messages::instance().information(nullptr, QStringLiteral("保存成功"));
            Messages::instance().error(nullptr, QStringLiteral("请填写产品名称"));
            EXPECT_EQ(inner.questions, (QStringList{QStringLiteral("删除吗？"), QStringLiteral("再删？")}));
            EXPECT_EQ(inner.captions, QStringList(2, QStringLiteral("澄源rivodaz")));
            EXPECT_EQ(inner.informations, QStringList{QStringLiteral("保存成功")});
            EXPECT_EQ(inner.errors, QStringList{QStringLiteral("请填写产品名称")});
        }
        EXPECT_EQ(&Messages::instance(), &outer);
        EXPECT_TRUE(outer.informations.isEmpty());
    }
    EXPECT_EQ(&Messages::instance(), before);
}

TEST(RecordingMessages, AQuestionNobodyExpectedFailsAndIsCancelled)
{
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingMessages m;
            EXPECT_FALSE(Messages::instance().question(nullptr, QStringLiteral("澄源rivodaz"), QStringLiteral("删除吗？")));
        },
        "unexpected question");
}

TEST(RecordingMessages, AnExpectedQuestionNeverAskedFails)
{
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingMessages m;
            m.expectQuestion(QStringLiteral("删除吗？"), true);
        },
        "never asked");
}

} // namespace
} // namespace ts
