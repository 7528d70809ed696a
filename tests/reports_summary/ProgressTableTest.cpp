#include "InvestmentSummaryTestSupport.h"

#include "reports/frame/ReportSave.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;
using summarytest::figuresOf;
using summarytest::labelsOf;
using summarytest::project;

ReportGrid progressTable(const test::TempDatabase &db)
{
    return summarytest::opened(u"1-27"_s, db);
}

const QStringList Labels = {
    u"一、按企业性质分"_s, u"其中：国有及国有控股"_s, u"      民营"_s,           u"      外资"_s,
    u"二、按隶属关系分"_s, u"    中央项目"_s,         u"    地方项目"_s,         u"三、按建设性质分"_s,
    u"    新建"_s,         u"    扩建"_s,             u"    改建"_s,             u"四、按项目类别分"_s,
    u"    粮油仓储设施项目"_s, u"    粮食现代物流项目"_s, u"    危仓老库修复项目"_s, u"    粮食检验监测项目"_s,
    u"    农户科学储粮项目"_s, u"    信息化建设项目"_s,   u"    其他项目"_s,
};

constexpr int StateOwned = 3, Private = 4, Foreign = 5, Central = 7, Local = 8, NewBuild = 10, Rebuild = 12;
constexpr int FarmerStorage = 18, OtherCategory = 20;

bool isHead(int row)
{
    return row == 2 || row == 6 || row == 9 || row == 13;
}

QStringList counts(int total, int preliminary, int underWay, int completed, int started)
{
    QStringList texts;
    for (int n : {total, preliminary, underWay, completed, started})
        texts << QString::number(n);
    return texts;
}

TEST(ProgressTable, OverNoProjectsEveryClassRowShowsZeros)
{
    test::TempDatabase db;
    const ReportGrid grid = progressTable(db);
    ASSERT_EQ(grid.rowCount(), 21);
    EXPECT_EQ(grid.title(), u"表1-27 粮食流通基础设施建设项目进展情况汇总表"_s);
    EXPECT_EQ(grid.rowTexts(1), (QStringList{u"类别"_s, u"项目合计"_s, u"前期项目"_s, u"在建项目"_s, u"竣工项目"_s,
                                             u"其中：本年度新\n开工项目"_s}));
    EXPECT_EQ(labelsOf(grid), Labels);
    for (int r = 2; r < 21; ++r)
        EXPECT_EQ(figuresOf(grid, r), isHead(r) ? QStringList(5, QString()) : counts(0, 0, 0, 0, 0)) << "row " << r;
}

TEST(ProgressTable, ProjectsCountByStageAndNewStartsApart)
{
    test::TempDatabase db;
    // A farm-household storage project under way, started this year.
    db.addProject(project({{u"项目类别"_s, u"农户科学储粮项目"_s},
                           {u"项目进展"_s, u"在建项目"_s},
                           {u"本年度开工项目"_s, u"是"_s},
                           {u"项目单位性质"_s, u"民营"_s},
                           {u"隶属关系"_s, u"地方企业"_s},
                           {u"建设性质"_s, u"改建"_s}}));
    // A stage that is none of the three: only its new start counts.
    db.addProject(project({{u"项目类别"_s, u"其他项目"_s},
                           {u"项目进展"_s, u"停建项目"_s},
                           {u"本年度开工项目"_s, u"是"_s},
                           {u"项目单位性质"_s, u"民营"_s}}));
    // No enterprise nature: counted in its other rows only; "是 " is not a new start.
    db.addProject(project({{u"项目类别"_s, u"其他项目"_s},
                           {u"项目进展"_s, u"竣工项目"_s},
                           {u"本年度开工项目"_s, u"是 "_s},
                           {u"隶属关系"_s, u"中央企业"_s},
                           {u"建设性质"_s, u"新建"_s}}));
    db.addProject(project({{u"项目类别"_s, u"其他项目"_s},
                           {u"项目进展"_s, u"前期项目"_s},
                           {u"本年度开工项目"_s, u"否"_s},
                           {u"项目单位性质"_s, u""_s}}));

    const ReportGrid grid = progressTable(db);
    EXPECT_EQ(figuresOf(grid, FarmerStorage), counts(1, 0, 1, 0, 1));
    EXPECT_EQ(figuresOf(grid, OtherCategory), counts(2, 1, 0, 1, 1));
    EXPECT_EQ(figuresOf(grid, Private), counts(1, 0, 1, 0, 2));
    EXPECT_EQ(figuresOf(grid, StateOwned), counts(0, 0, 0, 0, 0));
    EXPECT_EQ(figuresOf(grid, Foreign), counts(0, 0, 0, 0, 0));
    EXPECT_EQ(figuresOf(grid, Central), counts(1, 0, 0, 1, 0));
    EXPECT_EQ(figuresOf(grid, Local), counts(1, 0, 1, 0, 1));
    EXPECT_EQ(figuresOf(grid, NewBuild), counts(1, 0, 0, 1, 0));
    EXPECT_EQ(figuresOf(grid, Rebuild), counts(1, 0, 1, 0, 1));
}

TEST(ProgressTable, DefinitionSavesBelowItsOwnTitle)
{
    const ReportDefinition &d = summarytest::table(u"1-27"_s);
    EXPECT_EQ(d.className, u"TFrmb1_27"_s);
    EXPECT_EQ(d.windowCaption(), d.title);
    EXPECT_EQ(d.templateFileName(), u"表1-27 粮食流通基础设施建设项目进展情况汇总表.xlsx"_s);
    EXPECT_EQ(d.unitCaption, u"单位：个"_s);
    EXPECT_EQ(d.headerRowHeight, 35);
    EXPECT_EQ(d.titleRowHeight, 70);

    test::TempDatabase db;
    const QVector<SheetCell> cells = worksheetCells(d, progressTable(db));
    ASSERT_EQ(cells.size(), 1 + 19 * 6);
    EXPECT_EQ(cells.first().row, 2);
    EXPECT_EQ(cells.first().value.toString(), d.title);
    EXPECT_EQ(cells.at(1).row, 5);
    EXPECT_EQ(cells.last().row, 23);
    EXPECT_EQ(cells.last().column, 6);
}

} // namespace
} // namespace granwise
