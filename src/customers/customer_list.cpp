#include "customers/customer_list.h"

#include "customers/customer_search_index.h"
#include "storage/dates.h"
#include "storage/db.h"

#include <QSqlRecord>

namespace ts {

CustomerFilter CustomerFilter::onOpening() const
{
    CustomerFilter f = *this;
    f.company.clear();
    f.withoutCommission = false;
    return f;
}

QStringList CustomerList::fields()
{
    return QStringLiteral("客户姓名,联系电话,客户地区,小区域,联系地址,客户单位,身份证号,客户类型,生日,手工编码,"
                          "最后订水时间,id,备用1,洗机频率,最后洗机时间,下次洗机时间,业务员,提成,订水总数量,"
                          "订水总次数,订水总金额,预付款剩余,积分")
        .split(QLatin1Char(','));
}

Query CustomerList::search(const CustomerFilter& f) const
{
    // An empty name or telephone box leaves its condition out rather than
    // matching "%%": that also lists customers whose column is null, and on
    // a large list it spares the engine a pattern test on every row. Typed
    // % and _ are plain characters to the operator.
    QString sql = QStringLiteral("select ") + fields().join(QLatin1Char(',')) + QStringLiteral(" from 客户资料 where 1=1");
    ContainsSearch contains(db_.engine());
    contains.add(QStringLiteral("客户姓名"), QStringLiteral("name"), f.name);
    contains.add(QStringLiteral("联系电话"), QStringLiteral("phone"), f.phone);
    contains.add(QStringLiteral("手工编码"), QStringLiteral("code"), f.code);
    contains.add(QStringLiteral("联系地址"), QStringLiteral("address"), f.address);
    contains.add(QStringLiteral("客户单位"), QStringLiteral("company"), f.company);
    sql += contains.conditions();
    Binds b = contains.binds();
    auto equal = [&](const QString& value, const QString& condition, const QString& bind) {
        if (value.isEmpty())
            return;
        sql += condition;
        b.insert(bind, value);
    };
    equal(f.region, QStringLiteral(" and 客户地区=:region"), QStringLiteral("region"));
    equal(f.subArea, QStringLiteral(" and 小区域=:subarea"), QStringLiteral("subarea"));
    equal(f.type, QStringLiteral(" and 客户类型=:type"), QStringLiteral("type"));
    if (f.periodOn) {
        // The whole of the last day counts, should a time of day ever be stored.
        sql += QStringLiteral(" and 最后订水时间 between :sj1 and :sj2");
        b.insert(QStringLiteral("sj1"), dbDate(f.from));
        b.insert(QStringLiteral("sj2"), dbDate(f.to) + QStringLiteral(" 23:59:59"));
    }
    if (f.withoutCommission)
        sql += QStringLiteral(" and (提成=0 or (提成 is null))");
    sql += f.byLastOrder ? QStringLiteral(" order by 最后订水时间,id") : QStringLiteral(" order by id");
    return {sql, b};
}

QString CustomerList::countText(int rows)
{
    return QStringLiteral("查询结果：共有") + QString::number(rows) + QStringLiteral("条记录符合查询条件");
}

Rows CustomerList::regionSummary()
{
    return db_.select(QStringLiteral("select 客户地区,count(*) as cc from 客户资料 group by 客户地区 order by 客户地区"));
}

Rows CustomerList::remainingTickets(qint64 customerId)
{
    return db_.select(QStringLiteral("select 产品名称,还剩数量 from 客户水票总表 where 客户编号=:bh order by id"),
                      {{QStringLiteral("bh"), customerId}});
}

Rows CustomerList::byTelephone(const QString& number)
{
    ContainsSearch contains(db_.engine());
    contains.add(QStringLiteral("联系电话"), QStringLiteral("phone"), number);
    return db_.select(QStringLiteral("select * from 客户资料 where 1=1") + contains.conditions()
                          + QStringLiteral(" order by id"),
                      contains.binds());
}

void CustomerList::fillEmptyCodes()
{
    db_.exec(QStringLiteral("update 客户资料 set 手工编码=:code where 手工编码 is null"),
             {{QStringLiteral("code"), QString(QLatin1String(""))}});
}

QStringList CustomerList::regions()
{
    return db_.select(QStringLiteral("select 区域 from 区域")).texts(0);
}

QStringList CustomerList::subAreas(const QString& region)
{
    return db_.select(QStringLiteral("select 小区域 from 小区域 where 区域=:region"), {{QStringLiteral("region"), region}})
        .texts(0);
}

QStringList CustomerList::types()
{
    return db_.select(QStringLiteral("select 客户类型 from 客户类型")).texts(0);
}

QStringList CustomerList::salespeople()
{
    return db_.select(QStringLiteral("select 姓名 from 业务员表")).texts(0);
}

QVariantMap CustomerList::customer(qint64 customerId)
{
    QSqlQuery q = db_.exec(QStringLiteral("select * from 客户资料 where id=:id"), {{QStringLiteral("id"), customerId}});
    QVariantMap row;
    if (!q.next())
        return row;
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i) {
        const QVariant v = q.value(i);
        const int type = v.metaType().id();
        // Dates come back alike from both engines.
        const bool date = type == QMetaType::QDateTime || type == QMetaType::QDate;
        row.insert(r.fieldName(i).compare(QLatin1String("id"), Qt::CaseInsensitive) == 0 ? QStringLiteral("id")
                                                                                          : r.fieldName(i),
                   date ? QVariant(dateText(v)) : v);
    }
    return row;
}

void CustomerList::remove(qint64 customerId)
{
    db_.exec(QStringLiteral("delete from 客户资料 where id=:id"), {{QStringLiteral("id"), customerId}});
}

} // namespace ts
