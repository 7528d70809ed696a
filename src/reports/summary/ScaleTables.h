#pragma once

namespace granwise {

// Tables 2-1 to 2-9 (window TFrmb2_1): the planned and this year's completed construction scale
// of every facility item, over all projects or those of one enterprise nature, affiliation or
// stage of progress; all nine are saved into the 2-1 template with their own title.
void registerScaleTables();

} // namespace granwise
