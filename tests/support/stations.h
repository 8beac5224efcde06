#pragma once

#include "support/test_db.h"

#include <QProcess>
#include <QStringList>

#include <memory>

namespace ts::test {

// Tests of several stations on one database: each station is a real
// ts_station process on the test's database, printing one line per attempt.
class StationsFixture : public DbTest {
protected:
    // The test's database as a station names it on its command line.
    QString target() const;

    // Starts one station; it runs until it ends or the test kills it.
    std::unique_ptr<QProcess> start(const QStringList& args);

    // Waits for a station to end by itself and gives the lines it printed.
    static QStringList linesOf(QProcess& p);

    // Starts every station at once and collects what each printed.
    QList<QStringList> run(const QList<QStringList>& stations);
};

} // namespace ts::test
