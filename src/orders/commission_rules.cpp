#include "orders/commission_rules.h"

#include "session/login_values.h"
#include "storage/db.h"

namespace ts::commission {

QString loadMethod(Db& db)
{
    return db.scalar(QStringLiteral("select 方式 from 提成方式 limit 1")).toString();
}

QString methodOfCaption(const QString& caption)
{
    if (caption == QStringLiteral("根据商品提成"))
        return kByProduct;
    if (caption == QStringLiteral("根据客户地区提成"))
        return kByDistrict;
    if (caption == QStringLiteral("根据客户类型提成"))
        return kByCustomerType;
    return {};
}

Outcome saveMethod(Db& db, LoginValues& login, const QString& method)
{
    // Only a method the order forms understand may be stored: anything else
    // would silently stop every commission from being computed.
    if (method != kByProduct && method != kByDistrict && method != kByCustomerType)
        return Outcome::refused(QStringLiteral("请选择提成方式！！"));
    db.run(QStringLiteral("update 提成方式 set 方式=:method"), {{QStringLiteral("method"), method}});
    login.commissionMethod = method;
    return Outcome::done(QStringLiteral("修改完毕"));
}

std::optional<Money> lineCommission(const QString& method, int units, Money productRate, Money customerRate)
{
    if (method == kByProduct)
        return productRate * units;
    if (method == kByDistrict || method == kByCustomerType)
        return customerRate * units;
    return std::nullopt;
}

Money customerTypeRate(Db& db, const QString& customerType)
{
    return Money::fromVariant(db.scalar(QStringLiteral("select 提成 from 客户类型 where 客户类型=:type limit 1"),
                                        {{QStringLiteral("type"), customerType}}));
}

bool keepsCommissionAtEntry(bool customerCollects, const QString& paymentMethod, const QString& workerFlag)
{
    if (customerCollects)
        return false;
    const bool prepaidOrFree = paymentMethod == QStringLiteral("预付款") || paymentMethod == QStringLiteral("免费");
    return !(prepaidOrFree && workerFlag == QStringLiteral("否"));
}

WorkerAtReceipt workerAtReceipt(Db& db, const QString& worker)
{
    if (worker.isEmpty())
        return WorkerAtReceipt::NoWorker;
    const Rows r = db.select(QStringLiteral("select 配送提成 from 员工列表 where 姓名=:name"),
                             {{QStringLiteral("name"), worker}});
    if (r.isEmpty())
        return WorkerAtReceipt::Unknown;
    return r.value(0, 0).toString() == QStringLiteral("是") ? WorkerAtReceipt::Earns : WorkerAtReceipt::DoesNotEarn;
}

} // namespace ts::commission
