#pragma once

#include "storage/db.h"

#include <QList>
#include <QString>

namespace ts {

struct UpgradeStatement {
    int version;
    QString sql;
};

// The schema changes this program knows, oldest first, for the given engine.
// A later change of the tables adds its statements here with a new version
// and changes the table definitions to match, so that new and upgraded
// databases come out the same.
QList<UpgradeStatement> knownUpgrades(Engine engine);

// Adds to 命令表 the known statements newer than any it holds.
void registerKnownUpgrades(Db& db);
// For a freshly created database: 命令表 gets every known statement and
// 版本号 the newest version, as if they had all run.
void recordKnownUpgrades(Db& db);

struct UpgradeResult {
    QString fromVersion;
    QString toVersion;
    int ran = 0;
    QStringList failures;  // "版本 N：error text" per skipped statement
};

// Runs the statements of 命令表 newer than 版本号, in order, skipping those
// the engine refuses, and stores the newest version of 命令表.
UpgradeResult runSchemaUpgrade(Db& db);

} // namespace ts
