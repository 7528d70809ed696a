#include "ProjectTestData.h"
#include "TestSupport.h"
#include "projects/ProjectSave.h"
#include "projects/ProjectStore.h"
#include "store/Error.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

class ProjectSaveTest : public ::testing::Test {
protected:
    static ProjectValues centralForm()
    {
        ProjectValues values = test::filledForm();
        values[u"隶属关系"_s] = u"中央企业"_s;
        values[u"公司"_s] = u"中储粮"_s;
        values[u"分公司"_s] = u"中储粮河南分公司"_s;
        return values;
    }

    // Saves as the entry form does; `validate` answers the question whether to validate.
    SaveOutcome save(const ProjectValues &values, const SaveTarget &target = {}, bool validate = true)
    {
        return saveProject(db.path(), values, target, [&] { ++questions; return validate; }, now);
    }

    test::TempDatabase db;
    const QDateTime now{QDate(2013, 6, 1), QTime(8, 0, 0)};
    int questions = 0;
};

TEST_F(ProjectSaveTest, RequiredFieldsAreTestedInOrderWithTheirMessages)
{
    struct Required {
        const char16_t *column;
        const char16_t *message;
        bool paint;
    };
    const Required order[] = {
        {u"企业代码", u"请输入企业代码", true},         {u"企业详细名称", u"请输入企业详细名称", true},
        {u"省", u"请输入企业所在省   ", true},          {u"地市", u"请输入企业所在市   ", true},
        {u"县", u"请输入企业所在县   ", true},          {u"邮政编码", u"请输入邮政编码", false},
        {u"公司", u"请选择所属公司", true},             {u"分公司", u"请选择分公司", true},
        {u"年度", u"请输入年度  ", true},               {u"项目名称", u"请输入项目名称", true},
        {u"填报人", u"请输入填报人", false},            {u"联系电话", u"请输入联系电话", false},
        {u"审核人", u"请输入审核人", false},
    };
    const int n = int(std::size(order));
    for (int missing = 0; missing < n; ++missing) {
        // This field and every later one are empty (blanks count as empty): the save stops here.
        ProjectValues values = centralForm();
        for (int later = missing; later < n; ++later)
            values[QString::fromUtf16(order[later].column)] = later == missing ? u"  "_s : QString();
        const SaveOutcome outcome = save(values);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.focusColumn, QString::fromUtf16(order[missing].column));
        EXPECT_EQ(outcome.paintYellow, order[missing].paint);
        EXPECT_EQ(outcome.message, QString::fromUtf16(order[missing].message));
    }
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectSaveTest, ALocalEnterpriseNeedsNoCompany)
{
    ProjectValues values = centralForm();
    values[u"公司"_s].clear();
    values[u"分公司"_s].clear();
    EXPECT_EQ(save(values).focusColumn, u"公司"_s);

    values[u"隶属关系"_s] = u"地方企业"_s;
    EXPECT_TRUE(save(values).saved);
}

TEST_F(ProjectSaveTest, TheAnswerToTheQuestionDecidesTheStatus)
{
    ASSERT_TRUE(save(test::filledForm(u"未校验"_s), {}, false).saved);
    EXPECT_EQ(questions, 1);
    ASSERT_TRUE(save(test::filledForm(u"已校验"_s), {}, true).saved);

    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"项目名称"_s), (QStringList{u"未校验"_s, u"已校验"_s}));
    EXPECT_EQ(test::columnOfAll(c, u"校验状态"_s), (QStringList{u"0"_s, u"1"_s}));
    EXPECT_EQ(test::columnOfAll(c, u"修改时间"_s), QStringList(2, u"2013-06-01 08:00:00"_s));
}

TEST_F(ProjectSaveTest, AFailedCheckWritesNothing)
{
    db.addProject({{u"项目名称"_s, u"一号仓"_s}, {u"企业详细名称"_s, u"郑州粮库"_s}, {u"校验状态"_s, u"1"_s}});
    ProjectValues values = test::filledForm();
    values[u"邮政编码"_s] = u"45000"_s;
    const SaveTarget target{EntryMode::Edit, u"一号仓"_s, u"郑州粮库"_s};
    const SaveOutcome outcome = save(values, target, true);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.focusColumn, u"邮政编码"_s);
    EXPECT_EQ(outcome.message, u"要求：邮政编码必须为6位"_s);
    {
        Connection unchanged = db.connect();
        EXPECT_EQ(test::columnOfAll(unchanged, u"校验状态"_s), QStringList{u"1"_s});
    }

    // Declining the check saves the same figures unvalidated.
    EXPECT_TRUE(save(values, target, false).saved);
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"校验状态"_s), QStringList{u"0"_s});
    EXPECT_EQ(test::columnOfAll(c, u"邮政编码"_s), QStringList{u"45000"_s});
}

TEST_F(ProjectSaveTest, AFigureHoldingOnlyASignIsRefusedBeforeTheQuestion)
{
    ProjectValues values = test::filledForm();
    values[u"累计_银行贷款"_s] = u" -"_s;
    const SaveOutcome outcome = save(values);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.focusColumn, u"累计_银行贷款"_s);
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(outcome.message.contains(u"“ -”"_s)) << outcome.message.toStdString();
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectSaveTest, AFigureBeyondTheRangeOfANumberIsRefused)
{
    for (const QString &text : {u"1e309"_s, u"-1e999"_s, u"1.8e308"_s}) {
        SCOPED_TRACE(text.toStdString());
        ProjectValues values = test::filledForm();
        values[u"建设_平房仓"_s] = text;
        const SaveOutcome outcome = save(values);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.focusColumn, u"建设_平房仓"_s);
        EXPECT_TRUE(outcome.message.contains(u"“"_s + text + u"”不是数字"_s)) << outcome.message.toStdString();
    }
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectSaveTest, ADerivedFigureIsStoredAsItsPartsAddUp)
{
    ProjectValues values = test::filledForm();
    values[u"建设_平房仓"_s] = u"3"_s;
    values[u"建设_立筒仓"_s] = u"4.5"_s;
    values[u"建设_新建仓容"_s] = u"999"_s; // not what the form would show
    values[u"完成_保粮设备"_s] = u"0.1"_s;
    values[u"完成_烘干设备"_s] = u"0.2"_s;
    values[u"完成_机械设备"_s] = u"0.3"_s; // what the form shows for 0.1 + 0.2
    ASSERT_TRUE(save(values, {}, false).saved);
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"建设_新建仓容"_s), QStringList{u"7.5"_s});
    EXPECT_EQ(test::columnOfAll(c, u"完成_机械设备"_s), QStringList{u"0.3"_s});

    // Parts adding up beyond the range of a number cannot be stored.
    values[u"建设_平房仓"_s] = u"1e308"_s;
    values[u"建设_立筒仓"_s] = u"1e308"_s;
    try {
        storeProject(c, values, {}, u"0"_s, now);
        ADD_FAILURE() << "stored";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"“建设_新建仓容”各项之和超出了数字的范围，无法保存。"_s);
    }
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
}

} // namespace
} // namespace granwise
