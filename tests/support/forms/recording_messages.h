#pragma once

#include "widgets/messages.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace ts::test {

// Keeps what an operator would have been shown, information and errors
// apart, and answers the questions a test said it expects, in order. A
// question nobody expected, or an expected one never asked, fails the test:
// a form that asks something new must not pass by being answered OK.
// Installs itself for its lifetime and puts back the one before.
class RecordingMessages : public Messages {
public:
    RecordingMessages();
    ~RecordingMessages() override;
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;

    // The next question is `text` and is answered with OK (true) or Cancel.
    void expectQuestion(const QString& text, bool answer);
    // Forgets what was shown and asked so far (not the questions expected).
    void clear();

    QStringList informations;  // in order
    QStringList errors;        // in order
    QStringList questions;     // question texts, in order
    QStringList captions;      // captions of those questions

private:
    struct Expected {
        QString text;
        bool answer;
    };
    QList<Expected> expected_;
    Messages* previous_ = nullptr;
};

} // namespace ts::test
