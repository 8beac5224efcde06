#include "bare_sql.h"

#include "storage/money.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QList>

#include <stdexcept>
#include <string>

namespace ts::bench {

namespace {

// ":name" → the engine's numbered parameter, the same name the same number.
QString numbered(const QString& sql, const Binds& binds, bool dollar, QList<QVariant>* values)
{
    QString out;
    QStringList names;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'') {
            const int end = sql.indexOf(u'\'', i + 1);
            out += sql.mid(i, end - i + 1);
            i = end;
            continue;
        }
        if (c == u':' && i + 1 < sql.size() && (sql.at(i + 1).isLetter() || sql.at(i + 1) == u'_')
            && sql.at(i + 1).unicode() < 128 && (i == 0 || sql.at(i - 1) != u':')) {
            int j = i + 1;
            while (j < sql.size() && sql.at(j).unicode() < 128 && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1);
            int n = int(names.indexOf(name));
            if (n < 0) {
                names << name;
                n = int(names.size()) - 1;
                values->append(binds.value(name));
            }
            out += (dollar ? QStringLiteral("$") : QStringLiteral("?")) + QString::number(n + 1);
            i = j - 1;
            continue;
        }
        out += c;
    }
    return out;
}

class BareSqlite : public BareSql {
public:
    explicit BareSqlite(const QString& file)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file.toStdString());
    }
    ~BareSqlite() override { sqlite3_close(db_); }

    long long read(const QString& sql, const Binds& binds) override
    {
        sqlite3_stmt* st = prepare(sql, binds);
        long long rows = 0;
        std::size_t bytes = 0;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const int n = sqlite3_column_count(st);
            for (int c = 0; c < n; ++c) {
                sqlite3_column_text(st, c);
                bytes += std::size_t(sqlite3_column_bytes(st, c));
            }
            ++rows;
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db_));
        return rows + (bytes == std::size_t(-1) ? 1 : 0);
    }

    void run(const QString& sql, const Binds& binds) override { read(sql, binds); }

    QString first(const QString& sql, const Binds& binds) override
    {
        sqlite3_stmt* st = prepare(sql, binds);
        QString value;
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db_));
        return value;
    }

private:
    sqlite3_stmt* prepare(const QString& sql, const Binds& binds)
    {
        QList<QVariant> values;
        const QByteArray text = numbered(sql, binds, false, &values).toUtf8();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + ": " + text.toStdString());
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& v = values.at(i);
            switch (v.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
                sqlite3_bind_int64(st, i + 1, v.toLongLong());
                break;
            case QMetaType::Bool:
                sqlite3_bind_int(st, i + 1, v.toBool() ? 1 : 0);
                break;
            default:
                if (v.metaType() == QMetaType::fromType<Money>()) {
                    sqlite3_bind_double(st, i + 1, v.value<Money>().toDouble());
                } else if (v.isNull()) {
                    sqlite3_bind_null(st, i + 1);
                } else {
                    const QByteArray s = v.toString().toUtf8();
                    sqlite3_bind_text(st, i + 1, s.constData(), int(s.size()), SQLITE_TRANSIENT);
                }
            }
        }
        return st;
    }

    sqlite3* db_ = nullptr;
};

class BarePostgres : public BareSql {
public:
    explicit BarePostgres(const DbTarget& t)
    {
        const QString conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                     .arg(t.host)
                                     .arg(t.port)
                                     .arg(t.user, t.dbname);
        conn_ = PQconnectdb(conninfo.toUtf8().constData());
        if (PQstatus(conn_) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(conn_));
    }
    ~BarePostgres() override { PQfinish(conn_); }

    long long read(const QString& sql, const Binds& binds) override
    {
        PGresult* r = exec(sql, binds);
        const int rows = PQntuples(r);
        const int cols = PQnfields(r);
        std::size_t bytes = 0;
        for (int i = 0; i < rows; ++i)
            for (int c = 0; c < cols; ++c)
                bytes += std::size_t(PQgetlength(r, i, c)) + (PQgetvalue(r, i, c)[0] == 0 ? 0 : 1);
        PQclear(r);
        return rows + (bytes == std::size_t(-1) ? 1 : 0);
    }

    void run(const QString& sql, const Binds& binds) override { PQclear(exec(sql, binds)); }

    QString first(const QString& sql, const Binds& binds) override
    {
        PGresult* r = exec(sql, binds);
        const QString value = PQntuples(r) > 0 ? QString::fromUtf8(PQgetvalue(r, 0, 0)) : QString();
        PQclear(r);
        return value;
    }

private:
    PGresult* exec(const QString& sql, const Binds& binds)
    {
        QList<QVariant> values;
        const QByteArray text = numbered(sql, binds, true, &values).toUtf8();
        QList<QByteArray> params;
        std::vector<const char*> ptrs;
        for (const QVariant& v : values) {
            if (v.metaType() == QMetaType::fromType<Money>())
                params << v.value<Money>().toDecimalString().toUtf8();
            else if (v.metaType().id() == QMetaType::Bool)
                params << (v.toBool() ? QByteArray("true") : QByteArray("false"));
            else
                params << v.toString().toUtf8();
        }
        for (int i = 0; i < params.size(); ++i)
            ptrs.push_back(values.at(i).isNull() ? nullptr : params.at(i).constData());
        PGresult* r = PQexecParams(conn_, text.constData(), int(ptrs.size()), nullptr, ptrs.data(), nullptr, nullptr, 0);
        const auto status = PQresultStatus(r);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            const std::string e = PQresultErrorMessage(r);
            PQclear(r);
            throw std::runtime_error(e + ": " + text.toStdString());
        }
        return r;
    }

    PGconn* conn_ = nullptr;
};

} // namespace

std::unique_ptr<BareSql> BareSql::open(const DbTarget& target)
{
    if (target.engine == Engine::Sqlite)
        return std::make_unique<BareSqlite>(target.file);
    return std::make_unique<BarePostgres>(target);
}

} // namespace ts::bench
