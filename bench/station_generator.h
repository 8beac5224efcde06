#pragma once

#include "storage/db.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>

namespace ts::bench {

// How big a synthetic station is. The same seed always gives the same
// station, so that figures measured on two machines compare.
struct StationSize {
    int customers = 200000;
    int years = 10;
    int linesPerDay = 500;
    std::uint64_t seed = 1;
    // The last day with orders; a fixed day keeps the output independent of
    // when the generator runs.
    QDate lastDay = QDate(2026, 12, 10);
};

struct GeneratedCounts {
    qint64 customers = 0;
    qint64 orderLines = 0;
    qint64 orders = 0;
};

// Writes a station into a database that holds the program's fresh schema:
// regions, customer types, products, workers, salespeople, customers and
// years of order lines. `progress` gets a line of text now and then.
GeneratedCounts generateStation(Db& db, const StationSize& size, const std::function<void(const QString&)>& progress);

} // namespace ts::bench
