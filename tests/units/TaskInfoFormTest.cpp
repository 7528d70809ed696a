#include "TestSupport.h"
#include "units/TaskInfoForm.h"

#include "store/Error.h"
#include "store/TaskInfo.h"

#include <gtest/gtest.h>

namespace granwise::taskinfo {
namespace {

using namespace Qt::StringLiterals;

class TaskInfoFormTest : public ::testing::Test {
protected:
    TaskInfoForm openedForm() const
    {
        TaskInfoForm form{TaskInfoLookups(db.path())};
        form.open();
        return form;
    }
    void store(const TaskInfo &info) const
    {
        Connection connection(db.path());
        writeTaskInfo(connection, info);
    }
    TaskInfo stored() const
    {
        const std::optional<TaskInfo> info = readTaskInfo(db.path());
        EXPECT_TRUE(info.has_value());
        return info.value_or(TaskInfo{});
    }

    test::TempDatabase db;
};

TEST_F(TaskInfoFormTest, NewInstallationOpensWithEveryBoxOnAndNoLevels)
{
    TaskInfoForm form = openedForm();
    for (Box box : {Box::Year, Box::Affiliation, Box::Level, Box::Province, Box::Prefecture, Box::County, Box::Company,
                    Box::Branch})
        EXPECT_EQ(form.state(box), BoxState::On);
    EXPECT_EQ(form.text(Box::Year), u"2013"_s);
    EXPECT_TRUE(form.choices(Box::Level).isEmpty());
    EXPECT_EQ(form.choices(Box::Year).first(), u"2010"_s);
    EXPECT_EQ(form.choices(Box::Province).first(), u"北京市"_s);
    EXPECT_EQ(form.choices(Box::Affiliation), (QStringList{u"中央企业"_s, u"地方企业"_s}));
    EXPECT_EQ(form.choices(Box::Company), (QStringList{u"中储粮"_s, u"中粮"_s, u"华粮"_s, u"中纺"_s, u"新疆兵团"_s}));
    EXPECT_EQ(form.regionCode(), u"000000"_s);

    form.chooseAffiliation(u"地方企业"_s);
    EXPECT_EQ(form.choices(Box::Level), (QStringList{u"国家级汇总"_s, u"省级汇总"_s, u"地级汇总"_s, u"县级汇总"_s}));
    EXPECT_EQ(form.state(Box::Company), BoxState::Off);
}

TEST_F(TaskInfoFormTest, RegionChoicesNarrowTheListsAndSetTheWorkingCode)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"地方企业"_s);
    form.chooseLevel(u"县级汇总"_s);

    form.chooseProvince(u"河南省"_s);
    EXPECT_EQ(form.regionCode(), u"410000"_s);
    EXPECT_TRUE(form.choices(Box::Prefecture).contains(u"郑州市"_s));
    EXPECT_FALSE(form.choices(Box::Prefecture).contains(u"石家庄市"_s));

    form.choosePrefecture(u"郑州市"_s);
    EXPECT_EQ(form.regionCode(), u"410100"_s);
    EXPECT_EQ(form.choices(Box::County).first(), u"中原区"_s);

    form.chooseCounty(u"二七区"_s);
    EXPECT_EQ(form.regionCode(), u"410103"_s);

    // A new province empties the prefecture and county texts and lists.
    form.chooseProvince(u"北京市"_s);
    EXPECT_EQ(form.regionCode(), u"110000"_s);
    EXPECT_TRUE(form.text(Box::Prefecture).isEmpty());
    EXPECT_TRUE(form.text(Box::County).isEmpty());
    EXPECT_TRUE(form.choices(Box::County).isEmpty());
    EXPECT_FALSE(form.saveRefusal() == std::nullopt);
    EXPECT_EQ(form.saveRefusal()->message, u"请选择地市！"_s);
}

TEST_F(TaskInfoFormTest, ProvinceLevelSavesProvinceCodeAndName)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"地方企业"_s);
    form.chooseLevel(u"省级汇总"_s);
    EXPECT_EQ(form.state(Box::Prefecture), BoxState::Off);
    form.chooseProvince(u"河南省"_s);
    ASSERT_EQ(form.saveRefusal(), std::nullopt);
    form.save();

    const TaskInfo record = stored();
    EXPECT_EQ(record.year, u"2013"_s);
    EXPECT_EQ(record.affiliation, u"地方企业"_s);
    EXPECT_EQ(record.level, u"省级汇总"_s);
    EXPECT_EQ(record.province, u"河南省"_s);
    EXPECT_EQ(record.regionCode, u"410000"_s);
    EXPECT_EQ(record.unitName, u"河南省"_s);
    EXPECT_TRUE(record.prefecture.isEmpty());
    EXPECT_TRUE(record.company.isEmpty());
}

TEST_F(TaskInfoFormTest, EnterpriseLevelFixesTheEnterpriseAndStoresItsCode)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"中粮"_s);
    EXPECT_EQ(form.text(Box::Company), u"中粮"_s);
    EXPECT_EQ(form.state(Box::Company), BoxState::Fixed);
    EXPECT_EQ(form.state(Box::Branch), BoxState::Off);
    form.save();
    EXPECT_EQ(stored().regionCode, u"111111"_s);
    EXPECT_EQ(stored().unitName, u"中粮"_s);
}

TEST_F(TaskInfoFormTest, CorpsLevelCanBeChosenAndSaved)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"新疆兵团"_s); // no lookup of a table named "新疆兵团"
    EXPECT_EQ(form.text(Box::Company), u"新疆兵团"_s);
    EXPECT_EQ(form.state(Box::Branch), BoxState::Off);
    ASSERT_EQ(form.saveRefusal(), std::nullopt);
    form.save();
    EXPECT_EQ(stored().regionCode, u"333333"_s);
    EXPECT_EQ(stored().unitName, u"新疆兵团"_s);
}

TEST_F(TaskInfoFormTest, BranchLevelNeedsABranchAndStoresIt)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"中储粮分公司"_s);
    EXPECT_EQ(form.text(Box::Company), u"中储粮"_s);
    EXPECT_EQ(form.state(Box::Company), BoxState::Fixed);
    EXPECT_EQ(form.state(Box::Branch), BoxState::On);
    EXPECT_EQ(form.choices(Box::Branch).size(), 36);
    ASSERT_TRUE(form.saveRefusal().has_value());
    EXPECT_EQ(*form.saveRefusal(), (SaveRefusal{Box::Branch, u"请选择分公司！"_s}));

    // The branch choice runs the prefecture lookup on an empty prefecture box: code "00".
    form.chooseBranch(u"中储粮河南分公司"_s);
    EXPECT_EQ(form.regionCode(), u"00"_s);
    form.save();
    EXPECT_EQ(stored().regionCode, u"222222"_s);
    EXPECT_EQ(stored().unitName, u"中储粮河南分公司"_s);
    EXPECT_EQ(stored().branch, u"中储粮河南分公司"_s);
}

TEST_F(TaskInfoFormTest, CorpsBranchStoresTheWorkingCodeLeftByTheBranchChoice)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"新疆兵团分公司"_s);
    EXPECT_EQ(form.text(Box::Company), u"新疆兵团"_s);
    EXPECT_EQ(form.choices(Box::Branch).first(), u"第一师"_s);
    form.chooseBranch(u"第一师"_s);
    form.save();
    EXPECT_EQ(stored().regionCode, u"00"_s);
    EXPECT_TRUE(stored().unitName.isEmpty());
}

TEST_F(TaskInfoFormTest, ReopenedRecordShowsTextsButNotTheStoredCode)
{
    TaskInfo saved;
    saved.year = u"2015"_s;
    saved.affiliation = u"地方企业"_s;
    saved.level = u"县级汇总"_s;
    saved.province = u"河南省"_s;
    saved.prefecture = u"郑州市"_s;
    saved.county = u"二七区"_s;
    saved.regionCode = u"410103"_s;
    saved.filingUnit = u"旧单位"_s;
    store(saved);

    TaskInfoForm form = openedForm();
    EXPECT_EQ(form.text(Box::Year), u"2015"_s);
    EXPECT_EQ(form.text(Box::County), u"二七区"_s);
    EXPECT_TRUE(form.choices(Box::Prefecture).isEmpty());
    EXPECT_TRUE(form.choices(Box::County).isEmpty());
    EXPECT_EQ(form.choices(Box::Level).size(), 4);
    EXPECT_EQ(form.states(), (BoxStates{BoxState::On, BoxState::On, BoxState::On, BoxState::Off, BoxState::Off}));
    EXPECT_EQ(form.regionCode(), u"000000"_s);

    form.save();
    const TaskInfo record = stored();
    EXPECT_EQ(record.regionCode, u"000000"_s);
    EXPECT_EQ(record.county, u"二七区"_s);
    EXPECT_EQ(record.unitName, u"二七区"_s);
    EXPECT_TRUE(record.filingUnit.isEmpty()); // the whole record is replaced
}

TEST_F(TaskInfoFormTest, ReopenedBranchRecordFillsTheBranchList)
{
    TaskInfo saved;
    saved.year = u"2013"_s;
    saved.affiliation = u"中央企业"_s;
    saved.level = u"中储粮分公司"_s;
    saved.company = u"中储粮"_s;
    saved.branch = u"中储粮河南分公司"_s;
    store(saved);

    TaskInfoForm form = openedForm();
    EXPECT_EQ(form.state(Box::Company), BoxState::Fixed);
    EXPECT_EQ(form.state(Box::Branch), BoxState::On);
    EXPECT_TRUE(form.choices(Box::Branch).contains(u"中储粮河南分公司"_s));
    EXPECT_EQ(form.text(Box::Branch), u"中储粮河南分公司"_s);
}

TEST_F(TaskInfoFormTest, ChangingAffiliationEmptiesEverythingBelowIt)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"中储粮分公司"_s);
    form.chooseBranch(u"中储粮河南分公司"_s);
    form.chooseAffiliation(u"地方企业"_s);
    for (Box box : {Box::Level, Box::Province, Box::Prefecture, Box::County, Box::Company, Box::Branch})
        EXPECT_TRUE(form.text(box).isEmpty());
    EXPECT_EQ(form.text(Box::Year), u"2013"_s);
    EXPECT_EQ(form.states(), (BoxStates{BoxState::On, BoxState::On, BoxState::On, BoxState::Off, BoxState::Off}));
}

TEST_F(TaskInfoFormTest, ChoosingAnEnterpriseFillsItsBranchesAndKeepsTheBranchText)
{
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseBranch(u"第一师"_s);
    form.chooseCompany(u"中粮"_s);
    EXPECT_EQ(form.choices(Box::Branch).size(), 8);
    EXPECT_EQ(form.text(Box::Branch), u"第一师"_s);
}

TEST_F(TaskInfoFormTest, BranchListNamedByDataMustBeABranchTable)
{
    {
        Connection connection(db.path());
        connection.execute(u"insert into 汇总级别 values (?, ?, ?)"_s, {u"中储粮直属分公司"_s, u"中央企业"_s, 12});
        connection.execute(u"insert into 汇总级别 values (?, ?, ?)"_s, {u"基础情况统计表指标"_s, u"中央企业"_s, 13});
    }
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    try {
        form.chooseLevel(u"中储粮直属分公司"_s);
        FAIL() << "a missing branch table must be refused";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"数据库中没有分公司表“中储粮直属分公司”。"_s);
    }
    // The level's states are in place; only the list is missing.
    EXPECT_EQ(form.state(Box::Company), BoxState::Fixed);
    EXPECT_EQ(form.text(Box::Company), u"中储粮直属"_s);
    EXPECT_TRUE(form.choices(Box::Branch).isEmpty());

    // An existing table that is no branch table is refused as well.
    EXPECT_THROW(form.chooseLevel(u"基础情况统计表指标"_s), Error);
}

TEST_F(TaskInfoFormTest, QuotesInNamesAreLookedUpUnchanged)
{
    {
        Connection connection(db.path());
        connection.execute(u"insert into province values (?, ?)"_s, {u"测\"试省"_s, u"990000"_s});
        connection.execute(u"insert into city values (?, ?, ?)"_s, {u"测\"试市"_s, u"990100"_s, u"测\"试省"_s});
        connection.execute(u"insert into county values (?, ?, ?, ?)"_s,
                           {u"测'试县"_s, u"990101"_s, u"测\"试省"_s, u"测\"试市"_s});
        connection.execute(u"create table \"兵\"\"团分公司\" (分公司 text)"_s);
        connection.execute(u"insert into \"兵\"\"团分公司\" values ('一\"师')"_s);
    }
    TaskInfoForm form = openedForm();
    form.chooseProvince(u"测\"试省"_s);
    EXPECT_EQ(form.regionCode(), u"990000"_s);
    form.choosePrefecture(u"测\"试市"_s);
    EXPECT_EQ(form.regionCode(), u"990100"_s);
    EXPECT_EQ(form.choices(Box::County), QStringList{u"测'试县"_s});
    form.chooseCounty(u"测'试县"_s);
    EXPECT_EQ(form.regionCode(), u"990101"_s);
    form.chooseCompany(u"兵\"团"_s);
    EXPECT_EQ(form.choices(Box::Branch), QStringList{u"一\"师"_s});
}

TEST_F(TaskInfoFormTest, FailedSaveKeepsThePreviousRecord)
{
    TaskInfo previous;
    previous.year = u"2012"_s;
    previous.level = u"国家级汇总"_s;
    store(previous);
    {
        Connection connection(db.path());
        connection.execute(
            u"create trigger refuse before insert on 任务信息 begin select raise(abort, 'disk full'); end"_s);
    }
    TaskInfoForm form = openedForm();
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"中纺"_s);
    EXPECT_THROW(form.save(), Error);
    EXPECT_EQ(db.count(u"任务信息"_s), 1);
    EXPECT_EQ(stored().year, u"2012"_s);
}

TEST_F(TaskInfoFormTest, SaveLeavesExactlyOneRow)
{
    TaskInfo first;
    first.year = u"2011"_s;
    store(first);
    {
        Connection connection(db.path());
        connection.execute(u"insert into 任务信息 (年份) values ('2010')"_s);
    }
    TaskInfoForm form = openedForm();
    EXPECT_EQ(form.text(Box::Year), u"2011"_s); // the first row
    form.chooseAffiliation(u"中央企业"_s);
    form.chooseLevel(u"华粮"_s);
    form.save();
    EXPECT_EQ(db.count(u"任务信息"_s), 1);
    EXPECT_EQ(stored().level, u"华粮"_s);
}

} // namespace
} // namespace granwise::taskinfo
