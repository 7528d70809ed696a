#pragma once

#include "store/AppContext.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVector>
#include <functional>

namespace granwise::cli {

enum ExitCode { Success = 0, Refused = 1, UsageError = 2 };

struct Context {
    QString databasePath; // --db, or the program's database (beside it, or in the user's data folder)
    QTextStream &out;
    QTextStream &err;
    AppLocations locations{}; // where templates and help are read
};

// One command of granwise-cli: its name, its usage line and what it does with its arguments.
// A command returns an ExitCode; an exception it throws is printed and exits with Refused.
struct Command {
    QString name;
    QString usage;
    std::function<int(Context &, const QStringList &)> run;
};

// The command groups, each in a file of its own.
QVector<Command> storeCommands();    // init, backup, restore, where
QVector<Command> exchangeCommands(); // import, export, sample
QVector<Command> reportCommands();   // report, reports
QVector<Command> projectCommands();  // validate, review
QVector<Command> taskCommands();     // task show, task set
QVector<Command> deleteCommands();   // delete
QVector<Command> journalCommands();  // journal, undo

// Every command the program knows, in the order of the usage text.
const QVector<Command> &commands();

// Runs granwise-cli with its arguments (without the program name). Streams are injectable so
// tests run it in-process.
int run(const AppContext &app, const QStringList &arguments, QTextStream &out, QTextStream &err);

// The same with the arguments as the bytes main() has them. An argument that is not valid
// UTF-8 cannot be named back to the file system exactly (a file of that name would be reported
// missing, a database of another name created): the run is refused before anything is done.
int runRaw(const AppContext &app, const QList<QByteArray> &arguments, QTextStream &out, QTextStream &err);

// Runs one command: its exit code, or Refused when it throws, with the reason on err; an
// exception other than Error (memory that ran out) is named together with the command and
// its arguments, so the file involved is named too.
int runCommand(const Command &command, Context &context, const QStringList &args);

QString usageText();

} // namespace granwise::cli
