#include "ScaleTables.h"

#include "InvestmentSummaryClasses.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportTexts.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The nine tables of the window, chosen by ReportTitle, each over the projects whose filter
// column equals its value (2-1: every project).
struct ScaleTable {
    QString number;
    QString title;
    QString filterColumn;
    QString filterValue;
};

const QVector<ScaleTable> &scaleTables()
{
    static const QVector<ScaleTable> tables = {
        {u"2-1"_s, u"表2-1 粮食流通基础设施建设规模情况汇总表"_s, {}, {}},
        {u"2-2"_s, u"表2-2 国有及国有控股企业粮食流通基础设施建设规模情况汇总表"_s, col::Ownership,
         u"国有及国有控股"_s},
        {u"2-3"_s, u"表2-3 民营企业粮食流通基础设施建设规模情况汇总表"_s, col::Ownership, u"民营"_s},
        {u"2-4"_s, u"表2-4 外资企业粮食流通基础设施建设规模情况汇总表"_s, col::Ownership, u"外资"_s},
        {u"2-5"_s, u"表2-5 中央企业粮食流通基础设施建设规模情况汇总表"_s, col::Affiliation, u"中央企业"_s},
        {u"2-6"_s, u"表2-6 地方企业粮食流通基础设施建设规模情况汇总表"_s, col::Affiliation, u"地方企业"_s},
        {u"2-7"_s, u"表2-7 粮食流通基础设施建设前期项目规模情况汇总表"_s, col::Progress, u"前期项目"_s},
        {u"2-8"_s, u"表2-8 粮食流通基础设施建设在建项目规模情况汇总表"_s, col::Progress, u"在建项目"_s},
        {u"2-9"_s, u"表2-9 粮食流通基础设施建设竣工项目规模情况汇总表"_s, col::Progress, u"竣工项目"_s},
    };
    return tables;
}

// One data row: the item label, its unit of measure, the scale item whose planned and
// completed columns it sums (none for a group head) and the divisor of the shown figure
// (10000 for areas stored in 平方米 and shown in 万平方米).
struct ScaleLine {
    QString label;
    QString unit;
    QString item;
    double divisor = 1;
};

constexpr double TenThousand = 10000;

const QVector<ScaleLine> &scaleLines()
{
    static const QVector<ScaleLine> lines = {
        {u"一、粮食仓容"_s, u"万吨"_s, u"新建仓容"_s},
        {u"其中：成品粮应急储备仓"_s, u"万吨"_s, u"其中成品粮应急储备仓"_s},
        {u"1.平房仓"_s, u"万吨"_s, u"平房仓"_s},
        {u"2.立筒仓"_s, u"万吨"_s, u"立筒仓"_s},
        {u"其中：钢板筒仓"_s, u"万吨"_s, u"其中钢板筒仓"_s},
        {u"3.浅圆仓"_s, u"万吨"_s, u"浅圆仓"_s},
        {u"4.其他仓型"_s, u"万吨"_s, u"其他仓型"_s},
        {u"二、油罐"_s, u"万吨"_s, u"新建油罐"_s},
        {u"三、维修改造仓容"_s, u"万吨"_s, u"维修改造仓容"_s},
        {u"其中：大修仓容"_s, u"万吨"_s, u"其中大修仓容"_s},
        {u"四、维修改造油罐"_s, u"万吨"_s, u"维修改造油罐"_s},
        {u"五、粮食专用码头"_s, u"-"_s, {}},
        {u"    泊位个数"_s, u"个"_s, u"其中泊位个数"_s},
        {u"    吞吐能力"_s, u"万吨"_s, u"其中吞吐能力"_s},
        {u"六、铁路专用线"_s, u"米"_s, u"铁路专用线"_s},
        {u"其中：铁路专用线有效长度"_s, u"米"_s, u"其中铁路专用线有效长度"_s},
        {u"七、罩棚"_s, u"万平方米"_s, u"罩棚"_s, TenThousand},
        {u"其中：1.铁路罩棚"_s, u"万平方米"_s, u"铁路罩棚"_s, TenThousand}, // 建设_铁路罩棚 / 完成_其中铁路罩棚
        {u"      2.储粮罩棚"_s, u"万平方米"_s, u"储粮罩棚"_s, TenThousand},
        {u"八、地坪"_s, u"万平方米"_s, u"地坪"_s, TenThousand},
        {u"九、散粮中转能力"_s, u"-"_s, {}},
        {u"    接收能力"_s, u"吨/小时"_s, u"其中接收能力"_s},
        {u"    发放能力"_s, u"吨/小时"_s, u"其中发放能力"_s},
        {u"十、机械设备"_s, u"台套"_s, u"机械设备"_s},
        {u"1.保粮设备"_s, u"台套"_s, u"保粮设备"_s},
        {u"2.烘干设备"_s, u"台套"_s, u"烘干设备"_s},
        {u"    烘干能力"_s, u"吨/小时"_s, u"其中烘干能力"_s},
        {u"3.进出仓设备"_s, u"台套"_s, u"进出仓设备"_s},
        {u"4.地中衡"_s, u"台套"_s, u"地中衡"_s},
        {u"5.运输设备"_s, u"-"_s, {}},
        {u"其中：散粮汽车"_s, u"辆"_s, u"其中散粮汽车"_s},
        {u"      散粮火车皮"_s, u"节"_s, u"其中散粮火车皮"_s},
        {u"      散粮船舶"_s, u"艘"_s, u"其中散粮船舶"_s},
        {u"6.检化验设备"_s, u"台套"_s, u"检化验设备"_s},
        {u"十一、办公、业务用房"_s, u"万平方米"_s, u"办公业务用房"_s, TenThousand},
        {u"十二、农户科学储粮仓"_s, u"万套"_s, u"农户科学储粮"_s},
        {u"十三、信息系统"_s, u"套"_s, u"信息系统"_s},
        {u"其中：1.电子政务系统"_s, u"套"_s, u"电子政务"_s},
        {u"      2.粮情监测预警系统"_s, u"套"_s, u"粮情监测"_s},
        {u"      3.仓储信息系统"_s, u"套"_s, u"仓储信息"_s},
    };
    return lines;
}

const ScaleItem &scaleItem(const QString &item)
{
    for (const ScaleItem &candidate : scaleItems())
        if (candidate.item == item)
            return candidate;
    throw Error(u"报表定义错误：没有规模项目 %1"_s.arg(item));
}

// Columns of the grid.
constexpr int UnitColumn = 1;
constexpr int PlannedColumn = 2;
constexpr int CompletedColumn = 3;

// Writes the 40 rows: labels and units, and for every item the sums of its planned and its
// completed column over the table's projects (0 when none contributes), in one pass.
void computeScaleTable(ReportGrid &grid, const QString &databasePath, const ScaleTable &table)
{
    GroupedQuery query;
    QVector<int> plannedMeasure;
    for (const ScaleLine &line : scaleLines()) {
        plannedMeasure << int(query.measures.size());
        if (line.item.isEmpty())
            continue;
        const ScaleItem &item = scaleItem(line.item);
        query.measures << Measure::sum(item.plannedColumn) << Measure::sum(item.completedColumn);
    }
    if (!table.filterColumn.isEmpty())
        query.equal = {{table.filterColumn, table.filterValue}};
    const QVector<ExactSum> sums = ProjectTally(databasePath, query).sumAll();

    for (int i = 0; i < scaleLines().size(); ++i) {
        const ScaleLine &line = scaleLines().at(i);
        const int row = grid.appendRow(line.item.isEmpty() ? RowKind::Section : RowKind::Item, line.label);
        grid.setText(row, UnitColumn, line.unit);
        if (line.item.isEmpty())
            continue;
        grid.setNumber(row, PlannedColumn, sums.at(plannedMeasure.at(i)).value() / line.divisor);
        grid.setNumber(row, CompletedColumn, sums.at(plannedMeasure.at(i) + 1).value() / line.divisor);
    }
}

void registerScaleTable(const ScaleTable &table, const QString &templateName)
{
    ReportDefinition d;
    d.className = u"TFrmb2_1"_s;
    d.number = table.number;
    d.title = table.title;
    d.templateName = templateName;
    d.kind = WindowKind::Immediate;
    d.columnCount = 4;
    d.firstDataRow = 2;
    const QStringList heads = {u"类别"_s, u"计量单位"_s, u"建设规模"_s, u"年度完成规模"_s};
    for (int c = 0; c < heads.size(); ++c)
        d.heads.append({1, c, heads.at(c)});
    d.titleRowHeight = 40;
    d.columnWidths = {330, 160, 220, 220};
    d.save.titleIntoSheet = true;
    d.wholeTable = [table](ReportGrid &grid, const QString &databasePath) {
        computeScaleTable(grid, databasePath, table);
    };
    registerReport(d);
}

} // namespace

void registerScaleTables()
{
    // Every one of the nine is saved into the template of 2-1, which carries its own title.
    const QString templateName = scaleTables().first().title + u'.' + reports::texts::WorkbookSuffix;
    for (const ScaleTable &table : scaleTables())
        registerScaleTable(table, templateName);
}

} // namespace granwise
