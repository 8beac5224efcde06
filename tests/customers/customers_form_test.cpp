#include "customers/Ukehu_add.h"
#include "customers/Ukehu_list.h"
#include "customers/customer_picker.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"
#include "widgets/data_grid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace ts {
namespace {

using namespace ts::test;

class CustomerFormsTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        addRegion(db(), QStringLiteral("海淀区"), {QStringLiteral("中关村")});
        addCustomerType(db(), QStringLiteral("家庭"));
    }
};

TEST_P(CustomerFormsTest, AddingACustomerThroughTheForm)
{
    Tkehu_add form;
    form.show();
    QTest::mouseClick(child<QPushButton>(&form, "确定"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"请填写客户姓名！！"});

    // Chinese text is typed through an input method, not key by key.
    child<QLineEdit>(&form, "客户姓名")->setText("王芳");
    child<QLineEdit>(&form, "地址")->setText("花园路1号");
    QTest::keyClicks(child<QLineEdit>(&form, "电话"), "13911112222");
    child<QComboBox>(&form, "客户类型")->setCurrentText("家庭");
    child<QComboBox>(&form, "一级")->setCurrentText("海淀区");
    child<QComboBox>(&form, "二级")->setCurrentText("中关村");
    QTest::keyClicks(child<QLineEdit>(&form, "饮水机清洗频率"), "30");
    QTest::mouseClick(child<QPushButton>(&form, "确定"), Qt::LeftButton);
    EXPECT_EQ(messages.informations.size(), 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_NE(form.savedId(), 0);
    QSqlQuery q = db().exec("select 客户姓名,联系地址,联系电话,客户地区,小区域,客户类型,洗机频率,订水总次数 from 客户资料 "
                            "where id=:id",
                            {{"id", form.savedId()}});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("王芳"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("花园路1号"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("13911112222"));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("海淀区"));
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("中关村"));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("家庭"));
    EXPECT_EQ(q.value(6).toInt(), 30);
    EXPECT_EQ(q.value(7).toInt(), 0);
}

TEST_P(CustomerFormsTest, EnterWalksTheInputsInOrder)
{
    Tkehu_add form;
    form.show();
    QApplication::setActiveWindow(&form);
    QStringList visited;
    QWidget* w = child<QComboBox>(&form, "客户类型");
    w->setFocus();
    for (int i = 0; i < 12; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    visited << QApplication::focusWidget()->objectName();
    EXPECT_EQ(visited, (QStringList{"客户类型", "客户姓名", "地址", "电话", "一级", "二级", "身份证号", "生日", "备注",
                                    "饮水机清洗频率", "业务员", "送水提成", "确定"}));
}

TEST_P(CustomerFormsTest, EditingRenamesAndSellsNoTickets)
{
    const qint64 id = db().insert("insert into 客户资料 (客户姓名,联系电话,联系地址,客户地区,积分) "
                                  "values ('王芳','139','花园路1号','海淀区',5)",
                                  {});
    db().exec("insert into 欠桶 (客户编号,客户姓名) values (:id,'王芳')", {{"id", id}});
    // Points only an operator with the right may change.
    LoginValues::current().rights[1][14] = QLatin1Char('0');
    Tkehu_add form(id);
    form.show();
    auto* pages = form.findChild<QTabWidget*>();
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 2);
    EXPECT_TRUE(child<QLineEdit>(&form, "积分")->isReadOnly());
    child<QLineEdit>(&form, "客户姓名")->setText("王芳芳");
    QTest::mouseClick(child<QPushButton>(&form, "确定并录入新的客户"), Qt::LeftButton);
    EXPECT_TRUE(messages.informations.isEmpty());
    EXPECT_EQ(db().scalar("select 客户姓名 from 欠桶").toString(), QStringLiteral("王芳芳"));
    EXPECT_EQ(Money::fromVariant(db().scalar("select 积分 from 客户资料 where id=:id", {{"id", id}})), Money::yuan(5));
    // The next customer is a new one, who may buy tickets.
    EXPECT_EQ(pages->count(), 3);
    EXPECT_TRUE(child<QLineEdit>(&form, "客户姓名")->text().isEmpty());
}

TEST_P(CustomerFormsTest, SpecialPricesWaitForASavedCustomer)
{
    Tkehu_add form;
    form.show();
    auto* pages = form.findChild<QTabWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->setCurrentIndex(1);
    EXPECT_EQ(messages.informations, QStringList{"请先保存客户资料才能进行特价设置！！"});
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_P(CustomerFormsTest, ListHandsThePickedCustomerToTheCaller)
{
    addCustomer(db(), {{"客户姓名", "甲"}, {"联系电话", "1"}, {"联系地址", "地址1"}});
    const qint64 id = addCustomer(db(), {{"客户姓名", "乙"}, {"联系电话", "2"}, {"联系地址", "地址2"}});
    QList<PickedCustomer> received;
    CustomerPicker::instance().receive("饮水机借用", [&](const PickedCustomer& c) { received << c; });

    Tkehu_list list;
    list.show();
    EXPECT_EQ(child<QLabel>(&list, "查询结果")->text(), QStringLiteral("查询结果：共有2条记录符合查询条件"));
    DataGrid* grid = list.grid();
    grid->setCurrentRow(1);

    // Plain management: neither typing nor a double click picks.
    QTest::keyClick(grid->view(), Qt::Key_Return);
    emit grid->rowDoubleClicked(1);
    EXPECT_TRUE(received.isEmpty());
    EXPECT_TRUE(list.isVisible());

    list.setPickMode("饮水机借用");
    QTest::keyClick(grid->view(), Qt::Key_Return);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].id(), id);
    EXPECT_EQ(received[0].text("联系地址"), QStringLiteral("地址2"));
    EXPECT_FALSE(list.isVisible());
    CustomerPicker::instance().forget("饮水机借用");
}

TEST_P(CustomerFormsTest, ListSearchesAndDeletesAfterTheQuestion)
{
    LoginValues::current().companyShortName = QStringLiteral("澄源");
    addCustomer(db(), {{"客户姓名", "王芳"}, {"联系电话", "13911112222"}, {"联系地址", "地址1"}});
    addCustomer(db(), {{"客户姓名", "李强"}, {"联系电话", "01062223333"}, {"联系地址", "地址2"}});
    Tkehu_list list;
    list.show();
    // Enter in a search box searches like 查询.
    QTest::keyClicks(child<QLineEdit>(&list, "联系电话"), "2223");
    QTest::keyClick(child<QLineEdit>(&list, "联系电话"), Qt::Key_Return);
    ASSERT_EQ(list.grid()->rowCount(), 1);
    EXPECT_EQ(list.grid()->text(0, "客户姓名"), QStringLiteral("李强"));

    const QString question = QStringLiteral("如果删除该客户，该客户对应的所有信息将全部丢失，确实删除该客户吗？");
    messages.expectQuestion(question, false);
    messages.expectQuestion(question, true);
    QTest::mouseClick(child<QPushButton>(&list, "删除"), Qt::LeftButton);
    EXPECT_EQ(messages.captions, QStringList{"澄源rivodaz"});
    EXPECT_EQ(db().scalar("select count(*) from 客户资料").toInt(), 2);
    QTest::mouseClick(child<QPushButton>(&list, "删除"), Qt::LeftButton);
    EXPECT_EQ(db().scalar("select count(*) from 客户资料").toInt(), 1);
    EXPECT_EQ(list.grid()->rowCount(), 0);
    // The question comes first, as at a full list.
    messages.expectQuestion(question, true);
    QTest::mouseClick(child<QPushButton>(&list, "删除"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"没有找到任何数据！！"});
}

TEST_P(CustomerFormsTest, SaveAndNextStartsAnEmptyCustomerWithHisTicketsSold)
{
    db().exec("insert into 水票库存表 (商品名称,数量) values ('纯净水',50)");
    addProduct(db(), {{"产品名称", "纯净水"}, {"水票优惠单价", 8.5}});
    Tkehu_add form;
    form.show();
    child<QLineEdit>(&form, "客户姓名")->setText("王芳");
    child<QLineEdit>(&form, "地址")->setText("花园路1号");
    QTest::keyClicks(child<QLineEdit>(&form, "电话"), "139");
    child<QComboBox>(&form, "一级")->setCurrentText("海淀区");
    child<QCheckBox>(&form, "水票销售")->setChecked(true);
    child<QComboBox>(&form, "商品名称")->setCurrentText("纯净水");
    EXPECT_EQ(child<QLineEdit>(&form, "单价")->text(), QStringLiteral("8.5"));
    QTest::keyClicks(child<QLineEdit>(&form, "购买数量"), "10");
    QTest::keyClicks(child<QLineEdit>(&form, "实付货款"), "80");
    child<QCheckBox>(&form, "水票跟踪")->setChecked(true);
    QTest::keyClicks(child<QLineEdit>(&form, "从"), "5");
    QTest::keyClicks(child<QLineEdit>(&form, "到"), "3");
    QTest::mouseClick(child<QPushButton>(&form, "添加"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&form, "确定并录入新的客户"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"您选择了水票跟踪，但没有进行水票跟踪登记，操作被取消！！"});
    child<QCheckBox>(&form, "水票跟踪")->setChecked(false);
    QTest::mouseClick(child<QPushButton>(&form, "确定并录入新的客户"), Qt::LeftButton);
    EXPECT_EQ(messages.informations.size(), 1);
    EXPECT_EQ(db().scalar("select 还剩数量 from 客户水票总表 where 客户编号=:id", {{"id", form.savedId()}}).toInt(), 10);
    EXPECT_EQ(db().scalar("select 数量 from 水票库存表").toInt(), 40);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(child<QLabel>(&form, "保存结果")->text(), QStringLiteral("已保存客户“王芳”，请录入新的客户"));
    EXPECT_TRUE(child<QLineEdit>(&form, "客户姓名")->text().isEmpty());
    EXPECT_FALSE(child<QCheckBox>(&form, "水票销售")->isChecked());
}

TEST_P(CustomerFormsTest, VidiHidesColumnsAndRightsGuardTheSpreadsheetButtons)
{
    LoginValues::current().specialRequirement = QStringLiteral("vidi");
    LoginValues::current().rights[0] = QStringLiteral("1111111011");
    Tkehu_list list;
    list.show();
    for (const char* field : {"积分", "客户单位", "备用1", "洗机频率", "最后洗机时间"})
        EXPECT_FALSE(list.grid()->isColumnShown(QString::fromUtf8(field))) << field;
    EXPECT_TRUE(list.grid()->isColumnShown("联系电话"));
    EXPECT_FALSE(child<QPushButton>(&list, "excel文件成批导入")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&list, "导出至excel文件")->isEnabled());
    EXPECT_FALSE(child<QAction>(&list, "从excel导入")->isEnabled());
    EXPECT_FALSE(child<QAction>(&list, "导出到excel文件")->isEnabled());
    list.hide();
    LoginValues::current().specialRequirement = QStringLiteral("0");
    LoginValues::current().rights[0] = QString(31, QLatin1Char('1'));
    list.show();
    EXPECT_TRUE(list.grid()->isColumnShown("积分"));
    EXPECT_TRUE(child<QPushButton>(&list, "导出至excel文件")->isEnabled());
    EXPECT_TRUE(child<QAction>(&list, "从excel导入")->isEnabled());
}

TEST_P(CustomerFormsTest, TicketNumbersAreBoundedAndTheListCanBeEmptied)
{
    Tkehu_add form;
    form.show();
    auto* pages = form.findChild<QTabWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->setCurrentIndex(2);
    child<QCheckBox>(&form, "水票销售")->setChecked(true);
    child<QCheckBox>(&form, "水票跟踪")->setChecked(true);
    auto* numbers = child<QListWidget>(&form, "水票号码");
    child<QLineEdit>(&form, "从")->setText("1");
    child<QLineEdit>(&form, "到")->setText("1000000");
    QTest::mouseClick(child<QPushButton>(&form, "添加"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"一次最多添加1000个水票号码，请分几次添加！！"});
    EXPECT_EQ(numbers->count(), 0);

    child<QLineEdit>(&form, "到")->setText("5");
    QTest::mouseClick(child<QPushButton>(&form, "添加"), Qt::LeftButton);
    ASSERT_EQ(numbers->count(), 5);
    numbers->item(1)->setSelected(true);
    // The special-price page has a 删除 of its own.
    QTest::mouseClick(child<QPushButton>(numbers->parentWidget(), "删除"), Qt::LeftButton);
    EXPECT_EQ(numbers->count(), 4);
    EXPECT_TRUE(numbers->findItems("2", Qt::MatchExactly).isEmpty());
    QTest::mouseClick(child<QPushButton>(&form, "清空"), Qt::LeftButton);
    EXPECT_EQ(numbers->count(), 0);
}

TEST_P(CustomerFormsTest, AButtonWhoseWindowIsNotThereYetIsOff)
{
    Tkehu_list list;
    list.show();
    EXPECT_FALSE(child<QPushButton>(&list, "客户追踪")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(&list, "新建")->isEnabled());
}

TS_BOTH_ENGINES(CustomerFormsTest);

} // namespace
} // namespace ts
