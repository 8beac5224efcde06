#include "stock/product_types.h"
#include "support/test_db.h"

#include <QSqlQuery>

using namespace ts;
using ts::test::DbTest;

class ProductTypesTest : public DbTest {
protected:
    // Type → key, in list order.
    QList<std::pair<QString, QString>> rows()
    {
        QList<std::pair<QString, QString>> out;
        const Rows q = ProductTypes(db()).list();
        for (int r = 0; r < q.size(); ++r)
            out.append({q.value(r, 1).toString(), q.value(r, 0).toString()});
        return out;
    }
    QString keyOf(const QString& type)
    {
        for (const auto& [t, k] : rows())
            if (t == type)
                return k;
        return {};
    }
};

TEST_P(ProductTypesTest, AddRefusesEmptyAndDuplicateTexts)
{
    ProductTypes types(db());
    struct Case {
        const char* type;
        const char* message;  // empty: added
    };
    const Case cases[] = {
        // A new database starts with the two reserved types.
        {"", "请输入添加的商品类型"},
        {"水", "已有重复的类型！！"},
        {"水 ", ""},  // the engine's text equality: a trailing blank is another text
        {"桶装水", ""},
    };
    for (const Case& c : cases) {
        const Outcome r = types.add(QString::fromUtf8(c.type));
        EXPECT_EQ(r.ok, *c.message == '\0') << c.type;
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << c.type;
    }
    QStringList names;
    for (const auto& row : rows())
        names << row.first;
    EXPECT_EQ(names, QStringList({"水", "饮水机", "水 ", "桶装水"}));
}

TEST_P(ProductTypesTest, ReservedTypesCannotBeDeletedOthersCan)
{
    ProductTypes types(db());
    ASSERT_TRUE(types.add(QStringLiteral("配件")).ok);

    EXPECT_EQ(ProductTypes::checkRemovable("水").message, "水为保留关键字，不能删除");
    EXPECT_EQ(ProductTypes::checkRemovable("饮水机").message, "饮水机为保留关键字，不能删除");
    EXPECT_TRUE(ProductTypes::checkRemovable("配件").ok);

    const Outcome refused = types.remove(keyOf("水"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "水为保留关键字，不能删除");
    EXPECT_FALSE(types.remove(keyOf("饮水机")).ok);
    EXPECT_TRUE(types.remove(keyOf("配件")).ok);

    QStringList names;
    for (const auto& row : rows())
        names << row.first;
    EXPECT_EQ(names, QStringList({"水", "饮水机"}));
}

TEST_P(ProductTypesTest, RemoveTakesOnlyTheRowOfItsKey)
{
    // Two equal rows can only come from older data; deleting one leaves the other.
    db().exec("drop index ux_product_types");
    db().exec("delete from 商品类型");
    db().exec("insert into 商品类型 (类型) values ('配件')");
    db().exec("insert into 商品类型 (类型) values ('配件')");
    db().exec("insert into 商品类型 (类型) values ('桶')");
    ProductTypes types(db());
    ASSERT_TRUE(types.remove(rows().at(0).second).ok);
    EXPECT_EQ(db().scalar("select count(*) from 商品类型 where 类型='配件'").toInt(), 1);
    EXPECT_EQ(db().scalar("select count(*) from 商品类型").toInt(), 2);
    // A key whose row is gone changes nothing.
    const QString gone = keyOf("桶");
    ASSERT_TRUE(types.remove(gone).ok);
    EXPECT_TRUE(types.remove(gone).ok);
    EXPECT_EQ(db().scalar("select count(*) from 商品类型").toInt(), 1);
}

TS_BOTH_ENGINES(ProductTypesTest);
