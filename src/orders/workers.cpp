#include "orders/workers.h"

#include "storage/db.h"

namespace ts {

namespace {

const QString kEmptyName = QStringLiteral("请输入员工姓名！！");
const QString kDuplicate = QStringLiteral("已有重复的配送员姓名！！");
const QString kGone = QStringLiteral("该配送员已经不存在！！");

Binds bindsOf(const DeliveryWorker& w)
{
    return {{QStringLiteral("name"), w.name},
            {QStringLiteral("phone"), w.phone},
            {QStringLiteral("vehicle"), w.vehicle},
            {QStringLiteral("commission"), w.commission}};
}

} // namespace

QStringList DeliveryWorkers::commissionChoices()
{
    return {QStringLiteral("否"), QStringLiteral("是")};
}

QSqlQuery DeliveryWorkers::list()
{
    return db_.exec(QStringLiteral("select 姓名,电话,所用车辆,配送提成 from 员工列表 order by 姓名"));
}

std::optional<DeliveryWorker> DeliveryWorkers::find(const QString& name)
{
    QSqlQuery q = db_.exec(QStringLiteral("select 姓名,电话,所用车辆,配送提成 from 员工列表 where 姓名=:name"),
                           {{QStringLiteral("name"), name}});
    if (!q.next())
        return std::nullopt;
    return DeliveryWorker{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                          q.value(3).toString()};
}

Outcome DeliveryWorkers::add(const DeliveryWorker& worker)
{
    if (worker.name.trimmed().isEmpty())
        return Outcome::refused(kEmptyName);
    Transaction t(db_);
    if (find(worker.name))
        return Outcome::refused(kDuplicate);
    db_.exec(QStringLiteral("insert into 员工列表 (姓名,电话,所用车辆,配送提成) values (:name,:phone,:vehicle,:commission)"),
             bindsOf(worker));
    t.commit();
    return Outcome::done();
}

Outcome DeliveryWorkers::change(const QString& originalName, const DeliveryWorker& worker)
{
    if (worker.name.trimmed().isEmpty())
        return Outcome::refused(kEmptyName);
    Transaction t(db_);
    if (worker.name != originalName && find(worker.name))
        return Outcome::refused(kDuplicate);
    Binds b = bindsOf(worker);
    b.insert(QStringLiteral("original"), originalName);
    QSqlQuery q = db_.exec(QStringLiteral("update 员工列表 set 姓名=:name,电话=:phone,所用车辆=:vehicle,"
                                          "配送提成=:commission where 姓名=:original"),
                           b);
    if (q.numRowsAffected() == 0)
        return Outcome::refused(kGone);
    t.commit();
    return Outcome::done();
}

Outcome DeliveryWorkers::remove(const QString& name)
{
    db_.exec(QStringLiteral("delete from 员工列表 where 姓名=:name"), {{QStringLiteral("name"), name}});
    return Outcome::done();
}

} // namespace ts
