#pragma once

#include "projects/ProjectValues.h"
#include "store/Database.h"

#include <QString>

namespace granwise::test {

// A project as a filled-in entry form holds it: every required field, a six-digit postal code,
// blank figures.
inline ProjectValues filledForm(const QString &projectName = QStringLiteral("一号仓"),
                                const QString &enterpriseName = QStringLiteral("郑州粮库"))
{
    return ProjectValues{
        {QStringLiteral("企业代码"), QStringLiteral("E-001")},
        {QStringLiteral("企业详细名称"), enterpriseName},
        {QStringLiteral("企业详细地址"), QStringLiteral("中原路1号")},
        {QStringLiteral("省"), QStringLiteral("河南省")},
        {QStringLiteral("地市"), QStringLiteral("郑州市")},
        {QStringLiteral("县"), QStringLiteral("中原区")},
        {QStringLiteral("邮政编码"), QStringLiteral("450000")},
        {QStringLiteral("隶属关系"), QStringLiteral("地方企业")},
        {QStringLiteral("年度"), QStringLiteral("2013")},
        {QStringLiteral("项目类别"), QStringLiteral("粮油仓储设施项目")},
        {QStringLiteral("项目名称"), projectName},
        {QStringLiteral("项目单位性质"), QStringLiteral("国有及国有控股")},
        {QStringLiteral("建设性质"), QStringLiteral("新建")},
        {QStringLiteral("项目进展"), QStringLiteral("前期项目")},
        {QStringLiteral("本年度开工项目"), QStringLiteral("否")},
        {QStringLiteral("填报人"), QStringLiteral("张三")},
        {QStringLiteral("联系电话"), QStringLiteral("0371-12345678")},
        {QStringLiteral("审核人"), QStringLiteral("李四")},
    };
}

// One column of every row of TZ_XIANGMU, in id order, as text.
inline QStringList columnOfAll(Connection &connection, const QString &column)
{
    QStringList texts;
    Statement st = connection.prepare(QStringLiteral("select ") + column + QStringLiteral(" from TZ_XIANGMU order by id"));
    while (st.next())
        texts << st.text(0);
    return texts;
}

} // namespace granwise::test
