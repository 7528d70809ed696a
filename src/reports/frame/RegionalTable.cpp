#include "RegionalTable.h"

#include "store/ExactSum.h"
#include "ProvinceCodes.h"
#include "ReportTexts.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"

#include <QHash>
#include <functional>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// Figures of the rows being filled, added exactly before they are written as text.
class FigureSums {
public:
    FigureSums(int rows, int columns) : m_columns(columns), m_sums(rows * columns) {}
    ExactSum &at(int row, int column) { return m_sums[row * m_columns + column]; }

private:
    int m_columns;
    QVector<ExactSum> m_sums;
};

// Adds the figures of one result row into one grid row: every figure column takes the sum of
// its measures, when the result's category (split tables) is the column's category.
void linlist(FigureSums &sums, int row, const RegionalFigures &figures, const GroupedRow &result,
             const QString &category)
{
    for (int i = 0; i < figures.columns.size(); ++i) {
        const FigureColumn &column = figures.columns.at(i);
        if (column.measures.isEmpty())
            continue;
        if (!figures.splitColumn.isEmpty() && column.category != category)
            continue;
        ExactSum value;
        for (int m : column.measures)
            value.add(result.values.at(m));
        sums.at(row, i + 1).add(value.value() / column.divisor);
    }
}

void writeRow(ReportGrid &grid, int gridRow, FigureSums &sums, int sumsRow)
{
    for (int c = 1; c < grid.columnCount(); ++c)
        grid.setNumber(gridRow, c, sums.at(sumsRow, c).value());
}

void applyRowTotal(ReportGrid &grid, int row, const RegionalFigures &figures)
{
    if (figures.rowTotalColumn > 0)
        grid.sumColumns(row, figures.rowTotalColumn, figures.rowTotalParts);
}

GroupedQuery baseQuery(const RegionalFigures &figures)
{
    GroupedQuery query;
    query.measures = figures.measures;
    return query;
}

// Total rows of a plan, each after the rows it adds up.
void sumPlan(ReportGrid &grid, const RowPlan &plan, int first)
{
    QVector<bool> done(plan.rows.size(), false);
    std::function<void(int)> total = [&](int i) {
        if (done[i])
            return;
        done[i] = true;
        const PlannedRow &row = plan.rows.at(i);
        if (row.parts.isEmpty())
            return;
        QVector<int> gridRows;
        for (int part : row.parts) {
            total(part);
            gridRows << first + part;
        }
        grid.sumRows(first + i, gridRows);
    };
    for (int i = 0; i < plan.rows.size(); ++i)
        total(i);
}

void fillListing(ReportGrid &grid, const RegionalTable &table, const QString &databasePath, const QString &label,
                 GroupedQuery query)
{
    const RegionalFigures &figures = table.figures;
    const bool split = !figures.splitColumn.isEmpty();
    if (split)
        query.keys << GroupKey::whole(figures.splitColumn);
    query.orderColumn = col::RegionCode;

    const QVector<GroupedRow> results = runGroupedSums(databasePath, query);
    // One listed row per distinct place, in the order the places first occur.
    QHash<QString, int> placeRow;
    QStringList places;
    for (const GroupedRow &r : results) {
        if (!placeRow.contains(r.keys.at(0))) {
            placeRow.insert(r.keys.at(0), int(places.size()));
            places << r.keys.at(0);
        }
    }
    FigureSums sums(int(places.size()), grid.columnCount());
    for (const GroupedRow &r : results)
        linlist(sums, placeRow.value(r.keys.at(0)), figures, r, split ? r.keys.at(1) : QString());

    grid.clearData();
    const int totalRow = grid.appendRow(RowKind::ListingTotal, label + reports::texts::Total);
    QVector<int> listed;
    for (int i = 0; i < places.size(); ++i) {
        const int row = grid.appendRow(RowKind::Listed, places.at(i));
        writeRow(grid, row, sums, i);
        applyRowTotal(grid, row, figures);
        listed << row;
    }
    grid.sumRows(totalRow, listed);
}

} // namespace

void fillWholeTable(ReportGrid &grid, const RegionalTable &table, const QString &databasePath)
{
    const RowPlan &plan = table.plan;
    const RegionalFigures &figures = table.figures;
    const bool split = !figures.splitColumn.isEmpty();

    // Keys: the province code, in the separate layout also the affiliation and the company,
    // and the category of a split table.
    GroupedQuery query = baseQuery(figures);
    query.keys = {GroupKey::prefix(col::RegionCode, 2)};
    if (plan.separate)
        query.keys << GroupKey::whole(col::Affiliation) << GroupKey::whole(col::Company);
    const int categoryKey = int(query.keys.size());
    if (split)
        query.keys << GroupKey::whole(figures.splitColumn);
    const QVector<GroupedRow> results = runGroupedSums(databasePath, query);

    // Placement: by province code (in the separate layout local enterprises only), and central
    // enterprises by company. Results that match no row are dropped.
    FigureSums sums(int(plan.rows.size()), grid.columnCount());
    for (const GroupedRow &r : results) {
        const QString &code = r.keys.at(0);
        int target = -1;
        if (!plan.separate)
            target = plan.indexOfProvince(code);
        else if (r.keys.at(1) == LocalEnterprise)
            target = plan.indexOfProvince(code);
        else if (r.keys.at(1) == CentralEnterprise)
            target = plan.indexOfCompany(r.keys.at(2));
        if (target >= 0)
            linlist(sums, target, figures, r, split ? r.keys.at(categoryKey) : QString());
    }

    grid.clearData();
    const int first = grid.firstDataRow();
    for (int i = 0; i < plan.rows.size(); ++i) {
        const PlannedRow &planned = plan.rows.at(i);
        const int row = grid.appendRow(planned.kind, planned.label);
        if (planned.kind == RowKind::Section)
            continue;
        writeRow(grid, row, sums, i);
        if (planned.parts.isEmpty())
            applyRowTotal(grid, row, figures);
    }
    sumPlan(grid, plan, first);
}

void yangqi_list(ReportGrid &grid, const RegionalFigures &figures, const RegionWording &wording,
                 const QString &databasePath)
{
    fillWholeTable(grid, {RegionRowList(RegionLayout::Separate, wording), figures}, databasePath);
}

void yangqi_no_list(ReportGrid &grid, const RegionalFigures &figures, const RegionWording &wording,
                    const QString &databasePath)
{
    fillWholeTable(grid, {RegionRowList(RegionLayout::Combined, wording), figures}, databasePath);
}

void diqu_list(ReportGrid &grid, const RegionalTable &table, const QString &databasePath, const QString &province)
{
    GroupedQuery query = baseQuery(table.figures);
    query.keys = {GroupKey::whole(col::Prefecture)};
    query.equal = {{col::Province, province}};
    fillListing(grid, table, databasePath, province, query);
}

void xian_list(ReportGrid &grid, const RegionalTable &table, const QString &databasePath, const QString &province,
               const QString &prefecture)
{
    GroupedQuery query = baseQuery(table.figures);
    query.keys = {GroupKey::whole(col::County)};
    query.equal = {{col::Province, province}, {col::Prefecture, prefecture}};
    fillListing(grid, table, databasePath, prefecture, query);
}

void useRegionalTable(ReportDefinition &definition, const RegionalTable &table)
{
    definition.wholeTable = [table](ReportGrid &grid, const QString &db) { fillWholeTable(grid, table, db); };
    definition.prefectureListing = [table](ReportGrid &grid, const QString &db, const QString &province) {
        diqu_list(grid, table, db, province);
    };
    definition.countyListing = [table](ReportGrid &grid, const QString &db, const QString &province,
                                       const QString &prefecture) { xian_list(grid, table, db, province, prefecture); };
}

} // namespace granwise
