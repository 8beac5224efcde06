#pragma once

#include <QString>
#include <QStringList>

namespace ts {

class Db;

// The program's own changes to the schema, apart from the statements of
// 命令表: defaults, indexes and columns that a later build of this program
// needs in a database an earlier build wrote. The version lives in the table
// 程序结构版本; a database without it is version 0.
int programSchemaVersion(Db& db);
int newestProgramSchemaVersion();

struct SchemaVersionResult {
    int from = 0;
    int to = 0;
    // Changes that could not be made (a unique index over rows that are
    // not unique); the rest of the step went ahead.
    QStringList skipped;
};

// Brings the database to the newest version in one transaction, and writes
// nothing when it is there already.
SchemaVersionResult upgradeProgramSchema(Db& db);

// For a database just created with the newest schema.
void recordProgramSchemaVersion(Db& db);

// Indexes that back an absolute rule (one product per name, …); a new
// database gets them with its tables.
struct UniqueRule {
    const char* index;
    const char* table;
    const char* columns;
};
const QList<UniqueRule>& uniqueRules();

// Every index of the schema, the unique indexes and the partial indexes of
// the program's own rules, for a new database.
void createProgramIndexes(Db& db);

// A customer some of whose running totals are null: what the login repairs.
QString customerNullTotalsCondition();

} // namespace ts
