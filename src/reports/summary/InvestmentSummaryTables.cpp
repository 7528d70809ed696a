#include "SummaryReports.h"

#include "InvestmentSummaryClasses.h"
#include "ProgressTable.h"
#include "ScaleTables.h"
#include "reports/frame/ProvinceCodes.h"
#include "reports/frame/ReportRegistry.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

// Tables 1-1, 1-24, 1-25 and 1-26 (window TFrmb1_1): the projects broken down by enterprise
// nature, affiliation, construction nature, funding source, category and, in 1-1 only, by
// progress and grain area; per row the number of projects and the total, last years' and this
// year's investment in 亿元.
namespace {

// The four tables of the window, chosen by ReportTitle. Tables 1-24 to 1-26 count only the
// projects of one stage of progress and have no progress and area sections.
struct SummaryTable {
    QString number;
    QString title;
    QString progress; // empty: every project (1-1)
};

const QVector<SummaryTable> &summaryTables()
{
    static const QVector<SummaryTable> tables = {
        {u"1-1"_s, u"表1-1 粮食流通基础设施建设投资情况汇总表"_s, {}},
        {u"1-24"_s, u"表1-24 粮食流通基础设施建设前期项目投资情况汇总表"_s, u"前期项目"_s},
        {u"1-25"_s, u"表1-25 粮食流通基础设施建设在建项目投资情况汇总表"_s, u"在建项目"_s},
        {u"1-26"_s, u"表1-26 粮食流通基础设施建设竣工项目投资情况汇总表"_s, u"竣工项目"_s},
    };
    return tables;
}

// The tally behind the table: one combination per enterprise nature, affiliation,
// construction nature, category, progress and province code.
enum Key { OwnershipKey, AffiliationKey, NatureKey, CategoryKey, ProgressKey, ProvinceKey };

// Its measures: the number of projects, the composition parts (建筑安装工程, 设备工器具购置,
// 其他费用) of each investment group (总_, 累计_, 本年_), then the eight funding sources of each
// group (财政性资金 … 其他投资).
constexpr int CountMeasure = 0;
constexpr int CompositionParts = 3;
constexpr int FundingSources = 8;
constexpr int InvestmentGroups = 3;

int compositionMeasure(int group, int part)
{
    return 1 + group * CompositionParts + part;
}

int fundingMeasure(int group, int source)
{
    return 1 + InvestmentGroups * CompositionParts + group * FundingSources + source;
}

GroupedQuery summaryQuery(const QString &progress)
{
    GroupedQuery query;
    query.keys = {GroupKey::whole(col::Ownership), GroupKey::whole(col::Affiliation),
                  GroupKey::whole(col::ConstructionNature), GroupKey::whole(col::Category),
                  GroupKey::whole(col::Progress), GroupKey::prefix(col::RegionCode, 2)};
    query.measures << Measure::count();
    for (int g = 0; g < InvestmentGroups; ++g)
        for (int p = 0; p < CompositionParts; ++p)
            query.measures << Measure::sum(investmentColumn(g, p));
    for (int g = 0; g < InvestmentGroups; ++g)
        for (int s = 0; s < FundingSources; ++s)
            query.measures << Measure::sum(investmentColumn(g, CompositionParts + s));
    if (!progress.isEmpty())
        query.equal = {{col::Progress, progress}};
    return query;
}

enum class LineKind {
    Total,   // 合计: the three enterprise-nature rows
    Heading, // a section heading without figures
    Classes, // the projects whose key is one of the line's texts
    Funding, // one funding source of every project counted
};

struct SummaryLine {
    LineKind kind = LineKind::Heading;
    QString label;
    int key = -1;        // Classes
    QStringList values;  // Classes
    bool always = false; // Classes: filled with 0 when no project counts (the grain areas)
    int source = -1;     // Funding: 0 .. 7
};

void addBreakdown(QVector<SummaryLine> &lines, const QString &heading, Key key, const ClassBreakdown &breakdown)
{
    lines.append({LineKind::Heading, heading});
    for (const ClassRow &row : breakdown.rows)
        lines.append({LineKind::Classes, row.label, key, {row.value}});
}

QStringList provinceCodesOf(GrainArea area)
{
    QStringList codes;
    for (const ProvinceRow &province : provinceRows())
        if (province.area == area && !province.code.isEmpty())
            codes << province.code;
    return codes;
}

// The data rows in order: 39 for table 1-1, 31 for the tables of one stage of progress.
QVector<SummaryLine> summaryLines(bool wholeTable)
{
    QVector<SummaryLine> lines;
    lines.append({LineKind::Total, u"合计"_s});
    addBreakdown(lines, u"一、按企业性质分"_s, OwnershipKey, ownershipClasses());
    addBreakdown(lines, u"二、按隶属关系分"_s, AffiliationKey, affiliationClasses());
    addBreakdown(lines, u"三、按建设性质分"_s, NatureKey, natureClasses());
    lines.append({LineKind::Heading, u"四、按投资来源分"_s});
    const QStringList fundingLabels = {
        u"  （一）财政性资金"_s, u"  其中：中央财政"_s, u"        地方财政"_s,           u"  （二）银行贷款"_s,
        u"  （三）利用外资"_s,   u"  （四）自有资金"_s, u"  其中：退城进郊置换资金"_s, u"  （五）其他投资"_s,
    };
    for (int s = 0; s < FundingSources; ++s)
        lines.append({LineKind::Funding, fundingLabels.at(s), -1, {}, false, s});
    addBreakdown(lines, u"五、按项目类别分"_s, CategoryKey, categoryClasses());
    if (wholeTable) {
        addBreakdown(lines, u"六、按项目进展分"_s, ProgressKey, progressClasses());
        lines.append({LineKind::Heading, u"七、按地区分"_s});
        lines.append({LineKind::Classes, u"    主产区"_s, ProvinceKey, provinceCodesOf(GrainArea::MainProducing), true});
        lines.append({LineKind::Classes, u"    产销平衡区"_s, ProvinceKey, provinceCodesOf(GrainArea::Balanced), true});
        lines.append({LineKind::Classes, u"    主销区"_s, ProvinceKey, provinceCodesOf(GrainArea::MainConsuming), true});
    }
    return lines;
}

RowKind rowKindOf(LineKind kind)
{
    switch (kind) {
    case LineKind::Total:
        return RowKind::GrandTotal;
    case LineKind::Heading:
        return RowKind::Section;
    case LineKind::Classes:
    case LineKind::Funding:
        break;
    }
    return RowKind::Item;
}

// Columns of the grid.
constexpr int CountColumn = 1;
constexpr int FirstInvestmentColumn = 2; // 项目总投资, then 上年累计完成投资, then 本年度完成投资
constexpr double TenThousand = 10000;

void writeClassRow(ReportGrid &grid, int row, const QVector<ExactSum> &sums)
{
    grid.setNumber(row, CountColumn, sums.at(CountMeasure).value());
    for (int g = 0; g < InvestmentGroups; ++g)
        grid.setNumber(row, FirstInvestmentColumn + g,
                       sumOf(sums, {compositionMeasure(g, 0), compositionMeasure(g, 1), compositionMeasure(g, 2)}));
}

// Lays out the rows, fills them from one pass over the projects (of one stage of progress when
// `progress` is given), adds up 合计 and turns the investment from 万元 into 亿元.
void computeSummaryTable(ReportGrid &grid, const QString &databasePath, const QString &progress)
{
    const ProjectTally tally(databasePath, summaryQuery(progress));
    const QVector<ExactSum> everyProject = tally.sumAll();

    int totalRow = -1;
    QVector<int> ownershipRows;
    for (const SummaryLine &line : summaryLines(progress.isEmpty())) {
        const int row = grid.appendRow(rowKindOf(line.kind), line.label);
        switch (line.kind) {
        case LineKind::Total:
            totalRow = row;
            break;
        case LineKind::Heading:
            break;
        case LineKind::Classes: {
            if (line.key == OwnershipKey)
                ownershipRows << row;
            const QVector<ExactSum> sums = tally.sumWhereKeyIn(line.key, line.values);
            // A class that no project has stays empty; the grain areas are sums over all.
            if (sums.at(CountMeasure).value() > 0 || line.always)
                writeClassRow(grid, row, sums);
            break;
        }
        case LineKind::Funding:
            grid.setText(row, CountColumn, u"-"_s);
            for (int g = 0; g < InvestmentGroups; ++g)
                grid.setNumber(row, FirstInvestmentColumn + g, everyProject.at(fundingMeasure(g, line.source)).value());
            break;
        }
    }

    // 合计 is the total of the three enterprise natures only: a project of any other nature
    // counts in the other sections but not here.
    for (int row : ownershipRows)
        for (int c = CountColumn; c < grid.columnCount(); ++c)
            if (grid.text(row, c).isEmpty())
                grid.setNumber(row, c, 0);
    grid.sumRows(totalRow, ownershipRows);

    // Stored in 万元, shown in 亿元.
    for (int row = grid.firstDataRow(); row < grid.rowCount(); ++row)
        for (int c = FirstInvestmentColumn; c < grid.columnCount(); ++c)
            if (!grid.text(row, c).trimmed().isEmpty())
                grid.setNumber(row, c, grid.number(row, c) / TenThousand);
}

void registerSummaryTable(const SummaryTable &table)
{
    ReportDefinition d;
    d.className = u"TFrmb1_1"_s;
    d.number = table.number;
    d.title = table.title;
    d.kind = WindowKind::Immediate;
    d.columnCount = 5;
    d.firstDataRow = 2;
    const QStringList heads = {u"类别"_s, u"项目个数"_s, u"项目总投资"_s, u"上年累计完成投资"_s, u"本年度完成投资"_s};
    for (int c = 0; c < heads.size(); ++c)
        d.heads.append({1, c, heads.at(c)});
    d.unitCaption = u"单位：个、亿元"_s;
    d.columnWidths = {330, 160, 210, 230, 210};
    d.save.titleIntoSheet = true;
    const QString progress = table.progress;
    d.wholeTable = [progress](ReportGrid &grid, const QString &databasePath) {
        computeSummaryTable(grid, databasePath, progress);
    };
    registerReport(d);
}

} // namespace

void registerInvestmentSummaryTables()
{
    for (const SummaryTable &table : summaryTables())
        registerSummaryTable(table);
    registerScaleTables();
    registerProgressTable();
}

} // namespace granwise
