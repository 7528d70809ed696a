#pragma once

#include "cli/Cli.h"

namespace granwise::test {

// granwise-cli run in-process: its exit code and what it printed. (Link the test with `cli`.)
// `app` is what the program's folder would give it (templates, and the database without --db).
struct CliResult {
    int code;
    QString out;
    QString err;
};

inline CliResult runCli(const QStringList &args, const AppContext &app = {})
{
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    const int code = cli::run(app, args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

} // namespace granwise::test
