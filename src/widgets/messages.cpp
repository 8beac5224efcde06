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

Messages* Messages::install(Messages* messages)
{
    Messages* before = installed;
    installed = messages;
    return before;
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

} // namespace ts
