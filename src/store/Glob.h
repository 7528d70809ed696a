#pragma once

#include "AppLocations.h"

#include <QString>

// The globals every window shares. They sit in the store library, not in the shell, because
// the windows below the shell (task information, projects, reports) read them too.
namespace granwise::glob {

// The program directory, ending with "/". Files beside the program are AppDir + name.
extern QString AppDir;
// The connection description of the database: its file path (Locations.databasePath()).
extern QString ConnectionString;
// Where the shipped files are read and the data is kept (beside the program, or the user's folder).
extern AppLocations Locations;
// Title of the table a report window is to show; stored by the report entries of the menu.
extern QString ReportTitle;
// 0: the account window creates the first account at start-up; 1: opened from the menu.
extern int UserFormMode;

// Sets AppDir (with a trailing "/"), Locations and ConnectionString for a program directory.
// An installed program gets its data folder made (not the database itself).
void setProgramDirectory(const QString &directory);

} // namespace granwise::glob
