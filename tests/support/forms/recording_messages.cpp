#include "support/forms/recording_messages.h"

#include <gtest/gtest.h>

namespace ts::test {

RecordingMessages::RecordingMessages()
    : previous_(Messages::install(this))
{
}

RecordingMessages::~RecordingMessages()
{
    for (const Expected& e : std::as_const(expected_))
        ADD_FAILURE() << "expected question never asked: " << e.text.toStdString();
    Messages::install(previous_);
}

void RecordingMessages::information(QWidget*, const QString& text)
{
    informations << text;
}

void RecordingMessages::error(QWidget*, const QString& text)
{
    errors << text;
}

bool RecordingMessages::question(QWidget*, const QString& caption, const QString& text)
{
    questions << text;
    captions << caption;
    if (expected_.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;  // Cancel abandons the operation: the safe answer
    }
    const Expected next = expected_.takeFirst();
    EXPECT_EQ(text.toStdString(), next.text.toStdString()) << "a different question than the one expected";
    return next.answer;
}

void RecordingMessages::expectQuestion(const QString& text, bool answer)
{
    expected_.append({text, answer});
}

void RecordingMessages::clear()
{
    informations.clear();
    errors.clear();
    questions.clear();
    captions.clear();
}

} // namespace ts::test
