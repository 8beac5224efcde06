#include "stock/warehouses.h"
#include "support/test_db.h"

#include <QSqlQuery>

using namespace ts;
using ts::test::DbTest;

using Button = WarehouseEditor::Button;
using Mode = WarehouseEditor::Mode;

class WarehouseEditorTest : public DbTest {
protected:
    // Enabled buttons as their captions, in the window's order.
    static QString enabled(const WarehouseEditor& e)
    {
        const std::pair<Button, const char*> all[] = {
            {Button::Add, "新增"}, {Button::Edit, "修改"}, {Button::Save, "保存"},
            {Button::Cancel, "取消"}, {Button::Delete, "删除"},
        };
        QStringList on;
        for (const auto& [b, caption] : all)
            if (e.isEnabled(b))
                on << QString::fromUtf8(caption);
        return on.join(' ');
    }
    QStringList names()
    {
        QStringList out;
        const Rows q = WarehouseEditor(db()).list();
        for (int r = 0; r < q.size(); ++r)
            out << q.value(r, 1).toString();
        return out;
    }
};

TEST_P(WarehouseEditorTest, ButtonsFollowTheEditState)
{
    WarehouseEditor e(db());
    EXPECT_EQ(enabled(e), "新增 修改 删除");
    e.append();
    EXPECT_EQ(enabled(e), "保存 取消 删除");
    ASSERT_TRUE(e.save("一号库").ok);
    EXPECT_EQ(enabled(e), "新增 修改 删除");
    e.edit(1);
    EXPECT_EQ(e.mode(), Mode::Editing);
    EXPECT_EQ(enabled(e), "保存 取消 删除");
    e.cancel();
    EXPECT_EQ(enabled(e), "新增 修改 删除");
}

TEST_P(WarehouseEditorTest, AppendEditCancelAndDeleteWriteWhatTheySay)
{
    WarehouseEditor e(db());
    qint64 first = 0, second = 0;
    e.append();
    ASSERT_TRUE(e.save("一号库", &first).ok);
    e.append();
    ASSERT_TRUE(e.save("二号库", &second).ok);
    EXPECT_GT(second, first);
    EXPECT_EQ(names(), QStringList({"一号库", "二号库"}));

    e.edit(first);
    EXPECT_EQ(e.editedId(), first);
    ASSERT_TRUE(e.save("总库").ok);
    e.append();
    e.cancel();  // the pending append leaves nothing behind
    e.edit(second);
    e.cancel();
    EXPECT_EQ(names(), QStringList({"总库", "二号库"}));

    // Deleting during an append drops only the append.
    e.append();
    ASSERT_TRUE(e.remove(second).ok);
    EXPECT_EQ(e.mode(), Mode::Rest);
    EXPECT_EQ(names(), QStringList({"总库", "二号库"}));

    // Deleting during an edit deletes the row being edited.
    e.edit(first);
    ASSERT_TRUE(e.remove(second).ok);
    EXPECT_EQ(names(), QStringList({"二号库"}));
    ASSERT_TRUE(e.remove(second).ok);
    EXPECT_TRUE(names().isEmpty());

    // Empty and repeated names are the operator's business.
    e.append();
    ASSERT_TRUE(e.save("").ok);
    e.append();
    ASSERT_TRUE(e.save("").ok);
    EXPECT_EQ(names(), QStringList({"", ""}));
}

TEST_P(WarehouseEditorTest, EditingAnEmptyListAppends)
{
    WarehouseEditor e(db());
    e.edit(0);
    EXPECT_EQ(e.mode(), Mode::Appending);
    ASSERT_TRUE(e.save("一号库").ok);
    EXPECT_EQ(names(), QStringList({"一号库"}));
}

TS_BOTH_ENGINES(WarehouseEditorTest);
