#include "units/TaskInfoRules.h"

#include <gtest/gtest.h>

namespace granwise::taskinfo {
namespace {

using namespace Qt::StringLiterals;

constexpr BoxState On = BoxState::On;
constexpr BoxState Off = BoxState::Off;
constexpr BoxState Fixed = BoxState::Fixed;

const QString Central = u"中央企业"_s;
const QString Local = u"地方企业"_s;

BoxStates states(BoxState province, BoxState prefecture, BoxState county, BoxState company, BoxState branch)
{
    return BoxStates{province, prefecture, county, company, branch};
}

const BoxStates AfterLocal = states(On, On, On, Off, Off);
const BoxStates AfterCentral = states(Off, Off, Off, On, On);

struct OpeningCase {
    QString affiliation;
    QString level;
    BoxStates expected;
    QString branchTable;
};

TEST(TaskInfoRules, StatesOnOpeningFollowAffiliationThenLevel)
{
    const std::vector<OpeningCase> cases{
        {QString(), QString(), states(On, On, On, On, On), QString()}, // new installation
        {Local, u"国家级汇总"_s, AfterLocal, QString()},
        {Local, u"省级汇总"_s, states(On, Off, Off, Off, Off), QString()},
        {Local, u"地级汇总"_s, states(On, On, Off, Off, Off), QString()},
        {Local, u"县级汇总"_s, states(On, On, On, Off, Off), QString()},
        {Central, u"中粮"_s, states(Off, Off, Off, Fixed, Off), QString()},
        {Central, u"中储粮"_s, states(Off, Off, Off, Fixed, Off), QString()},
        // Four characters: neither an enterprise by length nor a branch table.
        {Central, u"新疆兵团"_s, states(Off, Off, Off, Fixed, Off), QString()},
        {Central, u"新疆兵团分公司"_s, states(Off, Off, Off, Fixed, On), u"新疆兵团分公司"_s},
        {Central, u"中储粮分公司"_s, states(Off, Off, Off, Fixed, On), u"中储粮分公司"_s},
        // Lengths are GBK bytes: "中粮X" is five, so it names a table.
        {Central, u"中粮X"_s, states(Off, Off, Off, Fixed, On), u"中粮X"_s},
        {Central, u"ABCD"_s, states(Off, Off, Off, Fixed, Off), QString()},
        // The length rules hold for central enterprises only.
        {Local, u"中粮"_s, AfterLocal, QString()},
        // A central level of four characters other than "新疆兵团" leaves the affiliation's states.
        {Central, u"中储粮总"_s, AfterCentral, QString()},
        // Level rules without affiliation (a record written elsewhere).
        {QString(), u"省级汇总"_s, states(On, Off, Off, On, On), QString()},
    };
    for (const OpeningCase &c : cases) {
        SCOPED_TRACE((c.affiliation + u" / "_s + c.level).toStdString());
        const LevelEffect effect = statesOnOpening(c.affiliation, c.level);
        EXPECT_EQ(effect.states, c.expected);
        EXPECT_EQ(effect.branchTable, c.branchTable);
        EXPECT_FALSE(effect.company.has_value());
        EXPECT_FALSE(effect.emptyBranch);
    }
}

TEST(TaskInfoRules, AffiliationSwitchesRegionAgainstEnterprise)
{
    const BoxStates fixedCompany = states(Off, Off, Off, Fixed, Off);
    EXPECT_EQ(statesForAffiliation(Central, AfterLocal), AfterCentral);
    EXPECT_EQ(statesForAffiliation(Local, fixedCompany), AfterLocal);
    EXPECT_EQ(statesForAffiliation(u"其他"_s, fixedCompany), fixedCompany);
}

struct LevelCase {
    QString affiliation;
    QString level;
    BoxStates before;
    BoxStates expected;
    std::optional<QString> company;
    bool emptyBranch;
    QString branchTable;
};

TEST(TaskInfoRules, ChosenLevelSetsStatesEnterpriseAndBranchList)
{
    const std::vector<LevelCase> cases{
        {Local, u"省级汇总"_s, AfterLocal, states(On, Off, Off, Off, Off), QString(), true, QString()},
        {Local, u"地级汇总"_s, AfterLocal, states(On, On, Off, Off, Off), QString(), true, QString()},
        {Local, u"县级汇总"_s, states(On, Off, Off, Off, Off), states(On, On, On, Off, Off), QString(), true,
         QString()},
        // No rule: the states stay, the enterprise and branch texts too.
        {Local, u"国家级汇总"_s, states(On, Off, Off, Off, Off), states(On, Off, Off, Off, Off), std::nullopt, false,
         QString()},
        {Central, u"中粮"_s, AfterCentral, states(Off, Off, Off, Fixed, Off), u"中粮"_s, true, QString()},
        {Central, u"中纺"_s, AfterCentral, states(Off, Off, Off, Fixed, Off), u"中纺"_s, true, QString()},
        {Central, u"中储粮"_s, AfterCentral, states(Off, Off, Off, Fixed, Off), u"中储粮"_s, true, QString()},
        // "新疆兵团" keeps its own rule: no branch list is looked for under its name.
        {Central, u"新疆兵团"_s, AfterCentral, states(Off, Off, Off, Fixed, Off), u"新疆兵团"_s, true, QString()},
        {Central, u"新疆兵团分公司"_s, AfterCentral, states(Off, Off, Off, Fixed, On), u"新疆兵团"_s, true,
         u"新疆兵团分公司"_s},
        {Central, u"中储粮分公司"_s, states(Off, Off, Off, Fixed, Off), states(Off, Off, Off, Fixed, On),
         u"中储粮"_s, true, u"中储粮分公司"_s},
        // Shorter than three characters: the enterprise text is empty, not the whole level.
        {Central, u"X"_s, AfterCentral, states(Off, Off, Off, Fixed, On), QString(), true, u"X"_s},
        {Local, u"中粮"_s, AfterLocal, AfterLocal, std::nullopt, false, QString()},
    };
    for (const LevelCase &c : cases) {
        SCOPED_TRACE((c.affiliation + u" / "_s + c.level).toStdString());
        const LevelEffect effect = levelChosen(c.affiliation, c.level, c.before);
        EXPECT_EQ(effect.states, c.expected);
        EXPECT_EQ(effect.company, c.company);
        EXPECT_EQ(effect.emptyBranch, c.emptyBranch);
        EXPECT_EQ(effect.branchTable, c.branchTable);
    }
}

TaskInfo shownWith(std::initializer_list<std::pair<QString TaskInfo::*, QString>> values)
{
    TaskInfo info;
    info.year = u"2013"_s;
    info.level = u"县级汇总"_s;
    info.province = u"河南省"_s;
    info.prefecture = u"郑州市"_s;
    info.county = u"中原区"_s;
    info.company = u"中粮"_s;
    info.branch = u"某分公司"_s;
    for (const auto &[field, value] : values)
        info.*field = value;
    return info;
}

struct CheckCase {
    const char *what;
    TaskInfo shown;
    BoxStates states;
    std::optional<SaveRefusal> expected;
};

TEST(TaskInfoRules, SaveChecksStopAtTheFirstEmptyEnabledBox)
{
    const BoxStates allOn = states(On, On, On, On, On);
    const BoxStates allOff = states(Off, Off, Off, Off, Off);
    const std::vector<CheckCase> cases{
        {"complete", shownWith({}), allOn, std::nullopt},
        {"year blank", shownWith({{&TaskInfo::year, u"  "_s}, {&TaskInfo::level, QString()}}), allOn,
         SaveRefusal{Box::Year, u"填报年份不能为空！"_s}},
        {"level checked even before the region", shownWith({{&TaskInfo::level, u" "_s}, {&TaskInfo::province, {}}}),
         allOff, SaveRefusal{Box::Level, u"汇总级别不能为空！"_s}},
        {"province text begins with a blank", shownWith({{&TaskInfo::province, QString()}}), allOn,
         SaveRefusal{Box::Province, u" 请选择省！"_s}},
        {"province off", shownWith({{&TaskInfo::province, QString()}}), states(Off, On, On, On, On), std::nullopt},
        {"prefecture", shownWith({{&TaskInfo::prefecture, u"\t"_s}, {&TaskInfo::county, QString()}}), allOn,
         SaveRefusal{Box::Prefecture, u"请选择地市！"_s}},
        {"county", shownWith({{&TaskInfo::county, QString()}}), allOn, SaveRefusal{Box::County, u"请选择县！"_s}},
        {"enterprise", shownWith({{&TaskInfo::company, QString()}}), allOn,
         SaveRefusal{Box::Company, u"请选择所属公司！"_s}},
        {"fixed enterprise is not checked", shownWith({{&TaskInfo::company, QString()}}),
         states(On, On, On, Fixed, On), std::nullopt},
        {"branch", shownWith({{&TaskInfo::branch, QString()}}), states(Off, Off, Off, Fixed, On),
         SaveRefusal{Box::Branch, u"请选择分公司！"_s}},
        {"everything off", shownWith({{&TaskInfo::province, {}}, {&TaskInfo::company, {}}, {&TaskInfo::branch, {}}}),
         allOff, std::nullopt},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(firstFailingCheck(c.shown, c.states), c.expected);
    }
}

struct RecordCase {
    QString level;
    QString regionCode;
    QString unitName;
};

TEST(TaskInfoRules, RecordTakesFixedCodesAndUnitNameByLevel)
{
    TaskInfo shown = shownWith({{&TaskInfo::affiliation, u"地方企业"_s}});
    shown.branch = u"中储粮河南分公司"_s;
    const std::vector<RecordCase> cases{
        {u"国家级汇总"_s, u"410102"_s, u"国家级汇总"_s},
        {u"省级汇总"_s, u"410102"_s, u"河南省"_s},
        {u"地级汇总"_s, u"410102"_s, u"郑州市"_s},
        {u"县级汇总"_s, u"410102"_s, u"中原区"_s},
        {u"中储粮"_s, u"111111"_s, u"中储粮"_s},
        {u"中粮"_s, u"111111"_s, u"中粮"_s},
        {u"华粮"_s, u"111111"_s, u"华粮"_s},
        {u"中纺"_s, u"111111"_s, u"中纺"_s},
        {u"中储粮分公司"_s, u"222222"_s, u"中储粮河南分公司"_s},
        {u"新疆兵团"_s, u"333333"_s, u"新疆兵团"_s},
        {u"新疆兵团分公司"_s, u"410102"_s, QString()},
        {u"其他级别"_s, u"410102"_s, QString()},
    };
    for (const RecordCase &c : cases) {
        SCOPED_TRACE(c.level.toStdString());
        shown.level = c.level;
        const TaskInfo record = recordToWrite(shown, u"410102"_s);
        EXPECT_EQ(record.regionCode, c.regionCode);
        EXPECT_EQ(record.unitName, c.unitName);
        EXPECT_EQ(record.level, c.level);
    }
}

TEST(TaskInfoRules, RecordKeepsTextsAsShownAndLeavesOtherColumnsEmpty)
{
    TaskInfo shown = shownWith({{&TaskInfo::year, u" 2014 "_s}, {&TaskInfo::province, u"河南省 "_s}});
    shown.level = u"省级汇总"_s;
    shown.affiliation = u"地方企业"_s;
    shown.filingUnit = u"不写"_s;
    shown.telephone = u"不写"_s;
    const TaskInfo record = recordToWrite(shown, u"410000"_s);
    EXPECT_EQ(record.year, u" 2014 "_s);
    EXPECT_EQ(record.province, u"河南省 "_s);
    EXPECT_EQ(record.unitName, u"河南省 "_s);
    EXPECT_EQ(record.affiliation, u"地方企业"_s);
    EXPECT_EQ(record.company, u"中粮"_s);
    EXPECT_EQ(record.branch, u"某分公司"_s);
    EXPECT_TRUE(record.filingUnit.isEmpty());
    EXPECT_TRUE(record.telephone.isEmpty());
}

} // namespace
} // namespace granwise::taskinfo
