#include "app/startup.h"

#include "storage/settings_files.h"
#include "storage/schema_version.h"
#include "storage/upgrade.h"

#include <QDir>
#include <QFileInfo>

namespace ts {

OpenedDatabase openProgramDatabase(const QString& programDir, const QString& workingDir,
                                   const std::optional<DbTarget>& explicitTarget)
{
    OpenedDatabase r;
    QString error;
    if (explicitTarget) {
        r.db = Db::open(*explicitTarget, &error);
    } else {
        const WorkMode mode = readWorkMode(programDir, &r.settingsProblem);
        if (!r.settingsProblem.isEmpty()) {
            // A work mode that cannot be read might be a workstation's: a
            // database made here would split this station's data from the
            // others'. Stop and let the operator mend the file.
            r.detail = r.settingsProblem;
            return r;
        }
        // Anything but the stand-alone mode is a workstation, which never
        // creates a database.
        if (mode.mode != QStringLiteral("服务器")) {
            const QString folder = mode.folder;
            std::optional<DbTarget> target;
            if (folder.startsWith(QStringLiteral("postgres"))) {
                target = DbTarget::parse(folder, &error);
            } else if (!folder.isEmpty() && folder != QStringLiteral("default")) {
                QString path = folder;
                path.replace(QLatin1Char('\\'), QLatin1Char('/'));
                target = DbTarget::parse(QDir(path).filePath(kDatabaseFileName), &error);
            } else {
                error = QStringLiteral("工作站模式没有设置数据库所在目录");
            }
            if (target)
                r.db = Db::open(*target, &error);
        } else {
            const QString file = QDir(workingDir).filePath(kDatabaseFileName);
            const auto target = DbTarget::parse(file, &error);
            // Only the stand-alone station owns its file and may create it.
            r.db = QFileInfo::exists(file) ? Db::open(*target, &error) : Db::create(*target, &error);
        }
    }
    if (!r.db) {
        r.detail = error;
        return r;
    }
    try {
        registerKnownUpgrades(*r.db);
        r.upgradeFailures = runSchemaUpgrade(*r.db).failures;
        r.upgradeFailures << upgradeProgramSchema(*r.db).skipped;
    } catch (const DbError& e) {
        r.detail = e.message();
        r.db.reset();
    }
    return r;
}

} // namespace ts
