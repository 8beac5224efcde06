#include "stock/product_types.h"

#include "stock/row_key.h"

namespace ts {

bool ProductTypes::isReserved(const QString& type)
{
    return type == QStringLiteral("水") || type == QStringLiteral("饮水机");
}

Rows ProductTypes::list()
{
    return db_.select(QStringLiteral("select %1 as rk, 类型 from 商品类型 order by %2")
                        .arg(RowKey::select(db_), RowKey::order(db_)));
}

Outcome ProductTypes::add(const QString& type)
{
    if (type.isEmpty())
        return Outcome::refused(QStringLiteral("请输入添加的商品类型"));
    return db_.write([&] {
        db_.serialise(QStringLiteral("商品类型"));
        const Binds b{{QStringLiteral("type"), type}};
        if (!db_.select(QStringLiteral("select 类型 from 商品类型 where 类型=:type"), b).isEmpty())
            return Outcome::refused(QStringLiteral("已有重复的类型！！"));
        db_.run(QStringLiteral("insert into 商品类型 (类型) values (:type)"), b);
        return Outcome::done();
    });
}

Outcome ProductTypes::checkRemovable(const QString& type)
{
    if (isReserved(type))
        return Outcome::refused(type + QStringLiteral("为保留关键字，不能删除"));
    return Outcome::done();
}

Outcome ProductTypes::remove(const QString& key)
{
    return db_.write([&] {
        const Binds b{{QStringLiteral("rk"), key}};
        const QVariant type = db_.scalar(QStringLiteral("select 类型 from 商品类型 where %1").arg(RowKey::match(db_)), b);
        if (type.isNull())
            return Outcome::done();
        if (Outcome c = checkRemovable(type.toString()); !c)
            return c;
        db_.run(QStringLiteral("delete from 商品类型 where %1").arg(RowKey::match(db_)), b);
        return Outcome::done();
    });
}

} // namespace ts
