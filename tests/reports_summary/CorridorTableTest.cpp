#include "reports/windows/ReportWindowFactory.h"
#include "FacilityTestSupport.h"
#include "reports/frame/ReportSave.h"
#include "reports/summary/CorridorTable.h"

#include <QDialog>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;
using test::centralAt;
using test::figuresOf;
using test::labelsOf;
using test::projectAt;
using test::split;
using test::zeros;

const QString Number = u"1-23"_s;

const QStringList Labels = split(
    "合计,一、流出通道小计：,（一）东北流出通道,内蒙古,辽  宁,吉  林,黑龙江,（二）黄淮海流出通道,河  北,山  东,河  南,"
    "（三）长江流出通道,江  苏,安  徽,江  西,湖  北,湖  南,二、流入通道小计：,（四）华东沿海流入通道,上  海,浙  江,"
    "（五）华南沿海流入通道,福  建,广  东,海  南,广  西,（六）京津流入通道,北  京,天  津,（七）西南流入通道,四  川,重  庆,"
    "贵  州,云  南,（八）西北流入通道,山  西,西  藏,陕  西,甘  肃,青  海,宁  夏,新  疆");

// Corridor rows with their provinces' codes, in table order.
const QVector<QPair<QString, QStringList>> Corridors = {
    {u"（一）东北流出通道"_s, split("15,21,22,23")},
    {u"（二）黄淮海流出通道"_s, split("13,37,41")},
    {u"（三）长江流出通道"_s, split("32,34,36,42,43")},
    {u"（四）华东沿海流入通道"_s, split("31,33")},
    {u"（五）华南沿海流入通道"_s, split("35,44,46,45")},
    {u"（六）京津流入通道"_s, split("11,12")},
    {u"（七）西南流入通道"_s, split("51,50,52,53")},
    {u"（八）西北流入通道"_s, split("14,54,61,62,63,64,65")},
};

TEST(CorridorTable, HasItsTitleCaptionHeadsAndRows)
{
    const ReportDefinition &d = test::facilityTable(Number);
    EXPECT_EQ(d.className, u"TFrmb1_23"_s);
    EXPECT_EQ(d.title, u"表1-23 粮食现代物流项目各通道投资情况汇总表"_s);
    EXPECT_EQ(d.windowCaption(), u" 粮食现代物流项目各通道投资情况汇总表"_s);
    EXPECT_EQ(d.kind, WindowKind::Immediate);
    EXPECT_FALSE(d.hasListings());
    EXPECT_EQ(d.unitCaption, u"单位：万元"_s);
    EXPECT_EQ(d.unitCaptionPlace.column, 3);
    EXPECT_EQ(d.unitCaptionPlace.left, 40);
    EXPECT_EQ(d.unitCaptionPlace.top, 50);
    EXPECT_EQ(d.columnWidths, (QVector<int>{267, 164, 158, 158}));
    EXPECT_EQ(d.templateFileName(), u"表1-23 粮食现代物流项目各通道投资情况汇总表.xlsx"_s);

    test::TempDatabase db;
    ReportSession session(d, db.path());
    session.open(); // computed as it opens
    const ReportGrid &grid = session.grid();
    ASSERT_EQ(grid.rowCount(), 44);
    EXPECT_EQ(grid.columnCount(), 4);
    EXPECT_EQ(grid.firstDataRow(), 2);
    EXPECT_EQ(grid.rowTexts(1), split("地区或单位,项目个数,总投资,年度完成投资："));
    EXPECT_EQ(labelsOf(grid), Labels);
    // An empty project table: every figure "0".
    for (int r = 2; r < 44; ++r)
        EXPECT_EQ(grid.rowTexts(r).mid(1), zeros(3)) << r;
}

TEST(CorridorTable, AProjectCountsInItsProvinceCorridorFamilyAndTotal)
{
    test::TempDatabase db;
    db.addProject(projectAt(u"230102"_s, {{u"总_建筑安装工程"_s, 100}, {u"本年_其他费用"_s, 5}}));
    const ReportGrid grid = test::computeWhole(Number, db);
    for (const char *label : {"黑龙江", "（一）东北流出通道", "一、流出通道小计：", "合计"})
        EXPECT_EQ(figuresOf(grid, QString::fromUtf8(label)), split("1,100,5")) << label;
    const int inflow = test::rowLabelled(grid, u"二、流入通道小计："_s);
    for (int r = inflow; r < grid.rowCount(); ++r)
        EXPECT_EQ(grid.rowTexts(r).mid(1), zeros(3)) << r;
}

TEST(CorridorTable, EveryCorridorCountsEachOfItsProvincesTheLastOneIncluded)
{
    test::TempDatabase db;
    // One project in every province, and a second one in the last province of every corridor.
    for (const auto &corridor : Corridors) {
        for (const QString &code : corridor.second)
            db.addProject(projectAt(code + u"0101"_s, {{u"总_其他费用"_s, 1}}));
        db.addProject(projectAt(corridor.second.last() + u"0102"_s, {{u"本年_建筑安装工程"_s, 0.1}}));
    }
    const ReportGrid grid = test::computeWhole(Number, db);
    int projects = 0;
    for (const auto &corridor : Corridors) {
        const qsizetype provinces = corridor.second.size();
        EXPECT_EQ(figuresOf(grid, corridor.first), (QStringList{QString::number(provinces + 1),
                                                                QString::number(provinces), u"0.1"_s}))
            << corridor.first.toStdString();
        projects += int(provinces) + 1;
    }
    EXPECT_EQ(figuresOf(grid, u"一、流出通道小计："_s), split("15,12,0.3"));
    EXPECT_EQ(figuresOf(grid, u"二、流入通道小计："_s), split("24,19,0.5"));
    EXPECT_EQ(figuresOf(grid, u"合计"_s), (QStringList{QString::number(projects), u"31"_s, u"0.8"_s}));
    EXPECT_EQ(figuresOf(grid, u"新  疆"_s), split("2,1,0.1"));
    EXPECT_EQ(figuresOf(grid, u"湖  南"_s), split("2,1,0.1"));
}

TEST(CorridorTable, UnknownCodesCountNowhereAndEmptyFiguresCountAsZero)
{
    test::TempDatabase db;
    db.addProject(projectAt(QString(), {{u"总_建筑安装工程"_s, 1000}}));
    db.addProject(projectAt(u"660101"_s, {{u"总_建筑安装工程"_s, 1000}}));
    db.addProject(projectAt(u"2"_s, {{u"总_建筑安装工程"_s, 1000}}));
    // Every affiliation counts by its code: central, local and none.
    db.addProject(centralAt(u"410101"_s, u"华粮"_s, {{u"总_建筑安装工程"_s, 2.5}}));
    db.addProject(projectAt(u"410102"_s, {{u"隶属关系"_s, QString()}, {u"总_设备工器具购置"_s, 0.5}}));
    // All three 总_ parts empty: one project, nothing added.
    db.addProject(projectAt(u"410103"_s, {{u"总_建筑安装工程"_s, QVariant()}, {u"总_设备工器具购置"_s, QVariant()},
                                          {u"总_其他费用"_s, QVariant()}, {u"本年_其他费用"_s, QVariant()}}));
    const ReportGrid grid = test::computeWhole(Number, db);
    EXPECT_EQ(figuresOf(grid, u"河  南"_s), split("3,3,0"));
    EXPECT_EQ(figuresOf(grid, u"（二）黄淮海流出通道"_s), split("3,3,0"));
    EXPECT_EQ(figuresOf(grid, u"合计"_s), split("3,3,0"));
}

TEST(CorridorTable, SavesRowsTwoToFortyThreeIntoWorksheetRowsFiveToFortySix)
{
    test::TempDatabase db;
    db.addProject(projectAt(u"650101"_s, {{u"本年_设备工器具购置"_s, 7}}));
    const ReportDefinition &d = test::facilityTable(Number);
    const QVector<SheetCell> cells = worksheetCells(d, test::computeWhole(Number, db));
    ASSERT_EQ(cells.size(), 42 * 4);
    EXPECT_EQ(cells.first().row, 5);
    EXPECT_EQ(cells.first().value.toString(), u"合计"_s);
    EXPECT_EQ(cells.at(3).value.toDouble(), 7.0);
    EXPECT_EQ(cells.last().row, 46);
    EXPECT_EQ(cells.last().column, 4);
    EXPECT_EQ(cells.at(41 * 4).value.toString(), u"新  疆"_s);
}

TEST(CorridorTable, TheWindowOpensComputed)
{
    test::TempDatabase db;
    db.addProject(projectAt(u"120101"_s, {{u"总_其他费用"_s, 3}}));
    registerFacilityTables();
    std::unique_ptr<QDialog> window(createReportWindow(registeredReport(u"1-23"_s), db.context(), nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), u"TFrmb1_23"_s);
    EXPECT_EQ(window->findChild<QWidget *>(u"BitBtn3"_s), nullptr);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rowCount(), 44);
    EXPECT_EQ(grid->rowHeight(0), 70);
    EXPECT_EQ(grid->rowHeight(43), 30);
    EXPECT_EQ(grid->item(2, 1)->text(), u"1"_s);
    EXPECT_EQ(grid->item(30, 0)->text(), u"天  津"_s);
    EXPECT_EQ(grid->item(30, 2)->text(), u"3"_s);
    window->show();
    EXPECT_EQ(window->windowTitle(), u" 粮食现代物流项目各通道投资情况汇总表"_s);
}

} // namespace
} // namespace granwise
