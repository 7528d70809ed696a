#pragma once

#include <QString>
#include <QStringList>

namespace granwise::maintenance {

// Empties userinfo, TZ_XIANGMU and 任务信息 in one transaction; reference tables stay.
void resetDatabase(const QString &databasePath);

// Writes a consistent copy of the live database to target (SQLite's online backup), under a
// temporary name first, so the target is never a half-written file.
void backupDatabase(const QString &databasePath, const QString &target);

// Why a file cannot be restored, or empty when it is a database of this program: a regular
// file, the SQLite header, an intact file, every table of the program with its columns, and
// the project table's columns in order.
QString restoreRefusal(const QString &backupPath);

// Replaces the content of the database by a backup's. A backup carries data only: the rows of
// the program's tables, in the program's columns, are copied into a fresh database of the
// program's own schema, which is checked and then put in place by installDatabase. Returns
// what else the backup held and was not restored ("触发器 t", "视图 v", "数据表 T 的列 c").
// Throws Error (and leaves the database as it was) when the file is no database of this
// program, cannot be copied, or another program is using the database.
QStringList restoreDatabase(const QString &backupPath, const QString &databasePath);

// The sentence telling what restoreDatabase left out; empty when it left out nothing.
QString notRestoredText(const QStringList &foreign);

} // namespace granwise::maintenance
