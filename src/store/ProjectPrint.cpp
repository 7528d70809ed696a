#include "ProjectPrint.h"

#include "ProjectColumns.h"

#include <cstring>

namespace granwise {

qint64 ValuePrint::value() const
{
    qint64 result;
    std::memcpy(&result, &m_hash, sizeof result);
    return result;
}

QStringList projectPrintColumns()
{
    QStringList names;
    for (const ProjectColumn &c : projectColumns())
        if (c.name != col::Id && c.name != col::ValidationStatus)
            names << c.name;
    return names;
}

} // namespace granwise
