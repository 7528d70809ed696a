#pragma once

namespace granwise {

// Adds tables 1-2 to 1-22 to the report registry (windows TFrmb1_2, TFrmb1_3, TFrmb1_5,
// TFrmb1_7, TFrmb1_9, TFrmb1_11, TFrmb1_13, TFrmb1_15, TFrmb1_17, TFrmb1_19, TFrmb1_21).
// Calling it again changes nothing.
void registerRegionalReports();

} // namespace granwise
