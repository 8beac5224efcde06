#pragma once

#include "session/login_values.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QCloseEvent;
class QShowEvent;
class QMenu;
class QTimer;
class QToolBar;

namespace ts {

class MainBoard;
class Tabout;

// The window the operator works in all day. Its menus and toolbar reach every
// other form; which of them work depends on the forms that exist and on the
// operator's rights.
class Tmain : public QMainWindow {
    Q_OBJECT
public:
    using Opener = std::function<void(QWidget* parent)>;
    // For a form that several entries open in different ways (the backup form
    // with only 备份 or only 恢复, 手工订水 modal from the menu but not from the
    // toolbar): told the objectName of the entry that was chosen.
    using EntryOpener = std::function<void(QWidget* parent, const QString& entry)>;

    // The window reads and, after 权限管理, updates `login`; it must outlive
    // the window.
    explicit Tmain(LoginValues& login = LoginValues::current(), QWidget* parent = nullptr);
    ~Tmain() override;

    // Every entry that opens `formClass` opens it through `open` from now on
    // and works as far as the rights allow. Registering again replaces.
    void registerForm(const QString& formClass, Opener open);
    void registerForm(const QString& formClass, EntryOpener open);
    // Entries that do the window's own work before any form opens (the
    // operations on the selected order line, the overdue reminder, the
    // tutorial) get their work here, by objectName.
    void setEntryHandler(const QString& objectName, std::function<void()> run);

    // A form that works on the board's selected line (delivery, receipt,
    // cancellation, …): the board's entries that end in it work from now on,
    // after their checks of the line.
    using LineOpener = std::function<void(QWidget* parent, const QVariantMap& line, const QString& entry)>;
    void registerLineForm(const QString& formClass, LineOpener open);

    MainBoard* board() const { return board_; }

    // The window's timers ("Timer2" overdue customers, "Timer3"/"Timer4"
    // booked deliveries, "Timer5" dispenser cleaning, "Timer_duanxin" SMS):
    // the window starts them as the station's settings say; the reminder and
    // SMS parts give them their work here. A timer without work does nothing.
    void setTimerWork(const QString& timer, std::function<void()> work);
    QTimer* timer(const QString& name) const;
    // shuaxinmain.
    void refreshBoard();

    // Switches the entries on or off by the nine rights strings.
    void applyRights(const LoginValues& login);

    QAction* action(const QString& objectName) const;
    // Every menu entry and toolbar button, in creation order.
    QList<QAction*> entryActions() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Kind {
        Form,       // opens its form, once someone registered it
        Operation,  // the window's own work, wired by setEntryHandler
        Builtin,    // works from the start
    };
    struct Entry {
        QAction* action = nullptr;
        QString formClass;
        Kind kind = Kind::Form;
        int group = 0;  // 0: not controlled by rights
        int position = 0;
        bool strict = false;
        bool reloadsRights = false;
        bool rightsAllow = true;
        std::function<void()> run;
    };

    void buildMenusAndToolbar();
    void buildTimers();
    void startTimers();
    void applyBranding();
    void trigger(std::size_t index);
    void updateEnabled(Entry& entry);
    void reloadRights();
    void showAbout();
    void openHelp();
    Entry* entryNamed(const QString& objectName);

    LoginValues& login_;
    MainBoard* board_ = nullptr;
    std::map<QString, QTimer*> timers_;
    std::map<QString, std::function<void()>> timerWork_;
    bool started_ = false;
    std::map<QString, LineOpener> lineForms_;
    std::vector<Entry> entries_;
    QList<QMenu*> topMenus_;
    QToolBar* toolbar_ = nullptr;
    QPointer<Tabout> about_;
    bool leaving_ = false;
};

} // namespace ts
