#include "storage/schema_version.h"

#include "customers/customer_search_index.h"
#include "storage/db.h"
#include "storage/schema.h"

#include <QRegularExpression>

#include <cstdio>
#include <functional>

namespace ts {

namespace {

const QString kVersionTable = QStringLiteral("程序结构版本");

bool hasVersionTable(Db& db)
{
    return db.tableNames().contains(kVersionTable);
}

// Yes/no columns read as false when nothing was written; the Parts read them
// that way and every filter "= false" relies on it.
void defaultYesNoColumns(Db& db)
{
    for (const TableDef& t : schemaTables()) {
        QStringList columns;
        for (const ColumnDef& c : t.columns)
            if (c.kind == ColKind::YesNo)
                columns << c.name;
        if (columns.isEmpty())
            continue;
        for (const QString& c : columns)
            db.run(QStringLiteral("update %1 set %2=:no where %2 is null").arg(t.name, c), {{QStringLiteral("no"), false}});
        if (db.engine() == Engine::Postgres) {
            for (const QString& c : columns)
                db.run(QStringLiteral("alter table %1 alter column %2 set default false").arg(t.name, c));
            continue;
        }
        // SQLite has no ALTER COLUMN; a default is part of the table's text
        // in its schema, which may be changed in place since the stored rows
        // do not depend on it.
        const QString sql = db.scalar(QStringLiteral("select sql from sqlite_master where type='table' and name=:t"),
                                      {{QStringLiteral("t"), t.name}})
                                .toString();
        QString changed = sql;
        for (const QString& c : columns) {
            const QRegularExpression re(QStringLiteral("(?<=[ ,(])%1 boolean(?=\\s*[,)])")
                                            .arg(QRegularExpression::escape(c)));
            changed.replace(re, c + QStringLiteral(" boolean default false"));
        }
        if (changed == sql)
            continue;
        const int schemaVersion = db.scalar(QStringLiteral("pragma schema_version")).toInt();
        db.run(QStringLiteral("pragma writable_schema=on"));
        db.run(QStringLiteral("update sqlite_master set sql=:sql where type='table' and name=:t"),
               {{QStringLiteral("sql"), changed}, {QStringLiteral("t"), t.name}});
        db.run(QStringLiteral("pragma schema_version=%1").arg(schemaVersion + 1));
        db.run(QStringLiteral("pragma writable_schema=off"));
    }
}

QString uniqueIndexSql(const UniqueRule& u)
{
    return QStringLiteral("create unique index if not exists %1 on %2 (%3)")
        .arg(QString::fromUtf8(u.index), QString::fromUtf8(u.table), QString::fromUtf8(u.columns));
}

void createUniqueIndexes(Db& db, QStringList* skipped)
{
    for (const UniqueRule& u : uniqueRules()) {
        // Rows an earlier build let in twice keep the index from being made;
        // the rule still holds for new rows through the serialised checks.
        Transaction step(db);
        QString error;
        if (db.tryExec(uniqueIndexSql(u), &error)) {
            step.commit();
        } else {
            *skipped << QStringLiteral("%1：%2").arg(QString::fromUtf8(u.index), error);
        }
    }
}

void createIndexes(Db& db)
{
    for (const IndexDef& i : schemaIndexes())
        db.run(QStringLiteral("create %1index if not exists %2 on %3 (%4)")
                   .arg(i.unique ? QStringLiteral("unique ") : QString(), i.name, i.table, i.columns));
}

// The login repairs look for customers with a null total on every login; a
// partial index holds exactly those rows, so the look costs nothing when
// there are none.
void createNullTotalsIndex(Db& db)
{
    db.run(QStringLiteral("create index if not exists ix_kehu_null_totals on 客户资料 (Id) where %1")
               .arg(customerNullTotalsCondition()));
}

struct Step {
    int version;
    std::function<void(Db&, QStringList*)> run;
};

const QList<Step>& steps()
{
    static const QList<Step> all{
        {1,
         [](Db& db, QStringList* skipped) {
             defaultYesNoColumns(db);
             createUniqueIndexes(db, skipped);
             createIndexes(db);
             createNullTotalsIndex(db);
         }},
        // Customer searches that find a typed text anywhere in the value.
        {2, [](Db& db, QStringList*) { createSearchIndexes(db); }},
        // The order basket numbers its lines.
        {3,
         [](Db& db, QStringList*) {
             if (!db.columnNames(QStringLiteral("销售临时表")).contains(QStringLiteral("行号")))
                 db.run(QStringLiteral("alter table 销售临时表 add column 行号 %1").arg(db.typeName(ColKind::Integer, 0)));
         }},
        // The order board's day figures read each day book by its date.
        {4, [](Db& db, QStringList*) { createIndexes(db); }},
        // The customer load's indexes on a customer's lines; the one on the
        // customer alone is the first part of the new one.
        {5,
         [](Db& db, QStringList*) {
             db.run(QStringLiteral("drop index if exists ix_xiaoshou_customer"));
             createIndexes(db);
         }},
    };
    return all;
}

void storeVersion(Db& db, int version)
{
    db.run(QStringLiteral("delete from %1").arg(kVersionTable));
    db.run(QStringLiteral("insert into %1 (版本) values (:v)").arg(kVersionTable), {{QStringLiteral("v"), version}});
}

} // namespace

QString customerNullTotalsCondition()
{
    return QStringLiteral("订水总数量 is null or 订水总次数 is null or 订水总金额 is null or 预付款剩余 is null or 积分 is null");
}

void createProgramIndexes(Db& db)
{
    createIndexes(db);
    for (const UniqueRule& u : uniqueRules())
        db.run(uniqueIndexSql(u));
    createNullTotalsIndex(db);
}

const QList<UniqueRule>& uniqueRules()
{
    static const QList<UniqueRule> rules{
        {"ux_products_name", "产品列表", "产品名称"},
        {"ux_product_types", "商品类型", "类型"},
        {"ux_customer_types", "客户类型", "客户类型"},
        {"ux_districts", "区域", "区域"},
        {"ux_sub_districts", "小区域", "区域, 小区域"},
        {"ux_workers", "员工列表", "姓名"},
        {"ux_salespeople", "业务员表", "姓名"},
        {"ux_operators", "登陆", "用户"},
        {"ux_special_prices", "特价表", "客户编号, 产品名称"},
        {"ux_ticket_balances", "客户水票总表", "客户编号, 产品名称"},
        {"ux_ticket_stock", "水票库存表", "商品名称"},
    };
    return rules;
}

int newestProgramSchemaVersion()
{
    return steps().isEmpty() ? 0 : steps().last().version;
}

int programSchemaVersion(Db& db)
{
    if (!hasVersionTable(db))
        return 0;
    return db.scalar(QStringLiteral("select max(版本) from %1").arg(kVersionTable)).toInt();
}

SchemaVersionResult upgradeProgramSchema(Db& db)
{
    SchemaVersionResult r;
    r.from = r.to = programSchemaVersion(db);
    if (r.from >= newestProgramSchemaVersion())
        return r;  // nothing to do: no write, no lock another station waits for
    db.write([&] {
        r.skipped.clear();
        // Two stations starting at once: the second finds the work done.
        db.serialise(kVersionTable);
        if (!hasVersionTable(db))
            db.run(QStringLiteral("create table %1 (版本 integer)").arg(kVersionTable));
        r.from = programSchemaVersion(db);
        for (const Step& s : steps())
            if (s.version > r.from)
                s.run(db, &r.skipped);
        r.to = newestProgramSchemaVersion();
        storeVersion(db, r.to);
    });
    for (const QString& s : r.skipped)
        std::fprintf(stderr, "tongshui: schema version %d: skipped %s\n", r.to, s.toLocal8Bit().constData());
    return r;
}

void recordProgramSchemaVersion(Db& db)
{
    db.requireTransaction("recordProgramSchemaVersion");
    storeVersion(db, newestProgramSchemaVersion());
}

} // namespace ts
