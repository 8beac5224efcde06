#include "app/Uabout.h"
#include "app/Umain.h"
#include "orders/order_basket.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QLabel>
#include <QUuid>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace ts {
namespace {

LoginValues everythingAllowed()
{
    LoginValues v;
    v.operatorName = QStringLiteral("admin");
    v.rights = QStringList(9, QString(31, QLatin1Char('1')));
    v.companyShortName = QStringLiteral("澄源");
    v.website = QStringLiteral("http://www.example.com");
    return v;
}

// Gives every entry something to do, so that only the rights decide.
void wireEverything(Tmain& w)
{
    for (QAction* a : w.entryActions())
        w.setEntryHandler(a->objectName(), [] {});
}

// Sorted and joined, so that a failure prints the names readably.
std::string joined(QStringList names)
{
    names.sort();
    return names.join(QLatin1Char(' ')).toStdString();
}

// Hidden entries read as disabled whatever the rights say, so only the
// visible ones tell what the rights did.
std::string entriesWhere(const Tmain& w, bool enabled)
{
    QStringList names;
    for (QAction* a : w.entryActions()) {
        if (a->isVisible() && a->isEnabled() == enabled)
            names << a->objectName();
    }
    return joined(names);
}

std::string disabledEntries(const Tmain& w)
{
    return entriesWhere(w, false);
}

QStringList texts(const QList<QAction*>& actions, bool visibleOnly)
{
    QStringList out;
    for (QAction* a : actions) {
        if (!a->isSeparator() && (!visibleOnly || a->isVisible()))
            out << a->text();
    }
    return out;
}

TEST(MainWindow, MenusAndToolbarInOrder)
{
    LoginValues v = everythingAllowed();
    Tmain w(v);
    EXPECT_EQ(w.objectName(), QStringLiteral("Tmain"));
    EXPECT_EQ(texts(w.menuBar()->actions(), false),
              (QStringList{"基本数据", "日常业务管理", "水票、桶、饮水机管理", "水卡及预付费", "提醒设置", "收支管理",
                           "库存管理", "查询统计", "手机短信", "系统管理", "帮助.."}));

    auto* toolbar = w.findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(texts(toolbar->actions(), true),
              (QStringList{"手工订水", "客户资料", "产品入库", "发货", "收款", "收票", "签单", "卡付款", "删除订货单",
                           "预付回单", "客户追踪", "当日结帐", "退出系统"}));

    // The board's operations sit in the daily menu out of sight.
    auto* daily = w.findChild<QMenu*>(QStringLiteral("日常业务管理"));
    ASSERT_TRUE(daily);
    EXPECT_EQ(texts(daily->actions(), true), (QStringList{"手工订水", "预约信息", "积分兑换", "积分兑换查询"}));
    EXPECT_EQ(texts(daily->actions(), false).size(), 12);
    EXPECT_FALSE(w.action(QStringLiteral("饮水机销售与赠送"))->isVisible());
    EXPECT_FALSE(w.action(QStringLiteral("饮水机销售与赠送查询"))->isVisible());

    // Captions two menus share are told apart by their menu.
    for (const char* name : {"水票、桶、饮水机管理/还票查询", "查询统计/还票查询", "水票、桶、饮水机管理/空桶库存查询",
                             "库存管理/空桶库存查询", "水票、桶、饮水机管理/水票跟踪查询", "查询统计/水票跟踪查询",
                             "toolbar/手工订水", "手工订水"}) {
        EXPECT_TRUE(w.action(QString::fromUtf8(name))) << name;
    }
    EXPECT_FALSE(w.action(QStringLiteral("还票查询")));
    EXPECT_EQ(w.action(QStringLiteral("查询统计/还票查询"))->data().toString(), QStringLiteral("TFhuanpiao_chaxun"));
    EXPECT_EQ(w.action(QStringLiteral("最后订水时间查询"))->data().toString(), QStringLiteral("Tkehu_list"));

    QSet<QString> names;
    for (QAction* a : w.entryActions())
        names << a->objectName();
    EXPECT_EQ(names.size(), w.entryActions().size()) << "object names must be unique";
}

struct BrandCase {
    const char* shortName;
    const char* website;
    const char* title;
    bool tutorialVisible;
    bool helpVisible;
    bool helpMenuVisible;
};

TEST(MainWindow, CaptionAndHelpFollowTheBrand)
{
    const BrandCase cases[] = {
        {"澄源", "http://www.example.com", "澄源ruzuzud2010---推荐在1024*768分辨率下运行  版本号：2011.03.08.00.00",
         true, true, true},
        {"水之源", "", "水之源rivodaz2010----  版本号：2011.03.08.00.00", false, false, true},
        {"", "http://www.example.com", "rivodaz2010----  版本号：2011.03.08.00.00", false, true, false},
    };
    for (const BrandCase& c : cases) {
        SCOPED_TRACE(c.shortName);
        LoginValues v = everythingAllowed();
        v.companyShortName = QString::fromUtf8(c.shortName);
        v.website = QString::fromUtf8(c.website);
        Tmain w(v);
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(w.action(QStringLiteral("网络视频教程"))->isVisible(), c.tutorialVisible);
        EXPECT_EQ(w.action(QStringLiteral("帮助"))->isVisible(), c.helpVisible);
        EXPECT_EQ(w.findChild<QMenu*>(QStringLiteral("帮助.."))->menuAction()->isVisible(), c.helpMenuVisible);
    }
}

struct RightsCase {
    int group;
    const char* rights;
    QStringList disabled;
};

TEST(MainWindow, RightsSwitchTheirEntries)
{
    const RightsCase cases[] = {
        {1, "1111111111111111111111111111111", {}},
        {1, "0111111", {"商品资料设定"}},
        {1, "1111101", {"系统设置"}},
        {1, "11110", {"客户资料管理", "toolbar/客户资料"}},
        {2, "1101111111111111", {"toolbar/发货"}},
        {2, "1111111011111111", {"toolbar/预付回单"}},
        // 积分兑换 wants an explicit "1"; a missing or other character bars it.
        {2, "111111111111111", {"积分兑换"}},
        {2, "1111111111111112", {"积分兑换"}},
        {2, "", {"积分兑换"}},
        // Any other string too short for a position leaves that entry on.
        {3, "0", {"水票登记打印"}},
        {3, "1111110", {"水票、桶、饮水机管理/还票查询"}},
        {3, "1111111111111111110", {"水票、桶、饮水机管理/空桶库存查询"}},
        {3, "1111111111111111111111111111110", {"饮水机清洗流水记录"}},
        {4, "10", {"超时订水客户提醒"}},
        {5, "11110111", {"今日结帐", "toolbar/当日结帐"}},
        {6, "1110", {"库存管理/空桶库存查询"}},
        {6, "0", {"产品入库", "toolbar/产品入库"}},
        {7, "110", {"查询统计/还票查询"}},
        {7, "111111111011", {"查询统计/水票跟踪查询"}},
        {8, "111110", {"menu/手机短信"}},
        {8, "11001", {"数据备份", "数据恢复"}},
        {9, "00", {"帮助", "关于"}},
    };
    LoginValues v = everythingAllowed();
    Tmain w(v);
    wireEverything(w);
    for (const RightsCase& c : cases) {
        SCOPED_TRACE(QStringLiteral("right%1 %2").arg(c.group).arg(QString::fromUtf8(c.rights)).toStdString());
        LoginValues rights = everythingAllowed();
        rights.rights[c.group - 1] = QString::fromUtf8(c.rights);
        w.applyRights(rights);
        EXPECT_EQ(disabledEntries(w), joined(c.disabled));
    }
}

TEST(MainWindow, NoRightsLeavesOnlyTheUncontrolledEntries)
{
    LoginValues v = everythingAllowed();
    v.rights = QStringList(9, QString(31, QLatin1Char('0')));
    Tmain w(v);
    wireEverything(w);
    w.applyRights(v);
    EXPECT_EQ(entriesWhere(w, true), joined({"业务员管理", "供货商资料", "积分兑换查询", "空桶入库明细表", "空桶出库明细表",
                                      "出库明细查询", "入库汇总查询", "发送短信", "短信帐户设置", "短信发送情况",
                                      "工作模式", "网络视频教程", "toolbar/卡付款", "toolbar/退出系统"}));
}

TEST(MainWindow, EntriesWorkOnceTheirFormIsRegistered)
{
    LoginValues v = everythingAllowed();
    Tmain w(v);
    QAction* goods = w.action(QStringLiteral("商品资料设定"));
    EXPECT_FALSE(goods->isEnabled()) << "no form behind it yet";
    EXPECT_TRUE(w.action(QStringLiteral("关于"))->isEnabled());
    EXPECT_TRUE(w.action(QStringLiteral("toolbar/退出系统"))->isEnabled());
    EXPECT_FALSE(w.action(QStringLiteral("网络视频教程"))->isEnabled());

    QList<QWidget*> parents;
    w.registerForm(QStringLiteral("Tshangpin_list"), [&](QWidget* parent) { parents << parent; });
    ASSERT_TRUE(goods->isEnabled());
    goods->trigger();
    EXPECT_EQ(parents, QList<QWidget*>{&w});

    // Rights and registration may come in either order.
    LoginValues barred = everythingAllowed();
    barred.rights[0] = QStringLiteral("0");
    w.applyRights(barred);
    EXPECT_FALSE(goods->isEnabled());
    w.applyRights(v);
    EXPECT_TRUE(goods->isEnabled());

    w.registerForm(QStringLiteral("TFhuanpiao_chaxun"), [](QWidget*) {});
    EXPECT_TRUE(w.action(QStringLiteral("水票、桶、饮水机管理/还票查询"))->isEnabled());
    EXPECT_TRUE(w.action(QStringLiteral("查询统计/还票查询"))->isEnabled());

    // The receipt form alone does not make the board's 收款 work: the line
    // checks come first.
    w.registerForm(QStringLiteral("Tshoukuan"), [](QWidget*) {});
    EXPECT_FALSE(w.action(QStringLiteral("toolbar/收款"))->isEnabled());
    int received = 0;
    w.setEntryHandler(QStringLiteral("toolbar/收款"), [&] { ++received; });
    w.action(QStringLiteral("toolbar/收款"))->trigger();
    EXPECT_EQ(received, 1);

    QStringList chosen;
    w.registerForm(QStringLiteral("Tshujv_guanli"), [&](QWidget*, const QString& entry) { chosen << entry; });
    w.action(QStringLiteral("数据恢复"))->trigger();
    w.action(QStringLiteral("数据备份"))->trigger();
    EXPECT_EQ(chosen, (QStringList{"数据恢复", "数据备份"}));
}

TEST(MainWindow, AboutBoxShowsTheBranding)
{
    LoginValues v = everythingAllowed();
    v.companyFullName = QStringLiteral("某某软件有限公司");
    v.servicePhone = QStringLiteral("0731-12345678");
    v.serviceQQ = QStringLiteral("123456");
    v.serviceEmail = QStringLiteral("service@example.com");
    Tmain w(v);

    Tabout* shown = nullptr;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<Tabout*>(top); about && about->isVisible()) {
                shown = about;
                about->reject();
            }
        }
    });
    w.action(QStringLiteral("关于"))->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("关于...."));
    EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("公司全称"))->text(), v.companyFullName);
    EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("电话"))->text(), v.servicePhone);
    EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("QQ"))->text(), v.serviceQQ);
    EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("EMAIL"))->text(), v.serviceEmail);
    EXPECT_TRUE(shown->findChild<QLabel*>(QStringLiteral("网站"))->text().contains(v.website));
}

class MainWindowDb : public test::FormTest {};

qint64 basketRows(Db& db, const QString& key)
{
    return db.scalar(QStringLiteral("select count(*) from 销售临时表 where 电话号码=:k"), {{QStringLiteral("k"), key}})
        .toLongLong();
}

TEST_P(MainWindowDb, ClosingAsksAndEmptiesThisStationsBaskets)
{
    struct Case {
        bool viaToolbar;
        bool answer;
    };
    const QString ours = OrderBasket::newKey();
    // Another PC's open order window: a key with another station's prefix.
    const QString theirs = QStringLiteral("0000zzzz-") + QUuid::createUuid().toString(QUuid::Id128);
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "toolbar " << c.viaToolbar << ", OK " << c.answer);
        db().exec(QStringLiteral("delete from 销售临时表"));
        for (const QString& key : {ours, theirs}) {
            OrderBasket basket(db(), key);
            basket.add(QStringLiteral("桶装水"), Money::yuan(8), std::nullopt, QStringLiteral("水"));
            basket.add(QStringLiteral("矿泉水"), Money::yuan(2), std::nullopt, QStringLiteral("水"));
        }
        LoginValues v = everythingAllowed();
        Tmain w(v);
        w.show();
        messages.clear();
        messages.expectQuestion(QStringLiteral("确实要退出吗？"), c.answer);
        if (c.viaToolbar)
            w.action(QStringLiteral("toolbar/退出系统"))->trigger();
        else
            w.close();

        EXPECT_EQ(messages.questions, QStringList{QStringLiteral("确实要退出吗？")});
        EXPECT_EQ(messages.captions, QStringList{QStringLiteral("澄源rivodaz")});
        EXPECT_EQ(w.isVisible(), !c.answer);
        EXPECT_EQ(basketRows(db(), ours), c.answer ? 0 : 2);
        EXPECT_EQ(basketRows(db(), theirs), 2);
    }
}

TEST_P(MainWindowDb, RightsAreReadAgainAfterTheRightsEditor)
{
    LoginValues v = everythingAllowed();
    Tmain w(v);
    wireEverything(w);
    w.registerForm(QStringLiteral("Tcaozuoyuan_list"), [&](QWidget*) {
        db().exec(QStringLiteral("update 登陆 set right1=:r where 用户=:u"),
                  {{QStringLiteral("r"), QStringLiteral("0111111")}, {QStringLiteral("u"), QStringLiteral("admin")}});
    });
    w.action(QStringLiteral("权限管理"))->trigger();
    EXPECT_EQ(v.rights.at(0), QStringLiteral("0111111"));
    EXPECT_EQ(disabledEntries(w), "商品资料设定");
}

TEST_P(MainWindowDb, HelpThatCannotBeOpenedIsTold)
{
    LoginValues v = everythingAllowed();
    Tmain w(v);
    const QString manual = dir_.filePath(QStringLiteral("rarodud使用说明书.doc"));
    w.action(QStringLiteral("帮助"))->trigger();
    EXPECT_EQ(messages.errors,
              QStringList{QStringLiteral("找不到文件“%1”！！").arg(QDir::toNativeSeparators(manual))});

    // The headless test screen has no program for documents, like a station
    // PC without a word processor.
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    w.action(QStringLiteral("帮助"))->trigger();
    ASSERT_EQ(messages.errors.size(), 2);
    EXPECT_EQ(messages.errors.at(1),
              QStringLiteral("没有能打开“%1”的程序，请先安装相应的软件！！").arg(QDir::toNativeSeparators(manual)));
}

TS_BOTH_ENGINES(MainWindowDb);

} // namespace
} // namespace ts
