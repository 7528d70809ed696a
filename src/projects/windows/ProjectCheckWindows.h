#pragma once

#include "store/AppContext.h"

class QWidget;

namespace granwise {

// "数据维护" › "校验结果": every rule every project breaks, filtered by region and rule, saved as
// the workbook sent back to the units.
void openRuleReportWindow(QWidget *parent, const AppContext &context);

// "数据维护" › "疑似异常": values that pass the rules but are unlikely.
void openReviewWindow(QWidget *parent, const AppContext &context);

} // namespace granwise
