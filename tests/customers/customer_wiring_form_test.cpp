#include "app/Umain.h"
#include "customers/Ucustomer_wiring.h"
#include "customers/Ukehu_leixing.h"
#include "customers/Ukehu_list.h"
#include "customers/Uqvyu_shezhi.h"
#include "session/login_values.h"
#include "support/forms/form_fixture.h"
#include "support/test_db.h"
#include "widgets/form_registry.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace ts {
namespace {

using namespace ts::test;

class CustomerWiringTest : public FormTest {};

TEST_P(CustomerWiringTest, MainEntriesOpenTheListForManagingAndTheSetupFormsModally)
{
    LoginValues login;
    login.rights = QStringList(9, QString(31, QLatin1Char('1')));
    Tmain main(login);
    wireCustomerForms(main);

    auto* list = FormRegistry::instance().get<Tkehu_list>();
    ASSERT_NE(list, nullptr);
    for (const char* entry : {"客户资料管理", "最后订水时间查询", "toolbar/客户资料"}) {
        SCOPED_TRACE(entry);
        list->setPickMode(QStringLiteral("销售1"));
        QAction* a = main.action(QString::fromUtf8(entry));
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();
        EXPECT_TRUE(list->isVisible());
        EXPECT_FALSE(list->isModal());
        EXPECT_TRUE(list->pickMode().isEmpty());
        list->hide();
    }

    for (const char* entry : {"客户区域设置", "客户类型设置"}) {
        SCOPED_TRACE(entry);
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            QWidget* w = QApplication::activeModalWidget();
            wasModal = w != nullptr;
            if (w)
                w->close();
        });
        main.action(QString::fromUtf8(entry))->trigger();
        EXPECT_TRUE(wasModal);
    }
}

TS_BOTH_ENGINES(CustomerWiringTest);

} // namespace
} // namespace ts
