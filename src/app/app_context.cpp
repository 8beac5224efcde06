#include "app/app_context.h"

#include <QCoreApplication>

#include <cassert>

namespace ts {

namespace {
Db* g_db = nullptr;
QString g_programDir;
} // namespace

Db& appDb()
{
    assert(g_db && "the database is opened before any form is created");
    return *g_db;
}

void setAppDb(Db* db) { g_db = db; }
bool hasAppDb() { return g_db != nullptr; }

QString programDir()
{
    if (g_programDir.isEmpty() && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return g_programDir;
}

void setProgramDir(const QString& dir) { g_programDir = dir; }

} // namespace ts
