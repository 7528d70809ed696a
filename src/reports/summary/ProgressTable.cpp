#include "ProgressTable.h"

#include "InvestmentSummaryClasses.h"
#include "reports/frame/ReportRegistry.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString ProgressTitle = u"表1-27 粮食流通基础设施建设项目进展情况汇总表"_s;
const QString StartedThisYear = u"是"_s;

// The tally: one combination per enterprise nature, affiliation, construction nature,
// category, progress and new-start mark, counting projects.
enum Key { OwnershipKey, AffiliationKey, NatureKey, CategoryKey, ProgressKey, StartedKey };

struct ProgressSection {
    QString heading;
    Key key;
    const ClassBreakdown &breakdown;
};

// Columns of the grid: 项目合计, one per stage of progress (in the order of progressClasses()),
// and the new starts, which are "of which" and not part of 项目合计.
constexpr int TotalColumn = 1;
constexpr int FirstStageColumn = 2;
constexpr int NewStartColumn = 5;

void computeProgressTable(ReportGrid &grid, const QString &databasePath)
{
    GroupedQuery query;
    query.keys = {GroupKey::whole(col::Ownership),    GroupKey::whole(col::Affiliation),
                  GroupKey::whole(col::ConstructionNature), GroupKey::whole(col::Category),
                  GroupKey::whole(col::Progress),     GroupKey::whole(col::StartedThisYear)};
    query.measures = {Measure::count()};
    const ProjectTally tally(databasePath, query);

    const QVector<ProgressSection> sections = {
        {u"一、按企业性质分"_s, OwnershipKey, ownershipClasses()},
        {u"二、按隶属关系分"_s, AffiliationKey, affiliationClasses()},
        {u"三、按建设性质分"_s, NatureKey, natureClasses()},
        {u"四、按项目类别分"_s, CategoryKey, categoryClasses()},
    };
    const QVector<ClassRow> &stages = progressClasses().rows;
    for (const ProgressSection &section : sections) {
        grid.appendRow(RowKind::Section, section.heading);
        for (const ClassRow &classRow : section.breakdown.rows) {
            const int row = grid.appendRow(RowKind::Item, classRow.label);
            const auto count = [&](const std::function<bool(const QStringList &)> &also) {
                return tally
                    .sum([&](const QStringList &keys) { return keys.at(section.key) == classRow.value && also(keys); })
                    .at(0)
                    .value();
            };
            // A project of any other stage counts in no stage column and so not in 项目合计.
            for (int s = 0; s < stages.size(); ++s)
                grid.setNumber(row, FirstStageColumn + s,
                               count([&](const QStringList &keys) { return keys.at(ProgressKey) == stages.at(s).value; }));
            grid.setNumber(row, NewStartColumn,
                           count([](const QStringList &keys) { return keys.at(StartedKey) == StartedThisYear; }));
            grid.sumColumns(row, TotalColumn, {FirstStageColumn, FirstStageColumn + 1, FirstStageColumn + 2});
        }
    }
}

} // namespace

void registerProgressTable()
{
    ReportDefinition d;
    d.className = u"TFrmb1_27"_s;
    d.number = u"1-27"_s;
    d.title = ProgressTitle;
    d.kind = WindowKind::Immediate;
    d.columnCount = 6;
    d.firstDataRow = 2;
    const QStringList heads = {u"类别"_s,     u"项目合计"_s, u"前期项目"_s,
                               u"在建项目"_s, u"竣工项目"_s, u"其中：本年度新\n开工项目"_s};
    for (int c = 0; c < heads.size(); ++c)
        d.heads.append({1, c, heads.at(c)});
    d.headerRowHeight = 35;
    d.unitCaption = u"单位：个"_s;
    d.columnWidths = {300, 150, 150, 150, 150, 180};
    d.save.titleIntoSheet = true;
    d.wholeTable = [](ReportGrid &grid, const QString &databasePath) { computeProgressTable(grid, databasePath); };
    registerReport(d);
}

} // namespace granwise
