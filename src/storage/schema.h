#pragma once

#include "storage/db.h"

#include <QList>
#include <QString>

namespace ts {

struct ColumnDef {
    QString name;
    ColKind kind;
    int width = 0;  // characters, for ColKind::Text only
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;
};

struct IndexDef {
    QString name;
    QString table;
    QString columns;  // "联系电话" or "客户编号, 产品名称"
    bool unique = false;
};

// Every table of the program, each column in the order inserts write them.
const QList<TableDef>& schemaTables();
// Indexes for the lookups the program makes often.
const QList<IndexDef>& schemaIndexes();

// Initial password of the admin operator of a new database; the login
// window's hint names it.
inline const QString kInitialAdminPassword = QStringLiteral("admin");

// Writes every table, index, the one row of each settings table and the admin
// operator, in one transaction. The database must be empty.
void createSchema(Db& db);

// Nine rights strings of the admin operator: everything allowed.
QString fullRights();

} // namespace ts
