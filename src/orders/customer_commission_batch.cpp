#include "orders/customer_commission_batch.h"

#include "storage/db.h"
#include "storage/money.h"

namespace ts {

QStringList CustomerCommissionBatch::districts()
{
    return db_.select(QStringLiteral("select 区域 from 区域 order by 区域")).texts(0);
}

QStringList CustomerCommissionBatch::subDistricts(const QString& district)
{
    return db_.select(QStringLiteral("select 小区域 from 小区域 where 区域=:district order by 小区域"),
                      {{QStringLiteral("district"), district}})
        .texts(0);
}

QStringList CustomerCommissionBatch::customerTypes()
{
    return db_.select(QStringLiteral("select 客户类型 from 客户类型 order by 客户类型")).texts(0);
}

Outcome CustomerCommissionBatch::byDistrict(const QString& district, const QString& subDistrict,
                                            const QString& rateText)
{
    Money rate;
    if (!Money::parse(rateText.trimmed(), &rate))
        return Outcome::refused(badRateMessage());
    Binds b{{QStringLiteral("rate"), rate.toVariant()}};
    QString sql = QStringLiteral("update 客户资料 set 提成=:rate");
    if (!district.isEmpty()) {
        sql += QStringLiteral(" where 客户地区=:district");
        b.insert(QStringLiteral("district"), district);
        if (!subDistrict.isEmpty()) {
            sql += QStringLiteral(" and 小区域=:sub");
            b.insert(QStringLiteral("sub"), subDistrict);
        }
    }
    db_.run(sql, b);
    return Outcome::done(doneMessage());
}

Outcome CustomerCommissionBatch::byCustomerType(const QString& customerType, const QString& rateText)
{
    if (!customerType.isEmpty() && rateText.isEmpty())
        return Outcome::done(doneMessage());
    Money rate;
    if (!Money::parse(rateText.trimmed(), &rate))
        return Outcome::refused(badRateMessage());
    const Binds b{{QStringLiteral("rate"), rate.toVariant()}, {QStringLiteral("type"), customerType}};
    if (customerType.isEmpty()) {
        db_.run(QStringLiteral("update 客户资料 set 提成=:rate"), {{QStringLiteral("rate"), rate.toVariant()}});
        return Outcome::done(doneMessage());
    }
    // The customers and their type change together, or a failure would leave
    // new customers of the type on the old rate while the existing ones moved.
    db_.write([&] {
        db_.run(QStringLiteral("update 客户资料 set 提成=:rate where 客户类型=:type"), b);
        db_.run(QStringLiteral("update 客户类型 set 提成=:rate where 客户类型=:type"), b);
    });
    return Outcome::done(doneMessage());
}

} // namespace ts
