#include "CliRun.h"
#include "ExchangeFixture.h"
#include "cli/Cli.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <sys/stat.h>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class ExchangeCliTest : public ExchangeTest {
protected:
    int run(QStringList args)
    {
        const test::CliResult result = test::runCli(QStringList{u"--db"_s, db->path()} + args, db->context());
        out = result.out;
        err = result.err;
        return result.code;
    }
    QString out, err;
};

} // namespace

TEST_F(ExchangeCliTest, SampleImportAndExport)
{
    const QString sample = file(u"sample.xlsx"_s);
    ASSERT_EQ(run({u"sample"_s, u"--projects"_s, u"30"_s, u"--out"_s, sample, u"--seed"_s, u"3"_s}), 0) << err.toStdString();
    EXPECT_EQ(out, u"已写出 30 个样例项目：%1\n"_s.arg(sample));

    writeWorkbook(file(u"bad.xlsx"_s), u"数据信息"_s, {u"项目名称"_s}, {{u"x"_s}});
    EXPECT_EQ(run({u"import"_s, sample, file(u"bad.xlsx"_s)}), 1);
    EXPECT_EQ(out, u"sample.xlsx：新增 30 行，替换原有项目 0 个\n"_s);
    EXPECT_TRUE(err.startsWith(u"bad.xlsx：未导入。工作表“数据信息”缺少列："_s)) << err.toStdString();
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 30);

    EXPECT_EQ(run({u"import"_s, sample}), 0);
    EXPECT_EQ(out, u"sample.xlsx：新增 30 行，替换原有项目 30 个\n"_s);

    const QString exported = file(u"out.xlsx"_s);
    EXPECT_EQ(run({u"export"_s, exported}), 0) << err.toStdString();
    EXPECT_EQ(sheetCells(exported, u"数据信息"_s).size(), 31);

    {
        Connection connection(db->path());
        connection.execute(u"update TZ_XIANGMU set 校验状态 = '0' where id = (select max(id) from TZ_XIANGMU)"_s);
    }
    EXPECT_EQ(run({u"export"_s, file(u"refused.xlsx"_s)}), 1);
    EXPECT_EQ(err, u"数据库中存在未校验记录，不能制作上报文件!\n"_s);
    EXPECT_FALSE(QFile::exists(file(u"refused.xlsx"_s)));
}

TEST_F(ExchangeCliTest, UsageErrors)
{
    const QList<QStringList> wrong{
        {u"import"_s},
        {u"export"_s, u"a.xlsx"_s, u"b.xlsx"_s},
        {u"sample"_s, u"--projects"_s, u"10"_s},
        {u"sample"_s, u"--out"_s, u"x.xlsx"_s},
        {u"sample"_s, u"--projects"_s, u"ten"_s, u"--out"_s, u"x.xlsx"_s},
        {u"sample"_s, u"--projects"_s, u"10"_s, u"--out"_s, u"x.xlsx"_s, u"--seed"_s},
    };
    for (const QStringList &args : wrong)
        EXPECT_EQ(run(args), 2) << args.join(u' ').toStdString();
}

TEST_F(ExchangeCliTest, FileNamesAreTakenAsTheyAreInTheSummary)
{
    const QString sample = file(u"sample.xlsx"_s);
    ASSERT_EQ(run({u"sample"_s, u"--projects"_s, u"2"_s, u"--out"_s, sample}), 0) << err.toStdString();
    const QString odd = file(u"a%1b%2c%3.xlsx"_s);
    ASSERT_TRUE(QFile::copy(sample, odd));

    EXPECT_EQ(run({u"import"_s, u"--dry-run"_s, odd}), 0) << err.toStdString();
    EXPECT_EQ(out, u"a%1b%2c%3.xlsx：2 行，将替换原有项目 0 个，文件内同键的行 0 行，未通过校验的行 0 行\n"_s);
    EXPECT_EQ(run({u"import"_s, odd}), 0) << err.toStdString();
    EXPECT_EQ(out, u"a%1b%2c%3.xlsx：新增 2 行，替换原有项目 0 个\n"_s);
    EXPECT_EQ(run({u"import"_s, odd}), 0) << err.toStdString();
    EXPECT_EQ(out, u"a%1b%2c%3.xlsx：新增 2 行，替换原有项目 2 个\n"_s);
}

TEST_F(ExchangeCliTest, WhatIsNoRegularFileIsRefusedUnread)
{
    // A named pipe would block the import until something writes into it, which nothing does.
    const QString pipe = file(u"x.xlsx"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = file(u"folder.xlsx"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString &path : {pipe, folder}) {
        for (const QStringList &args : {QStringList{u"import"_s, path}, QStringList{u"import"_s, u"--dry-run"_s, path}}) {
            EXPECT_EQ(run(args), 1) << args.join(u' ').toStdString();
            EXPECT_TRUE(err.contains(u"不是普通文件，不能读取："_s + path)) << err.toStdString();
        }
    }
    EXPECT_EQ(run({u"import"_s, file(u"missing.xlsx"_s)}), 1);
    EXPECT_EQ(err, u"missing.xlsx：未导入。文件不存在："_s + file(u"missing.xlsx"_s) + u'\n');
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 0);
}
