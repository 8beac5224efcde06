#include "storage/db.h"

#include "storage/money.h"
#include "storage/schema.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>

#include <atomic>

namespace ts {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tongshui-%1").arg(++counter);
}

// PostgreSQL database names are pasted into CREATE DATABASE, so only plain
// names are accepted.
bool plainIdentifier(const QString& s)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    return re.match(s).hasMatch();
}

QVariant engineValue(Engine engine, const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Money>()) {
        const Money m = v.value<Money>();
        // numeric on PostgreSQL takes the exact text; SQLite keeps a REAL, and
        // a bound text would compare as text in expressions without affinity.
        return engine == Engine::Postgres ? QVariant(m.toDecimalString()) : QVariant(m.toDouble());
    }
    return v;
}

} // namespace

DbError::DbError(const QString& message, const QString& sql)
    : std::runtime_error(message.toStdString()), message_(message), sql_(sql)
{
}

std::optional<DbTarget> DbTarget::parse(const QString& text, QString* error)
{
    const QString t = text.trimmed();
    DbTarget target;
    if (t.isEmpty()) {
        if (error)
            *error = QStringLiteral("没有指定数据库");
        return std::nullopt;
    }
    if (!t.startsWith(QLatin1String("postgresql://")) && !t.startsWith(QLatin1String("postgres://"))) {
        target.engine = Engine::Sqlite;
        target.file = t;
        return target;
    }
    const QUrl url(t, QUrl::StrictMode);
    target.engine = Engine::Postgres;
    target.host = url.host();
    target.port = url.port(5432);
    target.user = url.userName();
    target.password = url.password();
    target.dbname = url.path().mid(1);
    if (!url.isValid() || target.host.isEmpty() || target.dbname.isEmpty() || target.port <= 0) {
        if (error)
            *error = QStringLiteral("数据库地址格式错误：%1（应为 postgresql://用户@主机:端口/数据库名）").arg(t);
        return std::nullopt;
    }
    if (!plainIdentifier(target.dbname)) {
        if (error)
            *error = QStringLiteral("数据库名只能由字母、数字和下划线组成：%1").arg(target.dbname);
        return std::nullopt;
    }
    return target;
}

QString DbTarget::display() const
{
    if (engine == Engine::Sqlite)
        return file;
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(dbname);
}

Db::Db(const DbTarget& target, const QString& connectionName)
    : target_(target), connectionName_(connectionName)
{
}

Db::~Db()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase Db::handle() const
{
    return QSqlDatabase::database(connectionName_, false);
}

bool Db::openConnection(QString* error)
{
    QSqlDatabase db;
    if (target_.engine == Engine::Sqlite) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        db.setDatabaseName(target_.file);
        // Another station may hold the file for a moment; wait rather than fail.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
        db.setHostName(target_.host);
        db.setPort(target_.port);
        db.setUserName(target_.user);
        db.setPassword(target_.password);
        db.setDatabaseName(target_.dbname);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    // numeric comes back as exact text instead of a double.
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    if (target_.engine == Engine::Postgres) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("set client_min_messages to warning"));
    }
    return true;
}

std::unique_ptr<Db> Db::open(const DbTarget& target, QString* error)
{
    if (target.engine == Engine::Sqlite && !QFileInfo(target.file).isFile()) {
        if (error)
            *error = QStringLiteral("数据库文件不存在：%1").arg(target.file);
        return nullptr;
    }
    std::unique_ptr<Db> db(new Db(target, nextConnectionName()));
    if (!db->openConnection(error))
        return nullptr;
    // A file that is no database at all fails here; one of another program
    // lacks our tables. Neither is touched.
    QString probe;
    if (!db->tryExec(QStringLiteral("select 版本号 from 版本号"), &probe)
        || !db->tryExec(QStringLiteral("select 用户 from 登陆"), &probe)) {
        if (error)
            *error = QStringLiteral("不是本系统的数据库：%1（%2）").arg(target.display(), probe);
        return nullptr;
    }
    return db;
}

std::unique_ptr<Db> Db::create(const DbTarget& target, QString* error)
{
    if (target.engine == Engine::Postgres) {
        // The database itself may not exist yet: ask the server's maintenance
        // database to make it.
        DbTarget admin = target;
        admin.dbname = QStringLiteral("postgres");
        std::unique_ptr<Db> server(new Db(admin, nextConnectionName()));
        if (!server->openConnection(error))
            return nullptr;
        const bool exists = !server->scalar(QStringLiteral("select 1 from pg_database where datname = :n"),
                                            {{QStringLiteral("n"), target.dbname}})
                                 .isNull();
        if (!exists) {
            QString e;
            if (!server->tryExec(QStringLiteral("create database %1 encoding 'UTF8' template template0")
                                     .arg(target.dbname),
                                 &e)) {
                if (error)
                    *error = e;
                return nullptr;
            }
        }
    } else if (QFileInfo(target.file).exists() && QFileInfo(target.file).size() > 0) {
        // Even an unreadable file is someone's data: never overwrite it.
        std::unique_ptr<Db> probe(new Db(target, nextConnectionName()));
        QString e;
        if (!probe->openConnection(&e) || !probe->tryExec(QStringLiteral("select count(*) from sqlite_master"), &e)) {
            if (error)
                *error = QStringLiteral("目标文件已存在且不是数据库，未做任何改动：%1").arg(target.file);
            return nullptr;
        }
    }

    std::unique_ptr<Db> db(new Db(target, nextConnectionName()));
    if (!db->openConnection(error))
        return nullptr;
    if (!db->tableNames().isEmpty()) {
        if (error)
            *error = QStringLiteral("目标数据库中已经有数据表，未做任何改动：%1").arg(target.display());
        return nullptr;
    }
    try {
        createSchema(*db);
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        return nullptr;
    }
    return db;
}

QSqlQuery Db::exec(const QString& sql, const Binds& binds)
{
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    // PostgreSQL cannot prepare statements such as CREATE DATABASE or BEGIN;
    // a statement without values has nothing to gain from preparing anyway.
    if (binds.isEmpty()) {
        if (!q.exec(sql))
            throw DbError(q.lastError().text(), sql);
        return q;
    }
    if (!q.prepare(sql))
        throw DbError(q.lastError().text(), sql);
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), engineValue(engine(), it.value()));
    if (!q.exec())
        throw DbError(q.lastError().text(), sql);
    return q;
}

QVariant Db::scalar(const QString& sql, const Binds& binds)
{
    QSqlQuery q = exec(sql, binds);
    return q.next() ? q.value(0) : QVariant();
}

qint64 Db::insert(const QString& sql, const Binds& binds, const QString& idColumn)
{
    QSqlQuery q = exec(sql + QStringLiteral(" returning ") + idColumn, binds);
    if (!q.next())
        throw DbError(QStringLiteral("插入后没有得到新记录的编号"), sql);
    const qint64 id = q.value(0).toLongLong();
    q.finish();
    return id;
}

bool Db::tryExec(const QString& sql, QString* error, const Binds& binds)
{
    try {
        exec(sql, binds);
        return true;
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

QStringList Db::tableNames() const
{
    QStringList names;
    for (const QString& t : handle().tables(QSql::Tables))
        if (!t.startsWith(QLatin1String("sqlite_")))
            names << t;
    return names;
}

QStringList Db::columnNames(const QString& table) const
{
    QSqlQuery q(handle());
    QStringList names;
    if (!q.exec(QStringLiteral("select * from %1 limit 0").arg(table)))
        return names;
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i)
        names << r.fieldName(i);
    return names;
}

QString Db::typeName(ColKind kind, int width) const
{
    const bool pg = engine() == Engine::Postgres;
    switch (kind) {
    case ColKind::Counter:
        // AUTOINCREMENT: a deleted customer's number must never come back for
        // a new one, since other tables still carry it.
        return pg ? QStringLiteral("integer generated by default as identity primary key")
                  : QStringLiteral("integer primary key autoincrement");
    case ColKind::Integer:
        return QStringLiteral("integer");
    case ColKind::Currency:
        return QStringLiteral("numeric(19,4)");
    case ColKind::DateTime:
        return pg ? QStringLiteral("timestamp(0)") : QStringLiteral("datetime");
    case ColKind::YesNo:
        return QStringLiteral("boolean");
    case ColKind::Text:
        return QStringLiteral("varchar(%1)").arg(width > 0 ? width : 50);
    case ColKind::Memo:
        return QStringLiteral("text");
    }
    return QStringLiteral("text");
}

void Db::begin()
{
    // IMMEDIATE takes the write lock at once, so two stations cannot both
    // read and then deadlock on writing.
    exec(engine() == Engine::Sqlite ? QStringLiteral("begin immediate") : QStringLiteral("begin"));
    inTransaction_ = true;
}

void Db::commit()
{
    exec(QStringLiteral("commit"));
    inTransaction_ = false;
}

void Db::rollback()
{
    inTransaction_ = false;
    QString ignored;
    tryExec(QStringLiteral("rollback"), &ignored);
}

Transaction::Transaction(Db& db) : db_(db)
{
    if (db_.inTransaction())
        throw DbError(QStringLiteral("事务不能嵌套"), QString());
    db_.begin();
}

Transaction::~Transaction()
{
    if (!done_)
        db_.rollback();
}

void Transaction::commit()
{
    db_.commit();
    done_ = true;
}

} // namespace ts
