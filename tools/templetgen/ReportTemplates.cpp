#include "TemplateWriters.h"

namespace granwise::templets {

void writeReportTemplates(const QString &directory)
{
    Q_UNUSED(directory);
}

} // namespace granwise::templets
