#pragma once

#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>
#include <QStringList>

namespace ts {

class Db;

// The salespeople (业务员表). A customer names his salesperson by name and
// the salesperson report groups by it, so the name keys a row: an empty or a
// second equal name is refused.
class Salespeople {
public:
    explicit Salespeople(Db& db) : db_(db) {}

    Rows list();  // 姓名 of every salesperson
    QStringList names();
    bool exists(const QString& name);

    Outcome add(const QString& name);
    // Customers keep the name they were given.
    Outcome rename(const QString& originalName, const QString& name);
    Outcome remove(const QString& name);

private:
    Db& db_;
};

} // namespace ts
