#include "reports/windows/ReportWindowFactory.h"
#include "FacilityTestSupport.h"
#include "reports/frame/ReportSave.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;
using test::centralAt;
using test::computeListing;
using test::computeWhole;
using test::figuresOf;
using test::labelsOf;
using test::placed;
using test::projectAt;
using test::split;
using test::zeros;

struct Member {
    const char *number;
    const char *className;
    const char *title;
    int columns;
    const char *unitCaption;
    bool titleIntoSheet;
};

const Member Members[] = {
    {"2-10", "TFrmb2_10", "表2-10 粮食流通基础设施建设各地区年度新增设施情况汇总表", 8, "单位：万吨", true},
    {"2-12", "TFrmb2_12", "表2-12 粮食流通基础设施建设各地区年度新增设施情况汇总表（续1）", 13, "", true},
    {"2-14", "TFrmb2_14", "表2-14 粮食流通基础设施建设各地区年度新增设施情况汇总表（续2）", 13, "", true},
    {"2-16", "TFrmb2_16", "表2-16 粮食流通基础设施建设各地区年度新增设施情况汇总表（续3）", 6, "单位：万套、套", false},
    {"2-18", "TFrmb2_18", "表2-18 粮食流通基础设施建设各地区年度新增设施情况汇总表（续4）", 2, "单位：万亩", false},
};

QStringList wholeCountryLabels()
{
    return QStringList{u"全国合计"_s, u"一、地方小计"_s, u"1、主产区"_s} +
           split("内蒙古,辽  宁,吉  林,黑龙江,河  北,江  苏,安  徽,山  东,河  南,江  西,湖  北,湖  南,四  川") +
           QStringList{u"2、产销平衡区"_s} +
           split("山  西,广  西,重  庆,贵  州,云  南,西  藏,陕  西,甘  肃,青  海,宁  夏,新  疆,新疆兵团") +
           QStringList{u"3、主销区"_s} + split("北  京,天  津,上  海,浙  江,福  建,广  东,海  南") +
           QStringList{u"二、中央企业小计"_s, u"中储粮"_s, u"中  粮"_s, u"中  纺"_s};
}

TEST(FacilityTables, EveryMemberHasItsTitleShapeCaptionAndSaveLayout)
{
    for (const Member &m : Members) {
        SCOPED_TRACE(m.number);
        const ReportDefinition &d = test::facilityTable(QString::fromUtf8(m.number));
        EXPECT_EQ(d.className, QString::fromUtf8(m.className));
        EXPECT_EQ(d.title, QString::fromUtf8(m.title));
        EXPECT_EQ(d.windowCaption(), d.title);
        EXPECT_EQ(d.kind, WindowKind::Selectable);
        EXPECT_TRUE(d.hasListings());
        EXPECT_EQ(d.columnCount, m.columns);
        EXPECT_EQ(d.firstDataRow, 3);
        EXPECT_EQ(d.unitCaption, QString::fromUtf8(m.unitCaption));
        EXPECT_EQ(d.columnWidths.size(), m.columns);
        EXPECT_EQ(d.titleRowHeight, 70);
        EXPECT_EQ(d.dataRowHeight, 30);
        EXPECT_EQ(d.save.rowOffset, 3);
        EXPECT_EQ(d.save.columnOffset, 1);
        EXPECT_EQ(d.save.titleIntoSheet, m.titleIntoSheet);
        EXPECT_EQ(d.templateFileName(), d.title + u".xlsx"_s);
        EXPECT_EQ(&registeredReport(d.className), &d);

        // Opening shows the title, the two header rows and one empty data row.
        test::TempDatabase db;
        ReportSession session(d, db.path());
        session.open();
        EXPECT_EQ(session.grid().rowCount(), 4);
        EXPECT_EQ(session.grid().title(), d.title);
        EXPECT_EQ(session.grid().text(1, 0), u"地区或单位"_s);
        EXPECT_TRUE(session.grid().spans().contains(CellSpan{1, 0, 2, 1}));
    }
    // The "中央企业不单列" variants have no window and no table.
    for (const char *hidden : {"2-11", "2-13", "2-15"})
        EXPECT_EQ(findReport(QString::fromLatin1(hidden)), nullptr) << hidden;
}

TEST(FacilityTables, HeadsStandAsPrintedWithTheirMergesAndLineBreaks)
{
    struct Heads {
        const char *number;
        QStringList row1;
        QStringList row2;
        QVector<CellSpan> spans;
        QVector<int> patches;
    };
    const QString n = u"\n"_s;
    const Heads cases[] = {
        {"2-10",
         {u"地区或单位"_s, n + u"粮食仓容"_s + n + u"（万吨）"_s, u"其中"_s, u"平房仓"_s, u"立筒仓"_s, u"其中"_s,
          u"浅圆仓"_s, u"其他仓型"_s},
         {{}, {}, u"成品粮应急储备仓"_s, {}, {}, u"钢板筒仓"_s, {}, {}},
         {{1, 0, 2, 1}, {1, 1, 2, 1}, {1, 3, 2, 1}, {1, 4, 2, 1}, {1, 6, 2, 1}, {1, 7, 2, 1}},
         {1, 4}},
        {"2-12",
         {u"地区或单位"_s, n + u"油罐"_s + n + u"（万吨）"_s, n + u"维修改造仓"_s + n + u"容（万吨）"_s, u"其中"_s,
          n + u"维修改造油"_s + n + u"罐（万吨）"_s, u"粮食专用码头"_s, {}, n + u"铁路专用"_s + n + u"线（米）"_s,
          u"其中"_s, n + u"罩棚"_s + n + u"（万平方米）"_s, u"其中"_s, {}, n + u"地坪"_s + n + u"（万平方米）"_s},
         {{}, {}, {}, u"大修仓容"_s, {}, u"泊位个数"_s, u"吞吐能力（吨/小时）"_s, {}, u"有效长度"_s, {},
          u"铁路罩棚"_s, u"储粮罩棚"_s, {}},
         {{1, 0, 2, 1}, {1, 1, 2, 1}, {1, 2, 2, 1}, {1, 4, 2, 1}, {1, 5, 1, 2}, {1, 7, 2, 1}, {1, 9, 2, 1},
          {1, 10, 1, 2}, {1, 12, 2, 1}},
         {2, 7, 9}},
        {"2-14",
         {u"地区或单位"_s, u"散粮中转能力"_s + n + u"（吨/小时）"_s, {}, u"烘干机"_s, {},
          n + u"保粮设备"_s + n + u"（台套）"_s, n + u"进出仓设"_s + n + u"备（台套）"_s,
          n + u"地中衡"_s + n + u"（台套）"_s, n + u"散粮汽车"_s + n + u"（辆）"_s,
          n + u"散粮火车"_s + n + u"皮（节）"_s, n + u"散粮船舶"_s + n + u"（艘）"_s, n + u"检化验"_s + n + u"设备"_s,
          n + u"办公、业务"_s + n + u"用房（万平方米）"_s},
         {{}, u"接收"_s + n + u"能力"_s, u"发放"_s + n + u"能力"_s, u"数量"_s + n + u"（台套）"_s,
          u"烘干能力"_s + n + u"（吨/小时）"_s, {}, {}, {}, {}, {}, {}, {}, {}},
         {{1, 0, 2, 1}, {1, 1, 1, 2}, {1, 3, 1, 2}, {1, 5, 2, 1}, {1, 6, 2, 1}, {1, 7, 2, 1}, {1, 8, 2, 1},
          {1, 9, 2, 1}, {1, 10, 2, 1}, {1, 11, 2, 1}, {1, 12, 2, 1}},
         {}},
        {"2-16",
         {u"地区或单位"_s, n + u"农户科学储粮仓"_s + n + u"（万套）"_s, n + u"信息系统"_s + n + u"（套）"_s, u"其中"_s,
          {}, {}},
         {{}, {}, {}, u"电子政务系统"_s, u"粮情监测预警系统"_s, u"仓储信息系统"_s},
         {{1, 0, 2, 1}, {1, 1, 2, 1}, {1, 2, 2, 1}, {1, 3, 1, 3}},
         {}},
        {"2-18", {u"地区或单位"_s, n + u"可用建设用地"_s + n + u"（万亩）"_s}, {{}, {}}, {{1, 0, 2, 1}, {1, 1, 2, 1}}, {}},
    };
    for (const Heads &c : cases) {
        SCOPED_TRACE(c.number);
        const ReportDefinition &d = test::facilityTable(QString::fromLatin1(c.number));
        const ReportGrid grid = blankGrid(d);
        EXPECT_EQ(grid.rowTexts(1), c.row1);
        EXPECT_EQ(grid.rowTexts(2), c.row2);
        for (const CellSpan &span : c.spans)
            EXPECT_TRUE(grid.spans().contains(span)) << span.row << "," << span.column;
        EXPECT_EQ(grid.spans().size(), c.spans.size() + 1); // and the title's
        EXPECT_EQ(d.headerPatches, c.patches);
    }
}

TEST(FacilityTables, AnEmptyProjectTableShowsEveryRowWithZeros)
{
    test::TempDatabase db;
    for (const Member &m : Members) {
        SCOPED_TRACE(m.number);
        const ReportGrid grid = computeWhole(QString::fromUtf8(m.number), db);
        ASSERT_EQ(grid.rowCount(), 44);
        EXPECT_EQ(labelsOf(grid), wholeCountryLabels());
        for (int r = 3; r < 44; ++r)
            EXPECT_EQ(grid.rowTexts(r).mid(1), zeros(m.columns - 1)) << r;
    }
}

TEST(FacilityTables, LocalAndCentralProjectsAddUpToTheNationalTotal)
{
    test::TempDatabase db;
    db.addProject(projectAt(u"320102"_s, {{u"建设_新建仓容"_s, 12.5}, {u"建设_平房仓"_s, 0.1}}));
    db.addProject(projectAt(u"320205"_s, {{u"建设_平房仓"_s, 0.2}}));
    db.addProject(centralAt(u"110101"_s, u"中粮"_s, {{u"建设_新建仓容"_s, 3}}));
    // Counted nowhere: a company with no row, an affiliation that is neither, an unknown code.
    db.addProject(centralAt(u"320102"_s, u"华粮"_s, {{u"建设_新建仓容"_s, 1000}}));
    db.addProject(projectAt(u"320102"_s, {{u"隶属关系"_s, QString()}, {u"建设_新建仓容"_s, 1000}}));
    db.addProject(projectAt(u"660101"_s, {{u"建设_新建仓容"_s, 1000}}));

    const ReportGrid grid = computeWhole(u"2-10"_s, db);
    const QStringList jiangsu = split("12.5,0,0.3,0,0,0,0");
    EXPECT_EQ(figuresOf(grid, u"江  苏"_s), jiangsu);
    EXPECT_EQ(figuresOf(grid, u"1、主产区"_s), jiangsu);
    EXPECT_EQ(figuresOf(grid, u"一、地方小计"_s), jiangsu);
    EXPECT_EQ(figuresOf(grid, u"北  京"_s), zeros(7)) << "a central project does not count in its province";
    EXPECT_EQ(figuresOf(grid, u"中  粮"_s), split("3,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(grid, u"二、中央企业小计"_s), split("3,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(grid, u"中储粮"_s), zeros(7));
    EXPECT_EQ(figuresOf(grid, u"全国合计"_s), split("15.5,0,0.3,0,0,0,0"));
}

TEST(FacilityTables, SquareMetresAndMuAreShownInTenThousands)
{
    struct Case {
        const char *number;
        QVariantMap project;
        const char *row;
        int column;
        const char *shown;
    };
    const Case cases[] = {
        {"2-12", projectAt(u"130102"_s, {{u"建设_罩棚"_s, 25000}}), "河  北", 9, "2.5"},
        {"2-12", projectAt(u"130102"_s, {{u"建设_铁路罩棚"_s, 1234}}), "河  北", 10, "0.1234"},
        {"2-12", projectAt(u"130102"_s, {{u"建设_储粮罩棚"_s, 5}}), "河  北", 11, "0.0005"},
        {"2-12", projectAt(u"130102"_s, {{u"建设_地坪"_s, 100000}}), "河  北", 12, "10"},
        {"2-12", projectAt(u"130102"_s, {{u"建设_其中吞吐能力"_s, 600}}), "河  北", 6, "600"},
        {"2-14", centralAt(u"110101"_s, u"中纺"_s, {{u"建设_办公业务用房"_s, 20000}}), "中  纺", 12, "2"},
        {"2-14", centralAt(u"110101"_s, u"中纺"_s, {{u"建设_办公业务用房"_s, 20000}}), "二、中央企业小计", 12, "2"},
        {"2-14", centralAt(u"110101"_s, u"中纺"_s, {{u"建设_办公业务用房"_s, 20000}}), "全国合计", 12, "2"},
        {"2-14", projectAt(u"130102"_s, {{u"建设_其中散粮船舶"_s, 4}}), "河  北", 10, "4"},
        {"2-16", projectAt(u"130102"_s, {{u"建设_农户科学储粮"_s, 1.25}}), "河  北", 1, "1.25"},
        {"2-16", projectAt(u"130102"_s, {{u"建设_仓储信息"_s, 7}}), "河  北", 5, "7"},
        {"2-18", projectAt(u"130102"_s, {{u"可用建设用地"_s, 1500}}), "河  北", 1, "0.15"},
        {"2-18", projectAt(u"130102"_s, {{u"可用建设用地"_s, 1500}}), "全国合计", 1, "0.15"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.number) + " " + c.row);
        test::TempDatabase db;
        db.addProject(c.project);
        const ReportGrid grid = computeWhole(QString::fromLatin1(c.number), db);
        const int row = test::rowLabelled(grid, QString::fromUtf8(c.row));
        ASSERT_GE(row, 0);
        EXPECT_EQ(grid.text(row, c.column), QString::fromUtf8(c.shown));
    }
}

TEST(FacilityTables, EmptyValuesCountAsZeroInSumsTotalsAndDividedColumns)
{
    test::TempDatabase db;
    // Every contributing value empty: the sum is 0, not an empty cell.
    db.addProject(projectAt(u"320102"_s, {{u"建设_新建仓容"_s, QVariant()}, {u"建设_罩棚"_s, QVariant()},
                                          {u"可用建设用地"_s, QVariant()}}));
    db.addProject(centralAt(u"110101"_s, u"中储粮"_s, {{u"建设_新建仓容"_s, QVariant()}, {u"建设_地坪"_s, QVariant()}}));
    // An empty value beside a figure adds nothing.
    db.addProject(projectAt(u"130102"_s, {{u"建设_新建仓容"_s, QVariant()}, {u"可用建设用地"_s, 300}}));
    db.addProject(projectAt(u"130104"_s, {{u"建设_新建仓容"_s, 2}}));

    for (const char *number : {"2-10", "2-12", "2-18"}) {
        SCOPED_TRACE(number);
        const ReportGrid grid = computeWhole(QString::fromLatin1(number), db);
        for (int r = 3; r < grid.rowCount(); ++r)
            for (int c = 1; c < grid.columnCount(); ++c)
                EXPECT_FALSE(grid.text(r, c).isEmpty()) << r << "," << c;
        EXPECT_EQ(figuresOf(grid, u"江  苏"_s), zeros(grid.columnCount() - 1));
        EXPECT_EQ(figuresOf(grid, u"中储粮"_s), zeros(grid.columnCount() - 1));
    }
    EXPECT_EQ(figuresOf(computeWhole(u"2-10"_s, db), u"全国合计"_s).value(0), u"2"_s);
    EXPECT_EQ(figuresOf(computeWhole(u"2-18"_s, db), u"全国合计"_s), QStringList{u"0.03"_s});
}

TEST(FacilityTables, SumsAreExactDecimals)
{
    test::TempDatabase db;
    for (int i = 0; i < 10; ++i)
        db.addProject(projectAt(u"320102"_s, {{u"建设_新建仓容"_s, 0.1}, {u"建设_罩棚"_s, 1000.1}}));
    db.addProject(projectAt(u"130102"_s, {{u"建设_新建仓容"_s, 0.2}}));
    db.addProject(centralAt(u"110101"_s, u"中储粮"_s, {{u"建设_新建仓容"_s, 0.1}}));
    const ReportGrid facilities = computeWhole(u"2-10"_s, db);
    EXPECT_EQ(figuresOf(facilities, u"江  苏"_s).value(0), u"1"_s);
    EXPECT_EQ(figuresOf(facilities, u"1、主产区"_s).value(0), u"1.2"_s);
    EXPECT_EQ(figuresOf(facilities, u"全国合计"_s).value(0), u"1.3"_s);
    EXPECT_EQ(figuresOf(computeWhole(u"2-12"_s, db), u"江  苏"_s).value(8), u"1.0001"_s);
}

TEST(FacilityTables, ListingsHaveOneRowPerPlaceOfTheProjectsTheySum)
{
    test::TempDatabase db;
    db.addProject(placed(projectAt(u"320102"_s, {{u"建设_新建仓容"_s, 1.5}, {u"可用建设用地"_s, 1000}}), u"江苏"_s,
                         u"南京市"_s, u"玄武区"_s));
    // A prefecture and a county with central projects only.
    db.addProject(placed(centralAt(u"320505"_s, u"中储粮"_s, {{u"建设_新建仓容"_s, 4}, {u"可用建设用地"_s, 500}}),
                         u"江苏"_s, u"苏州市"_s, u"虎丘区"_s));
    db.addProject(placed(centralAt(u"320104"_s, u"中粮"_s, {{u"建设_新建仓容"_s, 2}}), u"江苏"_s, u"南京市"_s,
                         u"秦淮区"_s));
    db.addProject(placed(projectAt(u"130102"_s, {{u"建设_新建仓容"_s, 9}}), u"河北"_s, u"石家庄市"_s, u"长安区"_s));

    const ReportGrid prefectures = computeListing(u"2-10"_s, db, u" 江苏 "_s);
    EXPECT_EQ(labelsOf(prefectures), (QStringList{u"江苏合计"_s, u"南京市"_s, u"苏州市"_s}));
    EXPECT_EQ(prefectures.rowCount(), 4 + 2);
    EXPECT_EQ(figuresOf(prefectures, u"南京市"_s), split("3.5,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(prefectures, u"苏州市"_s), split("4,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(prefectures, u"江苏合计"_s), split("7.5,0,0,0,0,0,0"));

    const ReportGrid counties = computeListing(u"2-10"_s, db, u"江苏"_s, u"南京市"_s);
    EXPECT_EQ(labelsOf(counties), (QStringList{u"南京市合计"_s, u"玄武区"_s, u"秦淮区"_s}));
    EXPECT_EQ(figuresOf(counties, u"秦淮区"_s), split("2,0,0,0,0,0,0"));
    EXPECT_EQ(figuresOf(counties, u"南京市合计"_s), split("3.5,0,0,0,0,0,0"));

    const ReportGrid land = computeListing(u"2-18"_s, db, u"江苏"_s);
    EXPECT_EQ(figuresOf(land, u"南京市"_s), QStringList{u"0.1"_s});
    EXPECT_EQ(figuresOf(land, u"苏州市"_s), QStringList{u"0.05"_s});
    EXPECT_EQ(figuresOf(land, u"江苏合计"_s), QStringList{u"0.15"_s});

    const ReportGrid none = computeListing(u"2-14"_s, db, u"西藏"_s);
    EXPECT_EQ(labelsOf(none), QStringList{u"西藏合计"_s});
    EXPECT_EQ(figuresOf(none, u"西藏合计"_s), zeros(12));
}

TEST(FacilityTables, SavingPutsTheTitleInRowTwoOnlyWhereTheTableDoes)
{
    test::TempDatabase db;
    db.addProject(projectAt(u"150102"_s, {{u"建设_新建仓容"_s, 8}, {u"建设_农户科学储粮"_s, 8}}));
    for (const Member &m : Members) {
        SCOPED_TRACE(m.number);
        const ReportDefinition &d = test::facilityTable(QString::fromUtf8(m.number));
        const ReportGrid grid = computeWhole(d.number, db);
        const QVector<SheetCell> cells = worksheetCells(d, grid);
        QVector<SheetCell> data = cells;
        if (m.titleIntoSheet) {
            ASSERT_FALSE(cells.isEmpty());
            EXPECT_EQ(cells.first().row, 2);
            EXPECT_EQ(cells.first().column, 1);
            EXPECT_EQ(cells.first().value.toString(), d.title);
            data.removeFirst();
        }
        ASSERT_EQ(data.size(), 41 * m.columns);
        EXPECT_EQ(data.first().row, 6);
        EXPECT_EQ(data.first().value.toString(), u"全国合计"_s);
        EXPECT_EQ(data.last().row, 46);
        EXPECT_EQ(data.last().column, m.columns);
        EXPECT_EQ(data.at(3 * m.columns).value.toString(), u"内蒙古"_s); // grid row 6 -> worksheet row 9
        EXPECT_EQ(data.at(3 * m.columns).row, 9);
    }
}

TEST(FacilityTables, TheWindowOpensEmptyAndComputesOnDemand)
{
    test::TempDatabase db;
    db.addProject(placed(projectAt(u"320102"_s, {{u"建设_新建仓容"_s, 12.5}}), u"江苏"_s, u"南京市"_s, u"玄武区"_s));
    registerFacilityTables();
    std::unique_ptr<QDialog> window(createReportWindow(registeredReport(u"2-10"_s), db.context(), nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), u"TFrmb2_10"_s);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    auto *province = window->findChild<QComboBox *>(u"ComboBox2"_s);
    auto *compute = window->findChild<QPushButton *>(u"BitBtn3"_s);
    auto *unit = window->findChild<QLabel *>(u"Label3"_s);
    ASSERT_TRUE(grid && province && compute && unit);
    EXPECT_EQ(unit->text(), u"单位：万吨"_s);
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->rowHeight(0), 70);
    EXPECT_EQ(grid->item(3, 1)->text(), QString());

    compute->click();
    ASSERT_EQ(grid->rowCount(), 44);
    EXPECT_EQ(grid->item(3, 0)->text(), u"全国合计"_s);
    EXPECT_EQ(grid->item(3, 1)->text(), u"12.5"_s);

    province->setEditText(u"江苏"_s);
    compute->click();
    ASSERT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(grid->item(3, 0)->text(), u"江苏合计"_s);
    EXPECT_EQ(grid->item(4, 0)->text(), u"南京市"_s);
    EXPECT_EQ(grid->item(4, 1)->text(), u"12.5"_s);
    EXPECT_TRUE(province->currentText().isEmpty());
}

} // namespace
} // namespace granwise
