#pragma once

#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>

namespace ts {

class Db;

// Customer types 客户类型 and the commission each gives its customers.
class CustomerTypes {
public:
    explicit CustomerTypes(Db& db) : db_(db) {}

    // A type without a commission would drop out of every commission sum.
    void fillEmptyCommissions();
    // 客户类型, 提成.
    Rows list();
    Outcome add(const QString& type, const QString& commission);
    // Customers of the type keep it.
    void remove(const QString& type);
    // Every customer's 提成 set from his type, in one go.
    Outcome applyToCustomers();

private:
    Db& db_;
};

// First-level regions 区域 and their sub-areas 小区域.
class Regions {
public:
    explicit Regions(Db& db) : db_(db) {}

    Rows regions();   // 区域
    Rows subAreas();  // 区域, 小区域
    Outcome addRegion(const QString& region);
    Outcome addSubArea(const QString& region, const QString& subArea);
    // Sub-areas and customers of a deleted region keep their texts.
    void removeRegion(const QString& region);
    void removeSubArea(const QString& region, const QString& subArea);

private:
    Db& db_;
};

} // namespace ts
