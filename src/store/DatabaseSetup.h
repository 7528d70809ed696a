#pragma once

#include <QString>

namespace granwise {

class Connection;

// SQL that creates TZ_XIANGMU from the column catalogue.
QString projectTableSql();

// Creates every table and index of the program's database (no rows) through the connection.
void createSchema(Connection &connection);

// Creates a database with every table and the reference rows shipped with the program.
// An existing file is kept (Error) unless overwrite is set. The database is built under a
// temporary name and then put in place by installDatabase: whole or not at all, and an
// existing database only while no other program uses it.
void createDatabase(const QString &path, bool overwrite = false);

// Creates the database only when the file is absent; true when it created one.
bool ensureDatabase(const QString &path);

} // namespace granwise
