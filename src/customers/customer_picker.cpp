#include "customers/customer_picker.h"

#include "customers/customer_list.h"
#include "storage/db.h"

#include <QStringList>

namespace ts {

QString PickedCustomer::text(const QString& column) const
{
    return row.value(column).toString();
}

void CustomerPicker::receive(const QString& mode, Receiver receiver)
{
    receivers_[mode] = std::move(receiver);
}

void CustomerPicker::forget(const QString& mode)
{
    receivers_.erase(mode);
}

bool CustomerPicker::picksOnTyping(const QString& mode)
{
    static const QStringList modes{QStringLiteral("销售1"),        QStringLiteral("销售2"),
                                   QStringLiteral("回收水票"),     QStringLiteral("水票销售查询"),
                                   QStringLiteral("水票剩余查询"), QStringLiteral("饮水机借用")};
    return modes.contains(mode);
}

bool CustomerPicker::pick(Db& db, const QString& mode, qint64 customerId, PickedCustomer::How how)
{
    const auto it = receivers_.find(mode);
    if (mode.isEmpty() || it == receivers_.end())
        return false;
    PickedCustomer c;
    c.row = CustomerList(db).customer(customerId);
    if (c.row.isEmpty())
        return false;
    c.how = how;
    // A copy: the receiver may register or forget modes while it runs.
    const Receiver receiver = it->second;
    receiver(c);
    return true;
}

QString CustomerPicker::iouNotice(Db& db, qint64 customerId, const QString& product)
{
    const qlonglong n = db.scalar(QStringLiteral("select sum(签单数) as cc from 产品销售开票 where 收款方式=:way "
                                                 "and 客户编号=:id and 产品名称=:product"),
                                  {{QStringLiteral("way"), QStringLiteral("签单")},
                                   {QStringLiteral("id"), customerId},
                                   {QStringLiteral("product"), product}})
                             .toLongLong();
    return n > 0 ? QStringLiteral("该用户该产品签单数为：") + QString::number(n) : QString();
}

CustomerPicker& CustomerPicker::instance()
{
    static CustomerPicker picker;
    return picker;
}

} // namespace ts
