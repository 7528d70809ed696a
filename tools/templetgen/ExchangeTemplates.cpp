#include "TemplateWriters.h"

namespace granwise::templets {

void writeExchangeTemplates(const QString &directory)
{
    Q_UNUSED(directory);
}

} // namespace granwise::templets
