#pragma once

#include "reports/frame/RegionRowList.h"
#include "reports/frame/ReportDefinition.h"

namespace granwise {

// Table 1-23: the provinces regrouped into the eight grain logistics corridors, three outflow
// and five inflow, with the number of projects, their total investment and this year's
// investment. Every project counts in the row of its province code, whatever its affiliation.

// The 42 data rows: 合计, the two corridor families, each corridor with its provinces.
RowPlan corridorRows();
// The table of the window TFrmb1_23, computed as it opens.
ReportDefinition corridorDefinition();

} // namespace granwise
