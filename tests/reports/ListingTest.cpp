#include "ReportTestSupport.h"
#include "reports/frame/ReportSession.h"

#include <QFile>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

using test::centralProject;
using test::figuresOf;
using test::labelsOf;
using test::localProject;

QVariantMap placed(QVariantMap project, const QString &province, const QString &prefecture, const QString &county)
{
    project.insert(u"省"_s, province);
    project.insert(u"地市"_s, prefecture);
    project.insert(u"县"_s, county);
    return project;
}

ReportGrid listing(const QString &number, const test::TempDatabase &db, const QString &province,
                   const QString &prefecture = {})
{
    ReportSession session(test::table(number), db.path());
    const auto computed = session.compute(province, prefecture);
    EXPECT_EQ(computed, prefecture.isEmpty() ? ReportSession::Computed::PrefectureListing
                                             : ReportSession::Computed::CountyListing);
    return session.grid();
}

QStringList row(const char *figures)
{
    return QString::fromUtf8(figures).split(u',');
}

TEST(Listing, PrefecturesOfTheOfficeFixtureIncludeCentralAndUncodedProjects)
{
    test::TempDatabase db;
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    for (const char *number : {"1-3", "1-4"}) {
        const ReportGrid grid = listing(QString::fromLatin1(number), db, u"江苏省"_s);
        EXPECT_EQ(labelsOf(grid), (QStringList{u"江苏省合计"_s, u"南京市"_s, u"无锡市"_s})) << number;
        EXPECT_EQ(figuresOf(grid, u"南京市"_s), row("1235,100,60,40,40,0,1090,20,5"));
        EXPECT_EQ(figuresOf(grid, u"无锡市"_s), row("37.3,10,10,0,20.3,0,7,0,0"));
        EXPECT_EQ(figuresOf(grid, u"江苏省合计"_s), row("1272.3,110,70,40,60.3,0,1097,20,5"));
        EXPECT_EQ(grid.rowKind(grid.firstDataRow()), RowKind::ListingTotal);
        EXPECT_EQ(grid.rowKind(grid.firstDataRow() + 1), RowKind::Listed);
    }
    const ReportGrid counties = listing(u"1-2"_s, db, u" 江苏省 "_s, u"南京市 "_s);
    EXPECT_EQ(labelsOf(counties), (QStringList{u"南京市合计"_s, u"未知县"_s, u"玄武区"_s, u"浦口区"_s}));
    EXPECT_EQ(figuresOf(counties, u"玄武区"_s), row("1,155,15.5"));
    EXPECT_EQ(figuresOf(counties, u"南京市合计"_s), row("3,1235,23.5"));
}

TEST(Listing, PrefecturesComeInTheOrderOfTheirCodesNotOfTheirRows)
{
    test::TempDatabase db;
    db.addProject(placed(localProject(u"320205"_s, {{u"总_其他费用"_s, 1}}), u"江苏"_s, u"无锡市"_s, u"锡山区"_s));
    db.addProject(placed(localProject(u"320102"_s, {{u"总_其他费用"_s, 2}}), u"江苏"_s, u"南京市"_s, u"玄武区"_s));
    db.addProject(placed(localProject(u"320211"_s, {{u"总_其他费用"_s, 4}}), u"江苏"_s, u"无锡市"_s, u"滨湖区"_s));
    db.addProject(placed(localProject(u"130102"_s, {{u"总_其他费用"_s, 8}}), u"河北"_s, u"石家庄市"_s, u"长安区"_s));
    const ReportGrid grid = listing(u"1-9"_s, db, u"江苏"_s);
    EXPECT_EQ(labelsOf(grid), (QStringList{u"江苏合计"_s, u"南京市"_s, u"无锡市"_s}));
    EXPECT_EQ(figuresOf(grid, u"无锡市"_s), row("5,0,0,5"));
    EXPECT_EQ(figuresOf(grid, u"江苏合计"_s), row("7,0,0,7"));
    const ReportGrid counties = listing(u"1-9"_s, db, u"江苏"_s, u"无锡市"_s);
    EXPECT_EQ(labelsOf(counties), (QStringList{u"无锡市合计"_s, u"锡山区"_s, u"滨湖区"_s}));
}

TEST(Listing, AProvinceWithoutProjectsShowsOnlyItsTotalRow)
{
    test::TempDatabase db;
    db.addProject(placed(localProject(u"320102"_s, {{u"总_其他费用"_s, 2}}), u"江苏"_s, u"南京市"_s, u"玄武区"_s));
    for (const char *number : {"1-2", "1-3", "1-5", "1-11"}) {
        const ReportGrid grid = listing(QString::fromLatin1(number), db, u"西藏"_s);
        ASSERT_EQ(grid.dataRowCount(), 1) << number;
        EXPECT_EQ(grid.text(grid.firstDataRow(), 0), u"西藏合计"_s);
        EXPECT_EQ(grid.rowTexts(grid.firstDataRow()).mid(1), QStringList(grid.columnCount() - 1, u"0"_s)) << number;
    }
}

TEST(Listing, APrefectureWithOnlyCentralProjectsIsStillListed)
{
    test::TempDatabase db;
    QVariantMap local = placed(localProject(u"320102"_s, {{u"总_建筑安装工程"_s, 2}}), u"江苏"_s, u"南京市"_s, u"玄武区"_s);
    local.insert(u"项目单位性质"_s, u"民营"_s);
    local.insert(u"建设性质"_s, u"新建"_s);
    QVariantMap central =
        placed(centralProject(u"320205"_s, u"中储粮"_s, {{u"总_建筑安装工程"_s, 5}}), u"江苏"_s, u"无锡市"_s, u"锡山区"_s);
    central.insert(u"项目单位性质"_s, u"国有及国有控股"_s);
    central.insert(u"建设性质"_s, u"扩建"_s);
    db.addProject(local);
    db.addProject(central);
    EXPECT_EQ(figuresOf(listing(u"1-5"_s, db, u"江苏"_s), u"无锡市"_s), row("5,5,0,0"));
    EXPECT_EQ(figuresOf(listing(u"1-5"_s, db, u"江苏"_s), u"江苏合计"_s), row("7,5,2,0"));
    EXPECT_EQ(figuresOf(listing(u"1-7"_s, db, u"江苏"_s), u"无锡市"_s), row("5,0,5,0"));
    EXPECT_EQ(figuresOf(listing(u"1-7"_s, db, u"江苏"_s, u"无锡市"_s), u"锡山区"_s), row("5,0,5,0"));
}

TEST(Listing, APrefectureOfSeveralCategoriesHasOneRow)
{
    test::TempDatabase db;
    const QStringList natures = {u"新建"_s, u"扩建"_s, u"改建"_s};
    for (int i = 0; i < natures.size(); ++i) {
        QVariantMap p = placed(localProject(u"320102"_s, {{u"总_建筑安装工程"_s, i + 1}, {u"总_其他费用"_s, 0.1}}),
                               u"江苏"_s, u"南京市"_s, u"玄武区"_s);
        p.insert(u"建设性质"_s, natures.at(i));
        db.addProject(p);
    }
    const ReportGrid grid = listing(u"1-7"_s, db, u"江苏"_s);
    EXPECT_EQ(labelsOf(grid), (QStringList{u"江苏合计"_s, u"南京市"_s}));
    EXPECT_EQ(figuresOf(grid, u"南京市"_s), row("6.3,1.1,2.1,3.1"));
    // The composition tables sum a prefecture over its natures.
    EXPECT_EQ(figuresOf(listing(u"1-10"_s, db, u"江苏"_s), u"南京市"_s), row("6.3,6,0,0.3"));
}

TEST(Listing, EmptyPlacesGetARowOfTheirOwnAndEmptySumsCountAsZero)
{
    test::TempDatabase db;
    QVariantMap noPrefecture = placed(localProject(u"320102"_s, {{u"总_建筑安装工程"_s, 4}}), u"江苏"_s, QString(), u"x"_s);
    QVariantMap nullPrefecture = noPrefecture;
    nullPrefecture.insert(u"地市"_s, QVariant());
    nullPrefecture.insert(u"项目名称"_s, u"another"_s);
    QVariantMap empty = placed(localProject(u"320205"_s), u"江苏"_s, u"无锡市"_s, u"锡山区"_s);
    for (const QString &c : {u"总_建筑安装工程"_s, u"总_设备工器具购置"_s, u"总_其他费用"_s, u"本年_建筑安装工程"_s})
        empty.insert(c, QVariant());
    db.addProject(noPrefecture);
    db.addProject(nullPrefecture);
    db.addProject(empty);
    const ReportGrid grid = listing(u"1-2"_s, db, u"江苏"_s);
    EXPECT_EQ(labelsOf(grid), (QStringList{u"江苏合计"_s, QString(), u"无锡市"_s}));
    EXPECT_EQ(figuresOf(grid, QString()), row("2,8,0"));
    EXPECT_EQ(figuresOf(grid, u"无锡市"_s), row("1,0,0"));
    EXPECT_EQ(figuresOf(grid, u"江苏合计"_s), row("3,8,0"));
}

TEST(Session, TheComputeButtonFollowsTheBoxes)
{
    test::TempDatabase db;
    db.addProject(placed(localProject(u"320102"_s, {{u"总_其他费用"_s, 2}}), u"江苏"_s, u"南京市"_s, u"玄武区"_s));
    ReportSession session(test::table(u"1-9"_s), db.path());
    session.open();
    EXPECT_EQ(session.grid().rowCount(), 3); // title, heads, one blank data row
    EXPECT_EQ(session.grid().rowKind(2), RowKind::Blank);

    EXPECT_EQ(session.compute(QString(), QString()), ReportSession::Computed::WholeTable);
    EXPECT_EQ(session.grid().rowCount(), 43);
    const ReportGrid whole = session.grid();

    EXPECT_EQ(session.compute(QString(), u"南京市"_s), ReportSession::Computed::Nothing);
    EXPECT_EQ(session.grid(), whole);

    // Blanks count as a given province and are trimmed in the query and the label.
    EXPECT_EQ(session.compute(u"  "_s, QString()), ReportSession::Computed::PrefectureListing);
    EXPECT_EQ(labelsOf(session.grid()), QStringList{u"合计"_s});
}

TEST(Session, AFailedComputationLeavesTheGridAsItWas)
{
    test::TempDatabase db;
    ReportSession session(test::table(u"1-3"_s), db.path());
    session.computeWholeTable();
    const ReportGrid before = session.grid();
    QFile::remove(db.path());
    EXPECT_THROW(session.compute(QString(), QString()), Error);
    EXPECT_THROW(session.compute(u"江苏"_s, QString()), Error);
    EXPECT_EQ(session.grid(), before);
}

TEST(Session, ImmediateTablesOpenComputedAndHaveNoListings)
{
    test::TempDatabase db;
    QVariantMap p = localProject(u"320102"_s, {{u"本年_建筑安装工程"_s, 6}});
    p.insert(u"项目类别"_s, u"粮食现代物流项目"_s);
    db.addProject(p);
    ReportSession session(test::table(u"1-21"_s), db.path());
    session.open();
    EXPECT_EQ(session.grid().rowCount(), 43);
    EXPECT_EQ(figuresOf(session.grid(), u"全国合计"_s).value(2), u"6"_s);
    EXPECT_EQ(session.compute(u"江苏"_s, QString()), ReportSession::Computed::Nothing);
    ReportSession variant(test::table(u"1-22"_s), db.path());
    variant.open();
    EXPECT_EQ(variant.grid().rowCount(), 38);
}

} // namespace
} // namespace granwise
