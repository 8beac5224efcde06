#include "app/Ulogin.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace ts;
using namespace ts::test;

class LoginFormTest : public FormTest {};

TEST_P(LoginFormTest, EnterInThePasswordLogsInAndWrongPasswordIsRefused)
{
    Tlogin form;
    form.show();
    auto* user = form.findChild<QComboBox*>("用户名");
    auto* password = form.findChild<QLineEdit*>("密码");
    ASSERT_TRUE(user && password);
    EXPECT_EQ(user->currentText(), "admin");
    EXPECT_EQ(user->count(), 1);
    // The offscreen screen is 800 pixels wide, the size the window warns about.
    EXPECT_EQ(messages.informations, QStringList{"本软件推荐在1024*768或者更高分辨率下运行，否则可能会出现显示问题"});
    messages.informations.clear();

    QSignalSpy spy(&form, &Tlogin::loggedIn);
    QTest::keyClicks(password, "wrong");
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(messages.informations, QStringList{"您无权登陆本系统！！"});
    EXPECT_TRUE(form.findChild<QPushButton*>("登陆")->isEnabled());

    password->clear();
    QTest::keyClicks(password, "admin");
    QTest::mouseClick(form.findChild<QPushButton*>("登陆"), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(LoginValues::current().operatorName, "admin");
}

TEST_P(LoginFormTest, HardwareBoxesExcludeEachOtherAndShowTheStoredChoice)
{
    db().exec("update 串口编号 set 编号=3");
    db().exec("update 来电路数 set 路数='二路'");
    Tlogin form;
    form.show();
    messages.informations.clear();
    auto* serial = form.findChild<QCheckBox*>("串口来电");
    auto* usb = form.findChild<QCheckBox*>("USB来电录音");
    auto* port = form.findChild<QComboBox*>("串口");
    EXPECT_TRUE(serial->isChecked());
    EXPECT_TRUE(port->isVisible());
    EXPECT_EQ(port->currentText(), "3");
    EXPECT_EQ(form.findChild<QComboBox*>("类型")->currentText(), "二路");
    EXPECT_FALSE(form.findChild<QComboBox*>("型号")->isVisible());

    usb->click();
    EXPECT_TRUE(usb->isChecked());
    EXPECT_FALSE(serial->isChecked());
    EXPECT_FALSE(port->isVisible());
    EXPECT_TRUE(form.findChild<QComboBox*>("型号")->isVisible());

    serial->click();
    EXPECT_FALSE(usb->isChecked());
    port->setCurrentText("6");
    form.findChild<QComboBox*>("类型")->setCurrentText("四路");
    QTest::keyClicks(form.findChild<QLineEdit*>("密码"), "admin");
    form.logIn();
    EXPECT_EQ(messages.informations,
              QStringList{"一路和二路和四路的来电显示接收盒有效串口编号为1-4，请重新进行设置！！"});
}

TS_BOTH_ENGINES(LoginFormTest);
