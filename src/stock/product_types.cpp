#include "stock/product_types.h"

#include "stock/row_key.h"

namespace ts {

bool ProductTypes::isReserved(const QString& type)
{
    return type == QStringLiteral("水") || type == QStringLiteral("饮水机");
}

QSqlQuery ProductTypes::list()
{
    return db_.exec(QStringLiteral("select %1 as rk, 类型 from 商品类型 order by %2")
                        .arg(RowKey::select(db_), RowKey::order(db_)));
}

Outcome ProductTypes::add(const QString& type)
{
    if (type.isEmpty())
        return Outcome::refused(QStringLiteral("请输入添加的商品类型"));
    Transaction tx(db_);
    const Binds b{{QStringLiteral("type"), type}};
    if (db_.exec(QStringLiteral("select 类型 from 商品类型 where 类型=:type"), b).next())
        return Outcome::refused(QStringLiteral("已有重复的类型！！"));
    db_.exec(QStringLiteral("insert into 商品类型 (类型) values (:type)"), b);
    tx.commit();
    return Outcome::done();
}

Outcome ProductTypes::checkRemovable(const QString& type)
{
    if (isReserved(type))
        return Outcome::refused(type + QStringLiteral("为保留关键字，不能删除"));
    return Outcome::done();
}

Outcome ProductTypes::remove(const QString& key)
{
    Transaction tx(db_);
    const Binds b{{QStringLiteral("rk"), key}};
    QSqlQuery q = db_.exec(QStringLiteral("select 类型 from 商品类型 where %1").arg(RowKey::match(db_)), b);
    if (!q.next())
        return Outcome::done();
    if (Outcome c = checkRemovable(q.value(0).toString()); !c)
        return c;
    q.finish();
    db_.exec(QStringLiteral("delete from 商品类型 where %1").arg(RowKey::match(db_)), b);
    tx.commit();
    return Outcome::done();
}

} // namespace ts
