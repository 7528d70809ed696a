#pragma once

#include <QString>

namespace granwise {

// Where the program finds the files it ships with and keeps the data it writes.
//
// Run from its build or an unpacked folder, everything sits beside the program: database,
// templates, help. Installed (no templates beside the program, the shipped ones under
// <prefix>/share/granwise), or when the program folder is not writable, what the office writes
// (the database, its own templates, backups) lives in the user's data folder, and the shipped
// files are read where they were installed.
struct AppLocations {
    QString programDir; // ends with "/"
    QString sharedDir;  // shipped templates, help and samples; ends with "/"
    QString dataDir;    // the database and the office's own templates; ends with "/"
    bool besideProgram = true;

    QString databasePath() const;
    // A template by file name: the office's own in the data folder first, the shipped one otherwise.
    QString templatePath(const QString &fileName) const;
    // A file of the help document by file name.
    QString helpPath(const QString &fileName) const;

    // Decides for a program folder; userDataDir is where an installed program keeps its data.
    static AppLocations resolve(const QString &programDir, const QString &userDataDir);
    // The user's data folder of this program (the platform's application data location).
    static QString userDataFolder();
};

inline const QString DatabaseFileName = QStringLiteral("ledger.db");
inline const QString TemplateFolderName = QStringLiteral("templet/");
inline const QString HelpFolderName = QStringLiteral("help/");

// The version of both programs, as the build sets it.
QString programVersion();

// The program's name where a window or box names it (the general error box's caption).
inline const QString ApplicationTitle = QStringLiteral("Granwise（汇总版1.0）");

} // namespace granwise
