#pragma once

#include "storage/db.h"
#include "support/qt_print.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace ts::test {

// The PostgreSQL server of the test run, from TONGSHUI_TEST_PG
// ("postgresql://postgres@127.0.0.1:PORT"); empty when none was started.
QString postgresServer();
// TONGSHUI_TEST_SQLITE_ONLY=1: a local run that means to leave PostgreSQL
// out. Without it a missing server fails the PostgreSQL tests.
bool postgresOptedOut();

// A new database holding the program's schema: a SQLite file in `dir`, or a
// new PostgreSQL database cloned from a template made once per process.
// Returns nullptr (and sets *skip) when PostgreSQL is not available.
std::unique_ptr<Db> freshDb(Engine engine, const QTemporaryDir& dir, std::string* skip);

// A new, empty target (no tables) of the given engine, for tests of
// creating a database.
std::optional<DbTarget> emptyTarget(Engine engine, const QTemporaryDir& dir, std::string* skip);

std::string engineName(const ::testing::TestParamInfo<Engine>& info);

// Base for tests that run on both engines; db is fresh for every test and
// installed as the program's database.
class DbTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;
    Db& db() { return *db_; }

    QTemporaryDir dir_;
    std::unique_ptr<Db> db_;
};

} // namespace ts::test

#define TS_BOTH_ENGINES(Suite)                                                                            \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(::ts::Engine::Sqlite, ::ts::Engine::Postgres), \
                             ::ts::test::engineName)
