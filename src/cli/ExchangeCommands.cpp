#include "Cli.h"

#include "exchange/ExchangeTexts.h"
#include "exchange/SampleProjects.h"
#include "exchange/UploadFile.h"
#include "exchange/UploadImport.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/TaskInfo.h"

#include <QDir>

namespace granwise::cli {

using namespace Qt::StringLiterals;

namespace {

int exportUploadFile(Context &context, const QStringList &args)
{
    if (args.size() > 1 || (args.size() == 1 && args.first().startsWith(u"--"_s)))
        return UsageError;
    QString unitName;
    {
        Connection connection(context.databasePath);
        if (unvalidatedProjectCount(connection) > 0) {
            context.err << exchange::NotValidated << u'\n';
            return Refused;
        }
        if (const auto info = readTaskInfo(connection))
            unitName = info->unitName;
    }
    // Without a name the file gets the one the desktop proposes, in the current folder.
    const QString path = args.isEmpty()
                             ? QDir::current().filePath(defaultUploadFileName(unitName, Clock::current().now().date()))
                             : args.first();
    Progress silent;
    makeUploadWorkbook(context.databasePath, uploadTemplatePath(context.locations), path, silent);
    context.out << exchange::Exported << u' ' << path << u'\n';
    return Success;
}

// Each file's line, then one line per warning.
void printIntake(Context &context, const QString &summary, const FileIntake &intake)
{
    (intake.refused() ? context.err : context.out) << summary << u'\n';
    for (const QString &warning : importWarningLines(intake))
        context.out << warning << u'\n';
}

// "--dry-run": what the import would do, file by file, with its warnings; nothing written.
// Refused if any file would be.
int previewUploadFiles(Context &context, const QStringList &paths, ImportOptions options)
{
    Progress silent;
    bool noneRefused = true;
    for (const ImportPreview &p : previewUploadFileList(context.databasePath, paths, silent, options)) {
        noneRefused &= !p.refused();
        printIntake(context, previewSummaryLine(p), p);
    }
    return noneRefused ? Success : Refused;
}

int importUploadFiles(Context &context, QStringList args)
{
    const bool dryRun = args.removeAll(u"--dry-run"_s) > 0;
    ImportOptions options;
    options.replaceRegion = args.removeAll(u"--replace-region"_s) > 0;
    if (args.isEmpty())
        return UsageError;
    for (const QString &a : args)
        if (a.startsWith(u"--"_s))
            return UsageError;
    { Connection check(context.databasePath); } // a missing database refuses the command before any file
    if (dryRun)
        return previewUploadFiles(context, args, options);
    Progress silent;
    bool allImported = true;
    for (const ImportOutcome &o : importUploadFileList(context.databasePath, args, silent, options)) {
        allImported &= o.imported;
        printIntake(context, importSummaryLine(o), o.intake);
    }
    return allImported ? Success : Refused;
}

int writeSample(Context &context, const QStringList &args)
{
    int count = -1;
    quint64 seed = 1;
    QString out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (i + 1 >= args.size())
            return UsageError;
        const QString value = args.at(++i);
        bool ok = false;
        if (a == u"--projects"_s) {
            count = value.toInt(&ok);
            if (!ok || count < 0)
                return UsageError;
        } else if (a == u"--seed"_s) {
            seed = value.toULongLong(&ok);
            if (!ok)
                return UsageError;
        } else if (a == u"--out"_s) {
            out = value;
        } else {
            return UsageError;
        }
    }
    if (count < 0 || out.isEmpty())
        return UsageError;
    Progress silent;
    writeSampleWorkbook(context.databasePath, uploadTemplatePath(context.locations), out, count, seed, silent);
    context.out << u"已写出 %1 个样例项目：%2\n"_s.arg(QString::number(count), out);
    return Success;
}

} // namespace

QVector<Command> exchangeCommands()
{
    return {
        {u"import"_s, u"import [--dry-run] [--replace-region] FILE...\n"
                      u"                             把上报文件（.xlsx、.xls）导入数据库，每个文件一行结果，其后每条警告一行；\n"
                      u"                             --dry-run 只列出每个文件将做什么，不写数据库；\n"
                      u"                             --replace-region 文件是其所列地区的完整报表：这些地区中文件没有的原有项目一并删除"_s,
         importUploadFiles},
        {u"export"_s, u"export [FILE]              把所有项目写成上报文件；不给文件名时在当前文件夹写“(投资)上报文件-{归属}-月-日.xlsx”"_s, exportUploadFile},
        {u"sample"_s, u"sample --projects N --out FILE [--seed S]\n"
                      u"                             写出 N 个能通过校验的合成项目的上报文件"_s,
         writeSample},
    };
}

} // namespace granwise::cli
