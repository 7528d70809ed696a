#include "ReportTestSupport.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

using test::centralProject;
using test::figuresOf;
using test::localProject;
using test::wholeTable;

QVariantMap totals(double building, double equipment, double other)
{
    return {{u"总_建筑安装工程"_s, building}, {u"总_设备工器具购置"_s, equipment}, {u"总_其他费用"_s, other}};
}

QStringList zeros(int n)
{
    return QStringList(n, u"0"_s);
}

TEST(RegionalFigures, ProjectsLandInTheRowOfTheirProvinceWhateverTheGroupOrder)
{
    // The same three projects, inserted in two orders: the groups come out in different orders.
    const QVector<QVariantMap> projects = {
        localProject(u"320102"_s, totals(10, 1, 0.5)),
        localProject(u"130102"_s, totals(7, 0, 0)),
        localProject(u"320205"_s, totals(20, 2, 0)),
    };
    for (const QVector<int> &order : {QVector<int>{0, 1, 2}, QVector<int>{1, 2, 0}}) {
        test::TempDatabase db;
        for (int i : order)
            db.addProject(projects.at(i));
        const ReportGrid grid = wholeTable(u"1-2"_s, db);
        EXPECT_EQ(figuresOf(grid, u"江  苏"_s), (QStringList{u"2"_s, u"33.5"_s, u"0"_s}));
        EXPECT_EQ(figuresOf(grid, u"河  北"_s), (QStringList{u"1"_s, u"7"_s, u"0"_s}));
        EXPECT_EQ(figuresOf(grid, u"1、主产区"_s), (QStringList{u"3"_s, u"40.5"_s, u"0"_s}));
        EXPECT_EQ(figuresOf(grid, u"合计"_s), (QStringList{u"3"_s, u"40.5"_s, u"0"_s}));
        EXPECT_EQ(figuresOf(grid, u"内蒙古"_s), zeros(3));
    }
}

TEST(RegionalFigures, CodesOutsideTheProvinceTableCountNowhere)
{
    test::TempDatabase db;
    db.addProject(localProject(u"320102"_s, totals(5, 0, 0)));
    db.addProject(localProject(u"660101"_s, totals(100, 0, 0)));
    db.addProject(localProject(QString(), totals(200, 0, 0)));
    QVariantMap noCode = localProject(u"x"_s, totals(400, 0, 0));
    noCode.insert(u"行政区划代码"_s, QVariant());
    db.addProject(noCode);
    db.addProject(centralProject(u"66"_s, u"中粮"_s, totals(0, 0, 0))); // central rows go by company

    const ReportGrid combined = wholeTable(u"1-2"_s, db);
    EXPECT_EQ(figuresOf(combined, u"合计"_s), (QStringList{u"1"_s, u"5"_s, u"0"_s}));
    for (const char *number : {"1-9", "1-10"}) {
        const ReportGrid grid = wholeTable(QString::fromLatin1(number), db);
        EXPECT_EQ(figuresOf(grid, u"合计"_s), (QStringList{u"5"_s, u"5"_s, u"0"_s, u"0"_s})) << number;
        EXPECT_EQ(figuresOf(grid, u"新疆兵团"_s), zeros(4)) << number;
    }
}

TEST(RegionalFigures, TheCorpsRowStaysZeroInBothLayouts)
{
    test::TempDatabase db;
    QVariantMap corps = localProject(u"659001"_s, totals(3, 0, 0)); // 新疆兵团 projects carry 新疆 codes
    corps.insert(u"省"_s, u"新疆兵团"_s);
    db.addProject(corps);
    db.addProject(centralProject(u"650102"_s, u"新疆兵团"_s, totals(4, 0, 0)));
    for (const char *number : {"1-3", "1-4", "1-9", "1-10", "1-21", "1-22"}) {
        const ReportGrid grid = wholeTable(QString::fromLatin1(number), db);
        EXPECT_EQ(figuresOf(grid, u"新疆兵团"_s), zeros(grid.columnCount() - 1)) << number;
    }
    EXPECT_EQ(figuresOf(wholeTable(u"1-10"_s, db), u"新  疆"_s), (QStringList{u"7"_s, u"7"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(wholeTable(u"1-9"_s, db), u"新  疆"_s), (QStringList{u"3"_s, u"3"_s, u"0"_s, u"0"_s}));
}

TEST(RegionalFigures, OtherCompaniesAndAMissingAffiliationCountInTheCombinedLayoutOnly)
{
    test::TempDatabase db;
    db.addProject(localProject(u"320102"_s, totals(1, 0, 0)));
    db.addProject(centralProject(u"320102"_s, u"中粮"_s, totals(10, 0, 0)));
    db.addProject(centralProject(u"320102"_s, u"华粮"_s, totals(100, 0, 0)));
    QVariantMap noAffiliation = localProject(u"320102"_s, totals(1000, 0, 0));
    noAffiliation.insert(u"隶属关系"_s, QString());
    db.addProject(noAffiliation);
    db.addProject(centralProject(u"320102"_s, u"中粮 "_s, totals(10000, 0, 0))); // not exactly 中粮

    const ReportGrid separate = wholeTable(u"1-9"_s, db);
    EXPECT_EQ(figuresOf(separate, u"江  苏"_s).value(0), u"1"_s);
    EXPECT_EQ(figuresOf(separate, u"中  粮"_s).value(0), u"10"_s);
    EXPECT_EQ(figuresOf(separate, u"二、中央企业小计"_s).value(0), u"10"_s);
    EXPECT_EQ(figuresOf(separate, u"一、地方小计"_s).value(0), u"1"_s);
    EXPECT_EQ(figuresOf(separate, u"合计"_s), (QStringList{u"11"_s, u"11"_s, u"0"_s, u"0"_s}));

    const ReportGrid combined = wholeTable(u"1-10"_s, db);
    EXPECT_EQ(figuresOf(combined, u"江  苏"_s).value(0), u"11111"_s);
    EXPECT_EQ(figuresOf(combined, u"1、主产区"_s).value(0), u"11111"_s);
    EXPECT_EQ(figuresOf(combined, u"合计"_s).value(0), u"11111"_s);
}

TEST(RegionalFigures, SourceRowTotalAddsOnlyTheIndependentSources)
{
    test::TempDatabase db;
    db.addProject(localProject(u"320102"_s, {{u"总_财政性资金"_s, 100}, {u"总_其中中央财政"_s, 60},
                                             {u"总_其中地方财政"_s, 40}, {u"总_自有资金"_s, 50},
                                             {u"总_其中退城进郊置换资金"_s, 20}, {u"总_其他投资"_s, 5},
                                             {u"本年_银行贷款"_s, 8}}));
    const QStringList expected = {u"155"_s, u"100"_s, u"60"_s, u"40"_s, u"0"_s, u"0"_s, u"50"_s, u"20"_s, u"5"_s};
    for (const char *number : {"1-3", "1-4"}) {
        const ReportGrid grid = wholeTable(QString::fromLatin1(number), db);
        EXPECT_EQ(figuresOf(grid, u"江  苏"_s), expected) << number;
        EXPECT_EQ(figuresOf(grid, u"合计"_s), expected) << number;
    }
    const ReportGrid thisYear = wholeTable(u"1-13"_s, db);
    EXPECT_EQ(figuresOf(thisYear, u"江  苏"_s),
              (QStringList{u"8"_s, u"0"_s, u"0"_s, u"0"_s, u"8"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}));
}

TEST(RegionalFigures, ACentralProjectCountsInItsCompanyOrInItsProvinceByLayout)
{
    test::TempDatabase db;
    db.addProject(centralProject(u"320102"_s, u"中粮"_s, {{u"总_银行贷款"_s, 30}}));
    const ReportGrid plain = wholeTable(u"1-3"_s, db);
    EXPECT_EQ(figuresOf(plain, u"中  粮"_s).value(0), u"30"_s);
    EXPECT_EQ(figuresOf(plain, u"二、央企小计"_s).value(0), u"30"_s);
    EXPECT_EQ(figuresOf(plain, u"江  苏"_s).value(0), u"0"_s);
    EXPECT_EQ(figuresOf(plain, u"（一）主产区"_s).value(0), u"0"_s);
    EXPECT_EQ(figuresOf(plain, u"合计"_s).value(0), u"30"_s);
    const ReportGrid variant = wholeTable(u"1-4"_s, db);
    EXPECT_EQ(figuresOf(variant, u"江  苏"_s).value(0), u"30"_s);
    EXPECT_EQ(figuresOf(variant, u"1、主产区"_s).value(0), u"30"_s);
    EXPECT_EQ(test::rowOf(variant, u"中  粮"_s), -1);
}

TEST(RegionalFigures, CategoryTablesPutEachProjectInTheColumnOfItsCategory)
{
    test::TempDatabase db;
    QVariantMap sichuan = localProject(u"510104"_s, totals(10, 5, 1));
    sichuan.insert(u"项目类别"_s, u"信息化建设项目"_s);
    db.addProject(sichuan);
    const ReportGrid one = wholeTable(u"1-12"_s, db);
    const QStringList sixteen = {u"16"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"16"_s, u"0"_s};
    EXPECT_EQ(figuresOf(one, u"四  川"_s), sixteen);
    EXPECT_EQ(figuresOf(one, u"1、主产区"_s), sixteen);
    EXPECT_EQ(figuresOf(one, u"合计"_s), sixteen);

    test::TempDatabase db2;
    QVariantMap shanxi = localProject(u"140105"_s, totals(20, 0, 0));
    shanxi.insert(u"项目类别"_s, u"粮油仓储设施项目"_s);
    QVariantMap beijing = localProject(u"110101"_s, totals(0, 0, 7));
    beijing.insert(u"项目类别"_s, u"其他项目"_s);
    db2.addProject(shanxi);
    db2.addProject(beijing);
    for (const char *number : {"1-11", "1-12"}) {
        const ReportGrid grid = wholeTable(QString::fromLatin1(number), db2);
        EXPECT_EQ(figuresOf(grid, u"山  西"_s).value(0), u"20"_s) << number;
        EXPECT_EQ(figuresOf(grid, u"山  西"_s).value(1), u"20"_s) << number;
        EXPECT_EQ(figuresOf(grid, u"北  京"_s).value(0), u"7"_s) << number;
        EXPECT_EQ(figuresOf(grid, u"北  京"_s).value(7), u"7"_s) << number;
        EXPECT_EQ(figuresOf(grid, u"合计"_s).value(0), u"27"_s) << number;
    }
}

TEST(RegionalFigures, OwnershipTableSeparateLayout)
{
    test::TempDatabase db;
    QVariantMap shanghai = localProject(u"310101"_s, totals(9, 0, 0));
    shanghai.insert(u"项目单位性质"_s, u"民营"_s);
    db.addProject(shanghai);
    const ReportGrid grid = wholeTable(u"1-5"_s, db);
    const QStringList nine = {u"9"_s, u"0"_s, u"9"_s, u"0"_s};
    EXPECT_EQ(figuresOf(grid, u"上  海"_s), nine);
    EXPECT_EQ(figuresOf(grid, u"3、主销区"_s), nine);
    EXPECT_EQ(figuresOf(grid, u"一、地方小计"_s), nine);
    EXPECT_EQ(figuresOf(grid, u"合计"_s), nine);
    EXPECT_EQ(figuresOf(grid, u"北  京"_s), zeros(4));
    EXPECT_EQ(figuresOf(grid, u"新疆兵团"_s), zeros(4));
    EXPECT_EQ(figuresOf(grid, u"二、央企小计"_s), zeros(4));
}

TEST(RegionalFigures, AProjectWithoutTheCategoryCountsOnlyInTheOtherBreakdowns)
{
    test::TempDatabase db;
    QVariantMap p = localProject(u"320102"_s, {{u"总_建筑安装工程"_s, 4}, {u"本年_其他费用"_s, 2}});
    p.insert(u"项目单位性质"_s, QString());
    p.insert(u"建设性质"_s, u"扩建"_s);
    p.insert(u"项目类别"_s, u"其他项目"_s);
    db.addProject(p);
    QVariantMap q = localProject(u"320102"_s, {{u"总_建筑安装工程"_s, 50}});
    q.insert(u"项目单位性质"_s, u"国有及国有控股 "_s); // a trailing blank is another category
    db.addProject(q);
    for (const char *number : {"1-5", "1-6", "1-15", "1-16"}) {
        const ReportGrid grid = wholeTable(QString::fromLatin1(number), db);
        EXPECT_EQ(figuresOf(grid, u"合计"_s), zeros(4)) << number;
    }
    EXPECT_EQ(figuresOf(wholeTable(u"1-8"_s, db), u"合计"_s), (QStringList{u"4"_s, u"0"_s, u"4"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(wholeTable(u"1-17"_s, db), u"江  苏"_s), (QStringList{u"2"_s, u"0"_s, u"2"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(wholeTable(u"1-22"_s, db), u"全国合计"_s).value(7), u"2"_s);
    EXPECT_EQ(figuresOf(wholeTable(u"1-10"_s, db), u"合计"_s).value(0), u"54"_s);
}

TEST(RegionalFigures, CurrentYearTablesAddOnlyTheCurrentYearColumns)
{
    test::TempDatabase db;
    db.addProject(localProject(u"320102"_s, {{u"总_建筑安装工程"_s, 100}, {u"本年_建筑安装工程"_s, 3},
                                             {u"本年_设备工器具购置"_s, 0.25}}));
    QVariantMap empty = localProject(u"320205"_s);
    for (const QString &c : {u"本年_建筑安装工程"_s, u"本年_设备工器具购置"_s, u"本年_其他费用"_s})
        empty.insert(c, QVariant());
    db.addProject(empty);
    EXPECT_EQ(figuresOf(wholeTable(u"1-19"_s, db), u"江  苏"_s),
              (QStringList{u"3.25"_s, u"3"_s, u"0.25"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(wholeTable(u"1-9"_s, db), u"江  苏"_s), (QStringList{u"100"_s, u"100"_s, u"0"_s, u"0"_s}));
}

TEST(RegionalFigures, DecimalFiguresAddUpExactly)
{
    test::TempDatabase db;
    for (int i = 0; i < 10; ++i)
        db.addProject(localProject(u"320102"_s, totals(0.1, 0.7, 0)));
    db.addProject(localProject(u"130102"_s, totals(0.2, 0, 0)));
    for (int i = 0; i < 3; ++i)
        db.addProject(localProject(u"110101"_s, totals(1234567.89, 0, 0.01)));
    const ReportGrid grid = wholeTable(u"1-10"_s, db);
    EXPECT_EQ(figuresOf(grid, u"江  苏"_s), (QStringList{u"8"_s, u"1"_s, u"7"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, u"1、主产区"_s), (QStringList{u"8.2"_s, u"1.2"_s, u"7"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, u"北  京"_s), (QStringList{u"3703703.7"_s, u"3703703.67"_s, u"0"_s, u"0.03"_s}));
    EXPECT_EQ(figuresOf(grid, u"合计"_s), (QStringList{u"3703711.9"_s, u"3703704.87"_s, u"7"_s, u"0.03"_s}));
}

TEST(RegionalFigures, EmptySumsCountAsZeroInsteadOfStoppingTheTable)
{
    test::TempDatabase db;
    QVariantMap p = localProject(u"320102"_s);
    for (const QString &c : {u"总_财政性资金"_s, u"总_其中中央财政"_s, u"总_银行贷款"_s})
        p.insert(c, QVariant());
    db.addProject(p);
    db.addProject(centralProject(u"110101"_s, u"中储粮"_s, {{u"总_其中中央财政"_s, QVariant()}, {u"总_自有资金"_s, 2}}));
    const ReportGrid grid = wholeTable(u"1-3"_s, db);
    EXPECT_EQ(figuresOf(grid, u"江  苏"_s), zeros(9));
    EXPECT_EQ(figuresOf(grid, u"中储粮"_s).value(0), u"2"_s);
    EXPECT_EQ(figuresOf(grid, u"合计"_s).value(6), u"2"_s);
}

TEST(RegionalFigures, AnEmptyProjectTableShowsEveryRowWithZeros)
{
    test::TempDatabase db;
    for (const char *number : {"1-2", "1-3", "1-4", "1-11", "1-21"}) {
        const ReportGrid grid = wholeTable(QString::fromLatin1(number), db);
        for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
            EXPECT_EQ(grid.rowTexts(r).mid(1), zeros(grid.columnCount() - 1)) << number << " row " << r;
    }
}

TEST(RegionalFigures, TheOfficeFixtureTable1_3)
{
    test::TempDatabase db;
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    const ReportGrid grid = wholeTable(u"1-3"_s, db);
    const auto row = [](const char *figures) { return QString::fromLatin1(figures).split(u','); };
    EXPECT_EQ(figuresOf(grid, u"江  苏"_s), row("185.3,110,70,40,20.3,0,50,20,5"));
    EXPECT_EQ(figuresOf(grid, u"河  北"_s), row("0.3,0,0,0,0,0.3,0,0,0"));
    EXPECT_EQ(figuresOf(grid, u"（一）主产区"_s), row("185.6,110,70,40,20.3,0.3,50,20,5"));
    EXPECT_EQ(figuresOf(grid, u"一、地方小计"_s), row("185.6,110,70,40,20.3,0.3,50,20,5"));
    EXPECT_EQ(figuresOf(grid, u"北  京"_s), row("0,0,0,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(grid, u"中储粮"_s), row("15,15,15,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(grid, u"中  粮"_s), row("80,0,0,0,40,0,40,0,0"));
    EXPECT_EQ(figuresOf(grid, u"二、央企小计"_s), row("95,15,15,0,40,0,40,0,0"));
    EXPECT_EQ(figuresOf(grid, u"合计"_s), row("280.6,125,85,40,60.3,0.3,90,20,5"));

    const ReportGrid combined = wholeTable(u"1-4"_s, db);
    EXPECT_EQ(figuresOf(combined, u"江  苏"_s), row("272.3,110,70,40,60.3,0,97,20,5"));
    EXPECT_EQ(figuresOf(combined, u"合计"_s), row("287.6,125,85,40,60.3,0.3,97,20,5"));
}

} // namespace
} // namespace granwise
