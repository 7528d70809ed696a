#include "ProjectWindows.h"

#include "ProjectListWindow.h"

namespace granwise {

void openProjectList(QWidget *parent, const AppContext &context)
{
    TFrmList1 list(context, parent);
    list.exec();
}

} // namespace granwise
