#include "Cli.h"

#include "exchange/ProjectRemoval.h"

namespace granwise::cli {

using namespace Qt::StringLiterals;

namespace {

// "delete --key ENTERPRISE PROJECT" or "delete --region CODE": one transaction, the count printed.
int deleteProjects(Context &context, const QStringList &args)
{
    int removed = 0;
    if (args.size() == 3 && args.at(0) == u"--key"_s) {
        removed = deleteProjectsByKey(context.databasePath, args.at(1), args.at(2));
    } else if (args.size() == 2 && args.at(0) == u"--region"_s) {
        const std::optional<QString> prefix = regionCodePrefix(args.at(1));
        if (!prefix) {
            context.err << u"行政区划代码“%1”不对：应是六位数字的县、地市或省的代码\n"_s.arg(args.at(1));
            return Refused;
        }
        removed = deleteProjectsInRegion(context.databasePath, *prefix);
    } else {
        return UsageError;
    }
    context.out << u"已删除项目 %1 个\n"_s.arg(removed);
    return Success;
}

} // namespace

QVector<Command> deleteCommands()
{
    return {
        {u"delete"_s, u"delete --key 企业详细名称 项目名称 | delete --region 行政区划代码\n"
                      u"                             删除一个项目，或一个县、地市（xxxx00）、省（xx0000）的全部项目"_s,
         deleteProjects},
    };
}

} // namespace granwise::cli
