#pragma once

#include "storage/db.h"
#include "storage/money.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace ts::test {

// Rows a test needs before it starts, written in one place instead of as
// SQL in every test file. Each builder fills the columns a test does not
// care about with a plausible value; `columns` overrides or adds any column
// of the table by its name. Returns the new row's id where the table has one.

// 客户资料: 客户姓名 "客户<n>", 联系电话 and 联系地址 unique per call.
qint64 addCustomer(Db& db, const QVariantMap& columns = {});
// 产品列表: 产品名称 "产品<n>".
qint64 addProduct(Db& db, const QVariantMap& columns = {});
// 员工列表 (delivery workers): 姓名 as given.
void addWorker(Db& db, const QString& name, const QVariantMap& columns = {});
// 业务员表.
void addSalesperson(Db& db, const QString& name);
// 区域 and its 小区域.
void addRegion(Db& db, const QString& region, const QStringList& subAreas = {});
// 客户类型 with its commission.
void addCustomerType(Db& db, const QString& type, Money commission = Money());

// 产品销售开票: one line of order 202612110001 of 2026-12-11, 2 buckets of
// 桶装水 (水) at 10 yuan paid in cash, neither delivered nor paid.
qint64 addOrderLine(Db& db, const QVariantMap& columns = {});

// 库房名称, and 库存总表 holding `units` of a product there.
void addWarehouse(Db& db, const QString& name);
void addStock(Db& db, const QString& warehouse, const QString& product, int units);

// An amount written as text ("12.5"); a text that is no amount fails the test.
Money money(const QString& text);

// Inserts one row of `table` with `columns`; the id for tables with one.
qint64 insertRow(Db& db, const QString& table, const QVariantMap& columns, const QString& idColumn = {});

} // namespace ts::test
