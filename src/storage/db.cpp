#include "storage/db.h"

#include "storage/dates.h"
#include "storage/money.h"
#include "storage/schema.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QUrl>

#include <atomic>
#include <cstdio>
#include <random>

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

// Codes by which the engines say that another station was in the way.
bool isContentionCode(Engine engine, const QString& code)
{
    if (engine == Engine::Postgres)
        return code == QLatin1String("40P01")     // deadlock detected
               || code == QLatin1String("40001")  // serialization failure
               || code == QLatin1String("55P03"); // lock not available
    // SQLITE_BUSY, SQLITE_LOCKED and their extended forms.
    bool ok = false;
    const int c = code.toInt(&ok);
    return ok && ((c & 0xff) == 5 || (c & 0xff) == 6);
}

DbError errorOf(Engine engine, const QSqlError& e, const QString& sql)
{
    const QString code = e.nativeErrorCode();
    return DbError(e.text(), sql, code, isContentionCode(engine, code));
}

// FNV-1a over UTF-8: the same number for a rule on every station, unlike
// qHash whose seed differs per process.
qint32 ruleNumber(const QString& rule)
{
    quint32 h = 2166136261u;
    for (const char c : rule.toUtf8()) {
        h ^= quint8(c);
        h *= 16777619u;
    }
    return qint32(h);
}

// A value as every caller expects it, whichever engine produced it.
QVariant normalised(const QVariant& v, QMetaType fieldType)
{
    if (v.isNull())
        return QVariant();
    switch (fieldType.id()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return dateText(v);
    case QMetaType::Double:
        // Every non-integer column of the schema is money (numeric(19,4));
        // PostgreSQL hands it over as exact text, SQLite as a double.
        return QVariant::fromValue(Money::fromVariant(v));
    case QMetaType::Bool:
        return v.toBool();
    default:
        return v;
    }
}

} // namespace

DbError::DbError(const QString& message, const QString& sql, const QString& code, bool contention)
    : std::runtime_error(message.toStdString()), message_(message), sql_(sql), code_(code), contention_(contention)
{
}

QString busyMessage()
{
    return QStringLiteral("其他电脑正在保存数据，本次操作没有保存，请稍后再试。");
}

DbBusy::DbBusy(const DbError& last) : DbError(busyMessage(), last.sql(), last.code(), true)
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
        // The text may carry a password: it is shown with the password hidden.
        static const QRegularExpression secret(QStringLiteral("^(postgres(?:ql)?://[^:@/]*):[^@]*@"));
        QString shown = t;
        shown.replace(secret, QStringLiteral("\\1:***@"));
        if (error)
            *error = QStringLiteral("数据库地址格式错误：%1（应为 postgresql://用户@主机:端口/数据库名）").arg(shown);
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
    registerMoneyConversions();
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
        // Another station may hold the file for a moment; wait a little, and
        // let write() start the operation again a few times after that.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1500"));
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
        // A lock another station keeps is waited for a moment, then the
        // operation starts again (write()); never an endless wait.
        q.exec(QStringLiteral("set lock_timeout = '2s'"));
    }
    return true;
}

std::unique_ptr<Db> Db::open(const DbTarget& target, QString* error)
{
    if (target.engine == Engine::Sqlite && QFileInfo(target.file).isDir()) {
        if (error)
            *error = QStringLiteral("这是一个目录，不是数据库文件：%1").arg(target.file);
        return nullptr;
    }
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
    try {
        db->exec(QStringLiteral("select 版本号 from 版本号")).finish();
        db->exec(QStringLiteral("select 用户 from 登陆 limit 1")).finish();
    } catch (const DbBusy& e) {
        // Busy is not foreign: the file is ours, another station holds it.
        if (error)
            *error = QStringLiteral("%1（%2）").arg(e.message(), target.display());
        return nullptr;
    } catch (const DbError& e) {
        if (error)
            *error = QStringLiteral("不是本系统的数据库：%1（%2）").arg(target.display(), e.message());
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
    } else if (QFileInfo(target.file).isDir()) {
        if (error)
            *error = QStringLiteral("这是一个目录，不是数据库文件，未做任何改动：%1").arg(target.file);
        return nullptr;
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
    // A statement on its own is all or nothing, so when another station is
    // in the way it can simply run again; inside a transaction the whole
    // operation must (write() does that).
    return retryingContention([&] { return execOnce(sql, binds); });
}

QSqlQuery Db::execOnce(const QString& sql, const Binds& binds)
{
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    // PostgreSQL cannot prepare statements such as CREATE DATABASE or BEGIN;
    // a statement without values has nothing to gain from preparing anyway.
    if (binds.isEmpty()) {
        if (!q.exec(sql))
            throw errorOf(engine(), q.lastError(), sql);
        return q;
    }
    if (!q.prepare(sql))
        throw errorOf(engine(), q.lastError(), sql);
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), engineValue(engine(), it.value()));
    if (!q.exec())
        throw errorOf(engine(), q.lastError(), sql);
    return q;
}

Rows Db::select(const QString& sql, const Binds& binds)
{
    QSqlQuery q = exec(sql, binds);
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    QStringList fields;
    QList<QMetaType> types;
    fields.reserve(n);
    types.reserve(n);
    for (int i = 0; i < n; ++i) {
        fields << rec.fieldName(i);
        types << rec.field(i).metaType();
    }
    QList<QVariantList> data;
    while (q.next()) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << normalised(q.value(i), types.at(i));
        data << std::move(row);
    }
    if (q.lastError().isValid())
        throw errorOf(engine(), q.lastError(), sql);
    return Rows(std::move(fields), std::move(data));
}

int Db::run(const QString& sql, const Binds& binds)
{
    QSqlQuery q = exec(sql, binds);
    const int n = q.numRowsAffected();
    q.finish();
    return n;
}

QVariant Db::scalar(const QString& sql, const Binds& binds)
{
    QSqlQuery q = exec(sql, binds);
    const QVariant v = q.next() ? q.value(0) : QVariant();
    // Read to the end, so that nothing stays pending on the connection.
    q.finish();
    return v;
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
    if (engine() == Engine::Sqlite) {
        // Plain tables only: a full-text index is a virtual table with
        // shadow tables of its own, none of them the program's.
        QSqlQuery q(handle());
        q.exec(QStringLiteral("select name from pragma_table_list where schema='main' and type='table' "
                              "and name not like 'sqlite%' order by name"));
        while (q.next())
            names << q.value(0).toString();
        return names;
    }
    for (const QString& t : handle().tables(QSql::Tables))
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
        // The Parts read a yes/no that nothing was written to as "no".
        return QStringLiteral("boolean default false");
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
}

void Db::commit()
{
    exec(QStringLiteral("commit"));
}

void Db::rollback()
{
    QString ignored;
    tryExec(QStringLiteral("rollback"), &ignored);
}

void Db::requireTransaction(const char* what) const
{
    if (!inTransaction())
        throw DbError(QStringLiteral("%1 needs an open transaction").arg(QString::fromUtf8(what)), QString());
}

void Db::serialise(const QString& rule, qint64 key)
{
    requireTransaction("serialise");
    if (engine() != Engine::Postgres)
        return;
    // Two numbers of our own, not input: no statement to prepare, and
    // nothing left to free when the wait ends the transaction.
    exec(QStringLiteral("select pg_advisory_xact_lock(%1, %2)").arg(ruleNumber(rule)).arg(qint32(key))).finish();
}

void Db::pauseBeforeRetry(int attempt)
{
    // Growing, and different per station, so that two stations that met
    // once do not meet again at the same instant.
    thread_local std::minstd_rand random{std::random_device{}()};
    const int base = 40 << (attempt - 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(base + int(random() % unsigned(base))));
}

void Db::reportContention(const DbError& e, int attempt)
{
    std::fprintf(stderr, "tongshui: another station was in the way (try %d of %d): %s\n", attempt, kWriteAttempts,
                 e.message().toLocal8Bit().constData());
}

Transaction::Transaction(Db& db) : db_(db)
{
    if (db_.depth_ == 0) {
        db_.begin();
    } else {
        savepoint_ = QStringLiteral("sp%1").arg(++db_.savepoints_);
        db_.exec(QStringLiteral("savepoint ") + savepoint_);
    }
    ++db_.depth_;
}

Transaction::~Transaction()
{
    if (done_)
        return;
    --db_.depth_;
    if (savepoint_.isEmpty()) {
        db_.rollback();
    } else {
        QString ignored;
        db_.tryExec(QStringLiteral("rollback to savepoint ") + savepoint_, &ignored);
        db_.tryExec(QStringLiteral("release savepoint ") + savepoint_, &ignored);
    }
}

void Transaction::commit()
{
    if (savepoint_.isEmpty())
        db_.commit();
    else
        db_.exec(QStringLiteral("release savepoint ") + savepoint_);
    done_ = true;
    --db_.depth_;
}

} // namespace ts
