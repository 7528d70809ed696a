#include "CliRun.h"
#include "TestSupport.h"
#include "ThrownExceptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

TEST(CommandBoundary, EveryExceptionIsARefusalNamingTheFile)
{
    for (const test::Thrown &t : test::thrown()) {
        SCOPED_TRACE(t.name);
        QString out, err;
        QTextStream o(&out), e(&err);
        cli::Context context{u"x.db"_s, o, e};
        const cli::Command command{u"import"_s, u"import FILE"_s, [&](cli::Context &, const QStringList &) -> int {
                                       t.raise();
                                       return cli::Success;
                                   }};
        EXPECT_EQ(cli::runCommand(command, context, {u"甲.xlsx"_s}), cli::Refused);
        e.flush();
        EXPECT_TRUE(err.startsWith(t.text)) << err.toStdString();
        EXPECT_TRUE(err.contains(u"甲.xlsx"_s)) << err.toStdString();
    }
}

TEST(CommandBoundary, AnArgumentThatIsNotUtf8IsRefusedBeforeAnything)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    const QByteArray latin1Name = folder + "b\xe4r.db"; // "bär.db" as a Latin-1 file name
    for (const QList<QByteArray> &args : {QList<QByteArray>{"--db", latin1Name, "init"},
                                          QList<QByteArray>{"--db", folder + "x.db", "import", folder + "b\xe4r.xlsx"}}) {
        QString out, err;
        QTextStream o(&out), e(&err);
        EXPECT_EQ(cli::runRaw(AppContext{}, args, o, e), cli::Refused);
        e.flush();
        EXPECT_TRUE(err.startsWith(u"参数不是有效的 UTF-8 文字"_s)) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_TRUE(test::namesIn(dir.path()).isEmpty()); // no database of another name was made

    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(cli::runRaw(AppContext{}, {"--db", folder + "b\xc3\xa4r.db", "init"}, o, e), cli::Success); // the name in UTF-8
    EXPECT_EQ(test::namesIn(dir.path()), QStringList{u"bär.db"_s});
}
