#pragma once

#include "GroupedSums.h"
#include "RegionRowList.h"
#include "ReportDefinition.h"

namespace granwise {

// A figure column of a regional table: the sum of some measures (for a split table, over the
// projects of one category only), divided by `divisor` (1, or 10000 for a column shown in
// 万平方米 or 万亩).
struct FigureColumn {
    QVector<int> measures;
    QString category; // split tables: the value of the split column this column counts
    double divisor = 1;
};

// The figures of a regional table. `columns[i]` fills grid column i + 1; the row-total column
// (if any) has no measures of its own and is the sum of `rowTotalParts` in every province,
// central and listed row. Group, subtotal and total rows add up their rows in every column.
struct RegionalFigures {
    QVector<Measure> measures;
    QString splitColumn; // the category column of a split table (项目单位性质, 建设性质, 项目类别)
    QVector<FigureColumn> columns;
    int rowTotalColumn = 0; // 0: no row-total formula
    QVector<int> rowTotalParts;
};

// A table by region: its whole-country rows (RegionRowList or a plan of its own) and its figures.
struct RegionalTable {
    RowPlan plan;
    RegionalFigures figures;
};

// The operations every regional window runs, as functions of the grid and the database.
// Whole-country table in the combined layout (yangqi_no_list) or the separate one
// (yangqi_list): the plan decides; both are one pass over the projects, placed by province code
// and, in the separate layout, by company.
void fillWholeTable(ReportGrid &grid, const RegionalTable &table, const QString &databasePath);
// The same with RegionRowList: central enterprises listed separately (yangqi_list) or not
// (yangqi_no_list).
void yangqi_list(ReportGrid &grid, const RegionalFigures &figures, const RegionWording &wording,
                 const QString &databasePath);
void yangqi_no_list(ReportGrid &grid, const RegionalFigures &figures, const RegionWording &wording,
                    const QString &databasePath);
// Prefecture listing of a province (diqu_list) and county listing of a prefecture (xian_list):
// a total row "{P}合计" / "{C}合计" over one row per prefecture (county) of every project of the
// province (prefecture), local or central, in the order of their division codes.
void diqu_list(ReportGrid &grid, const RegionalTable &table, const QString &databasePath, const QString &province);
void xian_list(ReportGrid &grid, const RegionalTable &table, const QString &databasePath, const QString &province,
               const QString &prefecture);

// Makes a definition compute as a regional table: the whole-country table with `table`, the
// listings with its figures.
void useRegionalTable(ReportDefinition &definition, const RegionalTable &table);

} // namespace granwise
