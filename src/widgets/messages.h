#pragma once

#include <QString>
#include <QStringList>

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
    // Returns the one installed before, for the caller to put back.
    static Messages* install(Messages* messages);  // nullptr restores the boxes
};

// Message boxes on screen.
class BoxMessages : public Messages {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
};

} // namespace ts
