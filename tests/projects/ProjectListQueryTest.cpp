#include "TestSupport.h"
#include "projects/ProjectListQuery.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

QVariantMap project(const QString &name, const QString &enterprise, const QString &modifiedAt,
                    const QVariantMap &more = {})
{
    QVariantMap values = more;
    values.insert(u"项目名称"_s, name);
    values.insert(u"企业详细名称"_s, enterprise);
    values.insert(u"修改时间"_s, modifiedAt);
    return values;
}

QStringList names(const QVector<ProjectListRow> &rows)
{
    QStringList list;
    for (const ProjectListRow &row : rows)
        list << row[kProjectNameColumn];
    return list;
}

TEST(ProjectListQuery, FilterTakesTheFilledInputsInOrderAsLiteralSubstrings)
{
    const ListFilter filter = substringFilter({{u"省"_s, u" 河南 "_s},
                                               {u"隶属关系"_s, u""_s},
                                               {u"项目类别"_s, u"  "_s},
                                               {u"项目名称"_s, u"50%_a\\b"_s}});
    EXPECT_EQ(filter.sql, u" and 省 like ? escape '\\' and 项目名称 like ? escape '\\'"_s);
    EXPECT_EQ(filter.values, (QVariantList{u"%河南%"_s, u"%50\\%\\_a\\\\b%"_s}));
    EXPECT_EQ(projectListSql(filter),
              u"select 隶属关系, 省, 企业详细名称, 项目名称, 项目类别, 项目单位性质, 建设性质, 项目进展, 校验状态 "
              u"from TZ_XIANGMU where id is not null and 省 like ? escape '\\' and 项目名称 like ? escape '\\' "
              u"order by 修改时间 desc, id desc"_s);
    EXPECT_EQ(substringFilter({{u"省"_s, u""_s}}), ListFilter{});
    EXPECT_EQ(conditionFilter(u"建设_平房仓>? or 省 like ?"_s, {5, u"%河%"_s}),
              (ListFilter{u" and (建设_平房仓>? or 省 like ?)"_s, {5, u"%河%"_s}}));
}

TEST(ProjectListQuery, ListsNewestFirstWithTheTenCells)
{
    test::TempDatabase db;
    db.addProject(project(u"旧"_s, u"甲"_s, u"2013-01-02 08:00:00"_s,
                          {{u"隶属关系"_s, u"地方企业"_s}, {u"省"_s, u"河南省"_s}, {u"项目类别"_s, u"其他项目"_s},
                           {u"项目单位性质"_s, u"民营"_s}, {u"建设性质"_s, u"扩建"_s}, {u"项目进展"_s, u"在建项目"_s},
                           {u"校验状态"_s, u"1"_s}}));
    db.addProject(project(u"新"_s, u"乙"_s, u"2013-11-30 17:00:00"_s, {{u"校验状态"_s, u"0"_s}}));
    db.addProject(project(u"中"_s, u"丙"_s, u"2013-02-01 00:00:00"_s));
    Connection c = db.connect();
    const QVector<ProjectListRow> rows = fetchProjectList(c, {});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(names(rows), (QStringList{u"新"_s, u"中"_s, u"旧"_s}));
    EXPECT_EQ(rows[2], (ProjectListRow{u"3"_s, u"地方企业"_s, u"河南省"_s, u"甲"_s, u"旧"_s, u"其他项目"_s, u"民营"_s,
                                       u"扩建"_s, u"在建项目"_s, u"通过"_s}));
    EXPECT_EQ(rows[0][9], u"否"_s);
    EXPECT_EQ(rows[1][9], u"否"_s); // no status at all
    EXPECT_EQ(projectListHeadings().at(kProjectNameColumn), u"项目名称"_s);
    EXPECT_EQ(projectListHeadings().at(kEnterpriseNameColumn), u"企业名称"_s);
}

TEST(ProjectListQuery, PercentAndUnderscoreAreMatchedLiterally)
{
    test::TempDatabase db;
    const QString time = u"2013-01-01 00:00:00"_s;
    for (const QString &name : {u"增容50%工程"_s, u"增容500工程"_s, u"A_B仓"_s, u"AXB仓"_s, u"ab仓"_s, u"Ab\"仓"_s})
        db.addProject(project(name, u"甲"_s, time));
    Connection c = db.connect();
    const auto find = [&](const QString &text) {
        QStringList found = names(fetchProjectList(c, substringFilter({{u"项目名称"_s, text}})));
        found.sort();
        return found;
    };
    EXPECT_EQ(find(u"50%"_s), QStringList{u"增容50%工程"_s});
    EXPECT_EQ(find(u"A_B"_s), QStringList{u"A_B仓"_s});
    EXPECT_EQ(find(u"%"_s), QStringList{u"增容50%工程"_s});
    EXPECT_EQ(find(u"b\""_s), QStringList{u"Ab\"仓"_s});
    EXPECT_EQ(find(u"AB"_s), (QStringList{u"Ab\"仓"_s, u"ab仓"_s})); // letters regardless of case
    EXPECT_TRUE(find(u"不存在"_s).isEmpty());
}

TEST(ProjectListQuery, ProvincesPresentAndDeleteByKey)
{
    test::TempDatabase db;
    const QString time = u"2013-01-01 00:00:00"_s;
    db.addProject(project(u"仓\"1"_s, u"甲'库"_s, time, {{u"省"_s, u"河南省"_s}}));
    db.addProject(project(u"仓\"1"_s, u"甲'库"_s, time, {{u"省"_s, u"河北省"_s}}));
    db.addProject(project(u"仓\"1"_s, u"乙库"_s, time, {{u"省"_s, u"河南省"_s}}));
    Connection c = db.connect();
    QStringList provinces = provincesPresent(c);
    provinces.sort();
    EXPECT_EQ(provinces, (QStringList{u"河北省"_s, u"河南省"_s}));

    EXPECT_EQ(deleteProject(c, u"仓\"1"_s, u"甲'库"_s), 2);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_EQ(fetchProjectList(c, {}).at(0)[kEnterpriseNameColumn], u"乙库"_s);
}

} // namespace
} // namespace granwise
