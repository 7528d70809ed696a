#include "RegionalReports.h"

#include "reports/frame/RegionalTable.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportTexts.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The three kinds of regional investment table besides 1-2.
enum class Breakdown {
    Source,      // by source of funds: C = 10, D = 3
    Composition, // by composition of the spending: C = 5, D = 2
    Category,    // by a category of the project, one column per category: D = 2
};

// A window class with its plain table (central enterprises listed separately) and its
// "中央企业不单列" variant (combined layout).
struct TablePair {
    QString className;
    QString plainNumber;
    QString plainTitle;
    QString variantNumber;
    QString variantTitle;
    Breakdown breakdown;
    QString prefix;      // 总_ or 本年_
    QString splitColumn; // Category tables: 项目单位性质, 建设性质 or 项目类别
    RegionWording wording;
    QVector<int> widths;
    WindowKind kind = WindowKind::Selectable;
};

const QString Total = u"总_"_s;
const QString ThisYear = u"本年_"_s;

QString part(const QString &prefix, int index)
{
    return prefix + investmentParts().at(index);
}

// Parts 0..2 are the composition (建筑安装工程, 设备工器具购置, 其他费用), parts 3..10 the sources.
QVector<Measure> sums(const QString &prefix, int from, int to)
{
    QVector<Measure> measures;
    for (int p = from; p <= to; ++p)
        measures << Measure::sum(part(prefix, p));
    return measures;
}

QVector<int> range(int from, int to)
{
    QVector<int> numbers;
    for (int i = from; i <= to; ++i)
        numbers << i;
    return numbers;
}

QVector<HeadCell> sourceHeads()
{
    return {
        {1, 0, reports::texts::Region, 2, 1},      {1, 1, u"投资合计"_s, 2, 1}, {1, 2, u"财政性资金"_s, 2, 1},
        {1, 3, u"其中："_s, 1, 2},         {2, 3, u"中央财政"_s},       {2, 4, u"地方财政"_s},
        {1, 5, u"银行贷款"_s, 2, 1},       {1, 6, u"利用外资"_s, 2, 1}, {1, 7, u"自有资金"_s, 2, 1},
        {1, 8, u"其中"_s},                 {2, 8, u"退城进郊置换资金"_s}, {1, 9, u"其他"_s, 2, 1},
    };
}

QVector<HeadCell> singleRowHeads(const QStringList &texts)
{
    QVector<HeadCell> heads;
    for (int c = 0; c < texts.size(); ++c)
        heads.append({1, c, texts.at(c)});
    return heads;
}

// The figures and heads of one pair, and its shape.
void describe(ReportDefinition &d, RegionalFigures &figures, const TablePair &pair)
{
    switch (pair.breakdown) {
    case Breakdown::Source:
        d.columnCount = 10;
        d.firstDataRow = 3;
        d.heads = sourceHeads();
        d.headerPatches = {2, 7};
        figures.measures = sums(pair.prefix, 3, 10);
        figures.columns.append(FigureColumn{}); // column 1: the row total
        for (int m = 0; m < 8; ++m)
            figures.columns.append({{m}, {}, 1});
        figures.rowTotalColumn = 1;
        figures.rowTotalParts = {2, 5, 6, 7, 9}; // 财政性资金 + 银行贷款 + 利用外资 + 自有资金 + 其他
        break;
    case Breakdown::Composition:
        d.columnCount = 5;
        d.firstDataRow = 2;
        d.heads = singleRowHeads({reports::texts::Region, u"投资合计"_s, u"建筑安装工程"_s, u"设备工器具购置"_s, u"其他费用"_s});
        figures.measures = sums(pair.prefix, 0, 2);
        figures.columns.append(FigureColumn{});
        for (int m = 0; m < 3; ++m)
            figures.columns.append({{m}, {}, 1});
        figures.rowTotalColumn = 1;
        figures.rowTotalParts = {2, 3, 4};
        break;
    case Breakdown::Category: {
        const QStringList categories = findProjectColumn(pair.splitColumn)->choices;
        d.columnCount = 2 + int(categories.size());
        d.firstDataRow = 2;
        d.heads = singleRowHeads(QStringList{reports::texts::Region, u"投资合计"_s} + categories);
        figures.measures = sums(pair.prefix, 0, 2);
        figures.splitColumn = pair.splitColumn;
        figures.columns.append(FigureColumn{});
        for (const QString &category : categories)
            figures.columns.append({{0, 1, 2}, category, 1});
        figures.rowTotalColumn = 1;
        figures.rowTotalParts = range(2, d.columnCount - 1);
        break;
    }
    }
}

void registerPair(const TablePair &pair)
{
    ReportDefinition base;
    base.className = pair.className;
    base.kind = pair.kind;
    base.unitCaption = reports::texts::TenThousandYuan;
    base.columnWidths = pair.widths;
    RegionalFigures figures;
    describe(base, figures, pair);

    ReportDefinition plain = base;
    plain.number = pair.plainNumber;
    plain.title = pair.plainTitle;
    useRegionalTable(plain, {RegionRowList(RegionLayout::Separate, pair.wording), figures});

    ReportDefinition variant = base;
    variant.number = pair.variantNumber;
    variant.title = pair.variantTitle;
    useRegionalTable(variant, {RegionRowList(RegionLayout::Combined, pair.wording), figures});

    if (pair.kind == WindowKind::Immediate) {
        plain.prefectureListing = variant.prefectureListing = nullptr;
        plain.countyListing = variant.countyListing = nullptr;
    }
    registerReport(plain);
    registerReport(variant);
}

// Table 1-2: number of projects, total investment and this year's investment per region, in
// the combined layout only, with a fixed title.
void registerTable1_2()
{
    ReportDefinition d;
    d.className = u"TFrmb1_2"_s;
    d.number = u"1-2"_s;
    d.title = u"表1-2 粮食流通基础设施建设各地区投资情况汇总表"_s;
    d.caption = u"粮食流通基础设施建设各地区投资情况汇总表"_s;
    d.columnCount = 4;
    d.firstDataRow = 2;
    d.heads = singleRowHeads({reports::texts::Region, u"项目个数"_s, u"项目总投资"_s, u"本年度完成投资"_s});
    d.unitCaption = u"单位：个、万元"_s;
    d.columnWidths = {296, 212, 243, 245};

    RegionalFigures figures;
    figures.measures = QVector<Measure>{Measure::count()} + sums(Total, 0, 2) + sums(ThisYear, 0, 2);
    figures.columns = {{{0}, {}, 1}, {{1, 2, 3}, {}, 1}, {{4, 5, 6}, {}, 1}};
    useRegionalTable(d, {RegionRowList(RegionLayout::Combined), figures});
    registerReport(d);
}

QVector<TablePair> tablePairs()
{
    const RegionWording standard = RegionWording::standard();
    const QString centralShort = u"二、央企小计"_s;
    using enum Breakdown;
    return {
        {u"TFrmb1_3"_s, u"1-3"_s, u"表1-3 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源）"_s, u"1-4"_s,
         u"表1-4 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源，中央企业不单列）"_s, Source, Total, {},
         standard.withSeparateGroups({u"（一）主产区"_s, u"（二）产销平衡区"_s, u"（三）主销区"_s})
             .withCentralSubtotal(centralShort),
         {204, 117, 118, 118, 118, 118, 110, 110, 120, 110}},
        {u"TFrmb1_5"_s, u"1-5"_s, u"表1-5 粮食流通基础设施建设各地区项目总投资情况汇总表（按企业性质）"_s, u"1-6"_s,
         u"表1-6 粮食流通基础设施建设各地区项目总投资情况汇总表（按企业性质，中央企业不单列）"_s, Category, Total,
         col::Ownership, standard.withCentralSubtotal(centralShort), {281, 217, 217, 217, 214}},
        {u"TFrmb1_7"_s, u"1-7"_s, u"表1-7 粮食流通基础设施建设各地区项目总投资情况汇总表（按建设性质）"_s, u"1-8"_s,
         u"表1-8 粮食流通基础设施建设各地区项目总投资情况汇总表（按建设性质，中央企业不单列）"_s, Category, Total,
         col::ConstructionNature, standard, {297, 174, 174, 174, 174}},
        {u"TFrmb1_9"_s, u"1-9"_s, u"表1-9 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资构成）"_s, u"1-10"_s,
         u"表1-10 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资构成，中央企业不单列）"_s, Composition, Total,
         {}, standard, {405, 161, 162, 163, 162}},
        {u"TFrmb1_11"_s, u"1-11"_s, u"表1-11 粮食流通基础设施建设各地区项目总投资情况汇总表（按项目类别）"_s,
         u"1-12"_s, u"表1-12 粮食流通基础设施建设各地区项目总投资情况汇总表（按项目类别，中央企业不单列）"_s,
         Category, Total, col::Category, standard, {198, 152, 136, 136, 136, 136, 136, 136, 136}},
        {u"TFrmb1_13"_s, u"1-13"_s, u"表1-13 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资来源）"_s,
         u"1-14"_s, u"表1-14 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资来源，中央企业不单列）"_s,
         Source, ThisYear, {}, standard, {245, 111, 111, 111, 111, 103, 103, 103, 114, 103}},
        {u"TFrmb1_15"_s, u"1-15"_s, u"表1-15 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按企业性质）"_s,
         u"1-16"_s, u"表1-16 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按企业性质，中央企业不单列）"_s,
         Category, ThisYear, col::Ownership, standard, {300, 170, 170, 170, 170}},
        {u"TFrmb1_17"_s, u"1-17"_s, u"表1-17 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按建设性质）"_s,
         u"1-18"_s, u"表1-18 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按建设性质，中央企业不单列）"_s,
         Category, ThisYear, col::ConstructionNature, standard, {337, 168, 168, 168, 164}},
        {u"TFrmb1_19"_s, u"1-19"_s, u"表1-19 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资构成）"_s,
         u"1-20"_s, u"表1-20 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资构成，中央企业不单列）"_s,
         Composition, ThisYear, {}, standard, {337, 168, 168, 168, 166}},
        {u"TFrmb1_21"_s, u"1-21"_s, u"表1-21 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按项目类别）"_s,
         u"1-22"_s, u"表1-22 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按项目类别，中央企业不单列）"_s,
         Category, ThisYear, col::Category, standard.withGrandTotal(u"全国合计"_s),
         {231, 134, 134, 133, 134, 124, 124, 124, 124}, WindowKind::Immediate},
    };
}

} // namespace

void registerRegionalReports()
{
    registerTable1_2();
    for (const TablePair &pair : tablePairs())
        registerPair(pair);
}

} // namespace granwise
