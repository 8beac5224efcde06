#include "app/Uwiring.h"
#include "support/forms/form_fixture.h"
#include "widgets/form_registry.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ts;

namespace {
class Tprobe : public Form {};
} // namespace

TEST(Wiring, AModalFormOutlivesTheWindowThatOpenedIt)
{
    test::FormGlobals globals;
    FormRegistry::instance().add(QStringLiteral("Tprobe"), [] { return new Tprobe; });
    auto* caller = new QDialog;
    QPointer<QWidget> form = FormRegistry::instance().form(QStringLiteral("Tprobe"));
    QTimer::singleShot(0, form.data(), [f = form] { static_cast<QDialog*>(f.data())->accept(); });
    openModal(QStringLiteral("Tprobe"), caller);
    delete caller;
    ASSERT_FALSE(form.isNull());
    EXPECT_EQ(FormRegistry::instance().form(QStringLiteral("Tprobe")), form.data());
}
