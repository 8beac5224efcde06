// Writes a synthetic station into a new database, for benchmarks and for
// trying the program with the data of a busy station.
#include "station_generator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

const char* kUsage =
    "usage: tongshui-gen --database FILE|postgresql://user@host:port/dbname\n"
    "                    [--customers N] [--years Y] [--lines-per-day L] [--seed S] [--last-day yyyy-MM-dd]\n"
    "Writes a new database (refuses one that already holds tables) with N customers\n"
    "(default 200000) and Y years (default 10) of order lines, about L (500) a day.\n";

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    ts::bench::StationSize size;
    QString database;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QStringLiteral("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= args.size()) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        const QString v = args.at(++i);
        bool ok = true;
        if (a == QStringLiteral("--database"))
            database = v;
        else if (a == QStringLiteral("--customers"))
            size.customers = v.toInt(&ok);
        else if (a == QStringLiteral("--years"))
            size.years = v.toInt(&ok);
        else if (a == QStringLiteral("--lines-per-day"))
            size.linesPerDay = v.toInt(&ok);
        else if (a == QStringLiteral("--seed"))
            size.seed = v.toULongLong(&ok);
        else if (a == QStringLiteral("--last-day")) {
            size.lastDay = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
            ok = size.lastDay.isValid();
        } else
            ok = false;
        if (!ok || size.customers < 0 || size.years < 0 || size.linesPerDay < 0) {
            say(QStringLiteral("bad option: %1 %2").arg(a, v));
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (database.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QString error;
    const auto target = ts::DbTarget::parse(database, &error);
    if (!target) {
        say(error);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    auto db = ts::Db::create(*target, &error);
    if (!db) {
        say(QStringLiteral("cannot create %1: %2").arg(target->display(), error));
        return 1;
    }
    try {
        const auto counts = ts::bench::generateStation(*db, size, [&](const QString& line) {
            say(QStringLiteral("[%1 s] %2").arg(clock.elapsed() / 1000.0, 0, 'f', 1).arg(line));
        });
        std::printf("customers %lld\norder_lines %lld\norders %lld\n", counts.customers, counts.orderLines, counts.orders);
        say(QStringLiteral("done in %1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    } catch (const ts::DbError& e) {
        say(QStringLiteral("database error: %1\n%2").arg(e.message(), e.sql().left(300)));
        return 1;
    }
    return 0;
}
