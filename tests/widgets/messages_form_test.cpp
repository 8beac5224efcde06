#include "widgets/messages.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

TEST(RecordingMessages, AnswersFromItsQueueThenOkAndPutsBackTheOneBefore)
{
    Messages* before = &Messages::instance();
    {
        RecordingMessages outer;
        {
            RecordingMessages inner;
            inner.answers = {false, true};
            EXPECT_EQ(&Messages::instance(), &inner);
            EXPECT_FALSE(Messages::instance().question(nullptr, QStringLiteral("澄源rivodaz"), QStringLiteral("删除吗？")));
            EXPECT_TRUE(Messages::instance().question(nullptr, QStringLiteral("澄源rivodaz"), QStringLiteral("再删？")));
            EXPECT_TRUE(Messages::instance().question(nullptr, QStringLiteral("标题"), QStringLiteral("空队列")));
            Messages::instance().information(nullptr, QStringLiteral("保存成功"));
            Messages::instance().error(nullptr, QStringLiteral("请填写产品名称"));
            EXPECT_EQ(inner.questions, (QStringList{QStringLiteral("删除吗？"), QStringLiteral("再删？"), QStringLiteral("空队列")}));
            EXPECT_EQ(inner.captions.first(), QStringLiteral("澄源rivodaz"));
            EXPECT_EQ(inner.shown, (QStringList{QStringLiteral("保存成功"), QStringLiteral("请填写产品名称")}));
        }
        EXPECT_EQ(&Messages::instance(), &outer);
        EXPECT_TRUE(outer.shown.isEmpty());
    }
    EXPECT_EQ(&Messages::instance(), before);
}

} // namespace
} // namespace ts
