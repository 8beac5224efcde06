#pragma once

#include <QString>
#include <QStringList>

#include <deque>

class QWidget;

namespace ts {

// Every message box and OK/Cancel question of the program goes through here,
// so that tests can read what an operator would have been shown and answer
// the questions.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& text) = 0;
    // OK/Cancel; true for OK. The caption is the short company name followed
    // by a fixed title word, as the caller gives it.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text) = 0;

    // The program-wide instance; plain message boxes unless a test installs
    // its own.
    static Messages& instance();
    static void install(Messages* messages);  // nullptr restores the boxes
};

// Message boxes on screen.
class BoxMessages : public Messages {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
};

// Keeps every text shown and answers questions from a queue (OK when the
// queue is empty). Installs itself for its lifetime.
class RecordingMessages : public Messages {
public:
    RecordingMessages();
    ~RecordingMessages() override;
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;

    QStringList shown;      // information and error texts, in order
    QStringList questions;  // question texts, in order
    QStringList captions;   // captions of those questions
    std::deque<bool> answers;

private:
    Messages* previous_ = nullptr;  // put back on destruction
};

} // namespace ts
