#include "InvestmentSummaryTestSupport.h"

#include "reports/frame/ReportRegistry.h"
#include "reports/windows/ReportWindowFactory.h"
#include "reports/frame/ReportSave.h"
#include "reports/windows/ReportWindow.h"

#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;
using summarytest::figuresOf;
using summarytest::labelsOf;
using summarytest::opened;
using summarytest::project;

const QStringList AllLabels = {
    u"合计"_s,
    u"一、按企业性质分"_s,
    u"其中：国有及国有控股"_s,
    u"      民营"_s,
    u"      外资"_s,
    u"二、按隶属关系分"_s,
    u"    中央项目"_s,
    u"    地方项目"_s,
    u"三、按建设性质分"_s,
    u"    新建"_s,
    u"    扩建"_s,
    u"    改建"_s,
    u"四、按投资来源分"_s,
    u"  （一）财政性资金"_s,
    u"  其中：中央财政"_s,
    u"        地方财政"_s,
    u"  （二）银行贷款"_s,
    u"  （三）利用外资"_s,
    u"  （四）自有资金"_s,
    u"  其中：退城进郊置换资金"_s,
    u"  （五）其他投资"_s,
    u"五、按项目类别分"_s,
    u"    粮油仓储设施项目"_s,
    u"    粮食现代物流项目"_s,
    u"    危仓老库修复项目"_s,
    u"    粮食检验监测项目"_s,
    u"    农户科学储粮项目"_s,
    u"    信息化建设项目"_s,
    u"    其他项目"_s,
    u"六、按项目进展分"_s,
    u"    前期项目"_s,
    u"    在建项目"_s,
    u"    竣工项目"_s,
    u"七、按地区分"_s,
    u"    主产区"_s,
    u"    产销平衡区"_s,
    u"    主销区"_s,
};

// Grid rows of the table.
constexpr int Total = 2;
constexpr int StateOwned = 4, Private = 5, Foreign = 6;
constexpr int Central = 8, Local = 9;
constexpr int NewBuild = 11, Extension = 12;
constexpr int Fiscal = 15, CentralFiscal = 16, Relocation = 21, OtherSources = 22;
constexpr int Storage = 24, Logistics = 25, OtherCategory = 30;
constexpr int Preliminary = 32, UnderWay = 33, Completed = 34;
constexpr int MainProducing = 36, Balanced = 37, MainConsuming = 38;

const QStringList Empty4 = {u""_s, u""_s, u""_s, u""_s};
const QStringList Zero4 = {u"0"_s, u"0"_s, u"0"_s, u"0"_s};
const QStringList NoCountZero = {u"-"_s, u"0"_s, u"0"_s, u"0"_s};

// The three composition parts of every investment group, in 万元.
QVariantMap investment(double building, double equipment, double other)
{
    QVariantMap values;
    for (const QString &prefix : {u"总_"_s, u"累计_"_s, u"本年_"_s}) {
        values.insert(prefix + u"建筑安装工程"_s, building);
        values.insert(prefix + u"设备工器具购置"_s, equipment);
        values.insert(prefix + u"其他费用"_s, other);
    }
    return values;
}

QVariantMap with(QVariantMap values, const QVariantMap &more)
{
    for (auto it = more.begin(); it != more.end(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

TEST(InvestmentSummaryTables, EveryTableOverNoProjectsShowsZerosWhereItFillsAndNothingElse)
{
    test::TempDatabase db;
    struct Case {
        const char *number;
        int rows;
    };
    for (const Case &c : {Case{"1-1", 37}, Case{"1-24", 29}, Case{"1-25", 29}, Case{"1-26", 29}}) {
        SCOPED_TRACE(c.number);
        const ReportGrid grid = opened(QString::fromLatin1(c.number), db);
        ASSERT_EQ(grid.rowCount(), 2 + c.rows);
        EXPECT_EQ(labelsOf(grid), AllLabels.mid(0, c.rows));
        for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r) {
            QStringList expected = Empty4;
            if (r == Total || (r >= StateOwned && r <= Foreign) || r >= MainProducing)
                expected = Zero4;
            else if (r >= Fiscal && r <= OtherSources)
                expected = NoCountZero;
            EXPECT_EQ(figuresOf(grid, r), expected) << "row " << r;
        }
    }
}

TEST(InvestmentSummaryTables, TableOneOneCountsAndConvertsToHundredMillionYuan)
{
    test::TempDatabase db;
    db.addProject(project(with(investment(50000, 20000, 30000),
                               {{u"项目单位性质"_s, u"国有及国有控股"_s},
                                {u"隶属关系"_s, u"地方企业"_s},
                                {u"建设性质"_s, u"新建"_s},
                                {u"项目类别"_s, u"粮油仓储设施项目"_s},
                                {u"项目进展"_s, u"在建项目"_s},
                                {u"行政区划代码"_s, u"320102"_s},
                                {u"总_财政性资金"_s, 60000},
                                {u"总_其中中央财政"_s, 45000},
                                {u"本年_其他投资"_s, 12345}})));
    const ReportGrid grid = opened(u"1-1"_s, db);
    const QStringList one = {u"1"_s, u"10"_s, u"10"_s, u"10"_s};
    EXPECT_EQ(figuresOf(grid, StateOwned), one);
    EXPECT_EQ(figuresOf(grid, Total), one);
    EXPECT_EQ(figuresOf(grid, Private), Zero4);
    EXPECT_EQ(figuresOf(grid, Local), one);
    EXPECT_EQ(figuresOf(grid, Central), Empty4); // a class no project has stays empty
    EXPECT_EQ(figuresOf(grid, NewBuild), one);
    EXPECT_EQ(figuresOf(grid, Storage), one);
    EXPECT_EQ(figuresOf(grid, UnderWay), one);
    EXPECT_EQ(figuresOf(grid, MainProducing), one);
    EXPECT_EQ(figuresOf(grid, Balanced), Zero4);
    EXPECT_EQ(figuresOf(grid, Fiscal), (QStringList{u"-"_s, u"6"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, CentralFiscal), (QStringList{u"-"_s, u"4.5"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, OtherSources), (QStringList{u"-"_s, u"0"_s, u"0"_s, u"1.2345"_s}));
}

TEST(InvestmentSummaryTables, AnOwnershipOutsideTheThreeCountsEverywhereButTheTotal)
{
    test::TempDatabase db;
    const QVariantMap facts = {{u"隶属关系"_s, u"中央企业"_s},
                               {u"建设性质"_s, u"扩建"_s},
                               {u"项目类别"_s, u"其他项目"_s},
                               {u"项目进展"_s, u"竣工项目"_s},
                               {u"行政区划代码"_s, u"460100"_s},
                               {u"总_银行贷款"_s, 10000}};
    db.addProject(project(with(investment(10000, 0, 0), facts)));                                // NULL
    db.addProject(project(with(investment(20000, 0, 0), with(facts, {{u"项目单位性质"_s, u""_s}})))); // empty
    db.addProject(project(with(investment(40000, 0, 0), with(facts, {{u"项目单位性质"_s, u"民营 "_s}}))));
    db.addProject(project(with(investment(80000, 0, 0), with(facts, {{u"项目单位性质"_s, u"民营"_s}}))));

    const ReportGrid grid = opened(u"1-1"_s, db);
    const QStringList all = {u"4"_s, u"15"_s, u"15"_s, u"15"_s};
    EXPECT_EQ(figuresOf(grid, Total), (QStringList{u"1"_s, u"8"_s, u"8"_s, u"8"_s}));
    EXPECT_EQ(figuresOf(grid, Private), (QStringList{u"1"_s, u"8"_s, u"8"_s, u"8"_s}));
    EXPECT_EQ(figuresOf(grid, StateOwned), Zero4);
    for (int row : {Central, Extension, OtherCategory, Completed, MainConsuming})
        EXPECT_EQ(figuresOf(grid, row), all) << "row " << row;
    EXPECT_EQ(figuresOf(grid, 18), (QStringList{u"-"_s, u"4"_s, u"0"_s, u"0"_s})); // （二）银行贷款
}

TEST(InvestmentSummaryTables, StageTablesCountOnlyTheirStageAndStopAtOtherProjects)
{
    test::TempDatabase db;
    struct Stage {
        const char *number;
        QString progress;
        double building;
    };
    const QVector<Stage> stages = {{"1-24", u"前期项目"_s, 10000},
                                   {"1-25", u"在建项目"_s, 20000},
                                   {"1-26", u"竣工项目"_s, 40000}};
    for (const Stage &s : stages)
        db.addProject(project(with(investment(s.building, 0, 0),
                                   {{u"项目单位性质"_s, u"民营"_s},
                                    {u"项目进展"_s, s.progress},
                                    {u"项目类别"_s, u"粮食现代物流项目"_s},
                                    {u"总_自有资金"_s, s.building}})));
    db.addProject(project(with(investment(80000, 0, 0), {{u"项目单位性质"_s, u"民营"_s}, {u"项目进展"_s, u"在建项目 "_s}})));

    for (const Stage &s : stages) {
        SCOPED_TRACE(s.number);
        const ReportGrid grid = opened(QString::fromLatin1(s.number), db);
        ASSERT_EQ(grid.rowCount(), 31);
        EXPECT_EQ(grid.text(30, 0), u"    其他项目"_s);
        const QString amount = QString::number(s.building / 10000);
        const QStringList one = {u"1"_s, amount, amount, amount};
        EXPECT_EQ(figuresOf(grid, Total), one);
        EXPECT_EQ(figuresOf(grid, Logistics), one);
        EXPECT_EQ(figuresOf(grid, 20), (QStringList{u"-"_s, amount, u"0"_s, u"0"_s})); // （四）自有资金
    }
    const ReportGrid whole = opened(u"1-1"_s, db);
    EXPECT_EQ(figuresOf(whole, Total), (QStringList{u"4"_s, u"15"_s, u"15"_s, u"15"_s}));
    EXPECT_EQ(figuresOf(whole, Preliminary), (QStringList{u"1"_s, u"1"_s, u"1"_s, u"1"_s}));
    EXPECT_EQ(figuresOf(whole, UnderWay), (QStringList{u"1"_s, u"2"_s, u"2"_s, u"2"_s}));
}

TEST(InvestmentSummaryTables, GrainAreasCountEveryListedProvinceCodeOnce)
{
    test::TempDatabase db;
    // One project per province code, plus codes that belong to no area.
    const QStringList codes = {u"15"_s, u"21"_s, u"22"_s, u"23"_s, u"13"_s, u"32"_s, u"34"_s, u"37"_s,
                               u"41"_s, u"36"_s, u"42"_s, u"43"_s, u"51"_s, u"14"_s, u"45"_s, u"50"_s,
                               u"52"_s, u"53"_s, u"54"_s, u"61"_s, u"62"_s, u"63"_s, u"64"_s, u"65"_s,
                               u"11"_s, u"12"_s, u"31"_s, u"33"_s, u"35"_s, u"44"_s, u"46"_s};
    for (const QString &code : codes)
        db.addProject(project({{u"行政区划代码"_s, code + u"0101"_s}}));
    for (const QVariant &code : {QVariant(u"660101"_s), QVariant(u""_s), QVariant(), QVariant(u"3"_s)})
        db.addProject(project({{u"行政区划代码"_s, code}}));

    const ReportGrid grid = opened(u"1-1"_s, db);
    EXPECT_EQ(grid.text(MainProducing, 1), u"13"_s);
    EXPECT_EQ(grid.text(Balanced, 1), u"11"_s);
    EXPECT_EQ(grid.text(MainConsuming, 1), u"7"_s);
}

TEST(InvestmentSummaryTables, EmptySumsCountAsZeroAndDecimalsAddUpExactly)
{
    test::TempDatabase db;
    const QVariantMap facts = {{u"项目单位性质"_s, u"外资"_s}, {u"项目类别"_s, u"信息化建设项目"_s}};
    // NULL figures, as a project taken in from elsewhere may carry them.
    db.addProject(project(with(facts, {{u"总_建筑安装工程"_s, QVariant()},
                                       {u"总_设备工器具购置"_s, QVariant()},
                                       {u"总_其他费用"_s, QVariant()},
                                       {u"总_财政性资金"_s, QVariant()}})));
    for (double amount : {1000.1, 2000.2})
        db.addProject(project(with(facts, {{u"本年_建筑安装工程"_s, amount}})));
    for (int i = 0; i < 10; ++i)
        db.addProject(project(with(facts, {{u"累计_其他费用"_s, 0.1}})));

    const ReportGrid grid = opened(u"1-1"_s, db);
    const QStringList expected = {u"13"_s, u"0"_s, u"0.0001"_s, u"0.30003"_s};
    EXPECT_EQ(figuresOf(grid, Foreign), expected);
    EXPECT_EQ(figuresOf(grid, Total), expected);
    EXPECT_EQ(figuresOf(grid, 29), expected); // 信息化建设项目
    EXPECT_EQ(figuresOf(grid, Fiscal), NoCountZero);
}

TEST(InvestmentSummaryTables, DefinitionsCarryTheirHeadsUnitAndSavePlaces)
{
    for (const char *number : {"1-1", "1-24", "1-25", "1-26"}) {
        SCOPED_TRACE(number);
        const ReportDefinition &d = summarytest::table(QString::fromLatin1(number));
        EXPECT_EQ(d.className, u"TFrmb1_1"_s);
        EXPECT_EQ(d.kind, WindowKind::Immediate);
        EXPECT_EQ(d.unitCaption, u"单位：个、亿元"_s);
        EXPECT_EQ(d.templateFileName(), d.title + u".xlsx"_s);
        test::TempDatabase db;
        const ReportGrid grid = opened(QString::fromLatin1(number), db);
        EXPECT_EQ(grid.rowTexts(1), (QStringList{u"类别"_s, u"项目个数"_s, u"项目总投资"_s, u"上年累计完成投资"_s,
                                                 u"本年度完成投资"_s}));
        const QVector<SheetCell> cells = worksheetCells(d, grid);
        ASSERT_FALSE(cells.isEmpty());
        EXPECT_EQ(cells.first().row, 2);
        EXPECT_EQ(cells.first().column, 1);
        EXPECT_EQ(cells.first().value.toString(), d.title);
        EXPECT_EQ(cells.at(1).row, 5); // 合计
        EXPECT_EQ(cells.at(1).value.toString(), u"合计"_s);
        EXPECT_EQ(cells.last().row, grid.rowCount() + 2);
        EXPECT_EQ(cells.last().column, 5);
    }
    EXPECT_EQ(summarytest::table(u"1-1"_s).title, u"表1-1 粮食流通基础设施建设投资情况汇总表"_s);
    EXPECT_EQ(summarytest::table(u"1-24"_s).title, u"表1-24 粮食流通基础设施建设前期项目投资情况汇总表"_s);
    EXPECT_EQ(summarytest::table(u"1-25"_s).title, u"表1-25 粮食流通基础设施建设在建项目投资情况汇总表"_s);
    EXPECT_EQ(summarytest::table(u"1-26"_s).title, u"表1-26 粮食流通基础设施建设竣工项目投资情况汇总表"_s);
}

TEST(InvestmentSummaryTables, TheWindowShowsTheTableNamedByReportTitle)
{
    test::TempDatabase db;
    db.addProject(project({{u"项目单位性质"_s, u"民营"_s}, {u"项目进展"_s, u"竣工项目"_s}}));
    const QString title = summarytest::table(u"1-26"_s).title;
    std::unique_ptr<QDialog> window(createReportWindow(registeredReport(title), db.context(), nullptr));
    ASSERT_TRUE(window);
    window->show();
    EXPECT_EQ(window->objectName(), u"TFrmb1_1"_s);
    EXPECT_EQ(window->windowTitle(), title);
    const auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rowCount(), 31);
    ASSERT_TRUE(grid->item(Private, 1));
    EXPECT_EQ(grid->item(Private, 1)->text(), u"1"_s);
}

} // namespace
} // namespace granwise
