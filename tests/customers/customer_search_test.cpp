#include "customers/customer_list.h"
#include "customers/customer_search_index.h"
#include "support/test_db.h"

#include <QSqlQuery>

#include <algorithm>

namespace ts {
namespace {

using test::DbTest;

// The indexed searches against the plain like they stand for, on the same
// rows: the engine's own like is the judge of what must be found.
class CustomerSearchTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        const QList<QStringList> people{
            {"张三丰", "13811112222", "HD001", "海淀区花园路1号"},
            {"李三丰", "62223333", "hd002", "海淀区学院路8号"},
            {"三丰", "13811119999 62228888", "CY%01", "朝阳区望京西路100%_路口"},
            {"ABC公司", "010-6222", "A_B\\C", "朝阳区光华路\"东门\""},
            {"abc商行", "", "abc", "丰台区丰台北路"},
            {"Äbcd", "13900000000", "x", "顺义区府前街"},
            {"王芳", "", "", ""},
        };
        for (const QStringList& p : people)
            add(p.at(0), p.at(1), p.at(2), p.at(3));
        db().exec(QStringLiteral("insert into 客户资料 (客户姓名) values ('无电话')"));
    }

    qint64 add(const QString& name, const QString& phone, const QString& code, const QString& address)
    {
        return db().insert(QStringLiteral("insert into 客户资料 (客户姓名,联系电话,手工编码,联系地址) values (:n,:p,:c,:a)"),
                           {{"n", name}, {"p", phone}, {"c", code}, {"a", address}});
    }

    QStringList search(const CustomerFilter& f)
    {
        return db().select(CustomerList(db()).search(f)).texts(QStringLiteral("客户姓名"));
    }

    // What `column like '%typed%'` gives, the pattern built by hand.
    QStringList plainLike(const QString& column, const QString& typed)
    {
        QString pattern;
        for (const QChar c : typed) {
            if (c == u'%' || c == u'_' || c == u'\\')
                pattern += u'\\';
            pattern += c;
        }
        return db()
            .select(QStringLiteral("select 客户姓名 from 客户资料 where %1 like :p escape '\\' order by id").arg(column),
                    {{"p", QStringLiteral("%") + pattern + QStringLiteral("%")}})
            .texts(QStringLiteral("客户姓名"));
    }
};

TEST_P(CustomerSearchTest, EverySearchFindsWhatThePlainLikeFinds)
{
    struct Case {
        const char* column;
        const char* typed;
        bool found;  // the case is only worth its name when like finds something
    };
    const Case cases[] = {
        {"客户姓名", "三丰", true},           // two characters: no trigram at all
        {"客户姓名", "张三丰", true},
        {"客户姓名", "丰", true},
        {"客户姓名", "ABC", true},            // SQLite like folds ASCII case, PostgreSQL's does not
        {"客户姓名", "abc", true},
        {"客户姓名", "äbc", false},           // neither folds beyond ASCII; the trigram table does
        {"客户姓名", "bcd", true},
        {"联系电话", "1111", true},
        {"联系电话", "6222", true},
        {"联系电话", "2222 6", false},
        {"联系电话", "9999 622", true},
        {"联系电话", "13", true},
        {"手工编码", "HD00", true},
        {"手工编码", "%01", true},             // typed % stands for itself
        {"手工编码", "A_B", true},
        {"手工编码", "AxB", false},            // _ is no wildcard
        {"手工编码", "_B\\C", true},
        {"联系地址", "100%_路", true},
        {"联系地址", "\"东门\"", true},        // a quote in the full-text query
        {"联系地址", "花园路1", true},
        {"联系地址", "海淀区 花园", false},
    };
    for (const Case& c : cases) {
        const QString column = QString::fromUtf8(c.column);
        const QString typed = QString::fromUtf8(c.typed);
        SCOPED_TRACE(std::string(c.column) + " " + c.typed);
        CustomerFilter f;
        if (column == QStringLiteral("客户姓名"))
            f.name = typed;
        else if (column == QStringLiteral("联系电话"))
            f.phone = typed;
        else if (column == QStringLiteral("手工编码"))
            f.code = typed;
        else
            f.address = typed;
        const QStringList expected = plainLike(column, typed);
        EXPECT_EQ(search(f), expected);
        if (c.found) {
            EXPECT_FALSE(expected.isEmpty());
        }
        if (column == QStringLiteral("联系电话")) {
            EXPECT_EQ(CustomerList(db()).byTelephone(typed).texts(QStringLiteral("客户姓名")), expected);
        }
    }
    // Boxes combine: the short name is compared on the rows the long
    // telephone found.
    CustomerFilter both;
    both.name = QStringLiteral("三丰");
    both.phone = QStringLiteral("1381111");
    EXPECT_EQ(search(both), (QStringList{"张三丰", "三丰"}));
}

TEST_P(CustomerSearchTest, IndexFollowsNewChangedAndDeletedCustomers)
{
    CustomerFilter byPhone;
    byPhone.phone = QStringLiteral("5557777");
    const qint64 id = add(QStringLiteral("新客户"), QStringLiteral("13855577770"), QStringLiteral("N1"), QStringLiteral("新地址"));
    EXPECT_EQ(search(byPhone), QStringList{"新客户"});

    db().exec(QStringLiteral("update 客户资料 set 联系电话='13900001111' where id=:id"), {{"id", id}});
    EXPECT_TRUE(search(byPhone).isEmpty());
    byPhone.phone = QStringLiteral("0000111");
    EXPECT_EQ(search(byPhone), QStringList{"新客户"});

    // A change to a column the index does not hold leaves it as it was.
    db().exec(QStringLiteral("update 客户资料 set 积分=5 where id=:id"), {{"id", id}});
    EXPECT_EQ(search(byPhone), QStringList{"新客户"});

    CustomerList(db()).remove(id);
    EXPECT_TRUE(search(byPhone).isEmpty());
}

TEST_P(CustomerSearchTest, CreatingTheIndexesAgainChangesNothingAndANewOneHoldsExistingRows)
{
    CustomerFilter f;
    f.address = QStringLiteral("学院路8");
    createSearchIndexes(db());
    EXPECT_EQ(search(f), QStringList{"李三丰"});

    // A database from before the index: its customers must be found once
    // the index is created.
    if (GetParam() == Engine::Sqlite)
        db().exec(QStringLiteral("drop table kehu_fts"));
    else
        db().exec(QStringLiteral("drop index ix_kehu_address_trgm"));
    createSearchIndexes(db());
    createSearchIndexes(db());
    EXPECT_EQ(search(f), QStringList{"李三丰"});
}

TS_BOTH_ENGINES(CustomerSearchTest);

} // namespace
} // namespace ts
