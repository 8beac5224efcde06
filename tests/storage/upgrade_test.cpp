#include "storage/upgrade.h"
#include "support/test_db.h"

using namespace ts;
using ts::test::DbTest;

class UpgradeTest : public DbTest {
protected:
    void addStatement(int version, const QString& sql)
    {
        db().exec(QStringLiteral("insert into 命令表 (版本号, sql语句) values (:v, :s)"), {{"v", version}, {"s", sql}});
    }
    void setVersion(const QString& v)
    {
        db().exec(QStringLiteral("update 版本号 set 版本号=:v"), {{"v", v}});
    }
    QString version() { return db().scalar(QStringLiteral("select 版本号 from 版本号")).toString(); }
};

TEST_P(UpgradeTest, RunsOnlyNewerStatementsInOrderAndStoresTheTarget)
{
    // Statements write their version into 收入类别 so the order they ran in shows.
    addStatement(3, QStringLiteral("insert into 收入类别 (收入类别) values ('v3')"));
    addStatement(2, QStringLiteral("insert into 收入类别 (收入类别) values ('v2')"));
    addStatement(1, QStringLiteral("insert into 收入类别 (收入类别) values ('v1')"));
    addStatement(2, QStringLiteral("insert into no_such_table values (1)"));
    addStatement(2, QStringLiteral("insert into 收入类别 (收入类别) values ('v2b')"));
    setVersion(QStringLiteral("1"));

    const UpgradeResult r = runSchemaUpgrade(db());
    EXPECT_EQ(r.fromVersion, "1");
    EXPECT_EQ(r.toVersion, "3");
    EXPECT_EQ(r.ran, 3);
    ASSERT_EQ(r.failures.size(), 1);
    EXPECT_TRUE(r.failures.first().startsWith(QStringLiteral("版本 2"))) << r.failures.first().toStdString();
    EXPECT_EQ(version(), "3");

    QStringList ran;
    QSqlQuery q = db().exec(QStringLiteral("select 收入类别 from 收入类别"));
    while (q.next())
        ran << q.value(0).toString();
    q.finish();
    EXPECT_EQ(ran, (QStringList{"v2", "v2b", "v3"}));

    // Nothing newer: runs nothing and writes the same version back.
    const UpgradeResult again = runSchemaUpgrade(db());
    EXPECT_EQ(again.ran, 0);
    EXPECT_EQ(version(), "3");
}

TEST_P(UpgradeTest, DottedVersionsAndEmptyTable)
{
    // An empty statement table runs nothing and stores an empty version.
    const UpgradeResult empty = runSchemaUpgrade(db());
    EXPECT_EQ(empty.ran, 0);
    EXPECT_EQ(version(), "");

    addStatement(20110308, QStringLiteral("insert into 收入类别 (收入类别) values ('x')"));
    setVersion(QStringLiteral("2010.12.01"));
    const UpgradeResult r = runSchemaUpgrade(db());
    EXPECT_EQ(r.ran, 1);
    EXPECT_EQ(version(), "20110308");
}

TS_BOTH_ENGINES(UpgradeTest);
