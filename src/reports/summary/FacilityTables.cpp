#include "SummaryReports.h"

namespace granwise {

void registerFacilityTables()
{
}

} // namespace granwise
