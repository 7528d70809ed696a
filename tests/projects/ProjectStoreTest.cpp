#include "ProjectTestData.h"
#include "TestSupport.h"
#include "projects/ProjectStore.h"
#include "store/ProjectColumns.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

const QDateTime kSavedAt(QDate(2013, 5, 2), QTime(9, 5, 7));

SaveTarget editing(const QString &projectName, const QString &enterpriseName)
{
    return {EntryMode::Edit, projectName, enterpriseName};
}

TEST(ProjectStore, BlankFiguresAreStoredAsZeroInEveryNumberColumn)
{
    test::TempDatabase db;
    Connection c = db.connect();
    const qint64 id = storeProject(c, test::filledForm(), {}, u"0"_s, kSavedAt);

    Statement row = c.prepare(u"select * from TZ_XIANGMU where id = ?"_s);
    row.bind(1, id);
    ASSERT_TRUE(row.next());
    int numbers = 0;
    for (const ProjectColumn &column : projectColumns()) {
        if (!column.isNumber())
            continue;
        ++numbers;
        const int i = row.columnIndex(column.name);
        EXPECT_FALSE(row.isNull(i)) << column.name.toStdString();
        EXPECT_EQ(row.value(i), QVariant(0.0)) << column.name.toStdString();
    }
    EXPECT_EQ(numbers, 108);
    EXPECT_EQ(row.text(u"修改时间"_s), u"2013-05-02 09:05:07"_s);
    EXPECT_EQ(row.text(u"校验状态"_s), u"0"_s);
    EXPECT_EQ(row.text(u"行政区划代码"_s), u"410102"_s);
    EXPECT_EQ(row.text(u"联系电话"_s), u"0371-12345678"_s);
}

TEST(ProjectStore, TextsAndFiguresAreStoredAsTheyStand)
{
    test::TempDatabase db;
    Connection c = db.connect();
    ProjectValues values = test::filledForm();
    values[u"企业详细地址"_s] = u"  中原路 1 号  "_s;
    values[u"总_建筑安装工程"_s] = u" 12.5"_s;
    values[u"本年_其他投资"_s] = u"-.25"_s;
    values[u"可用建设用地"_s] = u"1E3"_s;
    values[u"建设_平房仓"_s] = u"3"_s;
    values[u"建设_立筒仓"_s] = u"4"_s;
    values[u"建设_新建仓容"_s] = u"7"_s; // as its parts add up (one that does not is corrected)
    storeProject(c, values, {}, u"1"_s, kSavedAt);

    const std::optional<ProjectValues> stored = loadProject(c, u"一号仓"_s, u"郑州粮库"_s);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->value(u"企业详细地址"_s), u"  中原路 1 号  "_s);
    EXPECT_EQ(stored->value(u"总_建筑安装工程"_s), u"12.5"_s);
    EXPECT_EQ(stored->value(u"本年_其他投资"_s), u"-0.25"_s);
    EXPECT_EQ(stored->value(u"可用建设用地"_s), u"1000"_s);
    EXPECT_EQ(stored->value(u"建设_新建仓容"_s), u"7"_s);
    EXPECT_EQ(stored->value(u"校验状态"_s), u"1"_s);
}

TEST(ProjectStore, EditingUpdatesTheRowOfThePreviousKey)
{
    test::TempDatabase db;
    Connection c = db.connect();
    storeProject(c, test::filledForm(u"旧名"_s), {}, u"1"_s, kSavedAt);
    storeProject(c, test::filledForm(u"别的项目"_s), {}, u"1"_s, kSavedAt);

    ProjectValues renamed = test::filledForm(u"新名"_s);
    renamed[u"县"_s] = u"二七区"_s;
    storeProject(c, renamed, editing(u"旧名"_s, u"郑州粮库"_s), u"0"_s, kSavedAt.addSecs(60));

    EXPECT_EQ(test::columnOfAll(c, u"项目名称"_s), (QStringList{u"新名"_s, u"别的项目"_s}));
    EXPECT_EQ(test::columnOfAll(c, u"校验状态"_s), (QStringList{u"0"_s, u"1"_s}));
    // The region code follows the corrected county.
    EXPECT_EQ(test::columnOfAll(c, u"行政区划代码"_s), (QStringList{u"410103"_s, u"410102"_s}));
}

TEST(ProjectStore, AVanishedSelectionAndAddingAlwaysInsert)
{
    test::TempDatabase db;
    Connection c = db.connect();
    storeProject(c, test::filledForm(), editing(u"已删除"_s, u"郑州粮库"_s), u"0"_s, kSavedAt);
    storeProject(c, test::filledForm(), editing(u"项目名称"_s, u"企业名称"_s), u"0"_s, kSavedAt);
    storeProject(c, test::filledForm(), {}, u"0"_s, kSavedAt);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 3);
}

TEST(ProjectStore, DuplicateKeysUpdateOnlyTheFirstRow)
{
    test::TempDatabase db;
    Connection c = db.connect();
    storeProject(c, test::filledForm(), {}, u"0"_s, kSavedAt);
    storeProject(c, test::filledForm(), {}, u"0"_s, kSavedAt);
    ProjectValues changed = test::filledForm();
    changed[u"审核人"_s] = u"王五"_s;
    storeProject(c, changed, editing(u"一号仓"_s, u"郑州粮库"_s), u"1"_s, kSavedAt);
    EXPECT_EQ(test::columnOfAll(c, u"审核人"_s), (QStringList{u"王五"_s, u"李四"_s}));
    EXPECT_EQ(loadProject(c, u"一号仓"_s, u"郑州粮库"_s)->value(u"审核人"_s), u"王五"_s);
}

TEST(ProjectStore, KeysWithQuotesRoundTrip)
{
    test::TempDatabase db;
    Connection c = db.connect();
    const QString project = u"\"粮安\"工程 'A' 1\" or \"1\"=\"1"_s;
    const QString enterprise = u"O'Brien \"粮库\""_s;
    storeProject(c, test::filledForm(project, enterprise), {}, u"0"_s, kSavedAt);
    storeProject(c, test::filledForm(u"旁边的项目"_s, enterprise), {}, u"0"_s, kSavedAt);

    const std::optional<ProjectValues> loaded = loadProject(c, project, enterprise);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->value(u"项目名称"_s), project);
    EXPECT_EQ(loaded->value(u"企业详细名称"_s), enterprise);

    ProjectValues changed = *loaded;
    changed[u"审核人"_s] = u"赵六"_s;
    storeProject(c, changed, editing(project, enterprise), u"1"_s, kSavedAt);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 2);
    EXPECT_EQ(loadProject(c, project, enterprise)->value(u"审核人"_s), u"赵六"_s);
    EXPECT_EQ(loadProject(c, u"旁边的项目"_s, enterprise)->value(u"审核人"_s), u"李四"_s);
}

TEST(ProjectStore, AnUnknownCountyGivesAnEmptyRegionCode)
{
    test::TempDatabase db;
    Connection c = db.connect();
    ProjectValues values = test::filledForm();
    values[u"县"_s] = u"改了名的县"_s;
    storeProject(c, values, {}, u"0"_s, kSavedAt);
    EXPECT_EQ(test::columnOfAll(c, u"行政区划代码"_s), QStringList{QString()});
}

TEST(ProjectStore, AFigureThatIsNoNumberWritesNothing)
{
    test::TempDatabase db;
    Connection c = db.connect();
    storeProject(c, test::filledForm(), {}, u"0"_s, kSavedAt);
    for (const QString &text : {u"-"_s, u" +"_s, u"1e"_s}) {
        ProjectValues values = test::filledForm();
        values[u"本年_银行贷款"_s] = text;
        values[u"审核人"_s] = u"不该写入"_s;
        try {
            storeProject(c, values, editing(u"一号仓"_s, u"郑州粮库"_s), u"0"_s, kSavedAt);
            ADD_FAILURE() << "stored " << text.toStdString();
        } catch (const Error &e) {
            EXPECT_TRUE(e.text().contains(u"“"_s + text + u"”"_s)) << e.text().toStdString();
        }
    }
    EXPECT_EQ(test::columnOfAll(c, u"审核人"_s), QStringList{u"李四"_s});
}

} // namespace
} // namespace granwise
