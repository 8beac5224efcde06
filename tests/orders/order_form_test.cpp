#include "app/Umain.h"
#include "app/Uwiring.h"
#include "customers/Ukehu_list.h"
#include "orders/Uxiaoshou.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"
#include "widgets/data_grid.h"
#include "widgets/form_registry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace ts {
namespace {

using namespace ts::test;

const QDateTime kNow(QDate(2026, 12, 11), QTime(9, 30, 15));

class OrderFormTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        clock::setNow(kNow);
        LoginValues& login = LoginValues::current();
        login.commissionMethod = QStringLiteral("产品");
        login.stockWarning = QStringLiteral("提示");
        addWarehouse(db(), QStringLiteral("一号库"));
        addProduct(db(), {{"产品名称", "桶装水"}, {"单价", 12}, {"产品类型", "水"}, {"业务员提成", 0.5}});
        addProduct(db(), {{"产品名称", "矿泉水"}, {"单价", 8}, {"产品类型", "水"}, {"业务员提成", 0.2}});
        addStock(db(), QStringLiteral("一号库"), QStringLiteral("桶装水"), 50);
        addStock(db(), QStringLiteral("一号库"), QStringLiteral("矿泉水"), 20);
        addWorker(db(), QStringLiteral("张三"), {{"电话", "13700000000"}});
        addRegion(db(), QStringLiteral("海淀区"), {QStringLiteral("中关村")});
        addCustomerType(db(), QStringLiteral("家庭"));
        // The searches pick from the customer list.
        FormRegistry::instance().add<Tkehu_list>();
    }
    void TearDown() override
    {
        clock::reset();
        FormTest::TearDown();
    }

    void open(Txiaoshou& form, qint64 customerId = 0, const QString& phone = {})
    {
        form.prepare(customerId, phone);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
    }

    // A double click on the product's row, as the operator picks it: the
    // press and release before the second press that Qt reads as double.
    void addLine(Txiaoshou& form, int productRow)
    {
        QTableView* view = child<DataGrid>(form, "待选商品")->view();
        const QRect cell = view->visualRect(view->model()->index(productRow, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // The input that has the focus, by name; the text part of an editable
    // drop-down counts as the drop-down.
    static QString focused()
    {
        QWidget* w = QApplication::focusWidget();
        if (!w)
            return {};
        if (auto* box = qobject_cast<QComboBox*>(w->parentWidget()); box && box->lineEdit() == w)
            return box->objectName();
        return w->objectName();
    }

    int count(const QString& sql) { return db().scalar(sql).toInt(); }
};

TEST_P(OrderFormTest, AKnownCustomerFoundByTelephoneOrdersTwoProducts)
{
    const qint64 id = addCustomer(db(), {{"客户姓名", "王芳"},
                                         {"联系电话", "13911112222"},
                                         {"联系地址", "花园路1号"},
                                         {"客户地区", "海淀区"},
                                         {"小区域", "中关村"},
                                         {"客户类型", "家庭"}});
    insertRow(db(), QStringLiteral("欠桶"), {{"客户编号", id}, {"未还数量", 2}});

    Txiaoshou form;
    // Opened with a caller's number: the call is logged and later marked.
    open(form, 0, QStringLiteral("13911112222"));
    EXPECT_EQ(child<QLabel>(form, "客户编号")->text(), "无");
    EXPECT_TRUE(child<QRadioButton>(form, "新客户")->isChecked());
    EXPECT_FALSE(child<QDateEdit>(form, "预约日期")->isVisible());
    QTest::keyClick(child<QLineEdit>(form, "电话号码"), Qt::Key_Return);

    EXPECT_EQ(child<QLabel>(form, "客户编号")->text(), QString::number(id));
    EXPECT_TRUE(child<QRadioButton>(form, "老客户")->isChecked());
    EXPECT_FALSE(child<QPushButton>(form, "只保存新客户资料")->isVisible());
    EXPECT_EQ(child<QComboBox>(form, "客户姓名")->currentText(), "王芳");
    EXPECT_EQ(child<QComboBox>(form, "二级区域")->currentText(), "中关村");
    EXPECT_EQ(child<QLineEdit>(form, "联系地址")->text(), "花园路1号");
    auto* owed = child<QLineEdit>(form, "该用户欠桶数");
    EXPECT_EQ(owed->text(), "2");
    EXPECT_EQ(owed->palette().color(QPalette::Base), QColor(255, 111, 111));
    EXPECT_TRUE(child<QPushButton>(form, "欠桶查看详细")->isVisible());
    // The owed-bucket list and the ticket sale are not part of the program yet.
    EXPECT_FALSE(child<QPushButton>(form, "欠桶查看详细")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "水票销售")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "签单查看详细")->isVisible());
    EXPECT_EQ(child<QLineEdit>(form, "签单情况")->palette().color(QPalette::Base), QColor(Qt::white));

    addLine(form, 0);
    addLine(form, 1);
    auto* basket = child<QTableWidget>(form, "已选商品");
    ASSERT_EQ(basket->rowCount(), 2);
    basket->item(0, 1)->setText("3");
    EXPECT_EQ(basket->item(0, 3)->text(), "36");
    EXPECT_EQ(basket->item(0, 4)->text(), "1.5");
    child<QComboBox>(form, "配送员")->setCurrentText("张三");

    QTest::mouseClick(child<QPushButton>(form, "显示短信内容并复制到剪贴板"), Qt::LeftButton);
    ASSERT_EQ(messages.informations.size(), 1);
    EXPECT_EQ(messages.informations[0], QApplication::clipboard()->text());
    EXPECT_TRUE(messages.informations[0].startsWith("王芳/13911112222/花园路1号[桶装水:3矿泉水:1]"));
    messages.clear();

    QTest::mouseClick(child<QPushButton>(form, "订水"), Qt::LeftButton);
    EXPECT_TRUE(messages.informations.isEmpty()) << messages.informations.join('\n').toStdString();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.orderResult(), "订水");

    const Rows lines = db().select("select 单据编号,产品名称,数量,应付货款,配送工,客户编号,库房名称 from 产品销售开票 order by id");
    ASSERT_EQ(lines.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(lines.text(i, "单据编号"), "202612110001");
        EXPECT_EQ(lines.value(i, "客户编号").toLongLong(), id);
        EXPECT_EQ(lines.text(i, "配送工"), "张三");
        EXPECT_EQ(lines.text(i, "库房名称"), "一号库");
    }
    EXPECT_EQ(lines.text(0, "产品名称"), "桶装水");
    EXPECT_EQ(lines.value(0, "数量").toInt(), 3);
    EXPECT_EQ(Money::fromVariant(lines.value(0, "应付货款")), Money::yuan(36));
    EXPECT_EQ(lines.text(1, "产品名称"), "矿泉水");
    EXPECT_EQ(db().scalar("select 数量 from 库存总表 where 产品名称='桶装水'").toInt(), 47);
    EXPECT_EQ(db().scalar("select 数量 from 库存总表 where 产品名称='矿泉水'").toInt(), 19);
    // Closing left no basket and marked the call as ordered.
    EXPECT_EQ(count("select count(*) from 销售临时表"), 0);
    EXPECT_EQ(db().scalar("select 处理结果 from 来电历史记录表").toString(), "订水");
    EXPECT_TRUE(child<QLineEdit>(form, "电话号码")->text().isEmpty());
}

TEST_P(OrderFormTest, ANewCustomerIsTypedInAndBookedForTomorrow)
{
    Txiaoshou form;
    open(form);
    QTest::keyClicks(child<QLineEdit>(form, "电话号码"), "13800001234");
    child<QComboBox>(form, "客户姓名")->setEditText("李四");
    child<QComboBox>(form, "客户类型")->setCurrentText("家庭");
    child<QComboBox>(form, "一级区域")->setCurrentText("海淀区");
    child<QComboBox>(form, "二级区域")->setCurrentText("中关村");
    child<QLineEdit>(form, "联系地址")->setText("学院路5号");
    child<QLineEdit>(form, "客户单位")->setText("北方公司");
    child<QLineEdit>(form, "客户备注")->setText("上午送");
    child<QCheckBox>(form, "预约送水时间")->setChecked(true);
    EXPECT_TRUE(child<QDateEdit>(form, "预约日期")->isVisible());
    child<QDateEdit>(form, "预约日期")->setDate(kNow.date().addDays(1));
    addLine(form, 1);
    QTest::mouseClick(child<QPushButton>(form, "订水"), Qt::LeftButton);

    ASSERT_EQ(messages.informations.size(), 1);
    EXPECT_TRUE(messages.informations[0].startsWith("由于预约日期不是今天，此订水记录要在2026-12-12"));
    EXPECT_FALSE(form.isVisible());
    const Rows customer = db().select("select id,客户姓名,联系电话,客户类型,客户地区,小区域,联系地址,客户单位,备用1,订水总次数 "
                                      "from 客户资料");
    ASSERT_EQ(customer.size(), 1);
    const QStringList typed{"李四", "13800001234", "家庭", "海淀区", "中关村", "学院路5号", "北方公司", "上午送"};
    for (int c = 0; c < typed.size(); ++c)
        EXPECT_EQ(customer.value(0, c + 1).toString(), typed[c]) << customer.fields()[c + 1].toStdString();
    EXPECT_EQ(customer.value(0, "订水总次数").toInt(), 1);
    const Rows line = db().select("select 单据编号,购物日期,是否预约,客户编号 from 产品销售开票");
    ASSERT_EQ(line.size(), 1);
    EXPECT_EQ(line.text(0, "单据编号"), "202612120001");
    EXPECT_EQ(line.text(0, "购物日期"), "2026-12-12");
    EXPECT_TRUE(line.value(0, "是否预约").toBool());
    EXPECT_EQ(line.value(0, "客户编号").toLongLong(), customer.value(0, "id").toLongLong());
}

TEST_P(OrderFormTest, ARefusalKeepsTheInputsAndTheBasket)
{
    Txiaoshou form;
    open(form);
    QTest::keyClicks(child<QLineEdit>(form, "电话号码"), "13800001234");
    child<QComboBox>(form, "客户姓名")->setEditText("李四");
    addLine(form, 0);
    QTest::mouseClick(child<QPushButton>(form, "订水"), Qt::LeftButton);

    EXPECT_EQ(messages.informations, QStringList{"请填写客户地址！！"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(child<QLineEdit>(form, "电话号码")->text(), "13800001234");
    EXPECT_EQ(child<QComboBox>(form, "客户姓名")->currentText(), "李四");
    EXPECT_EQ(child<QTableWidget>(form, "已选商品")->rowCount(), 1);
    EXPECT_EQ(count("select count(*) from 销售临时表"), 1);
    EXPECT_EQ(count("select count(*) from 产品销售开票"), 0);
    EXPECT_EQ(count("select count(*) from 客户资料"), 0);

    // Put right, the same basket goes through.
    child<QLineEdit>(form, "联系地址")->setText("学院路5号");
    QTest::mouseClick(child<QPushButton>(form, "订水"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(count("select count(*) from 产品销售开票"), 1);
}

TEST_P(OrderFormTest, SeveralMatchesAreShownInTheCustomerListToPickFrom)
{
    addCustomer(db(), {{"客户姓名", "王芳"}, {"联系电话", "13900001111"}, {"手工编码", "A01"}});
    const qint64 second = addCustomer(db(), {{"客户姓名", "王强"}, {"联系电话", "13900002222"}, {"手工编码", "A02"}});
    addCustomer(db(), {{"客户姓名", "李四"}, {"联系电话", "01062223333"}, {"手工编码", "B01"}});
    struct Case {
        const char* input;   // the form's input searched by
        const char* typed;
        const char* button;
        const char* box;     // the list's search box that gets the text
        const char* message;
    };
    const Case cases[]{
        {"电话号码", "139000", "电话号码查询", "联系电话", "找到的客户数量不唯一！！"},
        {"客户姓名", "王", "客户姓名查询", "客户姓名",
         "对不起，您设置的搜索条件太简单，找到的客户数量不唯一，无法进行准确的客户定位！！"},
        {"手工编码", "A0", "手工编码查询", "手工编码",
         "对不起，您设置的搜索条件太简单，找到的客户数量不唯一，无法进行准确的客户定位！！"},
    };
    Txiaoshou form;
    open(form);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        messages.clear();
        child<QRadioButton>(form, "新客户")->click();
        ASSERT_EQ(child<QLabel>(form, "客户编号")->text(), "无");
        if (auto* box = form.findChild<QComboBox*>(c.input))
            box->setEditText(c.typed);
        else
            child<QLineEdit>(form, c.input)->setText(c.typed);
        withModal([&] { QTest::mouseClick(child<QPushButton>(form, c.button), Qt::LeftButton); },
                  [&](QWidget* w) {
                      auto* list = qobject_cast<Tkehu_list*>(w);
                      ASSERT_NE(list, nullptr);
                      EXPECT_EQ(list->pickMode(), "销售1");
                      for (const char* box : {"客户姓名", "联系电话", "手工编码"})
                          EXPECT_EQ(child<QLineEdit>(list, box)->text(), QString::fromUtf8(box) == c.box ? c.typed : "")
                              << box;
                      ASSERT_EQ(list->grid()->rowCount(), 2);
                      const int row = list->grid()->findRow("id", second);
                      list->grid()->setCurrentRow(row);
                      QTest::keyClick(list->grid()->view(), Qt::Key_Return);
                      EXPECT_FALSE(list->isVisible());
                  });
        EXPECT_EQ(messages.informations, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(child<QLabel>(form, "客户编号")->text(), QString::number(second));
        EXPECT_TRUE(child<QRadioButton>(form, "老客户")->isChecked());
        EXPECT_EQ(child<QComboBox>(form, "客户姓名")->currentText(), "王强");
    }
}

TEST_P(OrderFormTest, EnterWalksTheFormAndSpaceLeavesTheBasket)
{
    addCustomer(db(), {{"客户姓名", "王芳"}, {"联系电话", "13911112222"}, {"手工编码", "W01"}, {"联系地址", "花园路1号"}});
    Txiaoshou form;
    open(form);
    ASSERT_EQ(focused(), "电话号码");
    addLine(form, 0);
    child<QLineEdit>(form, "电话号码")->setFocus();
    QTest::keyClicks(child<QLineEdit>(form, "电话号码"), "13911112222");
    QStringList visited;
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        visited << focused();
    }
    EXPECT_EQ(visited, (QStringList{"客户姓名", "手工编码", "客户类型", "客户单位", "一级区域", "二级区域", "联系地址",
                                    "客户备注", "选择库房", "收款方式", "已选商品"}));
    // The three searches each found the customer, and said nothing.
    EXPECT_TRUE(messages.informations.isEmpty());
    EXPECT_TRUE(child<QRadioButton>(form, "老客户")->isChecked());

    // Space ends the edit of a quantity and moves on to the worker.
    auto* basket = child<QTableWidget>(form, "已选商品");
    basket->setCurrentCell(0, 1);
    basket->editItem(basket->item(0, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "4");
    QTest::keyClick(editor, Qt::Key_Space);
    EXPECT_EQ(focused(), "配送员");
    EXPECT_EQ(db().scalar("select 数量 from 销售临时表").toString(), "4");

    // The delivery remark goes back to the warehouse; Alt+P to the basket.
    child<QLineEdit>(form, "本次发货备注")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(focused(), "选择库房");
    QTest::keyClick(&form, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(focused(), "已选商品");

    child<QComboBox>(form, "配送员")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(focused(), "客户自提水");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(focused(), "订水");
    EXPECT_EQ(count("select count(*) from 产品销售开票"), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(db().scalar("select 数量 from 产品销售开票").toInt(), 4);
}

TEST_P(OrderFormTest, CollectedAtTheStationTheWorkerGoes)
{
    const qint64 id = addCustomer(db(), {{"客户姓名", "王芳"}, {"联系地址", "花园路1号"}});
    Txiaoshou form;
    // Handed over as the customer list's 手工开单 does.
    open(form, id);
    EXPECT_EQ(child<QLabel>(form, "客户编号")->text(), QString::number(id));
    auto* worker = child<QComboBox>(form, "配送员");
    auto* collect = child<QCheckBox>(form, "客户自提水");
    EXPECT_EQ(worker->currentText(), "暂不指定");
    collect->setChecked(true);
    EXPECT_FALSE(worker->isVisible());
    EXPECT_TRUE(worker->currentText().isEmpty());
    collect->setChecked(false);
    EXPECT_TRUE(worker->isVisible());
    EXPECT_TRUE(worker->currentText().isEmpty());

    collect->setChecked(true);
    addLine(form, 0);
    QTest::mouseClick(child<QPushButton>(form, "订水"), Qt::LeftButton);
    EXPECT_TRUE(messages.informations.isEmpty()) << messages.informations.join('\n').toStdString();
    const Rows line = db().select("select 配送工,发货完毕,已发数量 from 产品销售开票");
    ASSERT_EQ(line.size(), 1);
    EXPECT_TRUE(line.text(0, "配送工").isEmpty());
    EXPECT_TRUE(line.value(0, "发货完毕").toBool());
    EXPECT_EQ(line.value(0, "已发数量").toInt(), 1);
}

TEST_P(OrderFormTest, OnlyTheNewCustomerIsSaved)
{
    Txiaoshou form;
    open(form);
    QTest::mouseClick(child<QPushButton>(form, "只保存新客户资料"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"请输入客户联系电话"});
    EXPECT_TRUE(form.isVisible());

    QTest::keyClicks(child<QLineEdit>(form, "电话号码"), "13800001234");
    child<QComboBox>(form, "客户姓名")->setEditText("李四");
    addLine(form, 0);
    QTest::mouseClick(child<QPushButton>(form, "只保存新客户资料"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, (QStringList{"请输入客户联系电话", "保存成功"}));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(db().scalar("select 客户姓名 from 客户资料 where 联系电话='13800001234'").toString(), "李四");
    EXPECT_EQ(count("select count(*) from 产品销售开票"), 0);
    EXPECT_EQ(count("select count(*) from 销售临时表"), 0);
}

TEST_P(OrderFormTest, TheMainWindowAndTheCustomerListOpenTheForm)
{
    const qint64 id = addCustomer(db(), {{"客户姓名", "王芳"}});
    Tmain main;
    wireForms(main);
    auto* form = FormRegistry::instance().get<Txiaoshou>();
    ASSERT_NE(form, nullptr);

    withModal([&] { main.action("手工订水")->trigger(); },
              [&](QWidget* w) {
                  EXPECT_EQ(w, form);
                  EXPECT_EQ(child<QLabel>(form, "客户编号")->text(), "无");
              });
    main.action("toolbar/手工订水")->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    form->close();

    auto* list = FormRegistry::instance().get<Tkehu_list>();
    list->show();
    list->grid()->setCurrentRow(list->grid()->findRow("id", id));
    withModal([&] { child<QAction>(list, "手工开单")->trigger(); },
              [&](QWidget* w) {
                  EXPECT_EQ(w, form);
                  EXPECT_EQ(child<QLabel>(form, "客户编号")->text(), QString::number(id));
                  EXPECT_EQ(child<QComboBox>(form, "客户姓名")->currentText(), "王芳");
              });
    EXPECT_TRUE(messages.informations.isEmpty()) << messages.informations.join('\n').toStdString();
    // None of these openings came with a telephone, so no call was logged.
    EXPECT_EQ(count("select count(*) from 来电历史记录表"), 0);
}

TS_BOTH_ENGINES(OrderFormTest);

} // namespace
} // namespace ts
