#include "SummaryReports.h"

namespace granwise {

void registerInvestmentSummaryTables()
{
}

} // namespace granwise
