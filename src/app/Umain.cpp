#include "app/Umain.h"

#include "app/Uabout.h"
#include "app/Umain_board.h"
#include "app/app_context.h"
#include "orders/order_basket.h"
#include "session/operators.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <iterator>

namespace ts {

namespace {

const QString kDefaultBrand = QStringLiteral("澄源");

enum Top { Jiben, Richang, Shuipiao, Shuika, Tixing, Shouzhi, Kucun, Chaxun, Duanxin, Xitong, Bangzhu, Toolbar };

const char* const kTopMenus[] = {
    "基本数据", "日常业务管理", "水票、桶、饮水机管理", "水卡及预付费", "提醒设置", "收支管理",
    "库存管理", "查询统计", "手机短信", "系统管理", "帮助..",
};

enum Flag : unsigned {
    None = 0,
    Hidden = 1,
    Strict = 2,         // enabled only by an explicit "1"
    Op = 4,             // the window's own work comes first; formClass is where it ends
    Builtin = 8,
    ReloadsRights = 16,  // the operator may have changed his own rights in that form
};

struct EntryRow {
    Top menu;
    const char* caption;
    const char* formClass;  // "" when the entry opens no form of its own
    int group;              // rights string 1–9, 0 for an entry every operator may use
    int position;
    unsigned flags;
};

// The whole menu tree and the toolbar in screen order. Adding a form later
// means registering it with registerForm(); the entries that name it are here
// already, disabled until then.
const EntryRow kEntries[] = {
    {Jiben, "商品资料设定", "Tshangpin_list", 1, 1, None},
    {Jiben, "配送员工管理", "Tpeisongyuan_list", 1, 2, None},
    {Jiben, "业务员管理", "TFyewuyuan_guanli", 0, 0, None},
    {Jiben, "客户区域设置", "Tqvyu_shezhi", 1, 3, None},
    {Jiben, "客户类型设置", "TFkehu_leixing", 1, 4, None},
    {Jiben, "客户资料管理", "Tkehu_list", 1, 5, None},
    {Jiben, "供货商资料", "TFgonghuoshang_list", 0, 0, None},
    {Jiben, "库房设置", "Tkufang_guanli", 1, 7, None},

    {Richang, "手工订水", "Txiaoshou", 2, 1, None},
    {Richang, "预约信息", "TFyuyue_xinxi", 2, 2, None},
    {Richang, "积分兑换", "TFjifen_duihuan", 2, 16, Strict},
    {Richang, "积分兑换查询", "TFjifen_duihuan_chaxun", 0, 0, None},
    // The toolbar and the board's pop-up menu do these; the menu keeps them
    // out of sight, and of them only 退款 is ever wired.
    {Richang, "发货", "Tfahuo", 2, 3, Hidden | Op},
    {Richang, "收款", "Tshoukuan", 2, 4, Hidden | Op},
    {Richang, "收票", "Tshoukuan", 2, 5, Hidden | Op},
    {Richang, "签单", "Tshoukuan", 2, 6, Hidden | Op},
    {Richang, "删除订货单", "Ttuidan", 2, 7, Hidden | Op},
    {Richang, "退货", "Ttuihuo", 2, 8, Hidden | Op},
    {Richang, "退款", "Ttuikuan", 2, 9, Hidden | Op},
    {Richang, "客户追踪", "TFkehu_zhuizong", 2, 10, Hidden | Op},

    {Shuipiao, "水票登记打印", "Tshuipiao_dengji", 3, 1, None},
    {Shuipiao, "水票销售", "Tshuipiao_guanli", 3, 2, None},
    {Shuipiao, "水票销售记录查询", "Tshuipiao_xiaoshou_chaxun", 3, 3, None},
    {Shuipiao, "客户剩余水票查询", "Tshuipiao_shengyu_chaxun", 3, 4, None},
    {Shuipiao, "水票回收", "Tshuipiao_huishou", 3, 5, None},
    {Shuipiao, "水票回收查询", "Tshuipiao_huishou_chaxun", 3, 6, None},
    {Shuipiao, "还票查询", "TFhuanpiao_chaxun", 3, 7, None},
    {Shuipiao, "库存水票查询", "Tshuipiao_chaxun", 3, 8, None},
    {Shuipiao, "水票跟踪查询", "TFshuipiao_genzong", 3, 9, None},
    {Shuipiao, "水票跟踪录入", "TFshuipiao_genzong_luru", 3, 10, None},
    {Shuipiao, "空桶出库", "Tkongtong_chuku", 3, 11, None},
    {Shuipiao, "空桶入库", "Tkongtong_ruku", 3, 12, None},
    {Shuipiao, "空桶销售", "TFkongtong_xiaoshou", 3, 14, None},
    {Shuipiao, "空桶对换", "TFkongtong_duihuan", 3, 18, None},
    {Shuipiao, "空桶库存查询", "Tkongtong_kucun", 3, 19, None},
    {Shuipiao, "空桶入库明细表", "TFtong_ruku_mingxi", 0, 0, None},
    {Shuipiao, "空桶出库明细表", "TFtong_chuku_mingxi", 0, 0, None},
    {Shuipiao, "空桶出租", "Ttong_chuzu", 3, 13, None},
    {Shuipiao, "租桶回收", "Ttong_huishou", 3, 15, None},
    {Shuipiao, "借桶归还", "TFqiantong_guihuan", 3, 16, None},
    {Shuipiao, "借桶转租", "Ttong_qiantong", 3, 17, None},
    {Shuipiao, "出租桶情况查询", "Ttong_chuzu_chaxun", 3, 20, None},
    {Shuipiao, "出租桶回收情况查询", "Ttong_guihuan_chaxun", 3, 21, None},
    {Shuipiao, "借桶情况查询", "TFqiantong_guihuan", 3, 22, None},
    {Shuipiao, "还桶情况查询", "TFhuantong_chaxun", 3, 23, None},
    // Dispensers are sold as order lines; these two stay for the rights
    // editor's sake and are never shown.
    {Shuipiao, "饮水机销售与赠送", "", 3, 24, Hidden | Op},
    {Shuipiao, "饮水机销售与赠送查询", "", 3, 25, Hidden | Op},
    {Shuipiao, "饮水机租借", "Tyinshuiji_jieyong", 3, 26, None},
    {Shuipiao, "饮水机租借流水帐", "TFyinshuiji_zujie_liushuizhang", 3, 27, None},
    {Shuipiao, "饮水机归还", "Tyinshuiji_guihuan", 3, 28, None},
    {Shuipiao, "饮水机归还流水帐", "Tyinshuiji_guihuan_chaxun", 3, 29, None},
    {Shuipiao, "饮水机清洗", "TFyinshuiji_qingxi", 3, 30, None},
    {Shuipiao, "饮水机清洗流水记录", "TFyinshuiji_qingxi_chaxun", 3, 31, None},

    {Shuika, "水卡续费", "TFshuika_xufei", 2, 11, None},
    {Shuika, "水卡续费明细", "Tshuika_xiaoshou_chaxun", 2, 12, None},
    {Shuika, "客户水卡剩余", "TFshuika_shengyu_chaxun", 2, 13, None},
    {Shuika, "预付款流水查询", "TFyufukuan_liushuizhang", 2, 14, None},

    {Tixing, "提醒设置", "TFtixing_shezhi", 4, 1, None},
    {Tixing, "超时订水客户提醒", "", 4, 2, Op},
    {Tixing, "预约提醒查询", "TFyuyue_tixing", 4, 3, None},
    {Tixing, "饮水机清洗提醒", "TFyinshuiji_qingxi_tixing", 4, 4, None},

    {Shouzhi, "收支明细表", "Tfeiyong_chaxun", 5, 1, None},
    {Shouzhi, "其他收入登记", "Tfeiyong_dengji", 5, 2, None},
    {Shouzhi, "其他支出登记", "Tzhichu_dengji", 5, 3, None},
    {Shouzhi, "收支汇总单", "Tyewudan", 5, 4, None},
    {Shouzhi, "今日结帐", "TFjiezhang", 5, 5, None},
    {Shouzhi, "结帐明细查询", "TFjiezhang_chaxun", 5, 6, None},
    {Shouzhi, "月结", "TFyuejie", 5, 7, None},
    {Shouzhi, "月结查询", "TFyuejie_chaxun", 5, 8, None},

    {Kucun, "产品入库", "Truku", 6, 1, None},
    {Kucun, "产品出库", "Tchuku", 6, 2, None},
    {Kucun, "产品库存情况", "Tzongkucun", 6, 3, None},
    {Kucun, "空桶库存查询", "Tkongtong_kucun", 6, 4, None},
    {Kucun, "入库明细查询", "Truku_mingxi", 6, 5, None},
    {Kucun, "出库明细查询", "Tchuku_mingxi", 0, 0, None},
    {Kucun, "入库汇总查询", "TFruku_huizong", 0, 0, None},

    {Chaxun, "订单查询", "Tdangri_yeji", 7, 1, None},
    {Chaxun, "签单查询", "Tqiandan_chaxun", 7, 2, None},
    {Chaxun, "还票查询", "TFhuanpiao_chaxun", 7, 3, None},
    {Chaxun, "还款查询", "TFhuankuan_chaxun", 7, 4, None},
    {Chaxun, "最后订水时间查询", "Tkehu_list", 7, 5, None},
    {Chaxun, "配送员销售情况", "Tchaxun", 7, 6, None},
    {Chaxun, "业务员业绩情况", "TFyewuyuan_ticheng", 7, 12, None},
    {Chaxun, "客户订水情况统计", "Tkehu_goumai_chaxun", 7, 7, None},
    {Chaxun, "产品销售统计", "Tchanpin_xiaoshou_tongji", 7, 8, None},
    {Chaxun, "剩余水票查询", "Tshuipiao_chaxun", 7, 9, None},
    {Chaxun, "水票跟踪查询", "TFshuipiao_genzong", 7, 10, None},
    // The board's own 历史来电记录 button works through this entry.
    {Chaxun, "历史来电记录", "Tlaidian_jilu", 7, 11, None},

    // The menu as a whole answers to right 8/6, not its entries.
    {Duanxin, "发送短信", "TFduanxin_fasong", 0, 0, None},
    {Duanxin, "短信帐户设置", "TFduanxin_zhanghu", 0, 0, None},
    {Duanxin, "短信发送情况", "TFduanxin_fasong_xiangxi", 0, 0, None},

    // 系统设置 edits the station information, which the rights count among
    // the basic data.
    {Xitong, "系统设置", "TFshuizhan_xinxi", 1, 6, None},
    {Xitong, "权限管理", "Tcaozuoyuan_list", 8, 1, ReloadsRights},
    {Xitong, "密码管理", "Txiugai_mima", 8, 2, None},
    {Xitong, "工作模式", "TFgongzuo_moshi", 0, 0, None},
    {Xitong, "数据备份", "Tshujv_guanli", 8, 3, None},
    {Xitong, "数据恢复", "Tshujv_guanli", 8, 4, None},
    {Xitong, "数据初始化", "Tshujv_chushihua", 8, 5, None},

    {Bangzhu, "帮助", "", 9, 1, Builtin},
    {Bangzhu, "网络视频教程", "", 0, 0, Op},
    {Bangzhu, "关于", "Tabout", 9, 2, None},

    {Toolbar, "手工订水", "Txiaoshou", 2, 1, None},
    {Toolbar, "客户资料", "Tkehu_list", 1, 5, None},
    {Toolbar, "产品入库", "Truku", 6, 1, None},
    {Toolbar, "发货", "Tfahuo", 2, 3, Op},
    {Toolbar, "收款", "Tshoukuan", 2, 4, Op},
    {Toolbar, "收票", "Tshoukuan", 2, 5, Op},
    {Toolbar, "签单", "Tshoukuan", 2, 6, Op},
    {Toolbar, "卡付款", "Tshoukuan", 0, 0, Op},
    {Toolbar, "删除订货单", "Ttuidan", 2, 7, Op},
    {Toolbar, "预付回单", "Tshoukuan", 2, 8, Op},
    {Toolbar, "客户追踪", "TFkehu_zhuizong", 2, 10, Op},
    {Toolbar, "当日结帐", "TFjiezhang", 5, 5, None},
    {Toolbar, "退出系统", "", 0, 0, Builtin},
};

// The board's pop-up menu (发货, 收款, 收票, 签单, 删除订货单, 退货, 退款,
// 客户追踪 …) will add its entries with the same rights as their namesakes
// above (right 2, positions 3–10), so that one applyRights() covers them.

} // namespace

Tmain::Tmain(LoginValues& login, QWidget* parent)
    : QMainWindow(parent)
    , login_(login)
{
    setObjectName(QStringLiteral("Tmain"));
    resize(1024, 700);
    fitToScreen(this);

    board_ = new MainBoard(login_, [this](const QString& formClass) {
        const auto it = lineForms_.find(formClass);
        return it == lineForms_.end() ? LineOpener() : it->second;
    }, this);
    setCentralWidget(board_);

    buildMenusAndToolbar();
    buildTimers();
    // The board's own 历史来电记录 is the menu entry under another face: the
    // same form, the same right.
    if (auto* calls = board_->findChild<QPushButton*>(QStringLiteral("历史来电记录"))) {
        QAction* entry = action(QStringLiteral("历史来电记录"));
        connect(calls, &QPushButton::clicked, entry, &QAction::trigger);
        connect(entry, &QAction::changed, calls, [calls, entry] { calls->setEnabled(entry->isEnabled()); });
        calls->setEnabled(entry->isEnabled());
    }
    registerForm(QStringLiteral("Tabout"), [this](QWidget*) { showAbout(); });
    applyBranding();
    applyRights(login_);
}

Tmain::~Tmain() = default;

void Tmain::buildMenusAndToolbar()
{
    for (const char* caption : kTopMenus) {
        const QString text = QString::fromUtf8(caption);
        QMenu* menu = menuBar()->addMenu(text);
        menu->setObjectName(text);
        // A top menu shares its caption with an entry (提醒设置), so its own
        // action carries a prefix.
        menu->menuAction()->setObjectName(QStringLiteral("menu/") + text);
        topMenus_ << menu;
    }

    toolbar_ = addToolBar(QStringLiteral("toolbar"));
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);

    // Tests and later code find an entry by its objectName, so it must be
    // unique: a caption that two menus share is prefixed with its top menu
    // ("查询统计/还票查询"), and every toolbar button with "toolbar/".
    QHash<QString, int> menuCaptions;
    for (const EntryRow& row : kEntries) {
        if (row.menu != Toolbar)
            ++menuCaptions[QString::fromUtf8(row.caption)];
    }

    entries_.reserve(std::size(kEntries) + 1);
    for (const EntryRow& row : kEntries) {
        const QString caption = QString::fromUtf8(row.caption);
        QAction* action = nullptr;
        QString name = caption;
        if (row.menu == Toolbar) {
            action = toolbar_->addAction(caption);
            name = QStringLiteral("toolbar/") + caption;
        } else {
            QMenu* menu = topMenus_.at(row.menu);
            action = menu->addAction(caption);
            if (menuCaptions.value(caption) > 1)
                name = menu->title() + QLatin1Char('/') + caption;
        }
        action->setObjectName(name);
        action->setData(QString::fromUtf8(row.formClass));
        if (row.flags & Hidden)
            action->setVisible(false);

        Entry entry;
        entry.action = action;
        entry.formClass = QString::fromUtf8(row.formClass);
        entry.kind = (row.flags & Builtin) ? Kind::Builtin : (row.flags & Op) ? Kind::Operation : Kind::Form;
        entry.group = row.group;
        entry.position = row.position;
        entry.strict = row.flags & Strict;
        entry.reloadsRights = row.flags & ReloadsRights;
        const std::size_t index = entries_.size();
        connect(action, &QAction::triggered, this, [this, index] { trigger(index); });
        entries_.push_back(std::move(entry));
    }

    // The SMS rights bar the whole menu rather than its entries.
    Entry sms;
    sms.action = topMenus_.at(Duanxin)->menuAction();
    sms.kind = Kind::Builtin;
    sms.group = 8;
    sms.position = 6;
    entries_.push_back(std::move(sms));

    entryNamed(QStringLiteral("帮助"))->run = [this] { openHelp(); };
    entryNamed(QStringLiteral("toolbar/退出系统"))->run = [this] { close(); };
}

void Tmain::applyBranding()
{
    const QString brand = login_.companyShortName;
    const QString version = QStringLiteral("  版本号：") + QStringLiteral("2011.03.08.00.00");
    if (brand == kDefaultBrand) {
        setWindowTitle(brand + QStringLiteral("ruzuzud2010---推荐在1024*768分辨率下运行") + version);
    } else {
        setWindowTitle(brand + QStringLiteral("rivodaz2010----") + version);
        // The tutorial videos show the default brand; a reseller's copy
        // must not.
        action(QStringLiteral("网络视频教程"))->setVisible(false);
    }
    // The settings have no separate help address; the branding web address
    // is the one a reseller points at his own help pages.
    if (login_.website.isEmpty())
        action(QStringLiteral("帮助"))->setVisible(false);
    if (brand.isEmpty())
        topMenus_.at(Bangzhu)->menuAction()->setVisible(false);
}

void Tmain::registerForm(const QString& formClass, Opener open)
{
    if (!open) {
        registerForm(formClass, EntryOpener());
        return;
    }
    registerForm(formClass, EntryOpener([open = std::move(open)](QWidget* parent, const QString&) { open(parent); }));
}

void Tmain::registerForm(const QString& formClass, EntryOpener open)
{
    for (Entry& entry : entries_) {
        if (entry.kind != Kind::Form || entry.formClass != formClass)
            continue;
        if (open) {
            const QString name = entry.action->objectName();
            entry.run = [this, open, name] { open(this, name); };
        } else {
            entry.run = nullptr;
        }
        updateEnabled(entry);
    }
}

void Tmain::setEntryHandler(const QString& objectName, std::function<void()> run)
{
    Entry* entry = entryNamed(objectName);
    Q_ASSERT_X(entry, "Tmain::setEntryHandler", "no such entry");
    if (!entry)
        return;
    entry->run = std::move(run);
    updateEnabled(*entry);
}

void Tmain::registerLineForm(const QString& formClass, LineOpener open)
{
    if (open)
        lineForms_[formClass] = std::move(open);
    else
        lineForms_.erase(formClass);
    for (Entry& entry : entries_) {
        if (entry.kind != Kind::Operation || entry.formClass != formClass)
            continue;
        const QString caption = entry.action->text();
        if (lineForms_.count(formClass))
            entry.run = [this, caption] { board_->operate(caption); };
        else
            entry.run = nullptr;
        updateEnabled(entry);
    }
    board_->updateEntries();
}

void Tmain::refreshBoard()
{
    runAction(this, [this] { board_->refresh(); });
}

void Tmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Tests may show the window without a database.
    if (!hasAppDb())
        return;
    refreshBoard();
    if (!started_) {
        started_ = true;
        startTimers();
    }
}

void Tmain::buildTimers()
{
    struct TimerSetup {
        const char* name;
        int interval;
        bool once;
    };
    for (const TimerSetup& t : {TimerSetup{"Timer2", 1000, true}, TimerSetup{"Timer3", 1000, true},
                                TimerSetup{"Timer4", 60000, false}, TimerSetup{"Timer5", 5000, true},
                                TimerSetup{"Timer_duanxin", 1000, false}}) {
        const QString name = QString::fromLatin1(t.name);
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(t.interval);
        timer->setSingleShot(t.once);
        connect(timer, &QTimer::timeout, this, [this, name] {
            const auto it = timerWork_.find(name);
            if (it != timerWork_.end() && it->second)
                runAction(this, it->second);
        });
        timers_[name] = timer;
    }
}

void Tmain::startTimers()
{
    runAction(this, [this] {
        Db& db = appDb();
        timers_.at(QStringLiteral("Timer2"))->start();
        timers_.at(QStringLiteral("Timer5"))->start();
        const Rows booking = db.select(QStringLiteral("select 提前分钟,间隔分钟 from 预约设置 limit 1"));
        if (!booking.isEmpty() && booking.value(0, 0).toInt() != 0) {
            timers_.at(QStringLiteral("Timer3"))->start();
            const int minutes = booking.value(0, 1).toInt();
            if (minutes > 0) {
                timers_.at(QStringLiteral("Timer4"))->setInterval(minutes * 60000);
                timers_.at(QStringLiteral("Timer4"))->start();
            }
        }
        const QString smsUser = db.scalar(QStringLiteral("select 用户名 from 短信帐户 limit 1")).toString();
        if (!smsUser.isEmpty())
            timers_.at(QStringLiteral("Timer_duanxin"))->start();
    });
}

void Tmain::setTimerWork(const QString& timer, std::function<void()> work)
{
    timerWork_[timer] = std::move(work);
}

QTimer* Tmain::timer(const QString& name) const
{
    const auto it = timers_.find(name);
    return it == timers_.end() ? nullptr : it->second;
}

void Tmain::applyRights(const LoginValues& login)
{
    board_->applyRights(login);
    for (Entry& entry : entries_) {
        if (entry.group != 0) {
            entry.rightsAllow = entry.strict ? login.allowsStrict(entry.group, entry.position)
                                             : login.allows(entry.group, entry.position);
        }
        updateEnabled(entry);
    }
}

void Tmain::updateEnabled(Entry& entry)
{
    const bool works = entry.kind == Kind::Builtin || entry.run;
    entry.action->setEnabled(works && entry.rightsAllow);
}

void Tmain::trigger(std::size_t index)
{
    Entry& entry = entries_.at(index);
    if (!entry.run || !entry.action->isEnabled())
        return;
    // The form may register itself again while it is open, replacing run.
    const std::function<void()> run = entry.run;
    runAction(this, run);
    if (entry.reloadsRights)
        reloadRights();
}

void Tmain::reloadRights()
{
    // Rights that cannot be read stay as they were; the operator keeps
    // working with them.
    runAction(this, [this] {
        Operators operators(appDb());
        if (operators.find(login_.operatorName))
            login_.rights = operators.rights(login_.operatorName);
    });
    applyRights(login_);
}

void Tmain::showAbout()
{
    if (!about_)
        about_ = new Tabout(login_, this);
    about_->exec();
}

void Tmain::openHelp()
{
    if (login_.companyShortName != kDefaultBrand)
        openWithDesktop(this, QUrl::fromUserInput(login_.website));
    else
        openWithDesktop(this, QUrl::fromLocalFile(QDir(programDir()).filePath(QStringLiteral("rarodud使用说明书.doc"))));
}

Tmain::Entry* Tmain::entryNamed(const QString& objectName)
{
    for (Entry& entry : entries_) {
        if (entry.action->objectName() == objectName)
            return &entry;
    }
    return nullptr;
}

QAction* Tmain::action(const QString& objectName) const
{
    for (const Entry& entry : entries_) {
        if (entry.action->objectName() == objectName)
            return entry.action;
    }
    return nullptr;
}

QList<QAction*> Tmain::entryActions() const
{
    QList<QAction*> actions;
    for (const Entry& entry : entries_)
        actions << entry.action;
    return actions;
}

void Tmain::closeEvent(QCloseEvent* event)
{
    if (leaving_) {
        event->accept();
        return;
    }
    if (!Messages::instance().question(this, login_.companyShortName + QStringLiteral("rivodaz"),
                                       QStringLiteral("确实要退出吗？"))) {
        event->ignore();
        return;
    }
    leaving_ = true;
    // The modem probe stops here too once the window has it.
    for (auto& [name, timer] : timers_)
        timer->stop();
    // Baskets left behind by this station's windows go; another station's
    // open order keeps its lines. A failure is told, but leaving is not
    // refused over a scratch table.
    runAction(this, [] { OrderBasket::clearStation(appDb()); });
    event->accept();
    // The login window is hidden, not closed, so the last visible window
    // going is not the end of the program on its own.
    QCoreApplication::quit();
}

} // namespace ts
