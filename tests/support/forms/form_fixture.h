#pragma once

#include "customers/customer_picker.h"
#include "session/login_values.h"
#include "support/forms/recording_messages.h"
#include "support/test_db.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace ts::test {

// Puts back, when it goes, every global a form test can change: the login
// values, the installed messages, the form registry (forms and names), the
// customer picker's receivers, the program's database and folder.
class FormGlobals {
public:
    FormGlobals();
    ~FormGlobals();
    FormGlobals(const FormGlobals&) = delete;
    FormGlobals& operator=(const FormGlobals&) = delete;

private:
    LoginValues login_;
    CustomerPicker picker_;
    Messages* messages_;
    Db* db_;
    QString programDir_;
};

// Base of form tests on both engines: a fresh database, an operator "admin"
// with every right, recorded messages, and every global put back afterwards.
class FormTest : public DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    FormGlobals globals_;
    RecordingMessages messages;
};

// The child named `name` (its caption or label, as forms name them); a
// missing one fails the test.
template <class T> T* child(const QObject* parent, const QString& name)
{
    T* c = parent->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << "no child " << name.toStdString();
    return c;
}
template <class T> T* child(const QObject& parent, const QString& name)
{
    return child<T>(&parent, name);
}

// Chinese text arrives as key events that carry their text, as an input
// method delivers it; QTest::keyClicks maps ASCII only.
void typeText(QWidget* w, const QString& text);

// Runs `inside` with the modal window that `open` shows, once it is up, then
// closes it if `inside` did not, and lets `open` return.
void withModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside);

} // namespace ts::test
