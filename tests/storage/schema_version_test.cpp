#include "app/startup.h"
#include "customers/customer_search_index.h"
#include "storage/db.h"
#include "storage/schema_version.h"
#include "support/test_db.h"

#include <QDir>
#include <QFile>

using namespace ts;
using ts::test::DbTest;

namespace {

// What an earlier build's database lacks and the newest build relies on.
void expectUpToDate(Db& db)
{
    EXPECT_EQ(programSchemaVersion(db), newestProgramSchemaVersion());
    // A line written without its yes/no states reads them as "no".
    db.run("insert into 产品销售开票 (单据编号, 产品名称) values ('202612110002', '纯净水')");
    const Rows r = db.select("select 发货完毕, 交款完毕, 是否预约 from 产品销售开票 where 单据编号='202612110002'");
    ASSERT_EQ(r.size(), 1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_FALSE(r.value(0, c).isNull()) << c;
        EXPECT_FALSE(r.value(0, c).toBool()) << c;
    }
    EXPECT_EQ(db.scalar("select count(*) from 产品销售开票 where 交款完毕 is null").toInt(), 0);
    // One product per name is now the database's own rule too.
    EXPECT_THROW(db.run("insert into 产品列表 (产品名称) values ('纯净水')"), DbError);
    // Customers written before the search index existed are found through it.
    ContainsSearch search(db.engine());
    search.add(QStringLiteral("客户姓名"), QStringLiteral("n"), QStringLiteral("张三丰"));
    search.add(QStringLiteral("联系电话"), QStringLiteral("p"), QStringLiteral("1234"));
    const Rows found =
        db.select(QStringLiteral("select 客户姓名 from 客户资料 where 1=1") + search.conditions(), search.binds());
    EXPECT_EQ(found.texts("客户姓名"), QStringList{"张三丰"});
    // The customer load's indexes on his lines, in place of the one on the
    // customer alone.
    const QString indexes = db.engine() == Engine::Sqlite
                                ? QStringLiteral("select name from sqlite_master where tbl_name='产品销售开票' and type='index'")
                                : QStringLiteral("select indexname from pg_indexes where tablename='产品销售开票'");
    const QStringList names = db.select(indexes).texts(0);
    EXPECT_TRUE(names.contains("ix_xiaoshou_customer_id")) << names.join(' ').toStdString();
    EXPECT_TRUE(names.contains("ix_xiaoshou_customer_iou")) << names.join(' ').toStdString();
    EXPECT_FALSE(names.contains("ix_xiaoshou_customer")) << names.join(' ').toStdString();
}

} // namespace

TEST(ProgramSchema, ADatabaseOfAnEarlierBuildIsBroughtUpToDateAtStart)
{
    QTemporaryDir program, working;
    const QString file = QDir(working.path()).filePath(kDatabaseFileName);
    ASSERT_TRUE(QFile::copy(QStringLiteral(TS_FIXTURES "/earlier_build.db"), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);

    OpenedDatabase opened = openProgramDatabase(program.path(), working.path(), std::nullopt);
    ASSERT_TRUE(opened.db) << opened.detail.toStdString();
    EXPECT_TRUE(opened.upgradeFailures.isEmpty()) << opened.upgradeFailures.join('\n').toStdString();
    // The rows that were there stay as they were, with their unset states now "no".
    EXPECT_EQ(opened.db->scalar("select 客户姓名 from 客户资料").toString(), "张三丰");
    EXPECT_EQ(opened.db->scalar("select 发货完毕 from 产品销售开票 where 单据编号='202612110001'").toBool(), true);
    EXPECT_EQ(opened.db->scalar("select count(*) from 产品销售开票 where 单据编号='202612110001' and 交款完毕=:no",
                                {{"no", false}})
                  .toInt(),
              1);
    expectUpToDate(*opened.db);
    opened.db.reset();

    // Opening again writes nothing: another station holding the write lock
    // does not keep this one from starting.
    auto holder = Db::open(*DbTarget::parse(file, nullptr), nullptr);
    ASSERT_TRUE(holder);
    holder->run("begin immediate");
    OpenedDatabase again = openProgramDatabase(program.path(), working.path(), std::nullopt);
    EXPECT_TRUE(again.db) << again.detail.toStdString();
    holder->run("rollback");
}

class ProgramSchemaTest : public DbTest {};

TEST_P(ProgramSchemaTest, UpgradeAddsDefaultsAndIndexesAndSkipsWhatOldRowsForbid)
{
    // Make the fresh database look like an earlier build's: no defaults, no
    // unique indexes, no version; and two products of one name.
    const bool pg = db().engine() == Engine::Postgres;
    for (const UniqueRule& u : uniqueRules())
        db().run(QStringLiteral("drop index %1").arg(QString::fromUtf8(u.index)));
    if (pg) {
        for (const char* c : {"发货完毕", "交款完毕", "是否预约"})
            db().run(QStringLiteral("alter table 产品销售开票 alter column %1 drop default").arg(QString::fromUtf8(c)));
    }
    db().run("delete from 程序结构版本");
    db().run("insert into 产品列表 (产品名称) values ('矿泉水')");
    db().run("insert into 产品列表 (产品名称) values ('矿泉水')");
    db().run("insert into 产品列表 (产品名称) values ('纯净水')");
    db().run("insert into 产品销售开票 (单据编号, 交款完毕) values ('202612110001', null)");
    ASSERT_EQ(programSchemaVersion(db()), 0);

    const SchemaVersionResult r = upgradeProgramSchema(db());
    EXPECT_EQ(r.from, 0);
    EXPECT_EQ(r.to, newestProgramSchemaVersion());
    ASSERT_EQ(r.skipped.size(), 1);
    EXPECT_TRUE(r.skipped.first().startsWith("ux_products_name")) << r.skipped.first().toStdString();
    EXPECT_EQ(db().scalar("select count(*) from 产品销售开票 where 交款完毕 is null").toInt(), 0);
    // The other rules hold as indexes now.
    db().run("insert into 商品类型 (类型) values ('配件')");
    EXPECT_THROW(db().run("insert into 商品类型 (类型) values ('配件')"), DbError);
    if (pg) {
        db().run("insert into 产品销售开票 (单据编号) values ('202612110003')");
        EXPECT_EQ(db().scalar("select count(*) from 产品销售开票 where 单据编号='202612110003' and 交款完毕=false").toInt(), 1);
    }
    // Once there, nothing more runs.
    const SchemaVersionResult again = upgradeProgramSchema(db());
    EXPECT_EQ(again.from, again.to);
    EXPECT_TRUE(again.skipped.isEmpty());
}

TEST_P(ProgramSchemaTest, ANewDatabaseStartsAtTheNewestVersion)
{
    EXPECT_EQ(programSchemaVersion(db()), newestProgramSchemaVersion());
    db().run("insert into 产品列表 (产品名称) values ('纯净水')");
    db().run("insert into 客户资料 (客户姓名, 联系电话) values ('张三丰', '13912345678')");
    expectUpToDate(db());
}

TS_BOTH_ENGINES(ProgramSchemaTest);
