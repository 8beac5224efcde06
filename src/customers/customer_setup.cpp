#include "customers/customer_setup.h"

#include "storage/db.h"
#include "storage/money.h"

namespace ts {

void CustomerTypes::fillEmptyCommissions()
{
    db_.run(QStringLiteral("update 客户类型 set 提成=0 where 提成 is null"));
}

Rows CustomerTypes::list()
{
    return db_.select(QStringLiteral("select 客户类型,提成 from 客户类型"));
}

Outcome CustomerTypes::add(const QString& type, const QString& commission)
{
    if (type.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请输入添加的客户类型"));
    Money m;
    if (!commission.trimmed().isEmpty() && !Money::parse(commission.trimmed(), &m))
        return Outcome::refused(QStringLiteral("提成必须是数字！！"));
    return db_.write([&] {
        db_.serialise(QStringLiteral("客户类型"));
        if (!db_.scalar(QStringLiteral("select 客户类型 from 客户类型 where 客户类型=:type"),
                        {{QStringLiteral("type"), type}})
                 .isNull())
            return Outcome::refused(QStringLiteral("已有重复的客户类型！！"));
        db_.run(QStringLiteral("insert into 客户类型 (客户类型,提成) values (:type,:commission)"),
                {{QStringLiteral("type"), type}, {QStringLiteral("commission"), m.toVariant()}});
        return Outcome::done();
    });
}

void CustomerTypes::remove(const QString& type)
{
    db_.run(QStringLiteral("delete from 客户类型 where 客户类型=:type"), {{QStringLiteral("type"), type}});
}

Outcome CustomerTypes::applyToCustomers()
{
    // One statement instead of one per type: every customer of a listed
    // type takes its type's rate; customers of no listed type keep theirs.
    db_.write([&] {
        db_.run(QStringLiteral("update 客户资料 set 提成=(select coalesce(max(t.提成),0) from 客户类型 t where t.客户类型=客户资料.客户类型) "
                               "where 客户类型 in (select 客户类型 from 客户类型)"));
    });
    return Outcome::done(QStringLiteral("全部修改完毕"));
}

Rows Regions::regions()
{
    return db_.select(QStringLiteral("select 区域 from 区域"));
}

Rows Regions::subAreas()
{
    return db_.select(QStringLiteral("select 区域,小区域 from 小区域"));
}

Outcome Regions::addRegion(const QString& region)
{
    if (region.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请输入添加的区域信息"));
    return db_.write([&] {
        db_.serialise(QStringLiteral("区域"));
        if (!db_.scalar(QStringLiteral("select 区域 from 区域 where 区域=:region"), {{QStringLiteral("region"), region}})
                 .isNull())
            return Outcome::refused(QStringLiteral("已有重复的区域设置！！"));
        db_.run(QStringLiteral("insert into 区域 (区域) values (:region)"), {{QStringLiteral("region"), region}});
        return Outcome::done();
    });
}

Outcome Regions::addSubArea(const QString& region, const QString& subArea)
{
    if (subArea.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请输入添加的小区域信息"));
    if (region.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请选择大区域信息"));
    const Binds b{{QStringLiteral("region"), region}, {QStringLiteral("sub"), subArea}};
    return db_.write([&] {
        db_.serialise(QStringLiteral("小区域"));
        if (!db_.scalar(QStringLiteral("select 小区域 from 小区域 where 区域=:region and 小区域=:sub"), b).isNull())
            return Outcome::refused(QStringLiteral("已有重复的小区域设置！！"));
        db_.run(QStringLiteral("insert into 小区域 (区域,小区域) values (:region,:sub)"), b);
        return Outcome::done();
    });
}

void Regions::removeRegion(const QString& region)
{
    db_.run(QStringLiteral("delete from 区域 where 区域=:region"), {{QStringLiteral("region"), region}});
}

void Regions::removeSubArea(const QString& region, const QString& subArea)
{
    db_.run(QStringLiteral("delete from 小区域 where 区域=:region and 小区域=:sub"),
             {{QStringLiteral("region"), region}, {QStringLiteral("sub"), subArea}});
}

} // namespace ts
