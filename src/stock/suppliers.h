#pragma once

#include "storage/db.h"
#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>

#include <optional>

namespace ts {

// One address of the supplier list; no other window reads it.
struct Supplier {
    QString name;     // 供货商
    QString contact;  // 联系人
    QString phone;    // 电话
    QString mobile;   // 手机
    QString address;  // 地址

    bool operator==(const Supplier&) const = default;
};

class SupplierList {
public:
    explicit SupplierList(Db& db) : db_(db) {}

    // Every supplier with a key column "rk" that read, update and remove take.
    Rows list();
    std::optional<Supplier> read(const QString& key);
    void add(const Supplier& s);
    // Refused when the row is gone or was changed by another station since
    // the list was read.
    Outcome update(const QString& key, const Supplier& s);
    void remove(const QString& key);

private:
    Db& db_;
};

} // namespace ts
