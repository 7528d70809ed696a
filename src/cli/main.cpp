#include "Cli.h"

#include "store/Glob.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    granwise::glob::setProgramDirectory(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int code = granwise::cli::run(arguments, out, err);
    out.flush();
    err.flush();
    return code;
}
