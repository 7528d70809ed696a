#include "ReportTestSupport.h"
#include "reports/frame/ReportRegistry.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

struct Shape {
    const char *number;
    const char *className;
    int columns;
    int firstDataRow;
    int rows; // of the whole-country table
    WindowKind kind;
};

const Shape Shapes[] = {
    {"1-2", "TFrmb1_2", 4, 2, 38, WindowKind::Selectable},   {"1-3", "TFrmb1_3", 10, 3, 44, WindowKind::Selectable},
    {"1-4", "TFrmb1_3", 10, 3, 39, WindowKind::Selectable},  {"1-5", "TFrmb1_5", 5, 2, 43, WindowKind::Selectable},
    {"1-6", "TFrmb1_5", 5, 2, 38, WindowKind::Selectable},   {"1-7", "TFrmb1_7", 5, 2, 43, WindowKind::Selectable},
    {"1-8", "TFrmb1_7", 5, 2, 38, WindowKind::Selectable},   {"1-9", "TFrmb1_9", 5, 2, 43, WindowKind::Selectable},
    {"1-10", "TFrmb1_9", 5, 2, 38, WindowKind::Selectable},  {"1-11", "TFrmb1_11", 9, 2, 43, WindowKind::Selectable},
    {"1-12", "TFrmb1_11", 9, 2, 38, WindowKind::Selectable}, {"1-13", "TFrmb1_13", 10, 3, 44, WindowKind::Selectable},
    {"1-14", "TFrmb1_13", 10, 3, 39, WindowKind::Selectable}, {"1-15", "TFrmb1_15", 5, 2, 43, WindowKind::Selectable},
    {"1-16", "TFrmb1_15", 5, 2, 38, WindowKind::Selectable}, {"1-17", "TFrmb1_17", 5, 2, 43, WindowKind::Selectable},
    {"1-18", "TFrmb1_17", 5, 2, 38, WindowKind::Selectable}, {"1-19", "TFrmb1_19", 5, 2, 43, WindowKind::Selectable},
    {"1-20", "TFrmb1_19", 5, 2, 38, WindowKind::Selectable}, {"1-21", "TFrmb1_21", 9, 2, 43, WindowKind::Immediate},
    {"1-22", "TFrmb1_21", 9, 2, 38, WindowKind::Immediate},
};

TEST(RegionalShape, EveryTableHasItsWindowColumnsAndRows)
{
    test::TempDatabase db;
    for (const Shape &s : Shapes) {
        SCOPED_TRACE(s.number);
        const ReportDefinition &d = test::table(QString::fromLatin1(s.number));
        EXPECT_EQ(d.className, QString::fromLatin1(s.className));
        EXPECT_EQ(d.columnCount, s.columns);
        EXPECT_EQ(d.firstDataRow, s.firstDataRow);
        EXPECT_EQ(d.kind, s.kind);
        EXPECT_EQ(d.columnWidths.size(), s.columns);
        EXPECT_EQ(d.hasListings(), s.kind == WindowKind::Selectable);
        EXPECT_TRUE(d.title.startsWith(u"表"_s + QString::fromLatin1(s.number) + u' '));
        EXPECT_EQ(d.templateFileName(), d.title + u".xlsx"_s);
        EXPECT_EQ(d.save.rowOffset, 3);
        const ReportGrid grid = test::wholeTable(d.number, db);
        EXPECT_EQ(grid.rowCount(), s.rows);
        EXPECT_EQ(grid.columnCount(), s.columns);
        EXPECT_EQ(grid.title(), d.title);
        ASSERT_FALSE(grid.spans().isEmpty());
        EXPECT_EQ(grid.spans().first().columnSpan, s.columns); // the title row is one cell
    }
}

TEST(RegionalShape, PlainTitleComesFirstAndAVariantIsFoundByItsOwnTitle)
{
    test::table(u"1-3"_s);
    const QVector<const ReportDefinition *> served = reportsOfWindow(u"TFrmb1_3"_s);
    ASSERT_EQ(served.size(), 2);
    EXPECT_EQ(served.at(0)->number, u"1-3"_s);
    EXPECT_EQ(registeredReport(test::table(u"1-4"_s).title).className, u"TFrmb1_3"_s);
    EXPECT_EQ(registeredReport(test::table(u"1-22"_s).title).number, u"1-22"_s);
    EXPECT_TRUE(reportsOfWindow(u"TFrmb9_9"_s).isEmpty());
    EXPECT_EQ(findReport(u"表1-2 粮食流通基础设施建设各地区投资情况汇总表"_s)->number, u"1-2"_s);
    EXPECT_EQ(findReport(u"1-99"_s), nullptr);
}

TEST(RegionalShape, HeadsUnitCaptionAndWindowCaptionAreThePrintedOnes)
{
    test::TempDatabase db;
    struct Heads {
        const char *number;
        QStringList row1;
        QStringList row2;
        QString unit;
        QString caption;
    };
    const QString money = u"单位：万元"_s;
    const Heads cases[] = {
        {"1-2", {u"地区"_s, u"项目个数"_s, u"项目总投资"_s, u"本年度完成投资"_s}, {}, u"单位：个、万元"_s,
         u"粮食流通基础设施建设各地区投资情况汇总表"_s},
        {"1-3",
         {u"地区"_s, u"投资合计"_s, u"财政性资金"_s, u"其中："_s, QString(), u"银行贷款"_s, u"利用外资"_s, u"自有资金"_s,
          u"其中"_s, u"其他"_s},
         {QString(), QString(), QString(), u"中央财政"_s, u"地方财政"_s, QString(), QString(), QString(),
          u"退城进郊置换资金"_s, QString()},
         money, test::table(u"1-3"_s).title},
        {"1-10", {u"地区"_s, u"投资合计"_s, u"建筑安装工程"_s, u"设备工器具购置"_s, u"其他费用"_s}, {}, money, {}},
        {"1-6", {u"地区"_s, u"投资合计"_s, u"国有及国有控股"_s, u"民营"_s, u"外资"_s}, {}, money, {}},
        {"1-17", {u"地区"_s, u"投资合计"_s, u"新建"_s, u"扩建"_s, u"改建"_s}, {}, money, {}},
        {"1-21",
         {u"地区"_s, u"投资合计"_s, u"粮油仓储设施项目"_s, u"粮食现代物流项目"_s, u"危仓老库修复项目"_s,
          u"粮食检验监测项目"_s, u"农户科学储粮项目"_s, u"信息化建设项目"_s, u"其他项目"_s},
         {}, money, {}},
    };
    for (const Heads &h : cases) {
        SCOPED_TRACE(h.number);
        const ReportDefinition &d = test::table(QString::fromLatin1(h.number));
        const ReportGrid grid = blankGrid(d);
        EXPECT_EQ(grid.rowTexts(1), h.row1);
        if (!h.row2.isEmpty()) {
            EXPECT_EQ(grid.rowTexts(2), h.row2);
        }
        EXPECT_EQ(d.unitCaption, h.unit);
        EXPECT_EQ(d.windowCaption(), h.caption.isEmpty() ? d.title : h.caption);
    }
    // The source tables' merges: 地区, 投资合计, 财政性资金 … over both header rows, 其中： over two columns.
    const ReportGrid source = blankGrid(test::table(u"1-13"_s));
    int overTwoRows = 0;
    for (const CellSpan &s : source.spans()) {
        if (s.rowSpan == 2)
            ++overTwoRows;
        if (s.row == 1 && s.column == 3) {
            EXPECT_EQ(s.columnSpan, 2);
        }
    }
    EXPECT_EQ(overTwoRows, 7);
}

} // namespace
} // namespace granwise
