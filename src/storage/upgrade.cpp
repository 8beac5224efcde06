#include "storage/upgrade.h"

#include <QSqlQuery>

#include <algorithm>

namespace ts {

QList<UpgradeStatement> knownUpgrades(Engine)
{
    // Version 1 is the schema as the table definitions give it.
    return {};
}

namespace {

QString withoutDots(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString().remove(QLatin1Char('.')).trimmed();
}

void insertStatement(Db& db, const UpgradeStatement& s)
{
    db.exec(QStringLiteral("insert into 命令表 (版本号, sql语句) values (:v, :s)"),
            {{QStringLiteral("v"), s.version}, {QStringLiteral("s"), s.sql}});
}

} // namespace

void registerKnownUpgrades(Db& db)
{
    const int newest = db.scalar(QStringLiteral("select max(版本号) from 命令表")).toInt();
    const auto statements = knownUpgrades(db.engine());
    bool any = false;
    for (const UpgradeStatement& s : statements)
        any = any || s.version > newest;
    if (!any)
        return;
    Transaction tx(db);
    for (const UpgradeStatement& s : statements)
        if (s.version > newest)
            insertStatement(db, s);
    tx.commit();
}

void recordKnownUpgrades(Db& db)
{
    int newest = 0;
    for (const UpgradeStatement& s : knownUpgrades(db.engine())) {
        insertStatement(db, s);
        newest = std::max(newest, s.version);
    }
    db.exec(QStringLiteral("delete from 版本号"));
    db.exec(QStringLiteral("insert into 版本号 (版本号) values (:v)"),
            {{QStringLiteral("v"), newest > 0 ? QString::number(newest) : QString()}});
}

UpgradeResult runSchemaUpgrade(Db& db)
{
    UpgradeResult r;
    r.toVersion = withoutDots(db.scalar(QStringLiteral("select max(版本号) as cc from 命令表")));
    r.fromVersion = withoutDots(db.scalar(QStringLiteral("select 版本号 from 版本号 limit 1")));

    // Versions compare as whole numbers; an empty current version is older
    // than any statement, an empty target means there is nothing to run.
    bool okFrom = false;
    const qlonglong from = r.fromVersion.toLongLong(&okFrom);
    const qlonglong to = r.toVersion.toLongLong();
    // Nothing newer: no write, so a start never waits for another station.
    if (r.fromVersion == r.toVersion)
        return r;

    Transaction tx(db);
    if (!r.toVersion.isEmpty()) {
        const Rows q = db.select(QStringLiteral("select 版本号, sql语句 from 命令表 where 版本号>:v1 and 版本号<=:v2"),
                                 {{QStringLiteral("v1"), okFrom ? from : 0LL}, {QStringLiteral("v2"), to}});
        QList<std::pair<int, QString>> statements;
        for (int i = 0; i < q.size(); ++i)
            statements.append({q.value(i, 0).toInt(), q.value(i, 1).toString()});
        // Version order, and within one version the order the rows were
        // written in, which is the order their author meant.
        std::stable_sort(statements.begin(), statements.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [version, sql] : statements) {
            // A refused statement is skipped; the savepoint keeps it from
            // spoiling the rest (PostgreSQL aborts a transaction on error).
            db.exec(QStringLiteral("savepoint upgrade_step"));
            QString error;
            if (db.tryExec(sql, &error)) {
                db.exec(QStringLiteral("release savepoint upgrade_step"));
                ++r.ran;
            } else {
                db.exec(QStringLiteral("rollback to savepoint upgrade_step"));
                db.exec(QStringLiteral("release savepoint upgrade_step"));
                r.failures << QStringLiteral("版本 %1：%2").arg(version).arg(error);
            }
        }
    }
    db.exec(QStringLiteral("delete from 版本号"));
    db.exec(QStringLiteral("insert into 版本号 (版本号) values (:v)"), {{QStringLiteral("v"), r.toVersion}});
    tx.commit();
    return r;
}

} // namespace ts
