#include "orders/commission_reports.h"

#include "storage/dates.h"
#include "storage/db.h"

namespace ts {

namespace {

void addPeriod(const OrderPeriod& period, QString* sql, Binds* binds)
{
    if (!period.on)
        return;
    *sql += QStringLiteral(" and a.购物日期 between :sj1 and :sj2");
    binds->insert(QStringLiteral("sj1"), dbDate(period.from));
    binds->insert(QStringLiteral("sj2"), dbDate(period.to));
}

} // namespace

Query CommissionReports::workerLines(const QString& worker, const QDate& from, const QDate& to)
{
    return {QStringLiteral("select * from 产品销售开票 where 购物日期 between :rq1 and :rq2 and 配送工=:psg "
                           "order by 购物日期,单据编号,id"),
            {{QStringLiteral("rq1"), dbDate(from)}, {QStringLiteral("rq2"), dbDate(to)}, {QStringLiteral("psg"), worker}}};
}

Query CommissionReports::salespersonTotals(const OrderPeriod& period)
{
    QString sql = QStringLiteral("select 业务员,sum(数量) as 客户购买数量 from (select a.数量,b.业务员 "
                                 "from 产品销售开票 a,客户资料 b where a.客户编号=b.id and b.业务员<>''");
    Binds binds;
    addPeriod(period, &sql, &binds);
    sql += QStringLiteral(") c group by 业务员 order by 业务员");
    return {sql, binds};
}

Query CommissionReports::salespersonLines(const QString& salesperson, const OrderPeriod& period)
{
    QString sql = QStringLiteral(
        "select a.单据编号,a.购物日期,a.区域,a.小区域,a.单位,a.手工编号,a.客户姓名,a.产品名称,a.数量,a.收款方式,"
        "a.应付货款,a.实付货款,a.实付票数,a.签单数,a.签单人姓名,a.配送工,a.地址,a.电话,a.时间,a.操作员,b.业务员 "
        "from 产品销售开票 a,客户资料 b where a.客户编号=b.id and b.业务员=:ywy");
    Binds binds{{QStringLiteral("ywy"), salesperson}};
    addPeriod(period, &sql, &binds);
    sql += QStringLiteral(" order by a.购物日期,a.单据编号,a.id");
    return {sql, binds};
}

} // namespace ts
