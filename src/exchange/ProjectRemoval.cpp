#include "ProjectRemoval.h"

#include "store/Database.h"
#include "store/Journal.h"
#include "store/JournalTexts.h"

namespace granwise {

using namespace Qt::StringLiterals;

int deleteProjectsByKey(const QString &databasePath, const QString &enterprise, const QString &project)
{
    Connection connection(databasePath);
    Transaction transaction(connection);
    JournalEntry entry(connection, journal::texts::Delete);
    entry.keepKey(enterprise, project);
    const int removed =
        connection.execute(u"delete from TZ_XIANGMU where 企业详细名称 = ? and 项目名称 = ?"_s, {enterprise, project});
    entry.setCounts(journal::texts::DeleteCounts.arg(enterprise, project).arg(removed));
    transaction.commit();
    return removed;
}

std::optional<QString> regionCodePrefix(const QString &code)
{
    if (code.size() != 6)
        return std::nullopt;
    for (const QChar c : code)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    if (code.startsWith(u"00"_s))
        return std::nullopt;
    if (code.endsWith(u"0000"_s))
        return code.left(2);
    if (code.endsWith(u"00"_s))
        return code.left(4);
    return code;
}

int deleteProjectsInRegion(const QString &databasePath, const QString &prefix)
{
    Connection connection(databasePath);
    Transaction transaction(connection);
    JournalEntry entry(connection, journal::texts::Delete);
    entry.keepWhere(u"substr(行政区划代码, 1, ?) = ?"_s, {int(prefix.size()), prefix});
    const int removed = connection.execute(
        u"delete from TZ_XIANGMU where substr(行政区划代码, 1, ?) = ?"_s, {int(prefix.size()), prefix});
    entry.setCounts(journal::texts::DeleteRegionCounts.arg(prefix).arg(removed));
    transaction.commit();
    return removed;
}

} // namespace granwise
