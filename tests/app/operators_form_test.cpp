#include "app/Ucaozuoyuan_add.h"
#include "app/Ucaozuoyuan_list.h"
#include "app/Umain.h"
#include "app/Uwiring.h"
#include "app/Uxiugai_mima.h"
#include "app/login.h"
#include "session/operators.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace ts;
using namespace ts::test;

class OperatorsFormTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        FormRegistry::instance().add<Tcaozuoyuan_add>();
        ASSERT_TRUE(Operators(db()).add("小李", "pw", "pw"));
    }
    QTreeWidgetItem* node(Tcaozuoyuan_list& list, const QString& name, int group = 0)
    {
        for (int i = 0; i < list.tree()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* top = list.tree()->topLevelItem(i);
            if (top->text(0) == name)
                return group == 0 ? top : top->child(group - 1);
        }
        return nullptr;
    }
};

TEST_P(OperatorsFormTest, TickingAnItemWritesTheGroupString)
{
    Tcaozuoyuan_list list;
    list.show();
    ASSERT_EQ(list.tree()->topLevelItemCount(), 2);
    QTreeWidgetItem* stock = node(list, "小李", 6);
    ASSERT_TRUE(stock);
    EXPECT_EQ(stock->text(0), "6. 库存管理");
    list.tree()->setCurrentItem(stock);
    ASSERT_EQ(list.checks()->count(), 5);
    EXPECT_EQ(list.checks()->item(2)->text(), "产品库存查询");
    list.checks()->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(db().scalar("select right6 from 登陆 where 用户='小李'").toString(), "00100");
    EXPECT_EQ(db().scalar("select right6 from 登陆 where 用户='admin'").toString(), QString(31, '1'));
}

TEST_P(OperatorsFormTest, RefusalsAndDeletingAnotherOperator)
{
    Tcaozuoyuan_list list;
    list.show();
    auto* remove = list.findChild<QPushButton*>("删除");
    auto* change = list.findChild<QPushButton*>("修改");

    list.tree()->setCurrentItem(node(list, "admin"));
    remove->click();
    list.tree()->setCurrentItem(node(list, "小李", 3));
    remove->click();
    change->click();
    EXPECT_EQ(messages.informations, (QStringList{"不能删除自己", "请选择低一层节点", "请选择低一层节点"}));
    EXPECT_TRUE(messages.questions.isEmpty());

    list.tree()->setCurrentItem(node(list, "小李"));
    messages.expectQuestion("确实要删除吗？", false);
    messages.expectQuestion("确实要删除吗？", true);
    remove->click();
    EXPECT_TRUE(Operators(db()).find("小李"));
    remove->click();
    EXPECT_EQ(messages.questions, (QStringList{"确实要删除吗？", "确实要删除吗？"}));
    EXPECT_EQ(messages.captions.value(0), "澄源razeroz");
    EXPECT_FALSE(Operators(db()).find("小李"));
    EXPECT_EQ(list.tree()->topLevelItemCount(), 1);
}

TEST_P(OperatorsFormTest, NewOperatorThroughTheFormLogsInWithEveryControlledEntryOff)
{
    auto* editor = FormRegistry::instance().get<Tcaozuoyuan_add>();
    editor->editNew();
    editor->show();
    editor->findChild<QLineEdit*>("用户")->setText("小周");  // keyClicks types ASCII only
    QTest::keyClicks(editor->findChild<QLineEdit*>("密码"), "abc");
    QTest::keyClicks(editor->findChild<QLineEdit*>("重复密码"), "abd");
    editor->findChild<QPushButton*>("确定")->click();
    EXPECT_EQ(messages.informations, QStringList{"两次密码输入的不一致！！"});
    editor->findChild<QLineEdit*>("重复密码")->clear();
    QTest::keyClicks(editor->findChild<QLineEdit*>("重复密码"), "abc");
    editor->findChild<QPushButton*>("确定")->click();
    ASSERT_TRUE(Operators(db()).find("小周"));

    LoginValues values;
    ASSERT_TRUE(Login(db()).login({"小周", "abc", {}}, dir_.path(), values));
    Tmain main(values);
    wireForms(main);
    main.applyRights(values);
    for (const char* entry : {"商品资料设定", "客户资料管理", "库房设置", "配送员工管理", "业务员业绩情况", "权限管理",
                              "密码管理", "关于", "积分兑换", "toolbar/客户资料"})
        EXPECT_FALSE(main.action(QString::fromUtf8(entry))->isEnabled()) << entry;
    // Entries no right controls stay usable.
    EXPECT_TRUE(main.action("供货商资料")->isEnabled());
    EXPECT_TRUE(main.action("业务员管理")->isEnabled());
}

TEST_P(OperatorsFormTest, PasswordChangeForm)
{
    LoginValues::current().operatorName = "小李";
    Txiugai_mima form;
    form.show();
    auto type = [&](const char* name, const char* text) {
        auto* e = form.findChild<QLineEdit*>(QString::fromUtf8(name));
        e->clear();
        QTest::keyClicks(e, QString::fromUtf8(text));
    };
    type("原始密码", "admin");
    type("新密码", "n1");
    type("密码验证", "n1");
    form.findChild<QPushButton*>("确定")->click();
    type("原始密码", "pw");
    form.findChild<QPushButton*>("确定")->click();
    EXPECT_EQ(messages.informations, (QStringList{"原密码错误！！", "密码修改成功！！"}));
    EXPECT_TRUE(Operators(db()).authenticate("小李", "n1").has_value());
    form.show();
    EXPECT_TRUE(form.findChild<QLineEdit*>("原始密码")->text().isEmpty());
}

TS_BOTH_ENGINES(OperatorsFormTest);
