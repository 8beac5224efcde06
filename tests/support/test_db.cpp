#include "support/test_db.h"

#include "app/app_context.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace ts::test {

namespace {

std::atomic<int> g_counter{0};

QString prefix()
{
    return QStringLiteral("t%1_").arg(QCoreApplication::applicationPid());
}

// Runs a statement on the server's maintenance database.
bool serverExec(const QString& sql, QString* error)
{
    const auto server = DbTarget::parse(postgresServer() + QStringLiteral("/postgres"), error);
    if (!server)
        return false;
    const QString name = QStringLiteral("test-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(server->host);
        db.setPort(server->port);
        db.setUserName(server->user);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.isOpen() && !db.open()) {
            *error = db.lastError().text();
            return false;
        }
        QSqlQuery q(db);
        ok = q.exec(sql);
        if (!ok)
            *error = q.lastError().text();
    }
    return ok;
}

DbTarget pgTarget(const QString& dbname)
{
    QString ignored;
    return *DbTarget::parse(postgresServer() + QLatin1Char('/') + dbname, &ignored);
}

// The schema is written once per test process and cloned for each test,
// which is far quicker than creating a hundred tables every time.
QString templateDatabase(std::string* skip)
{
    static QString name;
    static QString failure;
    if (name.isEmpty() && failure.isEmpty()) {
        const QString candidate = prefix() + QStringLiteral("template");
        QString error;
        serverExec(QStringLiteral("drop database if exists %1").arg(candidate), &error);
        auto db = Db::create(pgTarget(candidate), &error);
        if (db)
            name = candidate;
        else
            failure = error;
    }
    if (!failure.isEmpty())
        *skip = "cannot create the template database: " + failure.toStdString();
    return name;
}

} // namespace

QString postgresServer()
{
    return qEnvironmentVariable("TONGSHUI_TEST_PG");
}

bool postgresOptedOut()
{
    return qEnvironmentVariableIntValue("TONGSHUI_TEST_SQLITE_ONLY") == 1;
}

std::optional<DbTarget> emptyTarget(Engine engine, const QTemporaryDir& dir, std::string* skip)
{
    const int n = ++g_counter;
    if (engine == Engine::Sqlite) {
        QString ignored;
        return DbTarget::parse(dir.filePath(QStringLiteral("new%1.db").arg(n)), &ignored);
    }
    if (postgresServer().isEmpty()) {
        *skip = "TONGSHUI_TEST_PG is not set: no PostgreSQL server for this run";
        return std::nullopt;
    }
    return pgTarget(prefix() + QStringLiteral("new%1").arg(n));
}

std::unique_ptr<Db> freshDb(Engine engine, const QTemporaryDir& dir, std::string* skip)
{
    QString error;
    if (engine == Engine::Sqlite) {
        auto target = emptyTarget(engine, dir, skip);
        auto db = Db::create(*target, &error);
        if (!db)
            *skip = error.toStdString();
        return db;
    }
    if (postgresServer().isEmpty()) {
        *skip = "TONGSHUI_TEST_PG is not set: no PostgreSQL server for this run";
        return nullptr;
    }
    const QString tmpl = templateDatabase(skip);
    if (tmpl.isEmpty())
        return nullptr;
    const QString name = prefix() + QStringLiteral("db%1").arg(++g_counter);
    if (!serverExec(QStringLiteral("create database %1 template %2").arg(name, tmpl), &error)) {
        *skip = error.toStdString();
        return nullptr;
    }
    auto db = Db::open(pgTarget(name), &error);
    if (!db)
        *skip = error.toStdString();
    return db;
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

void DbTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    std::string skip;
    db_ = freshDb(GetParam(), dir_, &skip);
    if (!db_) {
        // Half a run must not pass for a whole one: without a server the
        // PostgreSQL tests fail, unless the developer said SQLite only.
        if (GetParam() == Engine::Postgres && postgresServer().isEmpty() && postgresOptedOut())
            GTEST_SKIP() << skip;
        FAIL() << skip << " (set TONGSHUI_TEST_SQLITE_ONLY=1 to skip PostgreSQL on purpose)";
    }
    setAppDb(db_.get());
    setProgramDir(dir_.path());
}

void DbTest::TearDown()
{
    setAppDb(nullptr);
    db_.reset();
}

} // namespace ts::test
