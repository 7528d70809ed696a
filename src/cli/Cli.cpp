#include "Cli.h"

#include "store/Error.h"

#include <QFile>

namespace granwise::cli {

using namespace Qt::StringLiterals;

const QVector<Command> &commands()
{
    static const QVector<Command> all = storeCommands() + taskCommands() + exchangeCommands() + deleteCommands()
                                        + reportCommands() + projectCommands() + journalCommands();
    return all;
}

QString usageText()
{
    QString text = u"用法：granwise-cli [--db PATH] COMMAND [ARGS]\n"
                   u"  --db PATH    数据库文件；默认是程序旁边的 ledger.db（安装后在用户数据目录，见 where）\n"
                   u"  --version    显示版本\n"_s;
    for (const Command &c : commands())
        text += u"  "_s + c.usage + u'\n';
    return text;
}

int runCommand(const Command &command, Context &context, const QStringList &args)
{
    try {
        const int code = command.run(context, args);
        if (code == UsageError)
            context.err << u"用法：granwise-cli "_s << command.usage << u'\n';
        return code;
    } catch (const Error &e) {
        context.err << e.text() << u'\n';
    } catch (const std::exception &e) {
        context.err << failureText(e) << u"：granwise-cli "_s << command.name << u' ' << args.join(u' ') << u'\n';
    } catch (...) {
        context.err << unknownFailureText() << u"：granwise-cli "_s << command.name << u' ' << args.join(u' ')
                    << u'\n';
    }
    return Refused;
}

int runRaw(const AppContext &app, const QList<QByteArray> &arguments, QTextStream &out, QTextStream &err)
{
    QStringList decoded;
    for (const QByteArray &raw : arguments) {
        const QString text = QFile::decodeName(raw);
        if (QFile::encodeName(text) != raw) {
            err << u"参数不是有效的 UTF-8 文字，不能当作文件名使用，请把文件改名后再试："_s << text << u'\n';
            return Refused;
        }
        decoded << text;
    }
    return run(app, decoded, out, err);
}

int run(const AppContext &app, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QStringList args = arguments;
    QString database = app.databasePath;
    while (!args.isEmpty() && args.first().startsWith(u"--"_s)) {
        const QString option = args.takeFirst();
        if (option == u"--db"_s && !args.isEmpty()) {
            database = args.takeFirst();
        } else if (option == u"--version"_s) {
            out << u"granwise-cli "_s << programVersion() << u'\n';
            return Success;
        } else if (option == u"--help"_s || option == u"-h"_s) {
            out << usageText();
            return Success;
        } else {
            err << u"未知的选项："_s << option << u'\n' << usageText();
            return UsageError;
        }
    }
    if (args.isEmpty()) {
        err << usageText();
        return UsageError;
    }
    const QString name = args.takeFirst();
    for (const Command &c : commands()) {
        if (c.name != name)
            continue;
        Context context{database, out, err, app.locations};
        return runCommand(c, context, args);
    }
    err << u"未知的命令："_s << name << u'\n' << usageText();
    return UsageError;
}

} // namespace granwise::cli
