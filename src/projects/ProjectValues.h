#pragma once

#include <QHash>
#include <QString>

namespace granwise {

// One project as the entry form holds it: column name -> text as shown on the form (numbers as
// typed, the caption of the chosen radio button, "是"/"否" for the new-start box).
using ProjectValues = QHash<QString, QString>;

} // namespace granwise
