#include "ProjectTestData.h"
#include "TestSupport.h"
#include "projects/LevelRule.h"
#include "projects/ProjectFormModel.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

// The entry form without its window: the model opened on a scratch database.
class ProjectFormModelTest : public ::testing::Test {
protected:
    void setTask(const QString &level, const QString &affiliation = LocalEnterprise)
    {
        TaskInfo task;
        task.year = u"2013"_s;
        task.level = level;
        task.affiliation = affiliation;
        task.province = u"河南省"_s;
        task.prefecture = u"郑州市"_s;
        task.county = u"中原区"_s;
        task.company = u"中储粮"_s;
        task.branch = u"中储粮河南分公司"_s;
        Connection c = db.connect();
        writeTaskInfo(c, task);
    }
    // A model opened on `target`; a failure of the opening fails the test.
    ProjectFormModel opened(const SaveTarget &target = {})
    {
        ProjectFormModel model(db.path(), target);
        EXPECT_TRUE(model.open().empty());
        return model;
    }
    void storeFilled(const QString &projectName, const QVariantMap &changes = {})
    {
        QVariantMap row;
        for (const auto &[column, text] : test::filledForm(projectName).asKeyValueRange())
            row.insert(column, text);
        row.insert(changes);
        db.addProject(row);
    }
    static SaveTarget edit(const QString &projectName, const QString &enterpriseName = u"郑州粮库"_s)
    {
        return {EntryMode::Edit, projectName, enterpriseName};
    }
    SaveOutcome save(ProjectFormModel &model, bool validate = false)
    {
        return model.save([validate] { return validate; }, now);
    }

    test::TempDatabase db;
    const QDateTime now{QDate(2013, 6, 1), QTime(8, 0, 0)};
};

TEST_F(ProjectFormModelTest, ANewFormShowsTheDefaultsAndTheLists)
{
    ProjectFormModel model = opened();
    EXPECT_EQ(model.text(u"项目类别"_s), u"粮油仓储设施项目"_s);
    EXPECT_EQ(model.text(u"建设性质"_s), u"新建"_s);
    EXPECT_EQ(model.text(col::Affiliation), LocalEnterprise);
    EXPECT_EQ(model.text(col::StartedThisYear), u"否"_s);
    EXPECT_EQ(model.text(u"总_建筑安装工程"_s), QString());
    EXPECT_EQ(model.totalText(0), QString());
    EXPECT_EQ(model.id(), QString());
    EXPECT_TRUE(model.choices(col::Province).contains(u"河南省"_s));
    EXPECT_TRUE(model.choices(col::Company).contains(u"中纺"_s));
    EXPECT_EQ(model.choices(col::Year).value(0), u"2010"_s);
    EXPECT_TRUE(model.choices(col::Prefecture).isEmpty());
    // Every column the save writes, and no bookkeeping column.
    EXPECT_TRUE(model.values().contains(col::RegionCode));
    EXPECT_FALSE(model.values().contains(col::Id));
    EXPECT_FALSE(model.values().contains(col::ModifiedAt));
}

TEST_F(ProjectFormModelTest, ARegionChoiceListsTheNextLevelAndEmptiesWhatLiesBelow)
{
    ProjectFormModel model = opened();
    model.chooseProvince(u"河南省"_s);
    EXPECT_TRUE(model.choices(col::Prefecture).contains(u"郑州市"_s));
    EXPECT_TRUE(model.choices(col::County).isEmpty());
    model.choosePrefecture(u"郑州市"_s);
    EXPECT_TRUE(model.choices(col::County).contains(u"二七区"_s));
    model.chooseCounty(u"二七区"_s);
    EXPECT_EQ(model.regionCode(), u"410103"_s);
    EXPECT_EQ(model.values().value(col::RegionCode), u"410103"_s);

    // Another province: prefecture and county emptied, its own prefectures, no counties.
    model.chooseProvince(u"河北省"_s);
    EXPECT_EQ(model.text(col::Prefecture), QString());
    EXPECT_EQ(model.text(col::County), QString());
    EXPECT_TRUE(model.choices(col::Prefecture).contains(u"石家庄市"_s));
    EXPECT_FALSE(model.choices(col::Prefecture).contains(u"郑州市"_s));
    EXPECT_TRUE(model.choices(col::County).isEmpty());

    // A typed county that is none has no code; an unknown province lists nothing.
    model.choosePrefecture(u"石家庄市"_s);
    model.chooseCounty(u"x"_s);
    EXPECT_EQ(model.regionCode(), QString());
    model.chooseProvince(u"不存在省"_s);
    EXPECT_TRUE(model.choices(col::Prefecture).isEmpty());
}

TEST_F(ProjectFormModelTest, TheCountyLevelFixesTheRegionAndListingCountiesOpensTheCounty)
{
    setTask(level::County);
    ProjectFormModel model = opened();
    EXPECT_EQ(model.text(col::Province), u"河南省"_s);
    EXPECT_EQ(model.text(col::County), u"中原区"_s);
    EXPECT_EQ(model.regionCode(), u"410102"_s);
    EXPECT_TRUE(model.choices(col::Prefecture).contains(u"开封市"_s));
    EXPECT_TRUE(model.choices(col::County).contains(u"二七区"_s));
    for (const QString &column : {col::Province, col::Prefecture, col::County, col::Year, col::Affiliation})
        EXPECT_FALSE(model.isEnabled(column)) << column.toStdString();
    EXPECT_TRUE(model.isEnabled(col::EnterpriseName));
    EXPECT_FALSE(model.companyVisible());

    // Listing the counties again (a loaded project does) opens the county box the level locked.
    storeFilled(u"一号仓"_s, {{col::County, u"二七区"_s}});
    ProjectFormModel loaded = opened(edit(u"一号仓"_s));
    EXPECT_EQ(loaded.text(col::County), u"二七区"_s);
    EXPECT_EQ(loaded.regionCode(), u"410103"_s);
    EXPECT_TRUE(loaded.isEnabled(col::County));
    EXPECT_FALSE(loaded.isEnabled(col::Prefecture));
}

TEST_F(ProjectFormModelTest, CompanyAndAffiliation)
{
    setTask(level::National);
    ProjectFormModel model = opened();
    EXPECT_FALSE(model.companyVisible());
    model.setText(col::Affiliation, CentralEnterprise);
    EXPECT_TRUE(model.companyVisible());
    model.setText(col::Branch, u"旧分公司"_s);
    model.chooseCompany(u"中纺"_s);
    EXPECT_FALSE(model.choices(col::Branch).isEmpty());
    EXPECT_EQ(model.text(col::Branch), u"旧分公司"_s); // the branch text stays

    // Only a change of the affiliation shows or hides the company boxes.
    model.setText(col::Affiliation, LocalEnterprise);
    EXPECT_FALSE(model.companyVisible());
    EXPECT_EQ(model.values().value(col::Company), u"中纺"_s); // a hidden company is still saved
    model.setText(col::Affiliation, u"未知"_s);               // reads as "地方企业": no change
    EXPECT_EQ(model.text(col::Affiliation), LocalEnterprise);
    EXPECT_FALSE(model.companyVisible());

    // A company without a branch table: the list is emptied before the lookup fails.
    try {
        model.chooseCompany(u"无此公司"_s);
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"数据库错误：找不到分公司表“无此公司分公司”"_s);
    }
    EXPECT_TRUE(model.choices(col::Branch).isEmpty());
    EXPECT_EQ(model.text(col::Company), u"无此公司"_s);
}

TEST_F(ProjectFormModelTest, RadioTextsAndTheNewStartBox)
{
    ProjectFormModel model = opened();
    model.setText(u"建设性质"_s, u"扩建"_s);
    EXPECT_EQ(model.text(u"建设性质"_s), u"扩建"_s);
    model.setText(u"建设性质"_s, u"没有这个选项"_s);
    EXPECT_EQ(model.text(u"建设性质"_s), u"扩建"_s);
    model.setText(col::RegionCode, u"999999"_s); // no control: never set by hand
    EXPECT_EQ(model.regionCode(), QString());

    model.typeNumber(u"累计_建筑安装工程"_s, u"5"_s);
    model.setText(col::StartedThisYear, u"是"_s);
    for (int p = 0; p < investmentParts().size(); ++p) {
        EXPECT_FALSE(model.isEnabled(investmentColumn(1, p))) << p;
        EXPECT_TRUE(model.isEnabled(investmentColumn(0, p))) << p;
        EXPECT_TRUE(model.isEnabled(investmentColumn(2, p))) << p;
    }
    EXPECT_EQ(model.text(u"累计_建筑安装工程"_s), u"5"_s); // locked, not emptied
    model.setText(col::StartedThisYear, u"x"_s);
    EXPECT_EQ(model.text(col::StartedThisYear), u"否"_s);
    EXPECT_TRUE(model.isEnabled(u"累计_其他投资"_s));
}

TEST_F(ProjectFormModelTest, TypingFiltersTheFigureAndRecomputesTheDerivedOnes)
{
    ProjectFormModel model = opened();
    FilteredInput typed = model.typeNumber(u"总_建筑安装工程"_s, u"12a"_s);
    EXPECT_EQ(typed.removedAt, 2);
    EXPECT_EQ(model.text(u"总_建筑安装工程"_s), u"12"_s);
    model.typeNumber(u"总_设备工器具购置"_s, u".5"_s);
    typed = model.typeNumber(u"总_其他费用"_s, u"-"_s);
    EXPECT_EQ(typed.removedAt, -1);
    EXPECT_EQ(model.text(u"总_其他费用"_s), u"-"_s); // unfinished, kept, counts 0
    EXPECT_EQ(model.totalText(0), u"12.5"_s);
    model.typeNumber(u"总_其他费用"_s, u"-0.1e"_s);
    EXPECT_EQ(model.totalText(0), u"12.4"_s);
    model.typeNumber(u"总_银行贷款"_s, u"100"_s); // a source of funds: not in the total
    EXPECT_EQ(model.totalText(0), u"12.4"_s);

    // New storage capacity sums its storage types; the "of which" item is not added.
    model.typeNumber(u"建设_平房仓"_s, u"3"_s);
    model.typeNumber(u"建设_浅圆仓"_s, u"4"_s);
    model.typeNumber(u"建设_其中钢板筒仓"_s, u"100"_s);
    EXPECT_EQ(model.text(u"建设_新建仓容"_s), u"7"_s);
    EXPECT_EQ(model.values().value(u"建设_新建仓容"_s), u"7"_s);

    // A figure or a sum of 0 shows blank; the land is no figure and keeps its 0.
    model.typeNumber(u"建设_平房仓"_s, u"0"_s);
    EXPECT_EQ(model.text(u"建设_平房仓"_s), QString());
    model.typeNumber(u"建设_浅圆仓"_s, u"0"_s);
    EXPECT_EQ(model.text(u"建设_新建仓容"_s), QString());
    EXPECT_EQ(model.totalText(1), QString());
    model.typeNumber(col::Land, u"0"_s);
    EXPECT_EQ(model.text(col::Land), u"0"_s);
}

TEST_F(ProjectFormModelTest, ALoadedProjectIsSavedBackIntoItsRow)
{
    storeFilled(u"二号\"仓\""_s, {{col::Category, u"信息化建设项目"_s}, {col::Progress, u"未知的进展"_s},
                                 {col::County, u"二七区"_s}, {col::StartedThisYear, u"是"_s},
                                 {u"累计_银行贷款"_s, 2.5}, {u"总_建筑安装工程"_s, 1.0}, {u"总_其他费用"_s, 0.25},
                                 {u"建设_新建仓容"_s, 99.0}, {u"建设_平房仓"_s, 3.0}});
    storeFilled(u"别的仓"_s);
    ProjectFormModel model = opened(edit(u"二号\"仓\""_s));
    EXPECT_EQ(model.text(col::ProjectName), u"二号\"仓\""_s);
    EXPECT_EQ(model.text(col::Category), u"信息化建设项目"_s);
    EXPECT_EQ(model.text(col::Progress), u"前期项目"_s); // no such button: the default stays
    EXPECT_EQ(model.text(u"累计_银行贷款"_s), u"2.5"_s);
    EXPECT_FALSE(model.isEnabled(u"累计_银行贷款"_s));
    EXPECT_EQ(model.text(u"总_设备工器具购置"_s), QString()); // zero shows blank
    EXPECT_EQ(model.totalText(0), u"1.25"_s);
    EXPECT_EQ(model.text(u"建设_新建仓容"_s), u"3"_s); // recomputed, not the stored 99
    EXPECT_EQ(model.regionCode(), u"410103"_s);
    EXPECT_TRUE(model.choices(col::County).contains(u"中原区"_s));
    const QString id = model.id();
    EXPECT_FALSE(id.isEmpty());

    model.setText(col::ProjectName, u"改名仓"_s);
    model.typeNumber(u"总_设备工器具购置"_s, u"2"_s);
    const SaveOutcome outcome = save(model);
    ASSERT_TRUE(outcome.saved) << outcome.message.toStdString();
    EXPECT_EQ(QString::number(outcome.id), id);
    ASSERT_TRUE(model.saved());
    EXPECT_EQ(model.saved()->id, outcome.id);
    EXPECT_EQ(model.saved()->projectName, u"改名仓"_s);
    EXPECT_EQ(model.saved()->enterpriseName, u"郑州粮库"_s);
    EXPECT_EQ(model.text(u"总_其他投资"_s), QString()); // the texts shown stay blank

    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 2);
    ProjectFormModel again = opened(edit(u"改名仓"_s));
    EXPECT_EQ(again.id(), id);
    EXPECT_EQ(again.text(u"总_设备工器具购置"_s), u"2"_s);
    EXPECT_EQ(again.text(u"累计_银行贷款"_s), u"2.5"_s);
    EXPECT_EQ(again.text(col::StartedThisYear), u"是"_s);
    EXPECT_EQ(again.totalText(0), u"3.25"_s);
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"修改时间"_s).at(0), u"2013-06-01 08:00:00"_s);
    EXPECT_EQ(test::columnOfAll(c, u"校验状态"_s).at(0), u"0"_s);
}

TEST_F(ProjectFormModelTest, AddingOrAKeyWithoutARowInsertsANewRow)
{
    storeFilled(u"一号仓"_s);
    for (const SaveTarget &target : {SaveTarget{}, edit(u"不存在"_s)}) {
        ProjectFormModel model = opened(target);
        EXPECT_EQ(model.text(col::ProjectName), QString());
        for (const auto &[column, text] : test::filledForm(u"新仓"_s).asKeyValueRange())
            model.setText(column, text);
        const SaveOutcome outcome = save(model);
        ASSERT_TRUE(outcome.saved) << outcome.message.toStdString();
        EXPECT_EQ(model.saved()->projectName, u"新仓"_s);
    }
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"项目名称"_s), (QStringList{u"一号仓"_s, u"新仓"_s, u"新仓"_s}));
}

TEST_F(ProjectFormModelTest, ARefusedSaveSaysWhyWhereAndWritesNothing)
{
    const struct {
        QVariantMap change;
        bool validate;
        QString message;
        QString column;
        bool paint;
    } cases[] = {
        {{{u"企业代码"_s, QString()}}, false, u"请输入企业代码"_s, u"企业代码"_s, true},
        {{{u"审核人"_s, u" "_s}}, false, u"请输入审核人"_s, u"审核人"_s, false},
        {{{u"建设_平房仓"_s, 1.0}, {u"完成_平房仓"_s, 2.0}}, true,
         u"要求：\"度度完成规模\"不得大于\"建设规模\""_s, u"建设_平房仓"_s, true},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"仓%1"_s.arg(++n);
        storeFilled(name, c.change);
        ProjectFormModel model = opened(edit(name));
        const SaveOutcome outcome = save(model, c.validate);
        EXPECT_FALSE(outcome.saved) << name.toStdString();
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.focusColumn, c.column);
        EXPECT_EQ(outcome.paintYellow, c.paint);
        EXPECT_FALSE(model.saved());
    }
    // A figure beyond what a number column holds is named with its text.
    storeFilled(u"大数仓"_s);
    ProjectFormModel model = opened(edit(u"大数仓"_s));
    model.typeNumber(u"本年_利用外资"_s, u"1e309"_s);
    const SaveOutcome outcome = save(model);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.message, u"“本年_利用外资”中的“1e309”不是数字，无法保存，请改正。"_s);
    EXPECT_EQ(outcome.focusColumn, u"本年_利用外资"_s);

    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"修改时间"_s).filter(u"2013-06-01"_s), QStringList{});
}

TEST_F(ProjectFormModelTest, OpeningGoesOnPastAStepThatFails)
{
    // The stored company has no branch table: the project loads, the branch list stays empty
    // and the failure is reported.
    storeFilled(u"一号仓"_s, {{col::Affiliation, CentralEnterprise}, {col::Company, u"无此公司"_s}});
    ProjectFormModel model(db.path(), edit(u"一号仓"_s));
    const std::vector<std::exception_ptr> failures = model.open();
    ASSERT_EQ(failures.size(), 1u);
    try {
        std::rethrow_exception(failures.front());
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"数据库错误：找不到分公司表“无此公司分公司”"_s);
    }
    EXPECT_EQ(model.text(col::ProjectName), u"一号仓"_s);
    EXPECT_TRUE(model.companyVisible());
    EXPECT_TRUE(model.choices(col::Branch).isEmpty());

    // A database that cannot be read at all: each step says so, the form stays as it starts.
    ProjectFormModel lost(db.dir() + u"/没有/这个.db"_s, edit(u"一号仓"_s));
    EXPECT_FALSE(lost.open().empty());
    EXPECT_EQ(lost.text(col::ProjectName), QString());
    EXPECT_EQ(lost.text(col::Affiliation), LocalEnterprise);
}

} // namespace
} // namespace granwise
