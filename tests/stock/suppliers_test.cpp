#include "stock/suppliers.h"
#include "support/test_db.h"

#include <QSqlQuery>

using namespace ts;
using ts::test::DbTest;

class SupplierListTest : public DbTest {
protected:
    QStringList keys()
    {
        QStringList out;
        const Rows q = SupplierList(db()).list();
        for (int r = 0; r < q.size(); ++r)
            out << q.value(r, 0).toString();
        return out;
    }
    QStringList names()
    {
        QStringList out;
        const Rows q = SupplierList(db()).list();
        for (int r = 0; r < q.size(); ++r)
            out << q.value(r, 1).toString();
        return out;
    }
};

TEST_P(SupplierListTest, AddUpdateRemoveTouchOneRow)
{
    SupplierList list(db());
    const Supplier a{"清泉水厂", "张三", "010-1234", "13800000001", "北京路1号"};
    const Supplier b{"山泉公司", "李四", "", "", ""};
    list.add(a);
    list.add(b);
    list.add(b);  // the same address twice is allowed
    ASSERT_EQ(names(), QStringList({"清泉水厂", "山泉公司", "山泉公司"}));
    EXPECT_EQ(list.read(keys().at(0)), a);

    const Supplier b2{"山泉公司", "王五", "020-9", "139", "南京路"};
    ASSERT_TRUE(list.update(keys().at(2), b2).ok);
    EXPECT_EQ(list.read(keys().at(1)), b);
    EXPECT_EQ(list.read(keys().at(2)), b2);

    list.remove(keys().at(1));
    ASSERT_EQ(keys().size(), 2);
    EXPECT_EQ(list.read(keys().at(0)), a);
    EXPECT_EQ(list.read(keys().at(1)), b2);
}

TEST_P(SupplierListTest, UpdatingARowThatIsGoneIsRefused)
{
    SupplierList list(db());
    list.add({"清泉水厂", "", "", "", ""});
    const QString key = keys().at(0);
    list.remove(key);
    const Outcome r = list.update(key, {"新水厂", "", "", "", ""});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "该供货商已被删除或修改，请重新打开供货商列表！！");
    EXPECT_TRUE(names().isEmpty());
}

TS_BOTH_ENGINES(SupplierListTest);
