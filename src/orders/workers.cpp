#include "orders/workers.h"

#include "storage/db.h"

namespace ts {

namespace {

const QString kEmptyName = QStringLiteral("请输入员工姓名！！");
const QString kDuplicate = QStringLiteral("已有重复的配送员姓名！！");
const QString kGone = QStringLiteral("该配送员已经不存在！！");
const QString kNameRule = QStringLiteral("员工列表.姓名");

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

Rows DeliveryWorkers::list()
{
    return db_.select(QStringLiteral("select 姓名,电话,所用车辆,配送提成 from 员工列表 order by 姓名"));
}

std::optional<DeliveryWorker> DeliveryWorkers::find(const QString& name)
{
    const Rows r = db_.select(QStringLiteral("select 姓名,电话,所用车辆,配送提成 from 员工列表 where 姓名=:name"),
                              {{QStringLiteral("name"), name}});
    if (r.isEmpty())
        return std::nullopt;
    return DeliveryWorker{r.value(0, 0).toString(), r.value(0, 1).toString(), r.value(0, 2).toString(),
                          r.value(0, 3).toString()};
}

Outcome DeliveryWorkers::add(const DeliveryWorker& worker)
{
    if (worker.name.trimmed().isEmpty())
        return Outcome::refused(kEmptyName);
    return db_.write([&] {
        db_.serialise(kNameRule);
        if (find(worker.name))
            return Outcome::refused(kDuplicate);
        db_.run(QStringLiteral("insert into 员工列表 (姓名,电话,所用车辆,配送提成) values (:name,:phone,:vehicle,:commission)"),
                bindsOf(worker));
        return Outcome::done();
    });
}

Outcome DeliveryWorkers::change(const QString& originalName, const DeliveryWorker& worker)
{
    if (worker.name.trimmed().isEmpty())
        return Outcome::refused(kEmptyName);
    return db_.write([&] {
        db_.serialise(kNameRule);
        if (worker.name != originalName && find(worker.name))
            return Outcome::refused(kDuplicate);
        Binds b = bindsOf(worker);
        b.insert(QStringLiteral("original"), originalName);
        if (db_.run(QStringLiteral("update 员工列表 set 姓名=:name,电话=:phone,所用车辆=:vehicle,"
                                   "配送提成=:commission where 姓名=:original"),
                    b)
            == 0)
            return Outcome::refused(kGone);
        return Outcome::done();
    });
}

Outcome DeliveryWorkers::remove(const QString& name)
{
    db_.run(QStringLiteral("delete from 员工列表 where 姓名=:name"), {{QStringLiteral("name"), name}});
    return Outcome::done();
}

} // namespace ts
