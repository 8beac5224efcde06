#include "orders/salespeople.h"

#include "storage/db.h"

namespace ts {

namespace {

const QString kEmptyName = QStringLiteral("请输入业务员姓名！！");
const QString kDuplicate = QStringLiteral("已有重复的业务员姓名！！");
const QString kGone = QStringLiteral("该业务员已经不存在！！");
const QString kNameRule = QStringLiteral("业务员表.姓名");

} // namespace

Rows Salespeople::list()
{
    return db_.select(QStringLiteral("select 姓名 from 业务员表 order by 姓名"));
}

QStringList Salespeople::names()
{
    return list().texts(QStringLiteral("姓名"));
}

bool Salespeople::exists(const QString& name)
{
    return !db_.scalar(QStringLiteral("select 姓名 from 业务员表 where 姓名=:name"), {{QStringLiteral("name"), name}})
                .isNull();
}

Outcome Salespeople::add(const QString& name)
{
    if (name.trimmed().isEmpty())
        return Outcome::refused(kEmptyName);
    return db_.write([&] {
        db_.serialise(kNameRule);
        if (exists(name))
            return Outcome::refused(kDuplicate);
        db_.run(QStringLiteral("insert into 业务员表 (姓名) values (:name)"), {{QStringLiteral("name"), name}});
        return Outcome::done();
    });
}

Outcome Salespeople::rename(const QString& originalName, const QString& name)
{
    if (name.trimmed().isEmpty())
        return Outcome::refused(kEmptyName);
    return db_.write([&] {
        db_.serialise(kNameRule);
        if (name != originalName && exists(name))
            return Outcome::refused(kDuplicate);
        if (db_.run(QStringLiteral("update 业务员表 set 姓名=:name where 姓名=:original"),
                    {{QStringLiteral("name"), name}, {QStringLiteral("original"), originalName}})
            == 0)
            return Outcome::refused(kGone);
        return Outcome::done();
    });
}

Outcome Salespeople::remove(const QString& name)
{
    db_.run(QStringLiteral("delete from 业务员表 where 姓名=:name"), {{QStringLiteral("name"), name}});
    return Outcome::done();
}

} // namespace ts
