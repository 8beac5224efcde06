#include "widgets/application.h"

#include "storage/db.h"
#include "widgets/messages.h"

#include <cstdio>

namespace ts {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n  %s\n", e.message().toLocal8Bit().constData(), e.sql().toLocal8Bit().constData());
        Messages::instance().error(activeWindow(), e.message());
    } catch (const std::exception& e) {
        Messages::instance().error(activeWindow(), QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace ts
