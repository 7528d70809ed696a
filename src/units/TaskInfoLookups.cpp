#include "TaskInfoLookups.h"

#include "TaskInfoTexts.h"
#include "store/Database.h"

#include <utility>

namespace granwise::taskinfo {

using namespace Qt::StringLiterals;

namespace {

enum class Names { AsStored, Trimmed };

QStringList columnValues(const QString &path, Names names, const QString &sql, const QString &column,
                         const QVariantList &values = {})
{
    Connection connection(path);
    Statement st = connection.prepare(sql);
    st.bindAll(values);
    QStringList result;
    while (st.next())
        result << (names == Names::Trimmed ? st.text(column).trimmed() : st.text(column));
    return result;
}

QString firstCode(const QString &path, const QString &sql, const QVariantList &values)
{
    Connection connection(path);
    Statement st = connection.prepare(sql);
    st.bindAll(values);
    return st.next() ? st.text(u"代码"_s) : QString();
}

QString quotedIdentifier(QString name)
{
    return u'"' + name.replace(u'"', u"\"\""_s) + u'"';
}

} // namespace

TaskInfoLookups::TaskInfoLookups(QString databasePath) : m_path(std::move(databasePath)) {}

std::optional<TaskInfo> TaskInfoLookups::record() const
{
    return readTaskInfo(m_path);
}

QStringList TaskInfoLookups::years() const
{
    return columnValues(m_path, Names::AsStored, u"select 年度 from 年度 order by rowid"_s, u"年度"_s);
}

QStringList TaskInfoLookups::provinces() const
{
    return columnValues(m_path, Names::Trimmed, u"select 名称 from province order by rowid"_s, u"名称"_s);
}

QStringList TaskInfoLookups::levels(const QString &affiliation) const
{
    return columnValues(m_path, Names::AsStored, u"select 汇总级别 from 汇总级别 where 隶属关系 = ? order by 序号"_s,
                        u"汇总级别"_s, {affiliation});
}

QString TaskInfoLookups::provinceCode(const QString &province) const
{
    return firstCode(m_path, u"select 代码 from province where 名称 = ? order by rowid"_s, {province});
}

QStringList TaskInfoLookups::prefectures(const QString &provinceCode) const
{
    return columnValues(m_path, Names::Trimmed,
                        u"select 名称 from city where substr(代码, 1, 2) = ? order by rowid"_s, u"名称"_s, {provinceCode});
}

QString TaskInfoLookups::prefectureCode(const QString &prefecture, const QString &province) const
{
    return firstCode(m_path, u"select 代码 from city where 名称 = ? and 省 = ? order by rowid"_s, {prefecture, province});
}

QStringList TaskInfoLookups::counties(const QString &prefectureCode) const
{
    return columnValues(m_path, Names::Trimmed,
                        u"select 名称 from county where substr(代码, 1, 4) = ? order by rowid"_s, u"名称"_s, {prefectureCode});
}

QString TaskInfoLookups::countyCode(const QString &province, const QString &prefecture, const QString &county) const
{
    return firstCode(m_path, u"select 代码 from county where 省 = ? and 市 = ? and 名称 = ? order by rowid"_s,
                     {province, prefecture, county});
}

QStringList TaskInfoLookups::branches(const QString &table) const
{
    Connection connection(m_path);
    if (!table.endsWith(text::BranchTableSuffix) || !connection.tableExists(table))
        throw Error(text::NoBranchTable.arg(table));
    // The name is one of the database's own tables, checked above, so it may stand in the text.
    Statement st = connection.prepare(u"select 分公司 from %1 order by rowid"_s.arg(quotedIdentifier(table)));
    QStringList names;
    while (st.next())
        names << st.text(0).trimmed();
    return names;
}

} // namespace granwise::taskinfo
