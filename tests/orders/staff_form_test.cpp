#include "app/Umain.h"
#include "orders/Uchengpi_xiugai_ticheng.h"
#include "orders/Upeisongyuan_add.h"
#include "orders/Upeisongyuan_list.h"
#include "orders/Ustaff_wiring.h"
#include "orders/Uticheng_mingxi.h"
#include "orders/Uyewuyuan_guanli.h"
#include "orders/Uyewuyuan_ticheng.h"
#include "orders/workers.h"
#include "storage/money.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_registry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace ts {
namespace {

using namespace ts::test;

class StaffFormTest : public FormTest {};

TEST_P(StaffFormTest, AWorkerIsAddedThroughTheListWithTheEnterKey)
{
    Tpeisongyuan_list list;
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(list.grid()->rowCount(), 0);

    withModal([&] { QTest::mouseClick(list.findChild<QPushButton*>("新建"), Qt::LeftButton); },
              [&](QWidget* editor) {
                  EXPECT_EQ(editor->windowTitle(), "配送员管理");
                  ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
                  auto* name = editor->findChild<QLineEdit*>("员工姓名");
                  auto* phone = editor->findChild<QLineEdit*>("联系电话");
                  auto* vehicle = editor->findChild<QLineEdit*>("所用车辆");
                  auto* commission = editor->findChild<QComboBox*>("配送提成");
                  ASSERT_TRUE(name && phone && vehicle && commission);
                  EXPECT_EQ(commission->count(), 2);
                  EXPECT_EQ(commission->itemText(0), "否");
                  EXPECT_EQ(commission->itemText(1), "是");
                  commission->setCurrentIndex(1);
                  name->setFocus();
                  // Test key events carry ASCII only; Chinese arrives as an input method would put it.
                  name->insert("张三");
                  QTest::keyClick(name, Qt::Key_Return);
                  EXPECT_EQ(editor->focusWidget(), phone);
                  QTest::keyClicks(phone, "13800000001");
                  QTest::keyClick(phone, Qt::Key_Return);
                  EXPECT_EQ(editor->focusWidget(), vehicle);
                  vehicle->insert("三轮车");
                  QTest::keyClick(vehicle, Qt::Key_Return);
                  auto* ok = editor->findChild<QPushButton*>("确定");
                  EXPECT_EQ(editor->focusWidget(), ok);
                  // Nothing is saved by walking through the inputs.
                  EXPECT_EQ(db().scalar("select count(*) from 员工列表").toInt(), 0);
                  QTest::keyClick(ok, Qt::Key_Return);
                  EXPECT_FALSE(editor->isVisible());
              });

    EXPECT_TRUE(messages.informations.isEmpty());
    ASSERT_EQ(list.grid()->rowCount(), 1);
    EXPECT_EQ(list.grid()->text(0, "姓名"), "张三");
    EXPECT_EQ(list.grid()->text(0, "电话"), "13800000001");
    EXPECT_EQ(list.grid()->text(0, "所用车辆"), "三轮车");
    EXPECT_EQ(list.grid()->text(0, "配送提成"), "是");

    // The same name again is refused and the editor stays open for a fix.
    withModal([&] { QTest::mouseClick(list.findChild<QPushButton*>("新建"), Qt::LeftButton); },
              [&](QWidget* editor) {
                  editor->findChild<QLineEdit*>("员工姓名")->insert("张三");
                  QTest::mouseClick(editor->findChild<QPushButton*>("确定"), Qt::LeftButton);
                  EXPECT_TRUE(editor->isVisible());
                  QTest::mouseClick(editor->findChild<QPushButton*>("取消"), Qt::LeftButton);
              });
    EXPECT_EQ(messages.informations, QStringList{"已有重复的配送员姓名！！"});
    EXPECT_EQ(list.grid()->rowCount(), 1);
}

TEST_P(StaffFormTest, DeletingAsksFirstAndCancelKeepsTheRow)
{
    addWorker(db(), "李四", {{"配送提成", "否"}});
    // A vendor's title, as the start-up sets it, so the caption cannot be
    // told apart from the short-company-name captions of other lists by luck.
    const QString title = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("清泉rivodaz2010");
    messages.expectQuestion("确实要删除吗？", false);
    messages.expectQuestion("确实要删除吗？", true);
    Tpeisongyuan_list list;
    list.show();
    list.grid()->setCurrentRow(0);
    auto* remove = list.findChild<QPushButton*>("删除");
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(list.grid()->rowCount(), 1);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(list.grid()->rowCount(), 0);
    EXPECT_EQ(messages.questions, (QStringList{"确实要删除吗？", "确实要删除吗？"}));
    EXPECT_EQ(messages.captions, QStringList(2, "清泉rivodaz2010"));
    QCoreApplication::setApplicationName(title);
    EXPECT_EQ(db().scalar("select count(*) from 员工列表").toInt(), 0);
}

TEST_P(StaffFormTest, ADatabaseFailureIsShownNotThrown)
{
    db().exec("drop table 员工列表");
    Tpeisongyuan_list list;
    list.show();
    EXPECT_EQ(list.grid()->rowCount(), 0);
    // The operator reads the program's words; the engine's go to the log.
    ASSERT_EQ(messages.errors, QStringList{databaseErrorText()});
    withModal([&] { QTest::mouseClick(list.findChild<QPushButton*>("新建"), Qt::LeftButton); },
              [&](QWidget* editor) {
                  editor->findChild<QLineEdit*>("员工姓名")->insert("张三");
                  QTest::mouseClick(editor->findChild<QPushButton*>("确定"), Qt::LeftButton);
                  // The failed save leaves the editor open with what was typed.
                  EXPECT_TRUE(editor->isVisible());
              });
    // Load, save, and the reload after the editor closed each report theirs.
    EXPECT_EQ(messages.errors, QStringList(3, databaseErrorText()));
    EXPECT_TRUE(messages.informations.isEmpty());
}

TEST_P(StaffFormTest, SalespersonIsRenamedThroughItsEditor)
{
    addSalesperson(db(), "周");
    TFyewuyuan_guanli list;
    list.show();
    list.grid()->setCurrentRow(0);
    withModal([&] { QTest::mouseClick(list.findChild<QPushButton*>("修改"), Qt::LeftButton); },
              [&](QWidget* editor) {
                  EXPECT_EQ(editor->windowTitle(), "业务员信息添加");
                  auto* name = editor->findChild<QLineEdit*>("业务员姓名");
                  EXPECT_EQ(name->text(), "周");
                  name->setText("周一");
                  QTest::mouseClick(editor->findChild<QPushButton*>("确定"), Qt::LeftButton);
              });
    ASSERT_EQ(list.grid()->rowCount(), 1);
    EXPECT_EQ(list.grid()->text(0, "姓名"), "周一");
    EXPECT_TRUE(messages.informations.isEmpty());
}

TEST_P(StaffFormTest, BatchChangeBySubDistrict)
{
    addRegion(db(), "东区", {"东一"});
    addCustomer(db(), {{"客户姓名", "甲"}, {"客户地区", "东区"}, {"小区域", "东一"}, {"提成", 0}});
    addCustomer(db(), {{"客户姓名", "乙"}, {"客户地区", "东区"}, {"小区域", "东二"}, {"提成", 0}});
    TFchengpi_xiugai_ticheng form;
    form.show();
    auto* group = form.findChild<QGroupBox*>("按客户区域");
    ASSERT_TRUE(group);
    auto* district = group->findChild<QComboBox*>("一级区域");
    auto* sub = group->findChild<QComboBox*>("二级区域");
    auto* rate = group->findChild<QLineEdit*>("送水提成");
    EXPECT_EQ(rate->text(), "0");
    EXPECT_EQ(sub->count(), 0);
    district->setCurrentText("东区");
    EXPECT_EQ(sub->findText("东一"), 1);
    sub->setCurrentText("东一");
    rate->setText("1.5");
    QTest::mouseClick(group->findChild<QPushButton*>("修改"), Qt::LeftButton);
    EXPECT_EQ(messages.informations, QStringList{"设置完毕"});
    EXPECT_EQ(Money::fromVariant(db().scalar("select 提成 from 客户资料 where 客户姓名='甲'")), Money::fromUnits(15000));
    EXPECT_TRUE(Money::fromVariant(db().scalar("select 提成 from 客户资料 where 客户姓名='乙'")).isZero());
}

TEST_P(StaffFormTest, ReportsShowTheirLinesAndSums)
{
    const qint64 c = addCustomer(db(), {{"客户姓名", "甲"}, {"业务员", "周"}});
    for (const char* day : {"2026-12-01", "2026-12-02"})
        db().exec("insert into 产品销售开票 (单据编号,购物日期,产品名称,数量,配送工,客户编号,客户姓名,提成,交款完毕) "
                  "values ('1',:day,'桶装水',2,'张三',:c,'甲',0.15,:settled)",
                  {{"day", day}, {"c", c}, {"settled", false}});

    Tticheng_mingxi detail;
    detail.showWorker("张三", QDate(2026, 12, 1), QDate(2026, 12, 2));
    detail.show();
    EXPECT_EQ(detail.findChild<QLabel*>("配送员")->text(), "张三");
    EXPECT_EQ(detail.grid()->rowCount(), 2);
    EXPECT_EQ(detail.grid()->footerText("提成"), "0.3");

    TFyewuyuan_ticheng report;
    report.show();
    ASSERT_EQ(report.totals()->rowCount(), 1);
    EXPECT_EQ(report.totals()->footerText("客户购买数量"), "4");
    report.findChild<QCheckBox*>("按时间")->setChecked(true);
    report.findChild<QDateEdit*>("起始日期")->setDate(QDate(2026, 12, 2));
    report.findChild<QDateEdit*>("到")->setDate(QDate(2026, 12, 31));
    QTest::mouseClick(report.findChild<QPushButton*>("查询"), Qt::LeftButton);
    EXPECT_EQ(report.totals()->footerText("客户购买数量"), "2");
    report.totals()->setCurrentRow(0);
    ASSERT_EQ(report.lines()->rowCount(), 1);
    EXPECT_EQ(report.lines()->text(0, "购物日期"), "2026-12-02");
}

TEST_P(StaffFormTest, MenuEntriesOpenTheStaffWindows)
{
    LoginValues login;
    login.rights = QStringList(9, QString(31, QLatin1Char('1')));
    Tmain main(login);
    wireStaffForms(main);
    for (const char* entry : {"配送员工管理", "业务员管理", "业务员业绩情况"}) {
        QAction* a = main.action(QString::fromUtf8(entry));
        ASSERT_TRUE(a) << entry;
        EXPECT_TRUE(a->isEnabled()) << entry;
    }
    for (const char* name : {"Tpeisongyuan_list", "Tpeisongyuan_add", "Tticheng_mingxi", "TFyewuyuan_ticheng",
                             "TFchengpi_xiugai_ticheng", "TFyewuyuan_guanli", "TFyewuyuan_add"})
        EXPECT_TRUE(FormRegistry::instance().has(QString::fromUtf8(name))) << name;
    withModal([&] { main.action("配送员工管理")->trigger(); },
              [&](QWidget* w) { EXPECT_EQ(w->objectName(), "Tpeisongyuan_list"); });
}

TS_BOTH_ENGINES(StaffFormTest);

} // namespace
} // namespace ts
