#include "ProjectWindows.h"

#include "ProjectListWindow.h"

namespace granwise {

void openProjectList(QWidget *parent)
{
    TFrmList1 list(parent);
    list.exec();
}

} // namespace granwise
