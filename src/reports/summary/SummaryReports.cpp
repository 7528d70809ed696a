#include "SummaryReports.h"

#include <QtGlobal>

namespace granwise {

void registerSummaryReports()
{
    static const bool once = [] {
        registerInvestmentSummaryTables();
        registerFacilityTables();
        return true;
    }();
    Q_UNUSED(once);
}

} // namespace granwise
