#include "projects/Validation.h"
#include "projects/ValidationFigures.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <random>
#include <utility>
#include <vector>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {

using Changes = std::vector<std::pair<QString, QString>>;

// Planned scale of the consistent project, by item; the completed scale is half of it. Every
// "of which" item is strictly below its parent, so that one change breaks one rule.
const std::vector<std::pair<QString, double>> &plannedScale()
{
    static const std::vector<std::pair<QString, double>> items{
        {u"其中成品粮应急储备仓"_s, 5}, {u"平房仓"_s, 10}, {u"立筒仓"_s, 8}, {u"其中钢板筒仓"_s, 4},
        {u"浅圆仓"_s, 6}, {u"其他仓型"_s, 2}, {u"新建油罐"_s, 3}, {u"维修改造仓容"_s, 12},
        {u"其中大修仓容"_s, 6}, {u"维修改造油罐"_s, 4}, {u"其中泊位个数"_s, 2}, {u"其中吞吐能力"_s, 100},
        {u"铁路专用线"_s, 1000}, {u"其中铁路专用线有效长度"_s, 800}, {u"罩棚"_s, 600}, {u"铁路罩棚"_s, 200},
        {u"储粮罩棚"_s, 300}, {u"地坪"_s, 5000}, {u"其中接收能力"_s, 200}, {u"其中发放能力"_s, 150},
        {u"保粮设备"_s, 10}, {u"烘干设备"_s, 4}, {u"其中烘干能力"_s, 100}, {u"进出仓设备"_s, 6},
        {u"地中衡"_s, 2}, {u"其中散粮汽车"_s, 3}, {u"其中散粮火车皮"_s, 5}, {u"其中散粮船舶"_s, 1},
        {u"检化验设备"_s, 8}, {u"办公业务用房"_s, 1200}, {u"农户科学储粮"_s, 2}, {u"信息系统"_s, 10},
        {u"电子政务"_s, 2}, {u"粮情监测"_s, 3}, {u"仓储信息"_s, 4},
    };
    return items;
}

const ScaleItem &scaleItem(const QString &item)
{
    for (const ScaleItem &s : scaleItems())
        if (s.item == item)
            return s;
    throw Error(u"no scale item "_s + item);
}

// The values of one project as the entry form hands them to the check.
class ProjectBuilder {
public:
    // Every figure blank, a six-digit postal code.
    static ProjectBuilder blank()
    {
        ProjectBuilder b;
        b.set(u"邮政编码"_s, u"100000"_s);
        return b;
    }

    // Every figure filled and every rule met with room to spare. Each investment group:
    // composition 50 + 30 + 20, sources 40 (central 25, local 15) + 20 + 10 + 20 (relocation 5) + 10.
    static ProjectBuilder consistent()
    {
        ProjectBuilder b = blank();
        const QStringList investment{u"50"_s, u"30"_s, u"20"_s, u"40"_s, u"25"_s, u"15"_s,
                                     u"20"_s, u"10"_s, u"20"_s, u"5"_s, u"10"_s};
        for (int group = 0; group < 3; ++group)
            for (int part = 0; part < 11; ++part)
                b.set(investmentColumn(group, part), investment.at(part));
        for (const auto &[item, planned] : plannedScale()) {
            b.set(scaleItem(item).plannedColumn, formatNumber(planned));
            b.set(scaleItem(item).completedColumn, formatNumber(planned / 2));
        }
        return b;
    }

    ProjectBuilder &set(const QString &column, const QString &text)
    {
        m_values.insert(column, text);
        return *this;
    }

    ProjectBuilder &apply(const Changes &changes)
    {
        for (const auto &[column, text] : changes)
            set(column, text);
        return *this;
    }

    const ProjectValues &values() const { return m_values; }

    // The project as a stored row: numbers as REAL, the rest as text.
    QVariantMap row() const
    {
        QVariantMap map;
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
            const ProjectColumn *c = findProjectColumn(it.key());
            map.insert(it.key(), c && c->isNumber() ? QVariant(numberOrZero(it.value())) : QVariant(it.value()));
        }
        return map;
    }

private:
    ProjectValues m_values;
};

struct BrokenRule {
    int rule;
    Changes changes;
    QString focus;
    QString message;
};

const QString kCompletedAbovePlanned = uR"(要求："年度完成规模"不得大于"建设规模")"_s;
const QString kCompletedAbovePlannedSlip = uR"(要求："度度完成规模"不得大于"建设规模")"_s;

// For every rule, a change of the consistent project that makes it the first broken rule.
// Rules 23 to 26 can only be reached with a negative part, since rules 15 and 16 test the sum.
std::vector<BrokenRule> brokenRules()
{
    return {
        {0, {{u"邮政编码"_s, u"10000"_s}}, u"邮政编码"_s, u"要求：邮政编码必须为6位"_s},
        {0, {{u"邮政编码"_s, u"1000000"_s}}, u"邮政编码"_s, u"要求：邮政编码必须为6位"_s},
        {0, {{u"邮政编码"_s, u"10000a"_s}}, u"邮政编码"_s, u"要求：邮政编码必须为6位"_s},
        {1, {{u"总_其中中央财政"_s, u"40.01"_s}}, u"总_财政性资金"_s, u"要求：财政性资金不得小于中央财政"_s},
        {1, {{u"总_其中中央财政"_s, u"40.0000000000001"_s}}, u"总_财政性资金"_s,
         u"要求：财政性资金不得小于中央财政"_s},
        {2, {{u"总_其中地方财政"_s, u"41"_s}}, u"总_财政性资金"_s, u"要求：财政性资金不得小于地方财政"_s},
        {3, {{u"累计_其中中央财政"_s, u"41"_s}}, u"累计_其中中央财政"_s, u"要求：财政性资金不得小于中央财政"_s},
        {4, {{u"累计_其中地方财政"_s, u"41"_s}}, u"累计_其中地方财政"_s, u"要求：财政性资金不得小于地方财政"_s},
        {5, {{u"本年_其中中央财政"_s, u"41"_s}}, u"本年_财政性资金"_s, u"要求：财政性资金不得小于中央财政"_s},
        {6, {{u"本年_其中地方财政"_s, u"41"_s}}, u"本年_财政性资金"_s, u"要求：财政性资金不得小于地方财政"_s},
        {7, {{u"总_其中退城进郊置换资金"_s, u"21"_s}}, u"总_自有资金"_s, u"要求：自有资金不得小于退城进郊置换资金"_s},
        {8, {{u"累计_其中退城进郊置换资金"_s, u"21"_s}}, u"累计_自有资金"_s,
         u"要求：自有资金不得小于退城进郊置换资金"_s},
        {9, {{u"本年_其中退城进郊置换资金"_s, u"21"_s}}, u"本年_自有资金"_s,
         u"要求：自有资金不得小于退城进郊置换资金"_s},
        {10, {{u"总_银行贷款"_s, u"21"_s}}, u"总_财政性资金"_s, u"要求：投资构成合计应等于投资来源合计"_s},
        {10, {{u"总_其他投资"_s, u"10.000000000001"_s}}, u"总_财政性资金"_s,
         u"要求：投资构成合计应等于投资来源合计"_s},
        {11, {{u"累计_其他投资"_s, u"9"_s}}, u"累计_财政性资金"_s, u"要求：投资构成合计应等于投资来源合计"_s},
        {12, {{u"本年_建筑安装工程"_s, u"51"_s}}, u"本年_财政性资金"_s, u"要求：投资构成合计应等于投资来源合计"_s},
        {13, {{u"建设_其中成品粮应急储备仓"_s, u"27"_s}}, u"建设_其中成品粮应急储备仓"_s,
         u"要求：新建仓容建设规模不得小于成品粮应急储备仓建设规模"_s},
        {14, {{u"完成_其中成品粮应急储备仓"_s, u"14"_s}}, u"完成_其中成品粮应急储备仓"_s,
         u"要求：新建仓容度完成规模不得小于成品粮应急储备仓度完成规模"_s},
        {15, {{u"建设_罩棚"_s, u"499"_s}}, u"建设_罩棚"_s,
         uR"(要求：罩棚建设规模不得小于铁路罩棚与储粮罩棚建设规模之和")"_s},
        {16, {{u"完成_罩棚"_s, u"249"_s}}, u"完成_罩棚"_s,
         u"要求：罩棚年度完成规模不得小于铁路罩棚与储粮罩棚年度完成规模之和"_s},
        {17, {{u"建设_其中钢板筒仓"_s, u"9"_s}}, u"建设_立筒仓"_s,
         uR"(要求："立筒仓建设规模"不得小于"钢板简仓建设规模")"_s},
        {18, {{u"完成_其中钢板筒仓"_s, u"4.5"_s}}, u"完成_立筒仓"_s,
         uR"(要求："立筒仓年度完成规模"不得小于"钢板简仓年度完成规模")"_s},
        {19, {{u"建设_其中大修仓容"_s, u"13"_s}}, u"建设_维修改造仓容"_s,
         uR"(要求："维修改造仓容建设规模"不得小于"大修仓容建设规模")"_s},
        {20, {{u"完成_其中大修仓容"_s, u"6.5"_s}}, u"完成_维修改造仓容"_s,
         uR"(要求："维修改造仓容年度完成规模"不得小于"大修仓容年度完成规模")"_s},
        {21, {{u"建设_其中铁路专用线有效长度"_s, u"1001"_s}}, u"建设_铁路专用线"_s,
         uR"(要求："铁路专用线建设规模"不得小于"铁路专用线有效长度建设规模")"_s},
        {22, {{u"完成_其中铁路专用线有效长度"_s, u"501"_s}}, u"完成_铁路专用线"_s,
         uR"(要求："铁路专用线年度完成规模"不得小于"铁路专用线有效长度年度完成规模")"_s},
        {23, {{u"建设_铁路罩棚"_s, u"700"_s}, {u"建设_储粮罩棚"_s, u"-300"_s}}, u"建设_罩棚"_s,
         uR"(要求："罩棚建设规模"不得小于"铁路罩棚建设规模")"_s},
        {24, {{u"完成_其中铁路罩棚"_s, u"350"_s}, {u"完成_储粮罩棚"_s, u"-150"_s}}, u"完成_罩棚"_s,
         uR"(要求："罩棚完成规模"不得小于"铁路罩棚完成规模")"_s},
        {25, {{u"建设_储粮罩棚"_s, u"700"_s}, {u"建设_铁路罩棚"_s, u"-200"_s}}, u"建设_罩棚"_s,
         uR"(要求："罩棚建设规模"不得小于"储粮罩棚建设规模")"_s},
        {26, {{u"完成_储粮罩棚"_s, u"350"_s}, {u"完成_其中铁路罩棚"_s, u"-100"_s}}, u"完成_罩棚"_s,
         uR"(要求："罩棚完成规模"不得小于"储粮罩棚完成规模")"_s},
        {27, {{u"建设_电子政务"_s, u"11"_s}}, u"建设_电子政务"_s,
         uR"(要求："信息系统建设规模"不得小于"电子政务系统建设规模")"_s},
        {28, {{u"完成_电子政务"_s, u"5.5"_s}}, u"完成_电子政务"_s,
         uR"(要求："信息系统完成规模"不得小于"电子政务系统完成规模")"_s},
        {29, {{u"建设_粮情监测"_s, u"11"_s}}, u"建设_粮情监测"_s,
         uR"(要求："信息系统建设规模"不得小于"粮情监测预警系统建设规模")"_s},
        {30, {{u"完成_粮情监测"_s, u"5.5"_s}}, u"完成_粮情监测"_s,
         uR"(要求："信息系统完成规模"不得小于"粮情监测预警系统完成规模")"_s},
        {31, {{u"建设_仓储信息"_s, u"11"_s}}, u"建设_仓储信息"_s,
         uR"(要求："信息系统建设规模"不得小于"仓储信息系统建设规模")"_s},
        {32, {{u"完成_仓储信息"_s, u"5.5"_s}}, u"完成_仓储信息"_s,
         uR"(要求："信息系统完成规模"不得小于"仓储信息系统完成规模")"_s},
        {33, {{u"建设_信息系统"_s, u"8"_s}}, u"建设_信息系统"_s,
         uR"(要求：信息系统建设规模不得小于电子政务系统、粮情监测预警系统与仓储信息系统建设规模之和")"_s},
        {34, {{u"完成_信息系统"_s, u"4"_s}}, u"完成_信息系统"_s,
         u"要求：信息系统年度完成规模不得小于电子政务系统、粮情监测预警系统与仓储信息系统年度完成规模之和"_s},
        // Completed above planned: a parent's completed scale is raised, an "of which" item's
        // planned scale lowered, so that no parent-child rule breaks first.
        {35, {{u"建设_其中成品粮应急储备仓"_s, u"2"_s}}, u"建设_其中成品粮应急储备仓"_s, kCompletedAbovePlanned},
        {36, {{u"完成_平房仓"_s, u"11"_s}}, u"建设_平房仓"_s, kCompletedAbovePlannedSlip},
        {37, {{u"完成_立筒仓"_s, u"9"_s}}, u"建设_立筒仓"_s, kCompletedAbovePlannedSlip},
        {38, {{u"建设_其中钢板筒仓"_s, u"1"_s}}, u"建设_其中钢板筒仓"_s, kCompletedAbovePlanned},
        {39, {{u"完成_浅圆仓"_s, u"7"_s}}, u"建设_浅圆仓"_s, kCompletedAbovePlanned},
        {40, {{u"完成_其他仓型"_s, u"3"_s}}, u"建设_其他仓型"_s, kCompletedAbovePlanned},
        {41, {{u"完成_新建油罐"_s, u"4"_s}}, u"建设_新建油罐"_s, kCompletedAbovePlanned},
        {42, {{u"完成_维修改造仓容"_s, u"13"_s}}, u"建设_维修改造仓容"_s, kCompletedAbovePlanned},
        {43, {{u"建设_其中大修仓容"_s, u"2"_s}}, u"建设_其中大修仓容"_s, kCompletedAbovePlanned},
        {44, {{u"完成_维修改造油罐"_s, u"5"_s}}, u"建设_维修改造油罐"_s, kCompletedAbovePlanned},
        {45, {{u"完成_其中泊位个数"_s, u"3"_s}}, u"建设_其中泊位个数"_s, kCompletedAbovePlanned},
        {46, {{u"完成_其中吞吐能力"_s, u"101"_s}}, u"建设_其中吞吐能力"_s, kCompletedAbovePlanned},
        {47, {{u"完成_铁路专用线"_s, u"1001"_s}}, u"建设_铁路专用线"_s, kCompletedAbovePlanned},
        {48, {{u"建设_其中铁路专用线有效长度"_s, u"300"_s}}, u"建设_其中铁路专用线有效长度"_s, kCompletedAbovePlanned},
        {49, {{u"完成_罩棚"_s, u"601"_s}}, u"建设_罩棚"_s, kCompletedAbovePlanned},
        {50, {{u"建设_铁路罩棚"_s, u"50"_s}}, u"建设_铁路罩棚"_s, kCompletedAbovePlanned},
        {51, {{u"完成_地坪"_s, u"5001"_s}}, u"建设_地坪"_s, kCompletedAbovePlanned},
        {52, {{u"完成_其中接收能力"_s, u"201"_s}}, u"建设_其中接收能力"_s, kCompletedAbovePlanned},
        {53, {{u"完成_其中发放能力"_s, u"151"_s}}, u"建设_其中发放能力"_s, kCompletedAbovePlanned},
        {54, {{u"完成_保粮设备"_s, u"11"_s}}, u"建设_保粮设备"_s, kCompletedAbovePlanned},
        {55, {{u"完成_烘干设备"_s, u"5"_s}}, u"建设_烘干设备"_s, kCompletedAbovePlanned},
        {56, {{u"完成_其中烘干能力"_s, u"101"_s}}, u"建设_其中烘干能力"_s, kCompletedAbovePlanned},
        {57, {{u"完成_进出仓设备"_s, u"7"_s}}, u"建设_进出仓设备"_s, kCompletedAbovePlanned},
        {58, {{u"完成_地中衡"_s, u"3"_s}}, u"建设_地中衡"_s, kCompletedAbovePlanned},
        {59, {{u"完成_其中散粮汽车"_s, u"4"_s}}, u"建设_其中散粮汽车"_s, kCompletedAbovePlanned},
        {60, {{u"完成_其中散粮火车皮"_s, u"6"_s}}, u"建设_其中散粮火车皮"_s, kCompletedAbovePlanned},
        {61, {{u"完成_其中散粮船舶"_s, u"2"_s}}, u"建设_其中散粮船舶"_s, kCompletedAbovePlanned},
        {62, {{u"完成_检化验设备"_s, u"9"_s}}, u"建设_检化验设备"_s, kCompletedAbovePlanned},
        {63, {{u"完成_办公业务用房"_s, u"1201"_s}}, u"建设_办公业务用房"_s, kCompletedAbovePlanned},
        {64, {{u"建设_储粮罩棚"_s, u"100"_s}}, u"完成_储粮罩棚"_s, kCompletedAbovePlanned},
        {65, {{u"完成_农户科学储粮"_s, u"3"_s}}, u"建设_农户科学储粮"_s, kCompletedAbovePlanned},
        {66, {{u"完成_信息系统"_s, u"11"_s}}, u"建设_信息系统"_s, kCompletedAbovePlanned},
        {67, {{u"建设_电子政务"_s, u"0.5"_s}}, u"建设_电子政务"_s, kCompletedAbovePlanned},
        {68, {{u"建设_粮情监测"_s, u"1"_s}}, u"建设_粮情监测"_s, kCompletedAbovePlanned},
        {69, {{u"建设_仓储信息"_s, u"1"_s}}, u"建设_仓储信息"_s, kCompletedAbovePlanned},
    };
}

QString describe(const Changes &changes)
{
    QStringList parts;
    for (const auto &[column, text] : changes)
        parts << column + u'=' + text;
    return parts.join(u", "_s);
}

QString describe(const std::optional<ValidationFailure> &failure)
{
    return failure ? u"rule %1: %2 (focus %3)"_s.arg(failure->rule).arg(failure->message, failure->focusColumn)
                   : u"passed"_s;
}

} // namespace

TEST(Validation, TheTableHoldsRulesZeroToSixtyNineInOrder)
{
    const QVector<ValidationRule> &rules = validationRules();
    ASSERT_EQ(rules.size(), 70);
    for (int i = 0; i < rules.size(); ++i)
        EXPECT_EQ(rules.at(i).number, i);
}

TEST(Validation, ConsistentProjectsPassEveryRule)
{
    const std::vector<std::pair<const char *, ProjectBuilder>> projects{
        {"every figure filled", ProjectBuilder::consistent()},
        {"every figure blank", ProjectBuilder::blank()},
        {"blank figures typed as blanks", ProjectBuilder::blank().set(u"总_财政性资金"_s, u"   "_s)},
        {"postal code with blanks around", ProjectBuilder::consistent().set(u"邮政编码"_s, u" 100000 "_s)},
    };
    for (const auto &[label, project] : projects)
        EXPECT_EQ(describe(check(project.values())), u"passed"_s) << label;
}

TEST(Validation, EachRuleReportsItsMessageAndFocus)
{
    for (const BrokenRule &broken : brokenRules()) {
        const std::optional<ValidationFailure> failure =
            check(ProjectBuilder::consistent().apply(broken.changes).values());
        ASSERT_TRUE(failure) << "rule " << broken.rule << ": " << qPrintable(describe(broken.changes));
        EXPECT_EQ(failure->rule, broken.rule) << qPrintable(describe(broken.changes));
        EXPECT_EQ(failure->focusColumn, broken.focus) << "rule " << broken.rule;
        EXPECT_EQ(failure->message, broken.message) << "rule " << broken.rule;
    }
}

TEST(Validation, BoundaryValuesPass)
{
    // Equality is allowed wherever a rule says "not less" or "not above".
    const std::vector<std::pair<const char *, Changes>> cases{
        {"central funds equal to fiscal funds", {{u"总_其中中央财政"_s, u"40"_s}}},
        {"relocation funds equal to own funds", {{u"本年_其中退城进郊置换资金"_s, u"20"_s}}},
        {"canopy equal to its two parts", {{u"建设_罩棚"_s, u"500"_s}, {u"完成_罩棚"_s, u"250"_s}}},
        {"information systems equal to their three parts",
         {{u"建设_信息系统"_s, u"9"_s}, {u"完成_信息系统"_s, u"4.5"_s}}},
        {"emergency reserve equal to new storage", {{u"建设_其中成品粮应急储备仓"_s, u"26"_s}}},
        {"completed equal to planned", {{u"完成_地坪"_s, u"5000"_s}, {u"完成_其中成品粮应急储备仓"_s, u"5"_s}}},
        {"negative figures", {{u"建设_地坪"_s, u"-1"_s}, {u"完成_地坪"_s, u"-2"_s}}},
    };
    for (const auto &[label, changes] : cases)
        EXPECT_EQ(describe(check(ProjectBuilder::consistent().apply(changes).values())), u"passed"_s) << label;
}

TEST(Validation, SumsOfDecimalAmountsCompareAsTheFormShowsThem)
{
    // 0.1 + 0.2 + 0.3 is 0.6000000000000001 in binary; the form shows (and compares) 0.6.
    const std::vector<std::pair<const char *, Changes>> cases{
        {"composition 0.1 + 0.2 + 0.3, sources 0.6",
         {{u"总_建筑安装工程"_s, u"0.1"_s}, {u"总_设备工器具购置"_s, u"0.2"_s}, {u"总_其他费用"_s, u"0.3"_s},
          {u"总_财政性资金"_s, u"0.6"_s}}},
        {"composition 0.6, sources 0.1 + 0.2 + 0.3",
         {{u"本年_建筑安装工程"_s, u"0.6"_s}, {u"本年_财政性资金"_s, u"0.1"_s}, {u"本年_银行贷款"_s, u"0.2"_s},
          {u"本年_利用外资"_s, u"0.3"_s}}},
        // New storage is shown as 0.1 + 0.7 = 0.8 (0.7999999999999999 in binary).
        {"emergency reserve equal to the shown new storage",
         {{u"建设_平房仓"_s, u"0.1"_s}, {u"建设_立筒仓"_s, u"0.7"_s}, {u"建设_其中成品粮应急储备仓"_s, u"0.8"_s}}},
        {"canopy 0.3 = 0.1 + 0.2",
         {{u"建设_罩棚"_s, u"0.3"_s}, {u"建设_铁路罩棚"_s, u"0.1"_s}, {u"建设_储粮罩棚"_s, u"0.2"_s},
          {u"完成_罩棚"_s, u"0.3"_s}, {u"完成_其中铁路罩棚"_s, u"0.1"_s}, {u"完成_储粮罩棚"_s, u"0.2"_s}}},
        {"information systems 0.6 = 0.1 + 0.2 + 0.3",
         {{u"建设_信息系统"_s, u"0.6"_s}, {u"建设_电子政务"_s, u"0.1"_s}, {u"建设_粮情监测"_s, u"0.2"_s},
          {u"建设_仓储信息"_s, u"0.3"_s}}},
    };
    for (const auto &[label, changes] : cases)
        EXPECT_EQ(describe(check(ProjectBuilder::blank().apply(changes).values())), u"passed"_s) << label;

    // The rounding keeps differences within 15 digits.
    const std::optional<ValidationFailure> failure = check(ProjectBuilder::blank()
                                                               .set(u"建设_平房仓"_s, u"0.1"_s)
                                                               .set(u"建设_立筒仓"_s, u"0.7"_s)
                                                               .set(u"建设_其中成品粮应急储备仓"_s, u"0.80000000000001"_s)
                                                               .values());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rule, 13);
}

TEST(Validation, SumsAreRoundedAsTheProgramRoundsFigures)
{
    // The check's own rounding must give exactly what roundTo15Digits gives.
    std::mt19937_64 random(20100);
    std::vector<double> values{0.1 + 0.2, 0.1 + 0.2 + 0.3, 0.1 + 0.7, 999999999999999.5, 1e15 - 0.5, 5e-324,
                               1.7976931348623157e308, -2.5e-7, 123456789012345.67, 0.000012345678901234567};
    for (int i = 0; i < 20000; ++i) {
        const double cents = double(random() % 10000000) / 100 + double(random() % 1000) / 1000;
        const double bits = std::ldexp(double(random() >> 11), int(random() % 120) - 80);
        values.push_back(i % 2 ? cents : -bits);
    }
    int mismatches = 0;
    for (const double value : values)
        if (validation::roundLikeTheForm(value) != roundTo15Digits(value) && ++mismatches < 5)
            ADD_FAILURE() << std::setprecision(17) << value;
    EXPECT_EQ(mismatches, 0);
}

TEST(Validation, OnlyTheFirstOfSeveralBrokenRulesIsReported)
{
    const std::vector<std::pair<int, Changes>> cases{
        {0, {{u"本年_建筑安装工程"_s, u"51"_s}, {u"邮政编码"_s, u"12345"_s}}},
        {5, {{u"建设_电子政务"_s, u"11"_s}, {u"本年_其中中央财政"_s, u"41"_s}}},
        {27, {{u"完成_信息系统"_s, u"11"_s}, {u"建设_电子政务"_s, u"11"_s}}},
    };
    for (const auto &[rule, changes] : cases) {
        const std::optional<ValidationFailure> failure = check(ProjectBuilder::consistent().apply(changes).values());
        ASSERT_TRUE(failure) << qPrintable(describe(changes));
        EXPECT_EQ(failure->rule, rule) << qPrintable(describe(changes));
    }
}

TEST(Validation, InformationSystemsFailOnTheirSumAlone)
{
    // Each sub-system fits into the information systems (rules 27 to 32), their sum does not.
    ProjectFigures figures;
    ASSERT_FALSE(readFigures(ProjectBuilder::consistent().set(u"建设_信息系统"_s, u"8"_s).values(), figures));
    const QVector<ValidationRule> &rules = validationRules();
    for (int rule = 27; rule <= 32; ++rule)
        EXPECT_TRUE(rulePasses(rules.at(rule), figures)) << rule;
    EXPECT_FALSE(rulePasses(rules.at(33), figures));
    EXPECT_EQ(checkFigures(figures)->rule, 33);
}

TEST(Validation, DerivedScaleIsRecomputedFromItsParts)
{
    // The form computes new storage itself; a value handed in for it is not read.
    const std::optional<ValidationFailure> failure = check(ProjectBuilder::consistent()
                                                               .set(u"建设_新建仓容"_s, u"1000"_s)
                                                               .set(u"完成_机械设备"_s, u"-"_s)
                                                               .set(u"建设_其中成品粮应急储备仓"_s, u"27"_s)
                                                               .values());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rule, 13);
}

TEST(Validation, AFieldThatIsNoNumberStopsTheCheck)
{
    const struct {
        const char16_t *column;
        const char16_t *text;
    } cases[] = {
        {u"总_银行贷款", u"-"},     {u"总_银行贷款", u" -"},     {u"累计_自有资金", u"+"},
        {u"本年_其他费用", u"1e"},  {u"建设_平房仓", u"."},      {u"完成_地坪", u"12a"},
        {u"完成_仓储信息", u"1,5"}, {u"建设_信息系统", u"1e999"}, // too large for a number
    };
    for (const auto &c : cases) {
        const QString column = QString::fromUtf16(c.column);
        const QString text = QString::fromUtf16(c.text);
        // The postal code is broken too: an unreadable figure is reported first.
        const std::optional<ValidationFailure> failure =
            check(ProjectBuilder::consistent().set(u"邮政编码"_s, u"1"_s).set(column, text).values());
        ASSERT_TRUE(failure) << qPrintable(column + u' ' + text);
        EXPECT_EQ(failure->rule, -1) << qPrintable(text);
        EXPECT_EQ(failure->focusColumn, column) << qPrintable(text);
        EXPECT_TRUE(failure->message.contains(u'"' + text + u'"')) << qPrintable(failure->message);
    }

    EXPECT_EQ(check(ProjectBuilder::consistent().set(u"总_银行贷款"_s, u"-"_s).values())->message,
              uR"(要求："一、项目总投资（银行贷款）"必须填写数字，"-"不是数字)"_s);
    EXPECT_EQ(check(ProjectBuilder::consistent().set(u"完成_平房仓"_s, u"1e"_s).values())->message,
              uR"(要求："1、平房仓（年度完成规模）"必须填写数字，"1e"不是数字)"_s);
    // Two unreadable fields: the first in form order is named.
    EXPECT_EQ(check(ProjectBuilder::consistent()
                        .set(u"完成_仓储信息"_s, u"-"_s)
                        .set(u"累计_利用外资"_s, u"-"_s)
                        .values())
                  ->focusColumn,
              u"累计_利用外资"_s);
}

TEST(Validation, NumbersAreReadAsTyped)
{
    for (const QString &text : {u" 12 "_s, u"+3"_s, u".5"_s, u"5."_s, u"1e2"_s, u"-0"_s}) {
        const std::optional<ValidationFailure> failure =
            check(ProjectBuilder::consistent().set(u"建设_地坪"_s, text).set(u"完成_地坪"_s, text).values());
        EXPECT_EQ(describe(failure), u"passed"_s) << qPrintable(text);
    }
}

TEST(Validation, StoredProjectsAreCheckedByTheSameRules)
{
    test::TempDatabase db;
    const struct {
        const char *label;
        Changes changes;
        std::optional<int> rule;
    } projects[] = {
        {"consistent", {}, std::nullopt},
        {"information systems below their sum", {{u"建设_信息系统"_s, u"8"_s}}, 33},
        {"decimal sources",
         {{u"总_建筑安装工程"_s, u"0.1"_s}, {u"总_设备工器具购置"_s, u"0.2"_s}, {u"总_其他费用"_s, u"0.3"_s},
          {u"总_财政性资金"_s, u"0.6"_s}, {u"总_其中中央财政"_s, u"0"_s}, {u"总_其中地方财政"_s, u"0"_s},
          {u"总_银行贷款"_s, u"0"_s}, {u"总_利用外资"_s, u"0"_s}, {u"总_自有资金"_s, u"0"_s},
          {u"总_其中退城进郊置换资金"_s, u"0"_s}, {u"总_其他投资"_s, u"0"_s}},
         std::nullopt},
        {"short postal code", {{u"邮政编码"_s, u"12345"_s}}, 0},
        {"completed above planned", {{u"完成_其中散粮船舶"_s, u"2"_s}}, 61},
    };
    for (const auto &project : projects)
        db.addProject(ProjectBuilder::consistent().apply(project.changes).row());

    Connection connection = db.connect();
    Statement rows = connection.prepare(u"select * from TZ_XIANGMU order by id"_s);
    const StoredProjectReader reader(rows);
    ProjectFigures figures; // one object for all rows
    for (const auto &project : projects) {
        ASSERT_TRUE(rows.next());
        ASSERT_FALSE(reader.read(rows, figures)) << project.label;
        const std::optional<ValidationFailure> fast = checkFigures(figures);
        const std::optional<ValidationFailure> viaValues = check(projectValuesFromRow(rows));
        EXPECT_EQ(fast ? std::optional<int>(fast->rule) : std::nullopt, project.rule) << project.label;
        EXPECT_EQ(describe(viaValues), describe(fast)) << project.label;
    }
    EXPECT_FALSE(rows.next());
}

TEST(Validation, StoredRowsReadAsTheFormShowsThem)
{
    test::TempDatabase db;
    QVariantMap row = ProjectBuilder::consistent().row();
    row.insert(u"总_其他投资"_s, 0.1 + 0.2);       // stored as 0.30000000000000004
    row.insert(u"建设_地坪"_s, QVariant());         // NULL
    row.insert(u"完成_地坪"_s, u" 12 "_s);          // text a number column received from an import
    row.insert(u"完成_其中散粮船舶"_s, u"-"_s);     // text that is no number
    db.addProject(row);

    Connection connection = db.connect();
    Statement rows = connection.prepare(u"select * from TZ_XIANGMU"_s);
    ASSERT_TRUE(rows.next());
    const ProjectValues values = projectValuesFromRow(rows);
    EXPECT_EQ(values.value(u"总_其他投资"_s), u"0.3"_s);
    EXPECT_EQ(values.value(u"建设_地坪"_s), u"0"_s);
    EXPECT_EQ(values.value(u"完成_地坪"_s), u"12"_s);
    EXPECT_EQ(values.value(u"完成_其中散粮船舶"_s), u"-"_s);
    EXPECT_EQ(values.value(u"邮政编码"_s), u"100000"_s);

    const StoredProjectReader reader(rows);
    ProjectFigures figures;
    const std::optional<ValidationFailure> unreadable = reader.read(rows, figures);
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->rule, -1);
    EXPECT_EQ(unreadable->focusColumn, u"完成_其中散粮船舶"_s);
    EXPECT_EQ(check(values)->focusColumn, u"完成_其中散粮船舶"_s);
}

TEST(Validation, AReaderNeedsEveryColumnTheRulesRead)
{
    test::TempDatabase db;
    Connection connection = db.connect();
    Statement rows = connection.prepare(u"select id, 邮政编码, 总_财政性资金 from TZ_XIANGMU"_s);
    EXPECT_THROW(StoredProjectReader{rows}, Error);
}

