#pragma once

#include "reports/frame/ReportDefinition.h"

namespace granwise {

struct TaskInfo;

// The basic statistics table (粮食流通基础设施建设投资基础情况统计表): one row per indicator of
// 基础情况统计表指标, one figure column per project category and their total. Its rows are
// fixed: grid row r shows the r-2-th indicator (name, code, unit) and the figures the row map
// gives that row; head rows carry no figures.

// Rows 2 .. 139 of the grid: labels from the indicator table, figures from TZ_XIANGMU.
void fillBasicStatistics(ReportGrid &grid, const QString &databasePath);

// The text the save writes into worksheet cell (2, 2): the level text at the national level,
// otherwise the installation's 省, 地市 and 县 joined without separators.
QString basicStatisticsUnitText(const TaskInfo &info);

// The table of the window TFrmbtongj, computed as it opens.
ReportDefinition basicStatisticsDefinition();

} // namespace granwise
