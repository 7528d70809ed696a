#include "Cli.h"

#include "projects/ProjectReview.h"
#include "projects/RuleReport.h"
#include "projects/ValidateAll.h"

namespace granwise::cli {

using namespace Qt::StringLiterals;

QVector<Command> projectCommands()
{
    return {
        {u"validate"_s,
         u"validate [--report FILE.xlsx]\n"
         u"                             校验全部项目，写入校验状态；有项目未通过时退出码为 1；\n"
         u"                             --report 把每个项目违反的每条规则写成工作簿"_s,
         [](Context &context, const QStringList &args) {
             const bool report = args.size() == 2 && args.first() == u"--report"_s;
             if (!args.isEmpty() && !report)
                 return int(UsageError);
             const int code = printValidateAll(validateAll(context.databasePath), context.out, context.err);
             if (report)
                 writeRuleReport(allBrokenRules(context.databasePath), args.at(1));
             return code;
         }},
        {u"review"_s, u"review --out FILE.xlsx      列出通过校验但不大可能的数值（疑似异常），写成工作簿"_s,
         [](Context &context, const QStringList &args) {
             if (args.size() != 2 || args.first() != u"--out"_s)
                 return int(UsageError);
             const QVector<ReviewFinding> findings = reviewProjects(context.databasePath);
             writeReview(findings, args.at(1));
             context.out << reviewSummary(findings) << u'\n';
             return int(Success);
         }},
    };
}

} // namespace granwise::cli
