#include "storage/db.h"
#include "support/builders.h"
#include "support/forms/form_fixture.h"
#include "widgets/action.h"

#include <QPushButton>
#include <QTest>

#include <functional>
#include <stdexcept>

namespace ts {
namespace {

using test::FormTest;

class ActionTest : public FormTest {
protected:
    int customers() { return db().scalar(QStringLiteral("select count(*) from 客户资料")).toInt(); }
};

struct ActionCase {
    const char* name;
    // Writes a customer, then ends as the case says.
    std::function<Outcome(Db&)> work;
    bool ok;
    int customersAfter;
    QStringList informations;
    QStringList errors;
};

TEST_P(ActionTest, EachEndShowsItsKindOfBoxAndLeavesNothingHalfWritten)
{
    const QList<ActionCase> cases{
        {"done", [](Db& db) { test::addCustomer(db); return Outcome::done(); }, true, 1, {}, {}},
        {"refused",
         [](Db& db) {
             test::addCustomer(db);
             return Outcome::refused(QStringLiteral("请填写客户姓名！！"));
         },
         false, 0, {"请填写客户姓名！！"}, {}},
        {"database error",
         [](Db& db) -> Outcome {
             test::addCustomer(db);
             db.run(QStringLiteral("insert into 没有这个表 (a) values (1)"));
             return Outcome::done();
         },
         false, 0, {}, {databaseErrorText()}},
        {"another station in the way",
         [](Db& db) -> Outcome {
             test::addCustomer(db);
             throw DbBusy(DbError(QStringLiteral("database is locked"), QStringLiteral("insert"), {}, true));
         },
         false, 0, {}, {busyMessage()}},
        {"program error",
         [](Db& db) -> Outcome {
             test::addCustomer(db);
             throw std::out_of_range("no such field");
         },
         false, 0, {}, {programErrorText()}},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        db().run(QStringLiteral("delete from 客户资料"));
        messages.clear();
        QPushButton button(QStringLiteral("确定"));
        Outcome seen;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            seen = runAction(&button, [&] { return db().write([&] { return c.work(db()); }); });
        });
        button.show();
        // A real click: whatever the work throws must not reach the event loop.
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(seen.ok, c.ok);
        EXPECT_EQ(customers(), c.customersAfter);
        EXPECT_EQ(messages.informations, c.informations);
        EXPECT_EQ(messages.errors, c.errors);
    }
}

TEST_P(ActionTest, WorkWithoutAnOutcomeTellsOnlyFailure)
{
    QWidget parent;
    EXPECT_TRUE(runAction(&parent, [&] { test::addCustomer(db()); }));
    EXPECT_FALSE(runAction(&parent, [&] { db().run(QStringLiteral("select * from 没有这个表")); }));
    EXPECT_TRUE(messages.informations.isEmpty());
    EXPECT_EQ(messages.errors, QStringList{databaseErrorText()});
    EXPECT_EQ(customers(), 1);
}

TS_BOTH_ENGINES(ActionTest);

} // namespace
} // namespace ts
