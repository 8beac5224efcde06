#include "support/builders.h"

#include <atomic>

#include <gtest/gtest.h>

namespace ts::test {

namespace {

std::atomic<int> g_serial{0};

QVariantMap withDefaults(const QVariantMap& defaults, const QVariantMap& columns)
{
    QVariantMap all = defaults;
    for (auto it = columns.begin(); it != columns.end(); ++it)
        all.insert(it.key(), it.value());
    return all;
}

} // namespace

Money money(const QString& text)
{
    Money m;
    EXPECT_TRUE(Money::parse(text, &m)) << text.toStdString();
    return m;
}

qint64 insertRow(Db& db, const QString& table, const QVariantMap& columns, const QString& idColumn)
{
    // Table and column names come from the test's own code, values are bound.
    QStringList names;
    QStringList marks;
    Binds binds;
    int i = 0;
    for (auto it = columns.begin(); it != columns.end(); ++it, ++i) {
        names << it.key();
        marks << QStringLiteral(":v%1").arg(i);
        binds.insert(QStringLiteral("v%1").arg(i), it.value());
    }
    const QString sql =
        QStringLiteral("insert into %1 (%2) values (%3)").arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    if (idColumn.isEmpty()) {
        db.run(sql, binds);
        return 0;
    }
    return db.insert(sql, binds, idColumn);
}

qint64 addCustomer(Db& db, const QVariantMap& columns)
{
    const int n = ++g_serial;
    return insertRow(db, QStringLiteral("客户资料"),
                     withDefaults({{QStringLiteral("客户姓名"), QStringLiteral("客户%1").arg(n)},
                                   {QStringLiteral("联系电话"), QStringLiteral("1390000%1").arg(n, 4, 10, QLatin1Char('0'))},
                                   {QStringLiteral("联系地址"), QStringLiteral("花园路%1号").arg(n)}},
                                  columns),
                     QStringLiteral("id"));
}

qint64 addProduct(Db& db, const QVariantMap& columns)
{
    const int n = ++g_serial;
    return insertRow(db, QStringLiteral("产品列表"),
                     withDefaults({{QStringLiteral("产品名称"), QStringLiteral("产品%1").arg(n)}}, columns),
                     QStringLiteral("id"));
}

qint64 addOrderLine(Db& db, const QVariantMap& columns)
{
    return insertRow(db, QStringLiteral("产品销售开票"),
                     withDefaults({{QStringLiteral("单据编号"), QStringLiteral("202612110001")},
                                   {QStringLiteral("购物日期"), QStringLiteral("2026-12-11")},
                                   {QStringLiteral("产品名称"), QStringLiteral("桶装水")},
                                   {QStringLiteral("产品类型"), QStringLiteral("水")},
                                   {QStringLiteral("数量"), 2},
                                   {QStringLiteral("已发数量"), 0},
                                   {QStringLiteral("销售单价"), Money::yuan(10).toVariant()},
                                   {QStringLiteral("应付货款"), Money::yuan(20).toVariant()},
                                   {QStringLiteral("收款方式"), QStringLiteral("现金")},
                                   {QStringLiteral("发货完毕"), false},
                                   {QStringLiteral("交款完毕"), false}},
                                  columns),
                     QStringLiteral("id"));
}

void addWorker(Db& db, const QString& name, const QVariantMap& columns)
{
    insertRow(db, QStringLiteral("员工列表"), withDefaults({{QStringLiteral("姓名"), name}}, columns));
}

void addSalesperson(Db& db, const QString& name)
{
    insertRow(db, QStringLiteral("业务员表"), {{QStringLiteral("姓名"), name}});
}

void addRegion(Db& db, const QString& region, const QStringList& subAreas)
{
    insertRow(db, QStringLiteral("区域"), {{QStringLiteral("区域"), region}});
    for (const QString& s : subAreas)
        insertRow(db, QStringLiteral("小区域"), {{QStringLiteral("区域"), region}, {QStringLiteral("小区域"), s}});
}

void addWarehouse(Db& db, const QString& name)
{
    insertRow(db, QStringLiteral("库房名称"), {{QStringLiteral("库房名称"), name}}, QStringLiteral("id"));
}

void addStock(Db& db, const QString& warehouse, const QString& product, int units)
{
    insertRow(db, QStringLiteral("库存总表"),
              {{QStringLiteral("库房名称"), warehouse}, {QStringLiteral("产品名称"), product}, {QStringLiteral("数量"), units}});
}

void addCustomerType(Db& db, const QString& type, Money commission)
{
    insertRow(db, QStringLiteral("客户类型"), {{QStringLiteral("客户类型"), type}, {QStringLiteral("提成"), commission.toVariant()}});
}

} // namespace ts::test
