#include "BasicStatisticsTable.h"

#include "store/ExactSum.h"
#include "reports/frame/GroupedSums.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include <array>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

constexpr int FirstRow = 2;   // grid row of the first indicator
constexpr int RowCount = 140; // grid rows, title and heads included
constexpr int TotalColumn = 3;
constexpr int FirstCategoryColumn = 4;
constexpr int ColumnCount = 11;

const QString Title = u"粮食流通基础设施建设投资基础情况统计表"_s;
const QString NationalLevel = u"国家级汇总"_s;
const QString StartedYes = u"是"_s;

// What a grid row shows.
struct RowRule {
    enum class Kind { Head, Count, Sum, Total };
    Kind kind = Kind::Head;
    QString column;     // Count: the column a project must match; Sum: the column added up
    QString value;      // Count: the text that column must hold
    QVector<int> parts; // Total: the grid rows it adds up
};

RowRule count(const QString &column, const QString &value)
{
    return {RowRule::Kind::Count, column, value, {}};
}

RowRule sum(const QString &column)
{
    return {RowRule::Kind::Sum, column, {}, {}};
}

RowRule total(QVector<int> parts)
{
    return {RowRule::Kind::Total, {}, {}, std::move(parts)};
}

// The row map, indexed by grid row; rows that are not set are heads.
QVector<RowRule> rowMap()
{
    QVector<RowRule> rules(RowCount);
    auto counts = [&rules](int first, const QString &column) {
        const QStringList values = findProjectColumn(column)->choices;
        for (int i = 0; i < values.size(); ++i)
            rules[first + i] = count(column, values.at(i));
    };
    counts(3, col::Ownership);          // 国有及国有控股, 民营, 外资
    counts(7, col::ConstructionNature); // 新建, 扩建, 改建
    rules[11] = total({12, 13, 14});
    counts(12, col::Progress); // 前期项目, 在建项目, 竣工项目
    rules[15] = count(col::StartedThisYear, StartedYes);

    // Construction scale, planned from row 17 and completed this year from row 58: every scale
    // item in its order (机械设备 included), the offsets 11, 20 and 29 being heads.
    auto scale = [&rules](int first, bool completed) {
        int offset = 0;
        for (const ScaleItem &item : scaleItems()) {
            while (offset == 11 || offset == 20 || offset == 29)
                ++offset;
            rules[first + offset] = sum(completed ? item.completedColumn : item.plannedColumn);
            ++offset;
        }
    };
    scale(17, false);
    scale(58, true);

    // Investment: total, cumulative and this year's, each a total row, a head, the three parts
    // of the composition, a head and the eight sources.
    const std::array<int, 3> firstRows = {100, 114, 128};
    for (int group = 0; group < 3; ++group) {
        const int first = firstRows.at(group);
        for (int part = 0; part < 3; ++part)
            rules[first + part] = sum(investmentColumn(group, part));
        for (int part = 3; part < investmentParts().size(); ++part)
            rules[first + 1 + part] = sum(investmentColumn(group, part));
        rules[first - 2] = total({first, first + 1, first + 2});
    }
    return rules;
}

QStringList categories()
{
    return findProjectColumn(col::Category)->choices;
}

// The name, code and unit of every indicator, in table order.
QVector<QStringList> readIndicators(Connection &connection)
{
    QVector<QStringList> indicators;
    Statement st(connection, u"select 指标名称, 代码, 计量单位 from 基础情况统计表指标 order by rowid"_s);
    while (st.next())
        indicators << QStringList{st.text(0), st.text(1), st.text(2)};
    return indicators;
}

// Figures of one grid row per category, added exactly.
using CategorySums = std::array<ExactSum, ColumnCount - FirstCategoryColumn>;

} // namespace

void fillBasicStatistics(ReportGrid &grid, const QString &databasePath)
{
    const QVector<RowRule> rules = rowMap();
    const QStringList categoryTexts = categories();

    // One pass over the projects: grouped by category and by every column a count row tests,
    // with the number of projects and every summed column.
    const QStringList keyColumns = {col::Category, col::Ownership, col::ConstructionNature, col::Progress,
                                    col::StartedThisYear};
    GroupedQuery query;
    for (const QString &column : keyColumns)
        query.keys << GroupKey::whole(column);
    query.measures << Measure::count();
    QVector<int> measureOf(RowCount, -1);
    for (int r = FirstRow; r < RowCount; ++r) {
        if (rules.at(r).kind == RowRule::Kind::Sum) {
            measureOf[r] = int(query.measures.size());
            query.measures << Measure::sum(rules.at(r).column);
        }
    }

    QVector<QStringList> indicators;
    {
        Connection connection(databasePath);
        indicators = readIndicators(connection);
    }
    const QVector<GroupedRow> groups = runGroupedSums(databasePath, query);

    QVector<CategorySums> sums(RowCount);
    for (const GroupedRow &group : groups) {
        const int category = int(categoryTexts.indexOf(group.keys.at(0)));
        if (category < 0)
            continue; // a blank or unknown category counts nowhere
        for (int r = FirstRow; r < RowCount; ++r) {
            const RowRule &rule = rules.at(r);
            if (rule.kind == RowRule::Kind::Count) {
                if (group.keys.at(int(keyColumns.indexOf(rule.column))) == rule.value)
                    sums[r][category].add(group.values.at(0));
            } else if (rule.kind == RowRule::Kind::Sum) {
                sums[r][category].add(group.values.at(measureOf.at(r)));
            }
        }
    }
    for (int r = FirstRow; r < RowCount; ++r)
        for (int part : rules.at(r).parts)
            for (std::size_t c = 0; c < sums[r].size(); ++c)
                sums[r][c].add(sums.at(part)[c]);

    grid.clearData();
    for (int r = FirstRow; r < RowCount; ++r) {
        const RowRule &rule = rules.at(r);
        const RowKind kind = rule.kind == RowRule::Kind::Head    ? RowKind::Section
                             : rule.kind == RowRule::Kind::Total ? RowKind::Group
                                                                 : RowKind::Item;
        const QStringList indicator = indicators.value(r - FirstRow);
        const int row = grid.appendRow(kind, indicator.value(0));
        grid.setText(row, 1, indicator.value(1));
        grid.setText(row, 2, indicator.value(2));
        if (rule.kind == RowRule::Kind::Head)
            continue;
        ExactSum rowTotal;
        for (std::size_t c = 0; c < sums[r].size(); ++c) {
            grid.setNumber(row, FirstCategoryColumn + int(c), sums[r][c].value());
            rowTotal.add(sums[r][c]);
        }
        grid.setNumber(row, TotalColumn, rowTotal.value());
    }
}

QString basicStatisticsUnitText(const TaskInfo &info)
{
    if (info.level == NationalLevel)
        return info.level;
    return info.province + info.prefecture + info.county;
}

ReportDefinition basicStatisticsDefinition()
{
    ReportDefinition d;
    d.className = u"TFrmbtongj"_s;
    d.title = Title;
    d.caption = u"粮食流通基础设施建设投资情况汇总表"_s;
    d.kind = WindowKind::Immediate;
    d.columnCount = ColumnCount;
    d.firstDataRow = FirstRow;
    const QStringList heads = QStringList{u"指标名称"_s, u"代码"_s, u"计量单位"_s, u"合计"_s} + categories();
    for (int c = 0; c < heads.size(); ++c)
        d.heads.append({1, c, heads.at(c)});
    d.columnWidths = {250, 60, 80, 110, 130, 130, 130, 130, 130, 120, 100};
    d.titleRowHeight = 40;
    // The indicators start at worksheet row 4 (grid row 2 + 2); the unit goes to (2, 2).
    d.save.rowOffset = 2;
    d.save.extraCells = [](const QString &databasePath) {
        QVector<SheetCell> cells;
        if (const std::optional<TaskInfo> info = readTaskInfo(databasePath))
            cells.append({2, 2, basicStatisticsUnitText(*info)});
        return cells;
    };
    d.wholeTable = fillBasicStatistics;
    return d;
}

} // namespace granwise
