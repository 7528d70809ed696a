#pragma once

namespace granwise {

// Table 1-27 (window TFrmb1_27): the number of projects of each breakdown class by stage of
// progress, and of those newly started this year.
void registerProgressTable();

} // namespace granwise
