#pragma once

#include "ReportingStatus.h"

namespace granwise {

class ReportGrid;

// Adds the window "报送情况" (class TFrmReported, an immediate window) to the report registry:
// who of the units below the office has reported, for the region of the task information.
// Calling it again changes nothing.
void registerReportingStatus();

// The rows of the table: "合计", then one row per unit (its name, code, number of projects,
// investment and "已报送" or "未报送"; a unit without projects is marked), then, when there are
// any, a heading and one row per project that no unit takes (enterprise, code, project name).
// The title row names the region.
void writeReportingStatus(ReportGrid &grid, const ReportingStatus &status);

} // namespace granwise
