#include "AllReports.h"

#include "reports/regional/RegionalReports.h"
#include "reports/status/ReportingStatusReport.h"
#include "reports/summary/SummaryReports.h"

#include <QtGlobal>

namespace granwise {

void registerAllReports()
{
    static const bool once = [] {
        registerRegionalReports();
        registerSummaryReports();
        registerReportingStatus();
        return true;
    }();
    Q_UNUSED(once);
}

} // namespace granwise
