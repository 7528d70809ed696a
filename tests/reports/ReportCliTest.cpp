#include "CliRun.h"
#include "ReportTestSupport.h"
#include "cli/Cli.h"
#include "reports/frame/ReportRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

// As the program run from the database's folder would (its templates beside it).
test::CliResult cli(const test::TempDatabase &db, const QStringList &args)
{
    return test::runCli(args, db.context());
}

TEST(ReportCli, CsvPrintsTheDataRowsAsTheWindowShowsThem)
{
    test::TempDatabase db;
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    const test::CliResult whole = cli(db, {u"--db"_s, db.path(), u"report"_s, u"1-3"_s, u"--csv"_s});
    ASSERT_EQ(whole.code, 0) << whole.err.toStdString();
    const QStringList lines = whole.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 41);
    EXPECT_EQ(lines.at(0), u"合计,280.6,125,85,40,60.3,0.3,90,20,5"_s);
    EXPECT_EQ(lines.at(1), u"一、地方小计,185.6,110,70,40,20.3,0.3,50,20,5"_s);
    EXPECT_EQ(lines.at(8), u"江  苏,185.3,110,70,40,20.3,0,50,20,5"_s);
    EXPECT_EQ(lines.at(39), u"中  粮,80,0,0,0,40,0,40,0,0"_s);

    const QString title = test::table(u"1-3"_s).title;
    const test::CliResult listing = cli(db, {u"--db"_s, db.path(), u"report"_s, title, u"--province"_s, u"江苏省"_s, u"--csv"_s});
    ASSERT_EQ(listing.code, 0) << listing.err.toStdString();
    EXPECT_EQ(listing.out, u"江苏省合计,1272.3,110,70,40,60.3,0,1097,20,5\n"
                           u"南京市,1235,100,60,40,40,0,1090,20,5\n"
                           u"无锡市,37.3,10,10,0,20.3,0,7,0,0\n"_s);

    const test::CliResult counties = cli(db, {u"--db"_s, db.path(), u"report"_s, u"1-2"_s, u"--province"_s, u"江苏省"_s,
                              u"--prefecture"_s, u"南京市"_s, u"--csv"_s});
    ASSERT_EQ(counties.code, 0);
    EXPECT_EQ(counties.out, u"南京市合计,3,1235,23.5\n未知县,1,1000,0\n玄武区,1,155,15.5\n浦口区,1,80,8\n"_s);
}

TEST(ReportCli, WrongUseIsAUsageErrorAndAFailureIsRefused)
{
    test::TempDatabase db;
    const QString dbPath = db.path();
    const QStringList usage[] = {
        {u"report"_s, u"1-3"_s},
        {u"report"_s, u"1-3"_s, u"--csv"_s, u"--out"_s, u"x.xlsx"_s},
        {u"report"_s, u"--csv"_s},
        {u"report"_s, u"1-99"_s, u"--csv"_s},
        {u"report"_s, u"1-3"_s, u"--prefecture"_s, u"南京市"_s, u"--csv"_s},
        {u"report"_s, u"1-21"_s, u"--province"_s, u"江苏省"_s, u"--csv"_s},
        {u"report"_s, u"1-3"_s, u"--province"_s},
        {u"reports"_s},
    };
    for (const QStringList &args : usage)
        EXPECT_EQ(cli(db, QStringList{u"--db"_s, dbPath} + args).code, 2) << args.join(u' ').toStdString();
    const test::CliResult missing = cli(db, {u"--db"_s, db.dir() + u"/none.db"_s, u"report"_s, u"1-2"_s, u"--csv"_s});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

TEST(ReportCli, OutSavesOneTableAndReportsSavesEveryTable)
{
    test::TempDatabase db;
    test::installTemplates(db);
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    const QString file = db.dir() + u"/1-4.xlsx"_s;
    const test::CliResult one = cli(db, {u"--db"_s, db.path(), u"report"_s, u"1-4"_s, u"--out"_s, file});
    ASSERT_EQ(one.code, 0) << one.err.toStdString();
    const QMap<int, QStringList> sheet = test::readWorksheet(file);
    EXPECT_EQ(sheet.value(6).mid(0, 2), (QStringList{u"合计"_s, u"287.6"_s}));

    const QString dir = db.dir() + u"/all"_s;
    const test::CliResult all = cli(db, {u"--db"_s, db.path(), u"reports"_s, u"--out"_s, dir});
    ASSERT_EQ(all.code, 0) << all.err.toStdString();
    for (const ReportDefinition *d : reportDefinitions()) {
        if (!d->number.startsWith(u"1-"_s))
            continue;
        const QString path = QDir(dir).filePath(d->title + u".xlsx"_s);
        EXPECT_TRUE(QFileInfo::exists(path)) << d->number.toStdString();
        EXPECT_TRUE(all.out.contains(path));
    }
    const QMap<int, QStringList> table2 = test::readWorksheet(QDir(dir).filePath(test::table(u"1-2"_s).title + u".xlsx"_s));
    EXPECT_EQ(table2.value(5).mid(0, 4), (QStringList{u"合计"_s, u"6"_s, u"287.6"_s, u"30.1"_s}));
}

} // namespace
} // namespace granwise
