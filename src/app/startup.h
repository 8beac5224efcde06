#pragma once

#include "storage/db.h"

#include <QString>

#include <memory>
#include <optional>

namespace ts {

inline const QString kDatabaseFileName = QStringLiteral("tongshui.db");
inline const QString kConnectFailed = QStringLiteral("连接失败，请您先进行数据库设置！！");

struct OpenedDatabase {
    std::unique_ptr<Db> db;
    QString detail;              // why opening failed, for standard error
    QStringList upgradeFailures;  // statements of the schema upgrade that were skipped
    QString settingsProblem;      // moshi.ini could not be read cleanly
};

// Opens the program's database and brings its schema up to date.
// With an explicit target that database is used as it is. Otherwise the work
// mode of moshi.ini decides: stand-alone uses tongshui.db in the working
// folder and creates it on first start; a workstation uses the database
// named by the folder setting (a folder holding tongshui.db, or a
// postgresql:// address) and never creates anything there.
OpenedDatabase openProgramDatabase(const QString& programDir, const QString& workingDir,
                                   const std::optional<DbTarget>& explicitTarget);

} // namespace ts
