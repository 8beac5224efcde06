#include "app/Uhuanying.h"
#include "app/Ulogin.h"
#include "app/Umain.h"
#include "app/Uwiring.h"
#include "app/app_context.h"
#include "customers/Ukehu_add.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "widgets/application.h"
#include "widgets/form_helpers.h"
#include "widgets/form_registry.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QDir>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace ts {
namespace {

using namespace ts::test;

// The screen the program is made for; the main window's caption says so.
constexpr QSize kScreen(1024, 768);
// What a window system takes for the title bar and frame.
constexpr int kFrame = 40;

class WindowsFitTest : public FormTest {
protected:
    // With TONGSHUI_SCREENSHOTS=<folder> every window is also saved as a
    // picture there, to be looked at on a 1024×768 screen.
    void look(QWidget* w, const QString& name)
    {
        SCOPED_TRACE(name.toStdString());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
        EXPECT_LE(least.width(), kScreen.width()) << "wider than the screen at its smallest";
        EXPECT_LE(least.height(), kScreen.height() - kFrame) << "taller than the screen at its smallest";
        const QRect room = w->screen()->availableGeometry();
        EXPECT_LE(w->width(), std::max(room.width(), least.width()));
        EXPECT_LE(w->height(), std::max(room.height(), least.height()));
        const QString folder = qEnvironmentVariable("TONGSHUI_SCREENSHOTS");
        if (!folder.isEmpty()) {
            QTest::qWait(50);
            w->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
            // The other pages of a tabbed window too.
            if (auto* pages = w->findChild<QTabWidget*>()) {
                for (int i = 1; i < pages->count(); ++i) {
                    pages->setCurrentIndex(i);
                    QTest::qWait(50);
                    w->grab().save(QDir(folder).filePath(name + QStringLiteral("_%1.png").arg(i)));
                }
                pages->setCurrentIndex(0);
            }
        }
        w->hide();
    }
};

TEST_P(WindowsFitTest, EveryWindowFitsTheScreen)
{
    addRegion(db(), QStringLiteral("海淀区"), {QStringLiteral("中关村")});
    addCustomer(db(), {{"客户姓名", "北京市海淀区中关村科技园区管理委员会后勤服务中心"},
                       {"联系电话", "010-62345678-8001"},
                       {"联系地址", "北京市海淀区中关村大街一号院二号楼三单元四层四〇一室东侧"},
                       {"客户地区", "海淀区"},
                       {"小区域", "中关村"}});
    Tlogin login;
    look(&login, QStringLiteral("Tlogin"));
    Thuanying welcome(programDir());
    look(&welcome, QStringLiteral("Thuanying"));

    Tmain main;
    wireForms(main);
    look(&main, QStringLiteral("Tmain"));
    FormRegistry& forms = FormRegistry::instance();
    for (const QString& name : forms.classNames())
        look(forms.form(name), name);
    Tkehu_add customer;
    look(&customer, QStringLiteral("Tkehu_add"));
}

// Qt's own boxes, with Qt's Chinese texts loaded as the program loads them.
TEST(StandardBoxes, SpeakChineseAndFitTheScreen)
{
    QTranslator translation;
    ASSERT_TRUE(Application::loadQtTranslation(translation));
    QCoreApplication::installTranslator(&translation);
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("澄源rivodaz"), QStringLiteral("确实要退出吗？"),
                        QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QFileDialog files(nullptr, QStringLiteral("导出至excel文件"), QDir::tempPath(), QStringLiteral("Excel文件 (*.xlsx)"));
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        for (QWidget* w : std::initializer_list<QWidget*>{&box, &files}) {
            w->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
            EXPECT_LE(w->width(), kScreen.width());
            const QString folder = qEnvironmentVariable("TONGSHUI_SCREENSHOTS");
            if (!folder.isEmpty()) {
                QTest::qWait(50);
                w->grab().save(QDir(folder).filePath(QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(".png")));
            }
            w->hide();
        }
    }
    QCoreApplication::removeTranslator(&translation);
}

TS_BOTH_ENGINES(WindowsFitTest);

} // namespace
} // namespace ts
