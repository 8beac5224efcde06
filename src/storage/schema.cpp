#include "storage/schema.h"

#include "customers/customer_search_index.h"
#include "storage/passwords.h"
#include "storage/schema_version.h"
#include "storage/upgrade.h"

#include <QStringList>

namespace ts {

QString fullRights()
{
    return QString(31, QLatin1Char('1'));
}

namespace {

QString createTableSql(const Db& db, const TableDef& t)
{
    QStringList cols;
    for (const ColumnDef& c : t.columns)
        cols << c.name + QLatin1Char(' ') + db.typeName(c.kind, c.width);
    return QStringLiteral("create table %1 (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
}

} // namespace

void createSchema(Db& db)
{
    Transaction tx(db);
    for (const TableDef& t : schemaTables())
        db.exec(createTableSql(db, t));
    createProgramIndexes(db);
    createSearchIndexes(db);

    // The settings tables are only ever read and updated, never inserted
    // into, so each needs its one row from the start. No caller-ID box and
    // no recording box until the operator chooses one at login.
    db.exec(QStringLiteral("insert into 提成方式 (方式) values ('产品')"));
    db.exec(QStringLiteral("insert into 串口编号 (编号) values (0)"));
    db.exec(QStringLiteral("insert into 来电路数 (路数) values ('MODEM')"));
    db.exec(QStringLiteral("insert into 录音设备 (录音设备, 路数) values ('', 1)"));
    db.exec(QStringLiteral("insert into 颜色显示 (需要颜色) values (:on)"), {{QStringLiteral("on"), true}});
    db.exec(QStringLiteral("insert into 未订水提醒天数 (超时天数, 包含未订水) values (0, :off)"),
            {{QStringLiteral("off"), false}});
    db.exec(QStringLiteral("insert into 预约设置 (提前分钟, 间隔分钟) values (0, 10)"));
    db.exec(QStringLiteral("insert into 饮水机清洗提醒 (天数) values (0)"));
    // Other windows look for these two product types by name; they cannot be
    // deleted, so a new station starts with them.
    db.exec(QStringLiteral("insert into 商品类型 (类型) values ('水')"));
    db.exec(QStringLiteral("insert into 商品类型 (类型) values ('饮水机')"));

    Binds admin{{QStringLiteral("u"), QStringLiteral("admin")},
                {QStringLiteral("p"), hashPassword(kInitialAdminPassword)},
                {QStringLiteral("r"), fullRights()}};
    db.exec(QStringLiteral("insert into 登陆 (用户, 密码, 权限, right1, right2, right3, right4, right5, right6, "
                           "right7, right8, right9) values (:u, :p, '', :r, :r, :r, :r, :r, :r, :r, :r, :r)"),
            admin);

    // The schema just written already is the newest: record the program's
    // upgrade statements as done so that the first start runs none of them.
    recordKnownUpgrades(db);
    recordProgramSchemaVersion(db);
    tx.commit();
}

} // namespace ts
