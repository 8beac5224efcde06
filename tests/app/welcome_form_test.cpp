#include "app/Uhuanying.h"
#include "session/login_values.h"
#include "support/forms/form_fixture.h"
#include "support/qt_print.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

using namespace ts;

TEST(Welcome, BuiltInBrandShowsItsLinesOtherBrandsShowNone)
{
    test::FormGlobals globals;
    QTemporaryDir dir;
    LoginValues& lv = LoginValues::current();

    lv.companyShortName = "澄源";
    lv.companyFullName = "澄源纯净水配送管理系统";
    {
        Thuanying w(dir.path());
        EXPECT_EQ(w.findChild<QLabel*>("第一行")->text(), "澄源rivodaz2010 ");
        EXPECT_EQ(w.findChild<QLabel*>("第二行")->text(), "澄源纯净水配送管理系统");
    }
    lv.companyShortName = "山泉";
    {
        Thuanying w(dir.path());
        EXPECT_EQ(w.findChild<QLabel*>("第一行")->text(), "");
        EXPECT_EQ(w.findChild<QLabel*>("第二行")->text(), "");
    }
}

TEST(Welcome, IsOnScreenBeforeTheStartUpWorkGoesOn)
{
    test::FormGlobals globals;
    QTemporaryDir dir;
    Thuanying w(dir.path());
    w.showWhileWorking();
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_TRUE(w.windowHandle()->isExposed());
}
