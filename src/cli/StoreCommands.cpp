#include "Cli.h"

#include "store/Error.h"

#include "store/DatabaseSetup.h"
#include "store/Maintenance.h"

#include <QFileInfo>

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

// The folders and files in use, one "name：path" line each, so an office (or a script) can find
// its data wherever the program was installed.
int where(Context &context, const QStringList &args)
{
    if (!args.isEmpty())
        return UsageError;
    const AppLocations &l = context.locations;
    const QString templates = l.besideProgram || l.dataDir == l.sharedDir
                                  ? l.dataDir + TemplateFolderName
                                  : l.dataDir + TemplateFolderName + u"（优先）；"_s + l.sharedDir + TemplateFolderName;
    context.out << u"程序目录："_s << l.programDir << u'\n'
                << u"数据目录："_s << l.dataDir << u'\n'
                << u"数据库："_s << context.databasePath << u'\n'
                << u"模板目录："_s << templates << u'\n'
                << u"帮助目录："_s << l.sharedDir + HelpFolderName << u'\n';
    if (QFileInfo(l.sharedDir + u"samples"_s).isDir())
        context.out << u"样例目录："_s << l.sharedDir + u"samples/"_s << u'\n';
    return Success;
}

} // namespace

QVector<Command> storeCommands()
{
    return {
        {u"init"_s, u"init [--force]             建立带参考数据的新数据库"_s, init},
        {u"backup"_s, u"backup FILE                把数据库备份到 FILE"_s, backup},
        {u"restore"_s, u"restore FILE               用备份文件 FILE（扩展名 bak）恢复数据库"_s, restore},
        {u"where"_s, u"where                      显示程序使用的目录：数据库、模板、帮助"_s, where},
    };
}

} // namespace granwise::cli
