#include "Cli.h"

#include "store/DatabaseSetup.h"

namespace granwise::cli {

using namespace Qt::StringLiterals;

namespace {

int init(Context &context, const QStringList &args)
{
    bool force = false;
    for (const QString &a : args) {
        if (a == u"--force"_s)
            force = true;
        else
            return UsageError;
    }
    createDatabase(context.databasePath, force);
    context.out << u"已建立数据库：%1\n"_s.arg(context.databasePath);
    return Success;
}

} // namespace

QVector<Command> storeCommands()
{
    return {
        {u"init"_s, u"init [--force]             建立带参考数据的新数据库"_s, init},
    };
}

} // namespace granwise::cli
