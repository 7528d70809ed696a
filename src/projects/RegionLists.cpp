#include "RegionLists.h"

#include "store/Database.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QStringList trimmedColumn(Connection &connection, const QString &sql, const QVariantList &values)
{
    QStringList names;
    Statement st = connection.prepare(sql);
    st.bindAll(values);
    while (st.next())
        names << st.text(0).trimmed();
    return names;
}

} // namespace

QStringList provinceNames(Connection &connection)
{
    return trimmedColumn(connection, u"select 名称 from province order by rowid"_s, {});
}

QStringList prefectureNames(Connection &connection, const QString &province)
{
    const QString code =
        connection.scalar(u"select 代码 from province where 名称 = ? order by rowid limit 1"_s, {province})
            .toString()
            .left(2);
    if (code.isEmpty())
        return {};
    return trimmedColumn(connection, u"select 名称 from city where substr(代码, 1, 2) = ? order by rowid"_s, {code});
}

QStringList countyNames(Connection &connection, const QString &province, const QString &prefecture)
{
    const QString code =
        connection
            .scalar(u"select 代码 from city where 名称 = ? and 省 = ? order by rowid limit 1"_s, {prefecture, province})
            .toString()
            .left(4);
    if (code.isEmpty())
        return {};
    return trimmedColumn(connection, u"select 名称 from county where substr(代码, 1, 4) = ? order by rowid"_s,
                         {code});
}

QString regionCode(Connection &connection, const QString &province, const QString &prefecture,
                   const QString &county)
{
    return connection
        .scalar(u"select 代码 from county where 省 = ? and 市 = ? and 名称 = ? order by rowid limit 1"_s,
                {province, prefecture, county})
        .toString();
}

QStringList branchNames(Connection &connection, const QString &company)
{
    const QString table = company + u"分公司"_s;
    if (!connection.tableExists(table) || !connection.columnNames(table).contains(u"分公司"_s))
        throw Error(u"数据库错误：找不到分公司表“%1”"_s.arg(table));
    QString quoted = table;
    quoted.replace(u'"', u"\"\""_s);
    return trimmedColumn(connection, u"select 分公司 from \"%1\" order by rowid"_s.arg(quoted), {});
}

} // namespace granwise
