#include "Cli.h"

#include "store/Journal.h"

namespace granwise::cli {

using namespace Qt::StringLiterals;

QVector<Command> journalCommands()
{
    return {
        {u"journal"_s,
         u"journal [--clear-before YYYY-MM-DD]\n"
         u"                             列出操作记录，每行：ID、时间、用户、操作、文件、数量（以制表符分隔）；\n"
         u"                             --clear-before 删除该日之前的记录"_s,
         [](Context &context, const QStringList &args) {
             if (args.size() == 2 && args.first() == u"--clear-before"_s) {
                 const int removed = journal::clearBefore(context.databasePath, args.at(1));
                 context.out << u"已删除操作记录 %1 条\n"_s.arg(removed);
                 return int(Success);
             }
             if (!args.isEmpty())
                 return int(UsageError);
             for (const JournalEntryInfo &entry : journal::entries(context.databasePath))
                 context.out << journal::entryLine(entry) << u'\n';
             return int(Success);
         }},
        {u"undo"_s, u"undo ID                    撤销一次导入（ID 见 journal）；不能撤销时退出码为 1"_s,
         [](Context &context, const QStringList &args) {
             bool ok = false;
             const qint64 id = args.size() == 1 ? args.first().toLongLong(&ok) : 0;
             if (!ok)
                 return int(UsageError);
             const qint64 undoEntry = journal::undo(context.databasePath, id);
             context.out << u"已撤销操作记录 %1（操作记录 %2）\n"_s.arg(id).arg(undoEntry);
             return int(Success);
         }},
    };
}

} // namespace granwise::cli
