#pragma once

#include <QString>

namespace granwise::maintenance {

// Empties userinfo, TZ_XIANGMU and 任务信息 in one transaction; reference tables stay.
void resetDatabase(const QString &databasePath);

// Writes a consistent copy of the live database to target (SQLite's online backup), under a
// temporary name first, so the target is never a half-written file.
void backupDatabase(const QString &databasePath, const QString &target);

// Why a file cannot be restored, or empty when it is a database of this program: the SQLite
// header, an intact file, every expected table, and the project table's columns in order.
QString restoreRefusal(const QString &backupPath);

// Replaces the database by a backup as a whole. Throws Error (and leaves the database as it
// was) when the file is no database of this program or cannot be copied.
void restoreDatabase(const QString &backupPath, const QString &databasePath);

} // namespace granwise::maintenance
