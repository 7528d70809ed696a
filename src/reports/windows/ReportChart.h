#pragma once

#include "reports/frame/ReportDefinition.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

class QChart;

namespace granwise {

// What a table's chart shows.
enum class ChartKind {
    None,     // the table has no chart
    Regions,  // the regional tables (1-2 .. 1-22, 2-10 .. 2-18): one bar per province row, or per
              // listed prefecture or county, coloured by grain area
    Sections, // the summary tables 1-1 and 1-27: one bar per row of every section, coloured by section
};
ChartKind chartKindOf(const ReportDefinition &definition);

// A colour of the chart and what it stands for (a grain area, a listed province, a section).
struct ChartGroup {
    QString name;
    QColor colour;
};

// One bar: a row of the grid, its figure in the charted column and its group.
struct ChartBar {
    QString label;
    double value = 0;
    int group = 0;
    int row = 0;
};

struct ReportChartData {
    QString title;   // the table's title
    QString heading; // the charted column's head
    int column = 1;
    QVector<ChartGroup> groups;
    QVector<ChartBar> bars; // in the order of the grid
};

// The grain areas' colours, in the order 主产区, 产销平衡区, 主销区.
const QVector<ChartGroup> &grainAreaGroups();

// The chart of one figure column of a grid (a column that holds no figures charts column 1).
// Whole-country regional tables chart their province rows, listings their listed rows,
// summary tables the rows of their sections; totals and subtotals are never bars.
ReportChartData reportChartData(const ReportDefinition &definition, const ReportGrid &grid, int column);

// The head of a column as one line: the lowest head over it (a "其中" part rather than "其中").
QString columnHeading(const ReportGrid &grid, int column);

// The chart as Qt Charts draws it: horizontal bars in the grid's order from the top, one bar set
// per group in its colour (each bar lies in the set of its group only), a legend of the groups.
// The caller owns it.
QChart *buildReportChart(const ReportChartData &data);

// The chart drawn offscreen into an image of the given size.
QImage reportChartImage(const ReportChartData &data, const QSize &size);

// The size of a saved chart picture.
inline constexpr QSize ChartPictureSize{1200, 800};

// The proposed file name of a chart picture: the title, the column's head and the date.
QString proposedChartName(const ReportChartData &data, const QDate &day);

// Saves the chart as a PNG file; the file is replaced only once complete, a failure throws an
// Error.
void saveReportChart(const ReportChartData &data, const QString &path, const QSize &size = ChartPictureSize);

} // namespace granwise
