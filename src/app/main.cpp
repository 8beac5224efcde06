#include "app/Uhuanying.h"
#include "app/Ulogin.h"
#include "app/Umain.h"
#include "app/Uwiring.h"
#include "app/app_context.h"
#include "app/startup.h"
#include "session/login_settings.h"
#include "session/login_values.h"
#include "storage/settings_files.h"
#include "storage/time_zone.h"
#include "widgets/application.h"
#include "widgets/form_registry.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <memory>

namespace {

void printErr(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

const char* kUsage =
    "用法: tongshui [选项]\n"
    "  --database <文件 | postgresql://用户@主机:端口/库名>  使用指定的数据库\n"
    "  --create-database <文件 | postgresql://...>           新建数据库后退出\n"
    "  --help                                                显示本帮助\n"
    "  --version                                             显示版本\n";

// Handles the options that need no window. Returns -1 to go on starting
// the program, else the exit code.
int runCommandLine(const QStringList& args, std::optional<ts::DbTarget>* database)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == QStringLiteral("--version")) {
            std::printf("tongshui %s\n", TONGSHUI_VERSION);
            return 0;
        }
        if (a == QStringLiteral("--create-database") || a == QStringLiteral("--database")) {
            if (i + 1 >= args.size()) {
                printErr(QStringLiteral("%1 需要一个数据库文件名或 postgresql:// 地址").arg(a));
                return 2;
            }
            QString error;
            const auto target = ts::DbTarget::parse(args.at(++i), &error);
            if (!target) {
                printErr(error);
                return 2;
            }
            if (a == QStringLiteral("--database")) {
                *database = target;
                continue;
            }
            auto db = ts::Db::create(*target, &error);
            if (!db) {
                printErr(QStringLiteral("不能新建数据库：%1").arg(error));
                return 1;
            }
            std::printf("%s\n", QStringLiteral("已新建数据库：%1").arg(target->display()).toLocal8Bit().constData());
            return 0;
        }
        printErr(QStringLiteral("未知的选项：%1").arg(a));
        std::fputs(kUsage, stderr);
        return 2;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    ts::pinLocalTimeZone();
    std::optional<ts::DbTarget> database;
    {
        // Options that only touch files or a server must work without a screen.
        QCoreApplication cli(argc, argv);
        const int code = runCommandLine(QCoreApplication::arguments(), &database);
        if (code >= 0)
            return code;
    }

    ts::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rivodaz"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (!app.installQtTranslation())
        printErr(QStringLiteral("找不到Qt的中文翻译，标准按钮和文件对话框将显示英文"));
    const QString programDir = QCoreApplication::applicationDirPath();
    ts::setProgramDir(programDir);

    // The branding comes from a file, not the database, so the welcome
    // window can be up while the database is opened and brought up to date,
    // the slow part of a start.
    ts::LoginValues& lv = ts::LoginValues::current();
    QString problem;
    ts::readBranding(programDir, lv, &problem);
    if (lv.companyShortName != QStringLiteral("澄源"))
        QApplication::setApplicationName(lv.companyShortName + QStringLiteral("rivodaz2010"));
    auto welcome = std::make_unique<ts::Thuanying>(programDir);
    welcome->showWhileWorking();

    ts::OpenedDatabase opened = ts::openProgramDatabase(programDir, QDir::currentPath(), database);
    for (const QString& f : opened.upgradeFailures)
        printErr(QStringLiteral("数据库升级语句未能执行，已跳过：%1").arg(f));
    if (!opened.db) {
        welcome.reset();
        printErr(opened.detail);
        // An unreadable moshi.ini is the operator's to mend: name it.
        ts::Messages::instance().error(nullptr, opened.settingsProblem.isEmpty() ? ts::kConnectFailed
                                                                                 : opened.settingsProblem);
        return 1;
    }
    ts::setAppDb(opened.db.get());
    for (const QString& p : {opened.settingsProblem, problem}) {
        if (!p.isEmpty()) {
            welcome->hide();
            ts::Messages::instance().error(nullptr, p);
        }
    }

    ts::Tlogin login;
    welcome->closeWhenSeen(1500);
    welcome.reset();

    std::unique_ptr<ts::Tmain> mainWindow;
    QObject::connect(&login, &ts::Tlogin::loggedIn, [&] {
        mainWindow = std::make_unique<ts::Tmain>();
        ts::wireForms(*mainWindow);
        mainWindow->applyRights(lv);
        mainWindow->show();
        login.hide();
    });
    login.show();
    QObject::connect(&login, &QDialog::rejected, &app, &QCoreApplication::quit);
    const int code = app.exec();
    mainWindow.reset();
    ts::FormRegistry::instance().clear();
    ts::setAppDb(nullptr);
    return code;
}
