#include "reports/windows/ReportWindowFactory.h"
#include "FacilityTestSupport.h"
#include "reports/frame/ReportSave.h"
#include "reports/summary/BasicStatisticsTable.h"
#include "store/TaskInfo.h"

#include <QDialog>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;
using test::split;
using test::zeros;

const QString Title = u"粮食流通基础设施建设投资基础情况统计表"_s;
const QVector<int> HeadRows = {2, 6, 10, 16, 28, 37, 46, 57, 69, 78, 87, 99, 103, 113, 117, 127, 131};

// Column of each category in the table.
constexpr int Storage = 4;     // 粮油仓储设施项目
constexpr int Logistics = 5;   // 粮食现代物流项目
constexpr int Inspection = 7;  // 粮食检验监测项目
constexpr int Information = 9; // 信息化建设项目
constexpr int Other = 10;      // 其他项目

QVariantMap project(const QString &category, QVariantMap values = {})
{
    values.insert(u"项目类别"_s, category);
    return test::projectAt(u"320102"_s, values);
}

ReportGrid basicTable(const test::TempDatabase &db)
{
    return test::computeWhole(Title, db);
}

TEST(BasicStatistics, ShowsEveryIndicatorWithHeadsEmptyAndFiguresZero)
{
    const ReportDefinition &d = test::facilityTable(Title);
    EXPECT_EQ(d.className, u"TFrmbtongj"_s);
    EXPECT_EQ(d.windowCaption(), u"粮食流通基础设施建设投资情况汇总表"_s);
    EXPECT_EQ(d.kind, WindowKind::Immediate);
    EXPECT_EQ(d.titleRowHeight, 40);
    EXPECT_TRUE(d.unitCaption.isEmpty());
    EXPECT_EQ(d.templateFileName(), Title + u".xlsx"_s);

    test::TempDatabase db;
    const ReportGrid grid = basicTable(db);
    ASSERT_EQ(grid.rowCount(), 140);
    ASSERT_EQ(grid.columnCount(), 11);
    EXPECT_EQ(grid.title(), Title);
    EXPECT_EQ(grid.rowTexts(1), split("指标名称,代码,计量单位,合计,粮油仓储设施项目,粮食现代物流项目,危仓老库修复项目,"
                                      "粮食检验监测项目,农户科学储粮项目,信息化建设项目,其他项目"));
    EXPECT_EQ(grid.rowTexts(2).mid(0, 3), split("一、项目单位性质,001,—"));
    EXPECT_EQ(grid.rowTexts(40).mid(0, 3), split("十、机械设备,039,台套"));
    EXPECT_EQ(grid.rowTexts(139).mid(0, 3), split("其他投资,138,万元"));
    for (int r = 2; r < 140; ++r) {
        if (HeadRows.contains(r)) {
            EXPECT_EQ(grid.rowTexts(r).mid(3), QStringList(8, QString())) << r;
            EXPECT_EQ(grid.text(r, 2), u"—"_s) << r;
            EXPECT_EQ(grid.rowKind(r), RowKind::Section) << r;
        } else {
            EXPECT_EQ(grid.rowTexts(r).mid(3), zeros(8)) << r;
            EXPECT_NE(grid.text(r, 2), u"—"_s) << r;
        }
    }
}

TEST(BasicStatistics, CountsProjectsByKindAndByCategory)
{
    test::TempDatabase db;
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"项目进展"_s, u"在建项目"_s}, {u"本年度开工项目"_s, u"是"_s}}));
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"项目进展"_s, u"竣工项目"_s}, {u"项目单位性质"_s, u"民营"_s},
                                                  {u"本年度开工项目"_s, u"否"_s}}));
    db.addProject(project(u"粮食现代物流项目"_s, {{u"项目进展"_s, u"前期项目"_s}, {u"建设性质"_s, u"改建"_s},
                                                  {u"项目单位性质"_s, u"国有及国有控股"_s}}));
    // Counted nowhere: a blank category and one that is no column.
    db.addProject(project(QString(), {{u"项目进展"_s, u"在建项目"_s}, {u"本年度开工项目"_s, u"是"_s}}));
    db.addProject(project(u"其它"_s, {{u"项目进展"_s, u"在建项目"_s}}));

    const ReportGrid grid = basicTable(db);
    struct Expect {
        int row;
        int column;
        const char *shown;
    };
    const Expect expected[] = {
        {3, Logistics, "1"},  {3, 3, "1"},         {4, Storage, "1"},   {4, 3, "1"},  {5, 3, "0"},
        {9, Logistics, "1"},  {7, 3, "0"},         {11, Storage, "2"},  {11, Logistics, "1"},
        {11, 3, "3"},         {12, Logistics, "1"}, {13, Storage, "1"},  {13, 3, "1"}, {14, Storage, "1"},
        {15, Storage, "1"},   {15, 3, "1"},        {15, Logistics, "0"}, {13, Other, "0"},
    };
    for (const Expect &e : expected)
        EXPECT_EQ(grid.text(e.row, e.column), QString::fromUtf8(e.shown)) << e.row << "," << e.column;
}

TEST(BasicStatistics, ARunningProjectStartedThisYearCountsInRowsElevenThirteenAndFifteen)
{
    test::TempDatabase db;
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"项目进展"_s, u"在建项目"_s}, {u"本年度开工项目"_s, u"是"_s}}));
    const ReportGrid grid = basicTable(db);
    for (int row : {11, 13, 15}) {
        EXPECT_EQ(grid.text(row, Storage), u"1"_s) << row;
        EXPECT_EQ(grid.text(row, 3), u"1"_s) << row;
    }
    for (int row : {12, 14})
        EXPECT_EQ(grid.text(row, 3), u"0"_s) << row;
}

TEST(BasicStatistics, EveryScaleAndInvestmentRowSumsItsOwnColumn)
{
    // Distinct figures in the columns that are easy to place wrongly.
    struct Case {
        int row;
        const char *column;
        double value;
    };
    const Case cases[] = {
        {17, "建设_新建仓容", 11},          {27, "建设_维修改造油罐", 12},   {29, "建设_其中泊位个数", 13},
        {34, "建设_铁路罩棚", 14},          {35, "建设_储粮罩棚", 15},       {36, "建设_地坪", 16},
        {38, "建设_其中接收能力", 17},      {40, "建设_机械设备", 18},       {41, "建设_保粮设备", 19},
        {45, "建设_地中衡", 20},            {47, "建设_其中散粮汽车", 21},   {56, "建设_仓储信息", 22},
        {58, "完成_新建仓容", 23},          {75, "完成_其中铁路罩棚", 24},   {76, "完成_储粮罩棚", 25},
        {81, "完成_机械设备", 26},          {97, "完成_仓储信息", 27},       {100, "总_建筑安装工程", 28},
        {102, "总_其他费用", 29},           {104, "总_财政性资金", 30},      {111, "总_其他投资", 31},
        {114, "累计_建筑安装工程", 32},     {118, "累计_财政性资金", 33},    {125, "累计_其他投资", 34},
        {128, "本年_建筑安装工程", 35},     {132, "本年_财政性资金", 36},    {139, "本年_其他投资", 37},
    };
    test::TempDatabase db;
    QVariantMap values;
    for (const Case &c : cases)
        values.insert(QString::fromUtf8(c.column), c.value);
    db.addProject(project(u"粮食检验监测项目"_s, values));
    const ReportGrid grid = basicTable(db);
    for (const Case &c : cases) {
        const QString shown = QString::number(c.value);
        EXPECT_EQ(grid.text(c.row, Inspection), shown) << c.row << " " << c.column;
        EXPECT_EQ(grid.text(c.row, 3), shown) << c.row << " " << c.column;
    }
    // Rows whose columns were left 0, and the total rows over the composition.
    EXPECT_EQ(grid.text(39, Inspection), u"0"_s);
    EXPECT_EQ(grid.text(98, Inspection), u"57"_s);
    EXPECT_EQ(grid.text(112, Inspection), u"32"_s);
    EXPECT_EQ(grid.text(126, 3), u"35"_s);
}

TEST(BasicStatistics, MachineryRowsShowPlannedAndCompletedMachineryPerCategory)
{
    test::TempDatabase db;
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"建设_机械设备"_s, 4}, {u"完成_机械设备"_s, 1}}));
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"建设_机械设备"_s, 2.5}, {u"完成_机械设备"_s, 0.5}}));
    db.addProject(project(u"粮食现代物流项目"_s, {{u"建设_机械设备"_s, 3}, {u"完成_机械设备"_s, QVariant()}}));
    const ReportGrid grid = basicTable(db);
    EXPECT_EQ(grid.rowTexts(40).mid(3), split("9.5,6.5,3,0,0,0,0,0"));
    EXPECT_EQ(grid.rowTexts(81).mid(3), split("1.5,1.5,0,0,0,0,0,0"));
}

TEST(BasicStatistics, OtherProjectsGoToTheirOwnColumnAndTheTotal)
{
    test::TempDatabase db;
    db.addProject(project(u"其他项目"_s, {{u"本年_建筑安装工程"_s, 7}}));
    db.addProject(project(u"信息化建设项目"_s, {{u"本年_建筑安装工程"_s, QVariant()}}));
    const ReportGrid grid = basicTable(db);
    EXPECT_EQ(grid.text(128, Other), u"7"_s);
    EXPECT_EQ(grid.text(128, 3), u"7"_s);
    EXPECT_EQ(grid.text(128, Information), u"0"_s);
    EXPECT_EQ(grid.text(126, Other), u"7"_s);
    EXPECT_EQ(grid.text(126, 3), u"7"_s);
}

TEST(BasicStatistics, SumsAreExactDecimals)
{
    test::TempDatabase db;
    for (int i = 0; i < 10; ++i)
        db.addProject(project(u"其他项目"_s, {{u"总_银行贷款"_s, 0.1}, {u"总_建筑安装工程"_s, 0.1}}));
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"总_银行贷款"_s, 0.2}, {u"总_设备工器具购置"_s, 0.2}}));
    const ReportGrid grid = basicTable(db);
    EXPECT_EQ(grid.text(107, Other), u"1"_s);
    EXPECT_EQ(grid.text(107, 3), u"1.2"_s);
    EXPECT_EQ(grid.text(98, 3), u"1.2"_s);
}

TEST(BasicStatistics, AShortOrMislabelledIndicatorTableStillGivesTheWholeTable)
{
    test::TempDatabase db;
    {
        Connection c = db.connect();
        c.execute(u"delete from 基础情况统计表指标 where rowid > 100"_s);
        c.execute(u"update 基础情况统计表指标 set 计量单位 = '个' where rowid = 3"_s); // grid row 4
        c.execute(u"update 基础情况统计表指标 set 计量单位 = '个' where rowid = 5"_s); // head row 6
    }
    db.addProject(project(u"其他项目"_s, {{u"项目单位性质"_s, u"民营"_s}, {u"本年_其他投资"_s, 2}}));
    const ReportGrid grid = basicTable(db);
    ASSERT_EQ(grid.rowCount(), 140);
    EXPECT_EQ(grid.text(4, 3), u"1"_s);
    EXPECT_EQ(grid.text(6, 3), QString());
    EXPECT_EQ(grid.text(101, 0), u"设备工器具购置"_s);
    EXPECT_EQ(grid.text(102, 0), QString());
    EXPECT_EQ(grid.text(139, Other), u"2"_s);
    EXPECT_EQ(grid.text(139, 3), u"2"_s);
}

TEST(BasicStatistics, SavesTheUnitInCellTwoTwoAndGridRowRInWorksheetRowRPlusTwo)
{
    test::TempDatabase db;
    db.addProject(project(u"粮油仓储设施项目"_s, {{u"建设_新建仓容"_s, 6}}));
    const ReportDefinition &d = test::facilityTable(Title);
    ASSERT_TRUE(d.save.extraCells);
    EXPECT_TRUE(d.save.extraCells(db.path()).isEmpty()) << "no task information, no unit text";

    struct Case {
        const char *level;
        const char *province;
        const char *prefecture;
        const char *county;
        const char *unit;
    };
    const Case cases[] = {
        {"国家级汇总", "", "", "", "国家级汇总"},
        {"国家级汇总", "江苏省", "", "", "国家级汇总"},
        {"省级汇总", "江苏省", "", "", "江苏省"},
        {"县级汇总", "江苏省", "南京市", "玄武区", "江苏省南京市玄武区"},
    };
    for (const Case &c : cases) {
        TaskInfo info;
        info.level = QString::fromUtf8(c.level);
        info.province = QString::fromUtf8(c.province);
        info.prefecture = QString::fromUtf8(c.prefecture);
        info.county = QString::fromUtf8(c.county);
        {
            Connection connection = db.connect();
            writeTaskInfo(connection, info);
        }
        const QVector<SheetCell> extra = d.save.extraCells(db.path());
        ASSERT_EQ(extra.size(), 1);
        EXPECT_EQ(extra.first().row, 2);
        EXPECT_EQ(extra.first().column, 2);
        EXPECT_EQ(extra.first().value.toString(), QString::fromUtf8(c.unit));
    }

    const QVector<SheetCell> extra = d.save.extraCells(db.path());
    const QVector<SheetCell> cells = worksheetCells(d, basicTable(db), extra);
    ASSERT_EQ(cells.size(), 1 + 138 * 11);
    EXPECT_EQ(cells.first().value.toString(), u"江苏省南京市玄武区"_s);
    const SheetCell &firstIndicator = cells.at(1);
    EXPECT_EQ(firstIndicator.row, 4);
    EXPECT_EQ(firstIndicator.column, 1);
    EXPECT_EQ(firstIndicator.value.toString(), u"一、项目单位性质"_s);
    const SheetCell &storage = cells.at(1 + (17 - 2) * 11 + Storage);
    EXPECT_EQ(storage.row, 19);
    EXPECT_EQ(storage.column, Storage + 1);
    EXPECT_EQ(storage.value.toDouble(), 6.0);
    EXPECT_EQ(cells.last().row, 141);
}

TEST(BasicStatistics, TheWindowOpensComputedWithItsCaption)
{
    test::TempDatabase db;
    db.addProject(project(u"农户科学储粮项目"_s, {{u"建设_农户科学储粮"_s, 2}}));
    registerFacilityTables();
    std::unique_ptr<QDialog> window(createReportWindow(registeredReport(u"TFrmbtongj"_s), db.context(), nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), u"TFrmbtongj"_s);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rowCount(), 140);
    EXPECT_EQ(grid->rowHeight(0), 40);
    EXPECT_EQ(grid->rowHeight(1), 30);
    EXPECT_EQ(grid->item(52, 8)->text(), u"2"_s);
    EXPECT_EQ(grid->item(52, 3)->text(), u"2"_s);
    window->show();
    EXPECT_EQ(window->windowTitle(), u"粮食流通基础设施建设投资情况汇总表"_s);
}

} // namespace
} // namespace granwise
