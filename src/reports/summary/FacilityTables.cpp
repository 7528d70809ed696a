#include "BasicStatisticsTable.h"
#include "CorridorTable.h"
#include "SummaryReports.h"

#include "reports/frame/RegionalTable.h"
#include "reports/frame/ReportRegistry.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// Tables 2-10 .. 2-18: the planned construction scale (建设_ columns) of every province's local
// enterprises and of the central enterprises, one family that differs only in its columns.
// The "中央企业不单列" variants (2-11, 2-13, 2-15) have no window.

// A figure column: the sum of a project column, shown in ten thousands when the table counts
// square metres in 万平方米 or 亩 in 万亩.
struct FacilityColumn {
    QString source;
    bool inTenThousands = false;
};

struct FacilityTable {
    QString className;
    QString number;
    QString title;
    QString unitCaption;
    bool titleIntoSheet = false;
    QVector<HeadCell> heads; // besides "地区或单位", which heads column 0 over both rows
    QVector<FacilityColumn> columns;
    QVector<int> headerPatches;
    QVector<int> widths;
};

const QString RegionOrUnit = u"地区或单位"_s;
const QString NationalTotal = u"全国合计"_s;

// A head over both header rows.
HeadCell tall(int column, const QString &text)
{
    return {1, column, text, 2, 1};
}

// A head of row 1 over `span` columns (a "其中" or a group of columns).
HeadCell over(int column, const QString &text, int span = 1)
{
    return {1, column, text, 1, span};
}

// A head of row 2, under the row-1 head above it.
HeadCell under(int column, const QString &text)
{
    return {2, column, text, 1, 1};
}

FacilityColumn planned(const QString &item)
{
    return {u"建设_"_s + item, false};
}

FacilityColumn plannedInTenThousands(const QString &item)
{
    return {u"建设_"_s + item, true};
}

QVector<FacilityTable> facilityTables()
{
    return {
        {u"TFrmb2_10"_s,
         u"2-10"_s,
         u"表2-10 粮食流通基础设施建设各地区年度新增设施情况汇总表"_s,
         u"单位：万吨"_s,
         true,
         {tall(1, u"\n粮食仓容\n（万吨）"_s), over(2, u"其中"_s), under(2, u"成品粮应急储备仓"_s),
          tall(3, u"平房仓"_s), tall(4, u"立筒仓"_s), over(5, u"其中"_s), under(5, u"钢板筒仓"_s),
          tall(6, u"浅圆仓"_s), tall(7, u"其他仓型"_s)},
         {planned(u"新建仓容"_s), planned(u"其中成品粮应急储备仓"_s), planned(u"平房仓"_s), planned(u"立筒仓"_s),
          planned(u"其中钢板筒仓"_s), planned(u"浅圆仓"_s), planned(u"其他仓型"_s)},
         {1, 4},
         {220, 120, 150, 110, 110, 110, 110, 110}},
        {u"TFrmb2_12"_s,
         u"2-12"_s,
         u"表2-12 粮食流通基础设施建设各地区年度新增设施情况汇总表（续1）"_s,
         {},
         true,
         {tall(1, u"\n油罐\n（万吨）"_s), tall(2, u"\n维修改造仓\n容（万吨）"_s), over(3, u"其中"_s),
          under(3, u"大修仓容"_s), tall(4, u"\n维修改造油\n罐（万吨）"_s), over(5, u"粮食专用码头"_s, 2),
          under(5, u"泊位个数"_s), under(6, u"吞吐能力（吨/小时）"_s), tall(7, u"\n铁路专用\n线（米）"_s),
          over(8, u"其中"_s), under(8, u"有效长度"_s), tall(9, u"\n罩棚\n（万平方米）"_s), over(10, u"其中"_s, 2),
          under(10, u"铁路罩棚"_s), under(11, u"储粮罩棚"_s), tall(12, u"\n地坪\n（万平方米）"_s)},
         {planned(u"新建油罐"_s), planned(u"维修改造仓容"_s), planned(u"其中大修仓容"_s), planned(u"维修改造油罐"_s),
          planned(u"其中泊位个数"_s), planned(u"其中吞吐能力"_s), planned(u"铁路专用线"_s),
          planned(u"其中铁路专用线有效长度"_s), plannedInTenThousands(u"罩棚"_s),
          plannedInTenThousands(u"铁路罩棚"_s), plannedInTenThousands(u"储粮罩棚"_s),
          plannedInTenThousands(u"地坪"_s)},
         {2, 7, 9},
         {170, 90, 100, 90, 100, 80, 140, 90, 90, 110, 90, 90, 110}},
        {u"TFrmb2_14"_s,
         u"2-14"_s,
         u"表2-14 粮食流通基础设施建设各地区年度新增设施情况汇总表（续2）"_s,
         {},
         true,
         {over(1, u"散粮中转能力\n（吨/小时）"_s, 2), under(1, u"接收\n能力"_s), under(2, u"发放\n能力"_s),
          over(3, u"烘干机"_s, 2), under(3, u"数量\n（台套）"_s), under(4, u"烘干能力\n（吨/小时）"_s),
          tall(5, u"\n保粮设备\n（台套）"_s), tall(6, u"\n进出仓设\n备（台套）"_s), tall(7, u"\n地中衡\n（台套）"_s),
          tall(8, u"\n散粮汽车\n（辆）"_s), tall(9, u"\n散粮火车\n皮（节）"_s), tall(10, u"\n散粮船舶\n（艘）"_s),
          tall(11, u"\n检化验\n设备"_s), tall(12, u"\n办公、业务\n用房（万平方米）"_s)},
         {planned(u"其中接收能力"_s), planned(u"其中发放能力"_s), planned(u"烘干设备"_s), planned(u"其中烘干能力"_s),
          planned(u"保粮设备"_s), planned(u"进出仓设备"_s), planned(u"地中衡"_s), planned(u"其中散粮汽车"_s),
          planned(u"其中散粮火车皮"_s), planned(u"其中散粮船舶"_s), planned(u"检化验设备"_s),
          plannedInTenThousands(u"办公业务用房"_s)},
         {},
         {170, 80, 80, 90, 100, 90, 90, 80, 90, 90, 90, 80, 140}},
        // Its columns count 万套 (column 1) and 套 (columns 2 .. 5); the caption says so.
        {u"TFrmb2_16"_s,
         u"2-16"_s,
         u"表2-16 粮食流通基础设施建设各地区年度新增设施情况汇总表（续3）"_s,
         u"单位：万套、套"_s,
         false,
         {tall(1, u"\n农户科学储粮仓\n（万套）"_s), tall(2, u"\n信息系统\n（套）"_s), over(3, u"其中"_s, 3),
          under(3, u"电子政务系统"_s), under(4, u"粮情监测预警系统"_s), under(5, u"仓储信息系统"_s)},
         {planned(u"农户科学储粮"_s), planned(u"信息系统"_s), planned(u"电子政务"_s), planned(u"粮情监测"_s),
          planned(u"仓储信息"_s)},
         {},
         {220, 160, 120, 150, 170, 150}},
        {u"TFrmb2_18"_s,
         u"2-18"_s,
         u"表2-18 粮食流通基础设施建设各地区年度新增设施情况汇总表（续4）"_s,
         u"单位：万亩"_s,
         false,
         {tall(1, u"\n可用建设用地\n（万亩）"_s)},
         {{u"可用建设用地"_s, true}},
         {},
         {300, 260}},
    };
}

ReportDefinition facilityDefinition(const FacilityTable &table)
{
    ReportDefinition d;
    d.className = table.className;
    d.number = table.number;
    d.title = table.title;
    d.kind = WindowKind::Selectable;
    d.columnCount = int(table.columns.size()) + 1;
    d.firstDataRow = 3;
    d.heads = QVector<HeadCell>{tall(0, RegionOrUnit)} + table.heads;
    d.unitCaption = table.unitCaption;
    d.columnWidths = table.widths;
    d.headerPatches = table.headerPatches;
    d.save.rowOffset = 3;
    d.save.titleIntoSheet = table.titleIntoSheet;

    RegionalFigures figures;
    for (int i = 0; i < table.columns.size(); ++i) {
        const FacilityColumn &column = table.columns.at(i);
        figures.measures << Measure::sum(column.source);
        figures.columns.append({{i}, {}, column.inTenThousands ? 10000.0 : 1.0});
    }
    // The whole-country table always lists the central enterprises separately; the listings
    // take every project of the province (prefecture), central ones included.
    useRegionalTable(d, {RegionRowList(RegionLayout::Separate, RegionWording::standard().withGrandTotal(NationalTotal)),
                         figures});
    return d;
}

} // namespace

void registerFacilityTables()
{
    for (const FacilityTable &table : facilityTables())
        registerReport(facilityDefinition(table));
    registerReport(corridorDefinition());
    registerReport(basicStatisticsDefinition());
}

} // namespace granwise
