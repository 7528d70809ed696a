#include "Cli.h"

#include "projects/ValidateAll.h"

namespace granwise::cli {

using namespace Qt::StringLiterals;

QVector<Command> projectCommands()
{
    return {
        {u"validate"_s, u"validate                   校验全部项目，写入校验状态；有项目未通过时退出码为 1"_s,
         [](Context &context, const QStringList &args) {
             if (!args.isEmpty())
                 return int(UsageError);
             return printValidateAll(validateAll(context.databasePath), context.out, context.err);
         }},
    };
}

} // namespace granwise::cli
