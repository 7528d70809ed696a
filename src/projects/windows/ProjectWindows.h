#pragma once

#include "store/AppContext.h"

class QWidget;

namespace granwise {

// "数据维护" › "粮食流通基础设施建设投资统计基础报表": opens the project list modally and returns
// when it has closed (with the entry form or other windows it opened).
void openProjectList(QWidget *parent, const AppContext &context);

} // namespace granwise
