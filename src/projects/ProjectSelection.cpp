#include "ProjectSelection.h"

namespace granwise {

ProjectSelection &projectSelection()
{
    static ProjectSelection selection;
    return selection;
}

} // namespace granwise
