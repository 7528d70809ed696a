#include "Cli.h"

#include "store/Error.h"
#include "store/Glob.h"

namespace granwise::cli {

using namespace Qt::StringLiterals;

const QVector<Command> &commands()
{
    static const QVector<Command> all = storeCommands() + taskCommands() + exchangeCommands() + deleteCommands() + reportCommands()
                                            + projectCommands();
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

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QStringList args = arguments;
    QString database = glob::ConnectionString;
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
            err << u"未知的选项：%1\n"_s.arg(option) << usageText();
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
        Context context{database, out, err};
        try {
            const int code = c.run(context, args);
            if (code == UsageError)
                err << u"用法：granwise-cli "_s << c.usage << u'\n';
            return code;
        } catch (const Error &e) {
            err << e.text() << u'\n';
            return Refused;
        }
    }
    err << u"未知的命令：%1\n"_s.arg(name) << usageText();
    return UsageError;
}

} // namespace granwise::cli
