#pragma once

#include <QString>

namespace granwise {

class OutputFile;

// Puts a database built at built.path() in the place of built.target(), as restore and
// `init --force` need it. An existing database is never swapped for another file (a program
// that has it open would go on writing into the old one, and a journal left by a killed writer
// would be played into the new one): under an exclusive lock, after any such journal has been
// rolled back, its content is overwritten page by page through SQLite's backup, which is itself
// one transaction. While another program holds the database (an import running) nothing
// changes and Error says so. A target that is absent, or no database at all, takes the built
// file by rename. The built file is left to its OutputFile to remove.
void installDatabase(OutputFile &built);

// Error (the same "in use" text as installDatabase) when another program is writing the
// database at path; for work that reads the live database before replacing it.
void requireDatabaseFree(const QString &path);

} // namespace granwise
