#include "TableHalves.h"

namespace granwise {

using namespace Qt::StringLiterals;

RowidRange rowidRange(Connection &connection, const QString &table)
{
    Statement range = connection.prepare(u"select min(rowid), max(rowid) from \""_s + table + u'"');
    if (!range.next() || range.isNull(0))
        return {};
    return {range.value(0).toLongLong(), range.value(1).toLongLong()};
}

} // namespace granwise
