#include "app/Umain.h"
#include "session/login_values.h"
#include "stock/Ugonghuoshang_add.h"
#include "stock/Ugonghuoshang_list.h"
#include "stock/Ukufang_guanli.h"
#include "stock/Ushangpin_add.h"
#include "stock/Ushangpin_leixing.h"
#include "stock/Ushangpin_list.h"
#include "stock/Ustock_wiring.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"
#include "widgets/data_grid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

using namespace ts;
using namespace ts::test;

class StockFormTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        FormRegistry& forms = FormRegistry::instance();
        forms.add<Tshangpin_add>();
        forms.add<TFshangpin_leixing>();
        forms.add<TFgonghuoshang_add>();
    }
    static void activate(QWidget& w)
    {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // Runs `inside` once the modal form the next step opens is up.
    static void whenModalOpens(std::function<void(QWidget*)> inside)
    {
        QTimer::singleShot(0, [inside] { inside(QApplication::activeModalWidget()); });
    }
    qint64 count(const char* sql) { return db().scalar(QString::fromUtf8(sql)).toLongLong(); }
};

TEST_P(StockFormTest, ProductFormWalksByEnterFiltersCommissionAndWritesOnConfirm)
{
    Tshangpin_add form;
    form.startNew();
    activate(form);
    auto* name = child<QLineEdit>(form, "产品名称");
    auto* unit = child<QLineEdit>(form, "产品单位");
    auto* price = child<QLineEdit>(form, "销售单价");
    auto* commission = child<QLineEdit>(form, "送水员提成");
    auto* purchase = child<QLineEdit>(form, "进货单价");
    auto* ticket = child<QLineEdit>(form, "水票优惠单价");
    auto* code = child<QLineEdit>(form, "自编码");
    auto* type = child<QComboBox>(form, "产品类型");
    auto* ok = child<QPushButton>(form, "确定");
    EXPECT_EQ(QApplication::focusWidget(), name);
    EXPECT_EQ(type->count(), 2);
    EXPECT_EQ(type->currentText(), "");

    typeText(name, "纯净水");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), unit);
    typeText(unit, "桶");
    QTest::keyClick(unit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), price);
    QTest::keyClicks(price, "12.5");
    QTest::keyClick(price, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), commission);
    QTest::keyClicks(commission, "a0,.8x");
    EXPECT_EQ(commission->text(), "0.8");
    QTest::keyClick(commission, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), ok);
    EXPECT_TRUE(form.isVisible());
    for (QLineEdit* from : {purchase, ticket}) {
        from->setFocus();
        QTest::keyClicks(from, "6");
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), commission);
    }
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), price);

    // Enter on 确定 presses it: the code is still missing.
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_EQ(messages.informations, QStringList{"请填写产品自编码，方便订水时快速查询！！"});
    QTest::keyClicks(code, "CJS");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(messages.informations.last(), "请填写产品类型！！");
    EXPECT_EQ(count("select count(*) from 产品列表"), 0);

    type->setCurrentText("水");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(messages.informations.size(), 2);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    QSqlQuery q = db().exec("select id, 产品名称, 产品单位, 单价, 业务员提成, 进货价, 水票优惠单价, 产品类型, 产品编号 "
                            "from 产品列表");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toLongLong(), form.savedId());
    EXPECT_EQ(q.value(1).toString(), "纯净水");
    EXPECT_EQ(q.value(2).toString(), "桶");
    EXPECT_EQ(Money::fromVariant(q.value(3)), Money::fromUnits(125000));
    EXPECT_EQ(Money::fromVariant(q.value(4)), Money::fromUnits(8000));
    EXPECT_EQ(Money::fromVariant(q.value(5)), Money::yuan(6));
    EXPECT_EQ(Money::fromVariant(q.value(6)), Money::yuan(6));
    EXPECT_EQ(q.value(7).toString(), "水");
    EXPECT_EQ(q.value(8).toString(), "CJS");
    EXPECT_FALSE(q.next());
}

TEST_P(StockFormTest, ProductListAddsThroughTheFormAndCancelLeavesNoRow)
{
    Tshangpin_list list;
    list.show();
    EXPECT_EQ(list.grid()->rowCount(), 0);
    EXPECT_EQ(list.grid()->title("业务员提成"), "配送提成");
    EXPECT_EQ(list.grid()->title("单价"), "销售单价");

    whenModalOpens([](QWidget* w) {
        ASSERT_TRUE(w);
        w->findChild<QLineEdit*>("产品名称")->setText("空白");
        w->findChild<QPushButton*>("取消")->click();
    });
    child<QPushButton>(list, "新建")->click();
    EXPECT_EQ(count("select count(*) from 产品列表"), 0);

    whenModalOpens([](QWidget* w) {
        ASSERT_TRUE(w);
        typeText(w->findChild<QLineEdit*>("产品名称"), "饮水机A");
        QTest::keyClicks(w->findChild<QLineEdit*>("送水员提成"), "1");
        QTest::keyClicks(w->findChild<QLineEdit*>("自编码"), "YSJ");
        w->findChild<QComboBox*>("产品类型")->setCurrentText("饮水机");
        w->findChild<QPushButton*>("确定")->click();
    });
    child<QPushButton>(list, "新建")->click();
    ASSERT_EQ(list.grid()->rowCount(), 1);
    EXPECT_EQ(list.grid()->currentValues().value("产品名称").toString(), "饮水机A");
    EXPECT_TRUE(messages.informations.isEmpty()) << messages.informations.join('|').toStdString();
}

TEST_P(StockFormTest, EditingWithoutChangesKeepsTheFormOpenAndADuplicateNameIsRefused)
{
    addProduct(db(), {{"产品名称", "纯净水"}, {"产品编号", "A"}, {"产品类型", "水"}, {"业务员提成", 1}});
    addProduct(db(), {{"产品名称", "矿泉水"}, {"产品编号", "B"}, {"产品类型", "水"}, {"业务员提成", 1}});
    const qint64 id = db().scalar("select id from 产品列表 where 产品名称='矿泉水'").toLongLong();
    Tshangpin_add form;
    form.startEdit(id);
    activate(form);
    auto* ok = child<QPushButton>(form, "确定");
    EXPECT_EQ(child<QComboBox>(form, "产品类型")->currentText(), "水");
    ok->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(messages.informations.isEmpty());

    auto* name = child<QLineEdit>(form, "产品名称");
    name->selectAll();
    typeText(name, "纯净水");
    ok->click();
    EXPECT_EQ(messages.informations, QStringList{"此产品名称已经存在！！"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(count("select count(*) from 产品列表 where 产品名称='矿泉水'"), 1);
}

TEST_P(StockFormTest, ProductListDeleteAsksAndTakesTheStockRows)
{
    addProduct(db(), {{"产品名称", "纯净水"}});
    addProduct(db(), {{"产品名称", "矿泉水"}});
    db().exec("insert into 库存总表 (库房名称, 产品名称, 数量) values ('一号库', '纯净水', 5)");
    db().exec("insert into 空桶库存表 (库房名称, 产品名称, 数量) values ('一号库', '纯净水', 2)");
    Tshangpin_list list;
    list.show();
    list.grid()->setCurrentRow(0);

    messages.expectQuestion("删除该商品后，空桶和库存数量也同时删除，确实要继续吗？", false);
    messages.expectQuestion("删除该商品后，空桶和库存数量也同时删除，确实要继续吗？", true);
    child<QPushButton>(list, "删除")->click();
    EXPECT_EQ(list.grid()->rowCount(), 2);
    child<QPushButton>(list, "删除")->click();
    EXPECT_EQ(messages.questions, QStringList(2, "删除该商品后，空桶和库存数量也同时删除，确实要继续吗？"));
    EXPECT_EQ(messages.captions, QStringList(2, "澄源rivodaz"));
    ASSERT_EQ(list.grid()->rowCount(), 1);
    EXPECT_EQ(list.grid()->value(0, "产品名称").toString(), "矿泉水");
    EXPECT_EQ(count("select count(*) from 库存总表"), 0);
    EXPECT_EQ(count("select count(*) from 空桶库存表"), 0);
}

TEST_P(StockFormTest, TypeWindowAddsRefusesAndProtectsReservedTypes)
{
    TFshangpin_leixing form;
    form.show();
    ASSERT_EQ(form.grid()->rowCount(), 2);
    auto* input = child<QLineEdit>(form, "商品类型");
    auto* add = child<QPushButton>(form, "添加");
    auto* remove = child<QPushButton>(form, "删除");
    add->click();
    typeText(input, "水");
    add->click();
    EXPECT_EQ(messages.informations, QStringList({"请输入添加的商品类型", "已有重复的类型！！"}));

    form.grid()->setCurrentRow(1);
    remove->click();
    EXPECT_EQ(messages.informations.last(), "饮水机为保留关键字，不能删除");
    EXPECT_TRUE(messages.questions.isEmpty());

    input->setText("配件");
    add->click();
    ASSERT_EQ(form.grid()->rowCount(), 3);
    EXPECT_EQ(form.grid()->currentValues().value("类型").toString(), "配件");
    messages.expectQuestion("确实要删除[配件]吗？", true);
    remove->click();
    EXPECT_EQ(messages.questions, QStringList{"确实要删除[配件]吗？"});
    EXPECT_EQ(messages.captions, QStringList{"澄源razeroz"});
    EXPECT_EQ(form.grid()->rowCount(), 2);
    EXPECT_EQ(count("select count(*) from 商品类型 where 类型='配件'"), 0);
}

TEST_P(StockFormTest, WarehouseButtonsFollowTheEditState)
{
    Tkufang_guanli form;
    activate(form);
    auto* name = child<QLineEdit>(form, "库房名称");
    auto enabled = [&] {
        QStringList on;
        for (const char* caption : {"新增", "修改", "保存", "取消", "删除"})
            if (child<QPushButton>(form, caption)->isEnabled())
                on << QString::fromUtf8(caption);
        return on.join(' ').toStdString();
    };
    EXPECT_EQ(enabled(), "新增 修改 删除");
    EXPECT_TRUE(name->isReadOnly());

    child<QPushButton>(form, "新增")->click();
    EXPECT_EQ(enabled(), "保存 取消 删除");
    typeText(name, "一号库");
    child<QPushButton>(form, "保存")->click();
    EXPECT_EQ(enabled(), "新增 修改 删除");
    child<QPushButton>(form, "新增")->click();
    typeText(name, "二号库");
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(form.grid()->rowCount(), 2);
    EXPECT_EQ(name->text(), "二号库");

    form.grid()->setCurrentRow(0);
    EXPECT_EQ(name->text(), "一号库");
    child<QPushButton>(form, "修改")->click();
    EXPECT_EQ(enabled(), "保存 取消 删除");
    name->setText("总库");
    child<QPushButton>(form, "取消")->click();
    EXPECT_EQ(enabled(), "新增 修改 删除");
    EXPECT_EQ(name->text(), "一号库");
    child<QPushButton>(form, "修改")->click();
    name->setText("总库");
    child<QPushButton>(form, "保存")->click();

    messages.expectQuestion("确实要删除吗？", true);
    form.grid()->setCurrentRow(1);
    child<QPushButton>(form, "删除")->click();
    EXPECT_EQ(messages.questions, QStringList{"确实要删除吗？"});
    EXPECT_EQ(messages.captions, QStringList{"澄源rivodaz"});
    EXPECT_EQ(enabled(), "新增 修改 删除");
    QSqlQuery q = db().exec("select 库房名称 from 库房名称 order by id");
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    EXPECT_EQ(names, QStringList{"总库"});
}

TEST_P(StockFormTest, SupplierListAddsEditsAndDeletes)
{
    TFgonghuoshang_list list;
    list.show();
    auto* add = list.findChild<QAction*>("添加");
    auto* edit = list.findChild<QAction*>("修改");
    auto* remove = list.findChild<QAction*>("删除");
    ASSERT_TRUE(add && edit && remove && list.findChild<QAction*>("返回"));

    whenModalOpens([](QWidget* w) {
        ASSERT_TRUE(w);
        typeText(w->findChild<QLineEdit*>("供货商名称"), "不要的");
        w->findChild<QPushButton*>("取消")->click();
    });
    add->trigger();
    EXPECT_EQ(count("select count(*) from 供货商列表"), 0);

    whenModalOpens([](QWidget* w) {
        ASSERT_TRUE(w);
        typeText(w->findChild<QLineEdit*>("供货商名称"), "清泉水厂");
        QTest::keyClicks(w->findChild<QLineEdit*>("手机"), "13800000001");
        w->findChild<QPushButton*>("确定")->click();
    });
    add->trigger();
    ASSERT_EQ(list.grid()->rowCount(), 1);
    list.grid()->setCurrentRow(0);

    whenModalOpens([](QWidget* w) {
        ASSERT_TRUE(w);
        EXPECT_EQ(w->findChild<QLineEdit*>("手机")->text(), "13800000001");
        w->findChild<QLineEdit*>("地址")->setText("北京路1号");
        w->findChild<QPushButton*>("确定")->click();
    });
    edit->trigger();
    EXPECT_EQ(list.grid()->value(0, "地址").toString(), "北京路1号");
    EXPECT_EQ(count("select count(*) from 供货商列表"), 1);

    list.grid()->setCurrentRow(0);
    messages.expectQuestion("确实要删除吗？", true);
    remove->trigger();
    EXPECT_EQ(messages.captions, QStringList{"vide2008"});
    EXPECT_EQ(messages.questions, QStringList{"确实要删除吗？"});
    EXPECT_EQ(count("select count(*) from 供货商列表"), 0);
    EXPECT_TRUE(messages.informations.isEmpty());
}

TEST_P(StockFormTest, MenuEntriesOpenTheirListsModally)
{
    LoginValues login;
    login.rights = QStringList(9, QString(31, QLatin1Char('1')));
    Tmain main(login);
    EXPECT_FALSE(main.action("库房设置")->isEnabled());
    wireStockForms(main);
    for (const char* form : {"Tshangpin_list", "Tshangpin_add", "Tkufang_guanli", "TFshangpin_leixing",
                             "TFgonghuoshang_add", "TFgonghuoshang_list"})
        EXPECT_TRUE(FormRegistry::instance().has(QString::fromUtf8(form))) << form;

    const std::pair<const char*, const char*> entries[] = {
        {"商品资料设定", "Tshangpin_list"}, {"库房设置", "Tkufang_guanli"}, {"供货商资料", "TFgonghuoshang_list"}};
    for (const auto& [entry, form] : entries) {
        QString opened;
        whenModalOpens([&opened](QWidget* w) {
            ASSERT_TRUE(w);
            opened = w->objectName();
            static_cast<QDialog*>(w)->reject();
        });
        QAction* a = main.action(QString::fromUtf8(entry));
        ASSERT_TRUE(a && a->isEnabled()) << entry;
        a->trigger();
        EXPECT_EQ(opened, QString::fromUtf8(form)) << entry;
    }
}

TS_BOTH_ENGINES(StockFormTest);
