#pragma once

#include "AppLocations.h"

#include <QString>

namespace granwise {

// What one run of a program works on: where its shipped files and its data are, and the
// database it keeps. Made once by each program's main() (or by a test) and handed to what needs
// it; nothing reads it from a global.
struct AppContext {
    AppLocations locations;
    QString databasePath; // the database the windows and commands work on

    // A template by file name (the office's own first, the shipped one otherwise).
    QString templatePath(const QString &fileName) const { return locations.templatePath(fileName); }

    // The context of a program run from `programFolder`: the database beside it, or in the
    // user's data folder (made here, not the database itself) when the program is installed.
    static AppContext forProgramFolder(const QString &programFolder);
};

} // namespace granwise
