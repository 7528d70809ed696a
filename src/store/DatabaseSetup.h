#pragma once

#include <QString>

namespace granwise {

// SQL that creates TZ_XIANGMU from the column catalogue.
QString projectTableSql();

// Creates a database with every table and the reference rows shipped with the program.
// An existing file is kept (Error) unless overwrite is set. The file appears whole or not
// at all: it is built under a temporary name and renamed at the end.
void createDatabase(const QString &path, bool overwrite = false);

// Creates the database only when the file is absent; true when it created one.
bool ensureDatabase(const QString &path);

} // namespace granwise
