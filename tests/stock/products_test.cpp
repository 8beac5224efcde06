#include "stock/products.h"
#include "storage/money.h"
#include "support/test_db.h"

#include <QSqlQuery>

using namespace ts;
using ts::test::DbTest;

namespace {

ProductInput water(const QString& name = QStringLiteral("纯净水"))
{
    ProductInput p;
    p.name = name;
    p.unit = QStringLiteral("桶");
    p.price = QStringLiteral("12.5");
    p.commission = QStringLiteral("0.8");
    p.purchasePrice = QStringLiteral("6");
    p.ticketPrice = QStringLiteral("10");
    p.type = QStringLiteral("水");
    p.code = QStringLiteral("CJS");
    return p;
}

} // namespace

class ProductCatalogTest : public DbTest {
protected:
    qint64 addProduct(const ProductInput& p)
    {
        qint64 id = 0;
        const Outcome r = ProductCatalog(db()).add(p, &id);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        return id;
    }
    qint64 count(const QString& sql, const Binds& b = {}) { return db().scalar(sql, b).toLongLong(); }
};

TEST_P(ProductCatalogTest, AddWritesEveryColumnExactlyAndReadGivesTheInputBack)
{
    const qint64 id = addProduct(water());
    ASSERT_GT(id, 0);
    QSqlQuery q = db().exec("select 产品编号, 产品类型, 产品名称, 产品单位, 单价, 进货价, 水票优惠单价, 业务员提成 "
                            "from 产品列表 where id=:id",
                            {{"id", id}});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "CJS");
    EXPECT_EQ(q.value(1).toString(), "水");
    EXPECT_EQ(q.value(2).toString(), "纯净水");
    EXPECT_EQ(q.value(3).toString(), "桶");
    EXPECT_EQ(Money::fromVariant(q.value(4)), Money::fromUnits(125000));
    EXPECT_EQ(Money::fromVariant(q.value(5)), Money::yuan(6));
    EXPECT_EQ(Money::fromVariant(q.value(6)), Money::yuan(10));
    EXPECT_EQ(Money::fromVariant(q.value(7)), Money::fromUnits(8000));
    q.finish();

    const auto back = ProductCatalog(db()).read(id);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, water());
}

TEST_P(ProductCatalogTest, EmptyOptionalAmountsStayEmpty)
{
    ProductInput p = water();
    p.price.clear();
    p.purchasePrice.clear();
    p.ticketPrice.clear();
    const qint64 id = addProduct(p);
    EXPECT_EQ(count("select count(*) from 产品列表 where id=:id and 单价 is null and 进货价 is null "
                    "and 水票优惠单价 is null",
                    {{"id", id}}),
              1);
    EXPECT_EQ(*ProductCatalog(db()).read(id), p);
}

TEST_P(ProductCatalogTest, ConfirmChecksInOrderAndWritesNothingWhenRefused)
{
    addProduct(water());
    struct Case {
        const char* field;
        const char* value;
        const char* message;
    };
    // Each case breaks one input of an otherwise valid product; the first
    // cases break several, to show which check comes first.
    const Case cases[] = {
        {"code+commission", "", "请填写产品自编码，方便订水时快速查询！！"},
        {"commission+type", "", "请填写业务员提成！！"},
        {"type", "", "请填写产品类型！！"},
        {"name", "  ", "请填写产品名称！！"},
        {"name", "纯净水", "此产品名称已经存在！！"},
        {"name", " 纯净水 ", "此产品名称已经存在！！"},
        {"price", "12元", "销售单价必须填写数字！！"},
        {"commission", "1.2.3", "送水员提成必须填写数字！！"},
        {"purchase", "abc", "进货单价必须填写数字！！"},
        {"ticket", "x", "水票优惠单价必须填写数字！！"},
    };
    for (const Case& c : cases) {
        ProductInput p = water(QStringLiteral("矿泉水"));
        const QString field = QString::fromUtf8(c.field);
        const QString value = QString::fromUtf8(c.value);
        if (field.contains("code"))
            p.code = value;
        if (field.contains("commission"))
            p.commission = value;
        if (field.contains("type"))
            p.type = value;
        if (field == "name")
            p.name = value;
        if (field == "price")
            p.price = value;
        if (field == "purchase")
            p.purchasePrice = value;
        if (field == "ticket")
            p.ticketPrice = value;
        const Outcome r = ProductCatalog(db()).add(p);
        EXPECT_FALSE(r.ok) << c.field;
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << c.field;
    }
    EXPECT_EQ(count("select count(*) from 产品列表"), 1);
}

TEST_P(ProductCatalogTest, NameIsTrimmedAndRenamingOntoAnotherProductIsRefused)
{
    const qint64 a = addProduct(water(QStringLiteral(" 纯净水 ")));
    const qint64 b = addProduct(water(QStringLiteral("矿泉水")));
    EXPECT_EQ(ProductCatalog(db()).read(a)->name, "纯净水");

    const Outcome clash = ProductCatalog(db()).update(b, water(QStringLiteral("纯净水")));
    EXPECT_FALSE(clash.ok);
    EXPECT_EQ(clash.message, "此产品名称已经存在！！");
    EXPECT_EQ(ProductCatalog(db()).read(b)->name, "矿泉水");

    // Keeping its own name is no clash.
    ProductInput same = water(QStringLiteral("矿泉水"));
    same.price = QStringLiteral("15");
    EXPECT_TRUE(ProductCatalog(db()).update(b, same).ok);
    EXPECT_EQ(ProductCatalog(db()).read(b)->price, "15");
}

TEST_P(ProductCatalogTest, RenamingChangesOnlyTheProductList)
{
    const qint64 id = addProduct(water());
    db().exec("insert into 库存总表 (库房名称, 产品名称, 数量) values ('一号库', '纯净水', 20)");
    db().exec("insert into 产品销售开票 (产品名称, 数量) values ('纯净水', 2)");
    ASSERT_TRUE(ProductCatalog(db()).update(id, water(QStringLiteral("山泉水"))).ok);
    EXPECT_EQ(ProductCatalog(db()).read(id)->name, "山泉水");
    EXPECT_EQ(count("select count(*) from 库存总表 where 产品名称='纯净水'"), 1);
    EXPECT_EQ(count("select count(*) from 产品销售开票 where 产品名称='纯净水'"), 1);
}

TEST_P(ProductCatalogTest, RemoveTakesExactlyThatProductsStockRowsAndKeepsHistory)
{
    const qint64 id = addProduct(water());
    addProduct(water(QStringLiteral("矿泉水")));
    for (const char* sql : {
             "insert into 库存总表 (库房名称, 产品名称, 数量) values ('一号库', '纯净水', 20)",
             "insert into 库存总表 (库房名称, 产品名称, 数量) values ('二号库', '纯净水', 5)",
             "insert into 库存总表 (库房名称, 产品名称, 数量) values ('一号库', '矿泉水', 7)",
             "insert into 空桶库存表 (库房名称, 产品名称, 数量) values ('一号库', '纯净水', 3)",
             "insert into 空桶库存表 (库房名称, 产品名称, 数量) values ('一号库', '矿泉水', 4)",
             "insert into 产品销售开票 (产品名称, 数量) values ('纯净水', 2)",
             "insert into 入库明细表 (产品名称, 数量) values ('纯净水', 20)",
             "insert into 客户水票总表 (产品名称, 还剩数量) values ('纯净水', 9)",
         })
        db().exec(QString::fromUtf8(sql));

    ASSERT_TRUE(ProductCatalog(db()).remove(id).ok);
    EXPECT_FALSE(ProductCatalog(db()).read(id).has_value());
    EXPECT_EQ(count("select count(*) from 库存总表 where 产品名称='纯净水'"), 0);
    EXPECT_EQ(count("select count(*) from 空桶库存表 where 产品名称='纯净水'"), 0);
    EXPECT_EQ(count("select sum(数量) from 库存总表 where 产品名称='矿泉水'"), 7);
    EXPECT_EQ(count("select sum(数量) from 空桶库存表 where 产品名称='矿泉水'"), 4);
    EXPECT_EQ(count("select count(*) from 产品列表 where 产品名称='矿泉水'"), 1);
    EXPECT_EQ(count("select count(*) from 产品销售开票"), 1);
    EXPECT_EQ(count("select count(*) from 入库明细表"), 1);
    EXPECT_EQ(count("select count(*) from 客户水票总表"), 1);
}

TEST_P(ProductCatalogTest, RemoveIsAllOrNothing)
{
    const qint64 id = addProduct(water());
    db().exec("insert into 库存总表 (库房名称, 产品名称, 数量) values ('一号库', '纯净水', 20)");
    // The empty-bucket table cannot be written: the second delete fails after
    // the first one ran.
    db().exec("alter table 空桶库存表 rename to 空桶库存表_x");
    EXPECT_THROW(ProductCatalog(db()).remove(id), DbError);
    db().exec("alter table 空桶库存表_x rename to 空桶库存表");
    EXPECT_EQ(count("select count(*) from 库存总表 where 产品名称='纯净水'"), 1);
    EXPECT_TRUE(ProductCatalog(db()).read(id).has_value());
}

TEST_P(ProductCatalogTest, TypeNamesComeFromTheTypeTable)
{
    // A new database starts with the reserved types.
    EXPECT_EQ(ProductCatalog(db()).typeNames(), QStringList({"水", "饮水机"}));
    db().exec("insert into 商品类型 (类型) values ('配件')");
    EXPECT_EQ(ProductCatalog(db()).typeNames(), QStringList({"水", "饮水机", "配件"}));
}

TS_BOTH_ENGINES(ProductCatalogTest);
