#include "session/operators.h"
#include "storage/passwords.h"
#include "support/test_db.h"

using namespace ts;
using ts::test::DbTest;

class OperatorsTest : public DbTest {
protected:
    QString stored(const QString& user)
    {
        return db().scalar("select 密码 from 登陆 where 用户=:u", {{"u", user}}).toString();
    }
};

TEST_P(OperatorsTest, GroupRightsAreOneCharacterPerItem)
{
    Operators ops(db());
    ASSERT_TRUE(ops.add("小李", "pw", "pw"));
    const RightsGroup& stock = rightsGroups().at(5);
    ASSERT_EQ(stock.name, "库存管理");
    QList<bool> checks(stock.items.size(), false);
    checks[2] = true;  // 产品库存查询
    EXPECT_EQ(ops.setGroupRights("小李", stock.number, checks), "00100");
    const QStringList rights = ops.rights("小李");
    EXPECT_EQ(rights.at(5), "00100");
    EXPECT_EQ(rights.at(0), noRights());
    // The item counts of the groups are what the main window's positions expect.
    QList<int> sizes;
    for (const RightsGroup& g : rightsGroups())
        sizes << g.items.size();
    EXPECT_EQ(sizes, (QList<int>{8, 16, 31, 4, 8, 5, 12, 6, 2}));
}

TEST_P(OperatorsTest, NewOperatorChecksAndNoRights)
{
    Operators ops(db());
    struct Case {
        const char* name;
        const char* pw;
        const char* repeat;
        const char* message;
    };
    const Case cases[] = {
        {"", "a", "a", "请输入用户名"},
        {"小张", "", "", "请输入密码"},
        {"小张", "a", "b", "两次密码输入的不一致！！"},
        {"admin", "a", "a", "此用户名已经存在！！"},
        {"小张", "a", "a", ""},
    };
    for (const Case& c : cases) {
        const Outcome r = ops.add(QString::fromUtf8(c.name), QString::fromUtf8(c.pw), QString::fromUtf8(c.repeat));
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(r.ok, *c.message == '\0');
    }
    EXPECT_EQ(ops.list().size(), 2);
    EXPECT_EQ(ops.rights("小张"), QStringList(9, noRights()));
    EXPECT_TRUE(isPasswordHash(stored("小张")));
    EXPECT_TRUE(ops.authenticate("小张", "a").has_value());
    EXPECT_FALSE(ops.authenticate("小张", "b").has_value());
}

TEST_P(OperatorsTest, StoredPasswordsAreHashesAndPlainOnesAreUpgradedOnLogin)
{
    EXPECT_TRUE(isPasswordHash(stored("admin")));
    EXPECT_NE(stored("admin"), "admin");

    db().exec("insert into 登陆 (用户, 密码, right1) values ('老王', '8888', '1')");
    Operators ops(db());
    EXPECT_FALSE(ops.authenticate("老王", "888").has_value());
    EXPECT_EQ(stored("老王"), "8888");  // a failed try changes nothing
    const auto rights = ops.authenticate("老王", "8888");
    ASSERT_TRUE(rights.has_value());
    EXPECT_EQ(rights->at(0), "1");
    EXPECT_TRUE(isPasswordHash(stored("老王")));
    EXPECT_TRUE(ops.authenticate("老王", "8888").has_value());
}

TEST_P(OperatorsTest, ChangeKeepsRightsAndRefusesTakenNames)
{
    Operators ops(db());
    ASSERT_TRUE(ops.add("小张", "a", "a"));
    ops.setGroupRights("小张", 9, {true, false});
    const qint64 id = ops.find("小张")->id;
    const QString hashBefore = stored("小张");

    EXPECT_EQ(ops.change(id, "admin", "", "").message, "此用户名已经存在！！");
    EXPECT_EQ(ops.change(id, "", "", "").message, "请输入用户名");
    EXPECT_EQ(ops.change(id, "小张", "x", "y").message, "两次密码输入的不一致！！");

    const Outcome renamed = ops.change(id, "张三", "", "");
    EXPECT_EQ(renamed.message, "修改完毕");
    EXPECT_EQ(stored("张三"), hashBefore);  // empty inputs keep the password
    EXPECT_EQ(ops.rights("张三").at(8), "10");
    ASSERT_TRUE(ops.change(id, "张三", "new", "new"));
    EXPECT_TRUE(ops.authenticate("张三", "new").has_value());
    EXPECT_FALSE(ops.authenticate("张三", "a").has_value());
}

TEST_P(OperatorsTest, TheLoggedInNameFollowsOnlyARenameOfHimself)
{
    Operators ops(db());
    ASSERT_TRUE(ops.add("小张", "a", "a"));
    QString loggedIn = QStringLiteral("admin");
    ASSERT_TRUE(ops.change(ops.find("小张")->id, "张三", "", "", &loggedIn));
    EXPECT_EQ(loggedIn, "admin");
    EXPECT_EQ(ops.change(ops.find("admin")->id, "张三", "", "", &loggedIn).message, "此用户名已经存在！！");
    EXPECT_EQ(loggedIn, "admin");
    ASSERT_TRUE(ops.change(ops.find("admin")->id, "老王", "", "", &loggedIn));
    EXPECT_EQ(loggedIn, "老王");
}

TEST_P(OperatorsTest, DeleteRefusesOneselfAndRemovesOthers)
{
    Operators ops(db());
    ASSERT_TRUE(ops.add("小张", "a", "a"));
    EXPECT_EQ(ops.remove("admin", "admin").message, "不能删除自己");
    EXPECT_TRUE(ops.find("admin"));
    EXPECT_TRUE(ops.remove("小张", "admin"));
    EXPECT_FALSE(ops.find("小张"));
}

TEST_P(OperatorsTest, PasswordChangeNeedsTheOldPassword)
{
    Operators ops(db());
    ASSERT_TRUE(ops.add("小张", "a", "a"));
    struct Case {
        const char* old;
        const char* fresh;
        const char* confirm;
        const char* message;
    };
    const Case cases[] = {
        {"a", "", "", "新密码不能为空！！"},
        {"a", "b", "c", "两次输入的密码不相同！！"},
        {"admin", "b", "b", "原密码错误！！"},  // another operator's password does not do
        {"a", "b", "b", "密码修改成功！！"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ops.changePassword("小张", QString::fromUtf8(c.old), QString::fromUtf8(c.fresh),
                                     QString::fromUtf8(c.confirm))
                      .message,
                  QString::fromUtf8(c.message))
            << c.message;
    EXPECT_TRUE(ops.authenticate("小张", "b").has_value());
    EXPECT_TRUE(ops.authenticate("admin", "admin").has_value());
}

TS_BOTH_ENGINES(OperatorsTest);
