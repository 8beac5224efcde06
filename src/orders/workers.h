#pragma once

#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>
#include <QStringList>

#include <optional>

namespace ts {

class Db;

// A delivery worker as the worker window edits him.
struct DeliveryWorker {
    QString name;
    QString phone;
    QString vehicle;
    QString commission;  // "是", "否", or empty for a worker nobody decided on yet
};

// The list of delivery workers (员工列表). Order lines, receipts and the SMS
// to the worker find him by his name alone, so the name is what keys a row
// here: a second worker of the same name or a worker without a name would make
// those lookups pick an arbitrary row, and both are refused.
class DeliveryWorkers {
public:
    explicit DeliveryWorkers(Db& db) : db_(db) {}

    // 姓名, 电话, 所用车辆, 配送提成 of every worker.
    Rows list();
    std::optional<DeliveryWorker> find(const QString& name);

    Outcome add(const DeliveryWorker& worker);
    // Saves the worker now called `originalName` with new values, possibly
    // under a new name. Order lines keep the name they were written with.
    Outcome change(const QString& originalName, const DeliveryWorker& worker);
    // Order lines and receipts keep the name of a deleted worker.
    Outcome remove(const QString& name);

    // The choices of the 配送提成 list, in the order the window shows them.
    static QStringList commissionChoices();

private:
    Db& db_;
};

} // namespace ts
