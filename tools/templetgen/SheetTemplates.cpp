#include "TemplateWriters.h"

namespace granwise::templets {

void writeSheetTemplates(const QString &directory)
{
    Q_UNUSED(directory);
}

} // namespace granwise::templets
