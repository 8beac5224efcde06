#include "stock/suppliers.h"

#include "stock/row_key.h"

namespace ts {

namespace {

Binds bindsOf(const Supplier& s)
{
    return {{QStringLiteral("name"), s.name},
            {QStringLiteral("contact"), s.contact},
            {QStringLiteral("phone"), s.phone},
            {QStringLiteral("mobile"), s.mobile},
            {QStringLiteral("address"), s.address}};
}

} // namespace

QSqlQuery SupplierList::list()
{
    return db_.exec(QStringLiteral("select %1 as rk, 供货商, 联系人, 电话, 手机, 地址 from 供货商列表 order by %2")
                        .arg(RowKey::select(db_), RowKey::order(db_)));
}

std::optional<Supplier> SupplierList::read(const QString& key)
{
    QSqlQuery q = db_.exec(
        QStringLiteral("select 供货商, 联系人, 电话, 手机, 地址 from 供货商列表 where %1").arg(RowKey::match(db_)),
        {{QStringLiteral("rk"), key}});
    if (!q.next())
        return std::nullopt;
    return Supplier{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                    q.value(4).toString()};
}

void SupplierList::add(const Supplier& s)
{
    db_.exec(QStringLiteral("insert into 供货商列表 (供货商, 联系人, 电话, 手机, 地址) "
                            "values (:name, :contact, :phone, :mobile, :address)"),
             bindsOf(s));
}

Outcome SupplierList::update(const QString& key, const Supplier& s)
{
    Binds b = bindsOf(s);
    b.insert(QStringLiteral("rk"), key);
    const QSqlQuery q = db_.exec(QStringLiteral("update 供货商列表 set 供货商=:name, 联系人=:contact, 电话=:phone, "
                                                "手机=:mobile, 地址=:address where %1")
                                     .arg(RowKey::match(db_)),
                                 b);
    if (q.numRowsAffected() != 1)
        return Outcome::refused(QStringLiteral("该供货商已被删除或修改，请重新打开供货商列表！！"));
    return Outcome::done();
}

void SupplierList::remove(const QString& key)
{
    db_.exec(QStringLiteral("delete from 供货商列表 where %1").arg(RowKey::match(db_)), {{QStringLiteral("rk"), key}});
}

} // namespace ts
