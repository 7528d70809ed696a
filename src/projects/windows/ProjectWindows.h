#pragma once

class QWidget;

namespace granwise {

// "数据维护" › "粮食流通基础设施建设投资统计基础报表": opens the project list modally and returns
// when the whole stack of list and entry-form windows opened from it has closed.
void openProjectList(QWidget *parent);

} // namespace granwise
