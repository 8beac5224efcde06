// The program's start up to its login window on screen, then out: what
// `hyperfine` times for the start-up figure. The steps are main()'s own,
// in its order; the probe stops where the operator would start typing.
#include "app/Uhuanying.h"
#include "app/Ulogin.h"
#include "app/app_context.h"
#include "app/startup.h"
#include "session/login_settings.h"
#include "session/login_values.h"
#include "storage/settings_files.h"
#include "storage/time_zone.h"
#include "widgets/application.h"
#include "widgets/form_registry.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// With --steps the probe tells how long each step took, for finding where
// start-up time goes.
QElapsedTimer g_clock;
bool g_steps = false;

void step(const char* what)
{
    if (g_steps)
        std::fprintf(stderr, "%7.1f ms  %s\n", double(g_clock.nsecsElapsed()) / 1e6, what);
}

} // namespace

int main(int argc, char** argv)
{
    g_clock.start();
    ts::pinLocalTimeZone();
    ts::Application app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    g_steps = args.removeAll(QStringLiteral("--steps")) > 0;
    step("application");
    if (args.size() != 3 || args.at(1) != QStringLiteral("--database")) {
        std::fprintf(stderr, "usage: tongshui-startup-probe [--steps] --database FILE|postgresql://...\n");
        return 2;
    }
    QString error;
    const auto target = ts::DbTarget::parse(args.at(2), &error);
    if (!target) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 2;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    const QString programDir = QCoreApplication::applicationDirPath();
    ts::setProgramDir(programDir);
    ts::OpenedDatabase opened = ts::openProgramDatabase(programDir, QDir::currentPath(), target);
    if (!opened.db) {
        std::fprintf(stderr, "%s\n", opened.detail.toUtf8().constData());
        return 1;
    }
    step("database opened and brought up to date");
    ts::setAppDb(opened.db.get());
    ts::LoginValues& lv = ts::LoginValues::current();
    QString problem;
    ts::readBranding(programDir, lv, &problem);

    auto welcome = std::make_unique<ts::Thuanying>(programDir);
    step("settings read");
    welcome->show();
    app.processEvents();
    step("welcome picture shown");
    int code = 1;
    {
        ts::Tlogin login;
        step("login window built");
        welcome.reset();
        login.show();
        // Out once the window has been laid out and painted.
        QTimer::singleShot(0, &app, [&] {
            login.repaint();
            step("login window painted");
            code = login.isVisible() ? 0 : 1;
            app.quit();
        });
        app.exec();
    }
    ts::FormRegistry::instance().clear();
    ts::setAppDb(nullptr);
    return code;
}
