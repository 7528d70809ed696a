#include "Cli.h"

#include "store/Error.h"

#include "store/DatabaseSetup.h"
#include "store/Maintenance.h"

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

int backup(Context &context, const QStringList &args)
{
    if (args.size() != 1)
        return UsageError;
    maintenance::backupDatabase(context.databasePath, args.first());
    context.out << u"数据备份成功！%1\n"_s.arg(args.first());
    return Success;
}

int restore(Context &context, const QStringList &args)
{
    if (args.size() != 1)
        return UsageError;
    if (!args.first().endsWith(u"bak"_s)) {
        context.err << u"文件类型错误，文件恢复失败！\n"_s;
        return Refused;
    }
    QStringList notRestored;
    try {
        notRestored = maintenance::restoreDatabase(args.first(), context.databasePath);
    } catch (const Error &e) {
        context.err << u"文件恢复出现错误，导入中断，请修改后重新导入！\n"_s << e.text() << u'\n';
        return Refused;
    }
    context.out << u"文件恢复成功！\n"_s;
    if (!notRestored.isEmpty())
        context.err << maintenance::notRestoredText(notRestored) << u'\n';
    return Success;
}

} // namespace

QVector<Command> storeCommands()
{
    return {
        {u"init"_s, u"init [--force]             建立带参考数据的新数据库"_s, init},
        {u"backup"_s, u"backup FILE                把数据库备份到 FILE"_s, backup},
        {u"restore"_s, u"restore FILE               用备份文件 FILE（扩展名 bak）恢复数据库"_s, restore},
    };
}

} // namespace granwise::cli
