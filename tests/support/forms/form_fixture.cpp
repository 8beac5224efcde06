#include "support/forms/form_fixture.h"

#include "app/app_context.h"
#include "widgets/form_registry.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace ts::test {

FormGlobals::FormGlobals()
    : login_(LoginValues::current())
    , picker_(CustomerPicker::instance())
    , messages_(&Messages::instance())
    , db_(hasAppDb() ? &appDb() : nullptr)
    , programDir_(programDir())
{
}

FormGlobals::~FormGlobals()
{
    // Forms go first: closing one may still read the login values.
    FormRegistry::instance().reset();
    CustomerPicker::instance() = picker_;
    LoginValues::current() = login_;
    setAppDb(db_);
    setProgramDir(programDir_);
    if (&Messages::instance() != messages_)
        ADD_FAILURE() << "a test left its own messages installed";
}

void FormTest::SetUp()
{
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    LoginValues& login = LoginValues::current();
    login.operatorName = QStringLiteral("admin");
    login.rights = QStringList(9, QString(40, QLatin1Char('1')));
    login.companyShortName = QStringLiteral("澄源");
}

void FormTest::TearDown()
{
    FormRegistry::instance().reset();
    DbTest::TearDown();
}

void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void withModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_TRUE(modal);
        inside(modal);
        ran = true;
        if (modal->isVisible())
            modal->close();
    });
    open();
    EXPECT_TRUE(ran);
}

} // namespace ts::test
