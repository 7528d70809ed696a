#include "ProjectTestData.h"
#include "TestSupport.h"
#include "projects/ProjectSave.h"
#include "store/Clock.h"
#include "store/Error.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

class ProjectSaveTest : public ::testing::Test {
protected:
    ProjectSaveTest() { Clock::install(&clock); }
    ~ProjectSaveTest() override { Clock::install(nullptr); }

    static ProjectValues centralForm()
    {
        ProjectValues values = test::filledForm();
        values[u"隶属关系"_s] = u"中央企业"_s;
        values[u"公司"_s] = u"中储粮"_s;
        values[u"分公司"_s] = u"中储粮河南分公司"_s;
        return values;
    }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
    FixedClock clock{QDateTime(QDate(2013, 6, 1), QTime(8, 0, 0))};
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
        prompter.said.clear();
        const SaveOutcome outcome = saveProject(nullptr, values, {});
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.focusColumn, QString::fromUtf16(order[missing].column));
        EXPECT_EQ(outcome.paintYellow, order[missing].paint);
        ASSERT_EQ(prompter.said.size(), 1u);
        EXPECT_EQ(prompter.said[0].text, QString::fromUtf16(order[missing].message));
        EXPECT_EQ(prompter.said[0].caption, u"输入错误提示"_s);
        EXPECT_EQ(prompter.said[0].icon, Prompter::Icon::Information);
    }
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectSaveTest, ALocalEnterpriseNeedsNoCompany)
{
    ProjectValues values = centralForm();
    values[u"公司"_s].clear();
    values[u"分公司"_s].clear();
    EXPECT_EQ(saveProject(nullptr, values, {}).focusColumn, u"公司"_s);

    values[u"隶属关系"_s] = u"地方企业"_s;
    EXPECT_TRUE(saveProject(nullptr, values, {}).saved);
}

TEST_F(ProjectSaveTest, TheAnswerToTheQuestionDecidesTheStatus)
{
    prompter.answerNext(Prompter::Answer::Cancel);
    ASSERT_TRUE(saveProject(nullptr, test::filledForm(u"未校验"_s), {}).saved);
    EXPECT_EQ(prompter.said.at(0).text, u"是否对数据进行校验？"_s);
    EXPECT_EQ(prompter.said.at(0).caption, u"提示"_s);

    prompter.answerNext(Prompter::Answer::Ok);
    ASSERT_TRUE(saveProject(nullptr, test::filledForm(u"已校验"_s), {}).saved);

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
    prompter.answerNext(Prompter::Answer::Ok);
    const SaveOutcome outcome = saveProject(nullptr, values, {EntryMode::Edit, u"一号仓"_s, u"郑州粮库"_s});
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.focusColumn, u"邮政编码"_s);
    EXPECT_EQ(prompter.lastText(), u"要求：邮政编码必须为6位"_s);
    EXPECT_EQ(prompter.said.back().caption, u"输入错误提示"_s);

    // Declining the check saves the same figures unvalidated.
    prompter.answerNext(Prompter::Answer::Cancel);
    EXPECT_TRUE(saveProject(nullptr, values, {EntryMode::Edit, u"一号仓"_s, u"郑州粮库"_s}).saved);
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"校验状态"_s), QStringList{u"0"_s});
    EXPECT_EQ(test::columnOfAll(c, u"邮政编码"_s), QStringList{u"45000"_s});
}

TEST_F(ProjectSaveTest, AFigureHoldingOnlyASignIsRefusedBeforeTheQuestion)
{
    ProjectValues values = test::filledForm();
    values[u"累计_银行贷款"_s] = u" -"_s;
    const SaveOutcome outcome = saveProject(nullptr, values, {});
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.focusColumn, u"累计_银行贷款"_s);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_TRUE(prompter.lastText().contains(u"“ -”"_s)) << prompter.lastText().toStdString();
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectSaveTest, AFigureBeyondTheRangeOfANumberIsRefused)
{
    for (const QString &text : {u"1e309"_s, u"-1e999"_s, u"1.8e308"_s}) {
        SCOPED_TRACE(text.toStdString());
        ProjectValues values = test::filledForm();
        values[u"建设_平房仓"_s] = text;
        const SaveOutcome outcome = saveProject(nullptr, values, {});
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.focusColumn, u"建设_平房仓"_s);
        EXPECT_TRUE(prompter.lastText().contains(u"“"_s + text + u"”不是数字"_s)) << prompter.lastText().toStdString();
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
    prompter.answerNext(Prompter::Answer::Cancel);
    ASSERT_TRUE(saveProject(nullptr, values, {}).saved);
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"建设_新建仓容"_s), QStringList{u"7.5"_s});
    EXPECT_EQ(test::columnOfAll(c, u"完成_机械设备"_s), QStringList{u"0.3"_s});

    // Parts adding up beyond the range of a number cannot be stored.
    values[u"建设_平房仓"_s] = u"1e308"_s;
    values[u"建设_立筒仓"_s] = u"1e308"_s;
    try {
        storeProject(c, values, {}, u"0"_s, clock.now());
        ADD_FAILURE() << "stored";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"“建设_新建仓容”各项之和超出了数字的范围，无法保存。"_s);
    }
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
}

} // namespace
} // namespace granwise
