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

Rows SupplierList::list()
{
    return db_.select(QStringLiteral("select %1 as rk, 供货商, 联系人, 电话, 手机, 地址 from 供货商列表 order by %2")
                        .arg(RowKey::select(db_), RowKey::order(db_)));
}

std::optional<Supplier> SupplierList::read(const QString& key)
{
    const Rows r = db_.select(
        QStringLiteral("select 供货商, 联系人, 电话, 手机, 地址 from 供货商列表 where %1").arg(RowKey::match(db_)),
        {{QStringLiteral("rk"), key}});
    if (r.isEmpty())
        return std::nullopt;
    return Supplier{r.value(0, 0).toString(), r.value(0, 1).toString(), r.value(0, 2).toString(),
                    r.value(0, 3).toString(), r.value(0, 4).toString()};
}

void SupplierList::add(const Supplier& s)
{
    db_.run(QStringLiteral("insert into 供货商列表 (供货商, 联系人, 电话, 手机, 地址) "
                            "values (:name, :contact, :phone, :mobile, :address)"),
             bindsOf(s));
}

Outcome SupplierList::update(const QString& key, const Supplier& s)
{
    Binds b = bindsOf(s);
    b.insert(QStringLiteral("rk"), key);
    const int changed = db_.run(QStringLiteral("update 供货商列表 set 供货商=:name, 联系人=:contact, 电话=:phone, "
                                               "手机=:mobile, 地址=:address where %1")
                                    .arg(RowKey::match(db_)),
                                b);
    if (changed != 1)
        return Outcome::refused(QStringLiteral("该供货商已被删除或修改，请重新打开供货商列表！！"));
    return Outcome::done();
}

void SupplierList::remove(const QString& key)
{
    db_.run(QStringLiteral("delete from 供货商列表 where %1").arg(RowKey::match(db_)), {{QStringLiteral("rk"), key}});
}

} // namespace ts
