#include "TaskInfo.h"

#include "Database.h"

#include <array>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
using Field = QString TaskInfo::*;
struct Binding {
    const char16_t *column;
    Field field;
};
constexpr std::array<Binding, 17> kFields{{
    {u"年份", &TaskInfo::year},
    {u"隶属关系", &TaskInfo::affiliation},
    {u"汇总级别", &TaskInfo::level},
    {u"省", &TaskInfo::province},
    {u"地市", &TaskInfo::prefecture},
    {u"县", &TaskInfo::county},
    {u"行政区划码", &TaskInfo::regionCode},
    {u"所属公司", &TaskInfo::company},
    {u"分公司", &TaskInfo::branch},
    {u"归属", &TaskInfo::unitName},
    {u"企业代码", &TaskInfo::enterpriseCode},
    {u"填报单位", &TaskInfo::filingUnit},
    {u"地址", &TaskInfo::address},
    {u"邮政编码", &TaskInfo::postcode},
    {u"填表人", &TaskInfo::filledBy},
    {u"联系电话", &TaskInfo::telephone},
    {u"审核人", &TaskInfo::reviewer},
}};
} // namespace

std::optional<TaskInfo> readTaskInfo(Connection &connection)
{
    Statement st = connection.prepare(u"select * from 任务信息 order by rowid limit 1"_s);
    if (!st.next())
        return std::nullopt;
    TaskInfo info;
    for (const Binding &b : kFields)
        info.*(b.field) = st.text(QString::fromUtf16(b.column));
    return info;
}

std::optional<TaskInfo> readTaskInfo(const QString &databasePath)
{
    Connection connection(databasePath);
    return readTaskInfo(connection);
}

void writeTaskInfo(Connection &connection, const TaskInfo &info)
{
    QStringList columns;
    QStringList marks;
    QVariantList values;
    for (const Binding &b : kFields) {
        columns << QString::fromUtf16(b.column);
        marks << u"?"_s;
        values << info.*(b.field);
    }
    Transaction transaction(connection);
    connection.execute(u"delete from 任务信息"_s);
    connection.execute(u"insert into 任务信息 (%1) values (%2)"_s.arg(columns.join(u','), marks.join(u',')), values);
    transaction.commit();
}

} // namespace granwise
