#include "widgets/messages.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace ts {

namespace {

Messages* installed = nullptr;

} // namespace

Messages& Messages::instance()
{
    static BoxMessages boxes;
    return installed ? *installed : boxes;
}

void Messages::install(Messages* messages)
{
    installed = messages;
}

// Plain messages carry the program's title as their caption; only questions
// are given one by their caller.
void BoxMessages::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QGuiApplication::applicationDisplayName(), text);
}

void BoxMessages::error(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(), text);
}

bool BoxMessages::question(QWidget* parent, const QString& caption, const QString& text)
{
    // OK is the default so that Enter confirms, as the operators are used to.
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
        == QMessageBox::Ok;
}

RecordingMessages::RecordingMessages()
    : previous_(installed)
{
    install(this);
}

RecordingMessages::~RecordingMessages()
{
    // Only undo our own installation; a nested recorder may still be active.
    if (installed == this)
        install(previous_);
}

void RecordingMessages::information(QWidget*, const QString& text)
{
    shown << text;
}

void RecordingMessages::error(QWidget*, const QString& text)
{
    shown << text;
}

bool RecordingMessages::question(QWidget*, const QString& caption, const QString& text)
{
    questions << text;
    captions << caption;
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace ts
