#include "widgets/application.h"

#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/messages.h"

#include <QLibraryInfo>
#include <QLocale>

#include <cstdio>

namespace ts {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::loadQtTranslation(QTranslator& translator)
{
    return translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool Application::installQtTranslation()
{
    return loadQtTranslation(qtTranslation_) && installTranslator(&qtTranslation_);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // Slots run their work through runAction; an exception that still gets
    // here is a slot that forgot to, and is logged so that it gets fixed.
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbBusy& e) {
        std::fprintf(stderr, "tongshui: exception outside runAction (%s): %s\n", receiver->metaObject()->className(),
                     e.message().toLocal8Bit().constData());
        Messages::instance().error(activeWindow(), e.message());
    } catch (const DbError& e) {
        std::fprintf(stderr, "tongshui: exception outside runAction (%s): %s\n  %s\n", receiver->metaObject()->className(),
                     e.message().toLocal8Bit().constData(), e.sql().toLocal8Bit().constData());
        Messages::instance().error(activeWindow(), databaseErrorText());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tongshui: exception outside runAction (%s): %s\n", receiver->metaObject()->className(),
                     e.what());
        Messages::instance().error(activeWindow(), programErrorText());
    }
    return false;
}

} // namespace ts
