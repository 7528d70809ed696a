#include "ProjectListQuery.h"

#include "ProjectTexts.h"
#include "store/Database.h"
#include "store/Journal.h"
#include "store/JournalTexts.h"

namespace granwise {

using namespace Qt::StringLiterals;

QString containsPattern(const QString &text)
{
    QString escaped;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

ListFilter substringFilter(const QVector<QPair<QString, QString>> &columnTexts)
{
    ListFilter filter;
    for (const auto &[column, text] : columnTexts) {
        const QString value = text.trimmed();
        if (value.isEmpty())
            continue;
        filter.sql += u" and "_s + column + u" like ? escape '\\'"_s;
        filter.values << containsPattern(value);
    }
    return filter;
}

ListFilter conditionFilter(const QString &condition, const QVariantList &values)
{
    return {u" and ("_s + condition + u')', values};
}

QString projectListSql(const ListFilter &filter)
{
    return u"select 隶属关系, 省, 企业详细名称, 项目名称, 项目类别, 项目单位性质, 建设性质, 项目进展, 校验状态 "
           u"from TZ_XIANGMU where id is not null"_s
        + filter.sql + u" order by 修改时间 desc, id desc"_s;
}

const QStringList &projectListHeadings()
{
    static const QStringList headings{u"序号"_s,     u"隶属关系"_s,     u"省份"_s,     u"企业名称"_s, u"项目名称"_s,
                                      u"项目类别"_s, u"项目单位性质"_s, u"建设性质"_s, u"项目进展"_s, u"校验"_s};
    return headings;
}

QVector<ProjectListRow> fetchProjectList(Connection &connection, const ListFilter &filter)
{
    QVector<ProjectListRow> rows;
    Statement st = connection.prepare(projectListSql(filter));
    st.bindAll(filter.values);
    while (st.next()) {
        ProjectListRow row;
        row[0] = QString::number(rows.size() + 1);
        for (int c = 0; c < 8; ++c)
            row[c + 1] = st.text(c);
        row[9] = st.text(8) == u"1"_s ? projects::texts::Passed : projects::texts::NotPassed;
        rows.append(std::move(row));
    }
    return rows;
}

QStringList provincesPresent(Connection &connection)
{
    QStringList provinces;
    Statement st = connection.prepare(u"select 省 from TZ_XIANGMU group by 省"_s);
    while (st.next())
        provinces << st.text(0);
    return provinces;
}

int deleteProject(Connection &connection, const QString &projectName, const QString &enterpriseName)
{
    Transaction transaction(connection);
    JournalEntry entry(connection, journal::texts::Delete);
    entry.keepKey(enterpriseName, projectName);
    const int removed =
        connection.execute(u"delete from TZ_XIANGMU where 项目名称 = ? and 企业详细名称 = ?"_s, {projectName, enterpriseName});
    entry.setCounts(journal::texts::DeleteCounts.arg(enterpriseName, projectName).arg(removed));
    transaction.commit();
    return removed;
}

} // namespace granwise
