#pragma once

#include <QString>

namespace ts {

class Db;

// The program's one database connection and its folder, set once at start
// (tests set their own). Forms reach the database through here.
Db& appDb();
void setAppDb(Db* db);
bool hasAppDb();

// Folder of the executable: the settings files, pictures and templates live
// there. Tests point it at a temporary folder.
QString programDir();
void setProgramDir(const QString& dir);

} // namespace ts
