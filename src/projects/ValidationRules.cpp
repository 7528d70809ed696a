#include "Validation.h"
#include "ValidationFigures.h"

#include "store/ProjectColumns.h"

#include <algorithm>
#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

using validation::positionsOf;

// One row of the rule table. Column lists are "+"-joined names; the rule fails when the sum of
// the left columns is above (LeftNotAboveRight) or differs from (LeftEqualsRight) the sum of
// the right columns. Messages are the return's own texts, quotes and slips included.
struct RuleRow {
    int number;
    RuleTest test;
    const char16_t *left;
    const char16_t *right;
    const char16_t *message;
    const char16_t *focus;
};

constexpr RuleTest NotAbove = RuleTest::LeftNotAboveRight;
constexpr RuleTest Equal = RuleTest::LeftEqualsRight;

constexpr const char16_t kFiscalCentral[] = uR"(要求：财政性资金不得小于中央财政)";
constexpr const char16_t kFiscalLocal[] = uR"(要求：财政性资金不得小于地方财政)";
constexpr const char16_t kOwnFunds[] = uR"(要求：自有资金不得小于退城进郊置换资金)";
constexpr const char16_t kSourcesEqualComposition[] = uR"(要求：投资构成合计应等于投资来源合计)";
constexpr const char16_t kCompletedNotAbovePlanned[] = uR"(要求："年度完成规模"不得大于"建设规模")";
// Rules 36 and 37 say "度度" where the others say "年度"; the text is kept as the return has it.
constexpr const char16_t kCompletedNotAbovePlannedSlip[] = uR"(要求："度度完成规模"不得大于"建设规模")";

constexpr RuleRow kRules[] = {
    {0, RuleTest::PostalCodeSixDigits, u"邮政编码", u"", uR"(要求：邮政编码必须为6位)", u"邮政编码"},

    // Funding: an "of which" part is at most its parent; the sources add up to the total.
    {1, NotAbove, u"总_其中中央财政", u"总_财政性资金", kFiscalCentral, u"总_财政性资金"},
    {2, NotAbove, u"总_其中地方财政", u"总_财政性资金", kFiscalLocal, u"总_财政性资金"},
    {3, NotAbove, u"累计_其中中央财政", u"累计_财政性资金", kFiscalCentral, u"累计_其中中央财政"},
    {4, NotAbove, u"累计_其中地方财政", u"累计_财政性资金", kFiscalLocal, u"累计_其中地方财政"},
    {5, NotAbove, u"本年_其中中央财政", u"本年_财政性资金", kFiscalCentral, u"本年_财政性资金"},
    {6, NotAbove, u"本年_其中地方财政", u"本年_财政性资金", kFiscalLocal, u"本年_财政性资金"},
    {7, NotAbove, u"总_其中退城进郊置换资金", u"总_自有资金", kOwnFunds, u"总_自有资金"},
    {8, NotAbove, u"累计_其中退城进郊置换资金", u"累计_自有资金", kOwnFunds, u"累计_自有资金"},
    {9, NotAbove, u"本年_其中退城进郊置换资金", u"本年_自有资金", kOwnFunds, u"本年_自有资金"},
    {10, Equal, u"总_财政性资金+总_银行贷款+总_利用外资+总_自有资金+总_其他投资",
     u"总_建筑安装工程+总_设备工器具购置+总_其他费用", kSourcesEqualComposition, u"总_财政性资金"},
    {11, Equal, u"累计_财政性资金+累计_银行贷款+累计_利用外资+累计_自有资金+累计_其他投资",
     u"累计_建筑安装工程+累计_设备工器具购置+累计_其他费用", kSourcesEqualComposition, u"累计_财政性资金"},
    {12, Equal, u"本年_财政性资金+本年_银行贷款+本年_利用外资+本年_自有资金+本年_其他投资",
     u"本年_建筑安装工程+本年_设备工器具购置+本年_其他费用", kSourcesEqualComposition, u"本年_财政性资金"},

    // Scale: an "of which" item is at most its parent.
    {13, NotAbove, u"建设_其中成品粮应急储备仓", u"建设_新建仓容",
     uR"(要求：新建仓容建设规模不得小于成品粮应急储备仓建设规模)", u"建设_其中成品粮应急储备仓"},
    {14, NotAbove, u"完成_其中成品粮应急储备仓", u"完成_新建仓容",
     uR"(要求：新建仓容度完成规模不得小于成品粮应急储备仓度完成规模)", u"完成_其中成品粮应急储备仓"},
    {15, NotAbove, u"建设_铁路罩棚+建设_储粮罩棚", u"建设_罩棚",
     uR"(要求：罩棚建设规模不得小于铁路罩棚与储粮罩棚建设规模之和")", u"建设_罩棚"},
    {16, NotAbove, u"完成_其中铁路罩棚+完成_储粮罩棚", u"完成_罩棚",
     uR"(要求：罩棚年度完成规模不得小于铁路罩棚与储粮罩棚年度完成规模之和)", u"完成_罩棚"},
    {17, NotAbove, u"建设_其中钢板筒仓", u"建设_立筒仓",
     uR"(要求："立筒仓建设规模"不得小于"钢板简仓建设规模")", u"建设_立筒仓"},
    {18, NotAbove, u"完成_其中钢板筒仓", u"完成_立筒仓",
     uR"(要求："立筒仓年度完成规模"不得小于"钢板简仓年度完成规模")", u"完成_立筒仓"},
    {19, NotAbove, u"建设_其中大修仓容", u"建设_维修改造仓容",
     uR"(要求："维修改造仓容建设规模"不得小于"大修仓容建设规模")", u"建设_维修改造仓容"},
    {20, NotAbove, u"完成_其中大修仓容", u"完成_维修改造仓容",
     uR"(要求："维修改造仓容年度完成规模"不得小于"大修仓容年度完成规模")", u"完成_维修改造仓容"},
    {21, NotAbove, u"建设_其中铁路专用线有效长度", u"建设_铁路专用线",
     uR"(要求："铁路专用线建设规模"不得小于"铁路专用线有效长度建设规模")", u"建设_铁路专用线"},
    {22, NotAbove, u"完成_其中铁路专用线有效长度", u"完成_铁路专用线",
     uR"(要求："铁路专用线年度完成规模"不得小于"铁路专用线有效长度年度完成规模")", u"完成_铁路专用线"},
    {23, NotAbove, u"建设_铁路罩棚", u"建设_罩棚",
     uR"(要求："罩棚建设规模"不得小于"铁路罩棚建设规模")", u"建设_罩棚"},
    {24, NotAbove, u"完成_其中铁路罩棚", u"完成_罩棚",
     uR"(要求："罩棚完成规模"不得小于"铁路罩棚完成规模")", u"完成_罩棚"},
    {25, NotAbove, u"建设_储粮罩棚", u"建设_罩棚",
     uR"(要求："罩棚建设规模"不得小于"储粮罩棚建设规模")", u"建设_罩棚"},
    {26, NotAbove, u"完成_储粮罩棚", u"完成_罩棚",
     uR"(要求："罩棚完成规模"不得小于"储粮罩棚完成规模")", u"完成_罩棚"},
    {27, NotAbove, u"建设_电子政务", u"建设_信息系统",
     uR"(要求："信息系统建设规模"不得小于"电子政务系统建设规模")", u"建设_电子政务"},
    {28, NotAbove, u"完成_电子政务", u"完成_信息系统",
     uR"(要求："信息系统完成规模"不得小于"电子政务系统完成规模")", u"完成_电子政务"},
    {29, NotAbove, u"建设_粮情监测", u"建设_信息系统",
     uR"(要求："信息系统建设规模"不得小于"粮情监测预警系统建设规模")", u"建设_粮情监测"},
    {30, NotAbove, u"完成_粮情监测", u"完成_信息系统",
     uR"(要求："信息系统完成规模"不得小于"粮情监测预警系统完成规模")", u"完成_粮情监测"},
    {31, NotAbove, u"建设_仓储信息", u"建设_信息系统",
     uR"(要求："信息系统建设规模"不得小于"仓储信息系统建设规模")", u"建设_仓储信息"},
    {32, NotAbove, u"完成_仓储信息", u"完成_信息系统",
     uR"(要求："信息系统完成规模"不得小于"仓储信息系统完成规模")", u"完成_仓储信息"},
    {33, NotAbove, u"建设_电子政务+建设_粮情监测+建设_仓储信息", u"建设_信息系统",
     uR"(要求：信息系统建设规模不得小于电子政务系统、粮情监测预警系统与仓储信息系统建设规模之和")",
     u"建设_信息系统"},
    {34, NotAbove, u"完成_电子政务+完成_粮情监测+完成_仓储信息", u"完成_信息系统",
     uR"(要求：信息系统年度完成规模不得小于电子政务系统、粮情监测预警系统与仓储信息系统年度完成规模之和)",
     u"完成_信息系统"},

    // Completed this year at most planned, for every item but the derived 新建仓容 and 机械设备.
    {35, NotAbove, u"完成_其中成品粮应急储备仓", u"建设_其中成品粮应急储备仓", kCompletedNotAbovePlanned,
     u"建设_其中成品粮应急储备仓"},
    {36, NotAbove, u"完成_平房仓", u"建设_平房仓", kCompletedNotAbovePlannedSlip, u"建设_平房仓"},
    {37, NotAbove, u"完成_立筒仓", u"建设_立筒仓", kCompletedNotAbovePlannedSlip, u"建设_立筒仓"},
    {38, NotAbove, u"完成_其中钢板筒仓", u"建设_其中钢板筒仓", kCompletedNotAbovePlanned, u"建设_其中钢板筒仓"},
    {39, NotAbove, u"完成_浅圆仓", u"建设_浅圆仓", kCompletedNotAbovePlanned, u"建设_浅圆仓"},
    {40, NotAbove, u"完成_其他仓型", u"建设_其他仓型", kCompletedNotAbovePlanned, u"建设_其他仓型"},
    {41, NotAbove, u"完成_新建油罐", u"建设_新建油罐", kCompletedNotAbovePlanned, u"建设_新建油罐"},
    {42, NotAbove, u"完成_维修改造仓容", u"建设_维修改造仓容", kCompletedNotAbovePlanned, u"建设_维修改造仓容"},
    {43, NotAbove, u"完成_其中大修仓容", u"建设_其中大修仓容", kCompletedNotAbovePlanned, u"建设_其中大修仓容"},
    {44, NotAbove, u"完成_维修改造油罐", u"建设_维修改造油罐", kCompletedNotAbovePlanned, u"建设_维修改造油罐"},
    {45, NotAbove, u"完成_其中泊位个数", u"建设_其中泊位个数", kCompletedNotAbovePlanned, u"建设_其中泊位个数"},
    {46, NotAbove, u"完成_其中吞吐能力", u"建设_其中吞吐能力", kCompletedNotAbovePlanned, u"建设_其中吞吐能力"},
    {47, NotAbove, u"完成_铁路专用线", u"建设_铁路专用线", kCompletedNotAbovePlanned, u"建设_铁路专用线"},
    {48, NotAbove, u"完成_其中铁路专用线有效长度", u"建设_其中铁路专用线有效长度", kCompletedNotAbovePlanned,
     u"建设_其中铁路专用线有效长度"},
    {49, NotAbove, u"完成_罩棚", u"建设_罩棚", kCompletedNotAbovePlanned, u"建设_罩棚"},
    {50, NotAbove, u"完成_其中铁路罩棚", u"建设_铁路罩棚", kCompletedNotAbovePlanned, u"建设_铁路罩棚"},
    {51, NotAbove, u"完成_地坪", u"建设_地坪", kCompletedNotAbovePlanned, u"建设_地坪"},
    {52, NotAbove, u"完成_其中接收能力", u"建设_其中接收能力", kCompletedNotAbovePlanned, u"建设_其中接收能力"},
    {53, NotAbove, u"完成_其中发放能力", u"建设_其中发放能力", kCompletedNotAbovePlanned, u"建设_其中发放能力"},
    {54, NotAbove, u"完成_保粮设备", u"建设_保粮设备", kCompletedNotAbovePlanned, u"建设_保粮设备"},
    {55, NotAbove, u"完成_烘干设备", u"建设_烘干设备", kCompletedNotAbovePlanned, u"建设_烘干设备"},
    {56, NotAbove, u"完成_其中烘干能力", u"建设_其中烘干能力", kCompletedNotAbovePlanned, u"建设_其中烘干能力"},
    {57, NotAbove, u"完成_进出仓设备", u"建设_进出仓设备", kCompletedNotAbovePlanned, u"建设_进出仓设备"},
    {58, NotAbove, u"完成_地中衡", u"建设_地中衡", kCompletedNotAbovePlanned, u"建设_地中衡"},
    {59, NotAbove, u"完成_其中散粮汽车", u"建设_其中散粮汽车", kCompletedNotAbovePlanned, u"建设_其中散粮汽车"},
    {60, NotAbove, u"完成_其中散粮火车皮", u"建设_其中散粮火车皮", kCompletedNotAbovePlanned, u"建设_其中散粮火车皮"},
    {61, NotAbove, u"完成_其中散粮船舶", u"建设_其中散粮船舶", kCompletedNotAbovePlanned, u"建设_其中散粮船舶"},
    {62, NotAbove, u"完成_检化验设备", u"建设_检化验设备", kCompletedNotAbovePlanned, u"建设_检化验设备"},
    {63, NotAbove, u"完成_办公业务用房", u"建设_办公业务用房", kCompletedNotAbovePlanned, u"建设_办公业务用房"},
    {64, NotAbove, u"完成_储粮罩棚", u"建设_储粮罩棚", kCompletedNotAbovePlanned, u"完成_储粮罩棚"},
    {65, NotAbove, u"完成_农户科学储粮", u"建设_农户科学储粮", kCompletedNotAbovePlanned, u"建设_农户科学储粮"},
    {66, NotAbove, u"完成_信息系统", u"建设_信息系统", kCompletedNotAbovePlanned, u"建设_信息系统"},
    {67, NotAbove, u"完成_电子政务", u"建设_电子政务", kCompletedNotAbovePlanned, u"建设_电子政务"},
    {68, NotAbove, u"完成_粮情监测", u"建设_粮情监测", kCompletedNotAbovePlanned, u"建设_粮情监测"},
    {69, NotAbove, u"完成_仓储信息", u"建设_仓储信息", kCompletedNotAbovePlanned, u"建设_仓储信息"},
};

bool namesDerivedColumn(const QVector<int> &positions)
{
    const QVector<ProjectColumn> &catalogue = projectColumns();
    return std::any_of(positions.cbegin(), positions.cend(), [&](int p) { return catalogue.at(p).derived; });
}

QVector<ValidationRule> buildRules()
{
    QVector<ValidationRule> rules;
    for (const RuleRow &row : kRules) {
        ValidationRule rule;
        rule.number = row.number;
        rule.test = row.test;
        const QString left = QString::fromUtf16(row.left);
        const QString right = QString::fromUtf16(row.right);
        rule.left = left.split(u'+');
        rule.right = right.isEmpty() ? QStringList() : right.split(u'+');
        rule.message = QString::fromUtf16(row.message);
        rule.focusColumn = QString::fromUtf16(row.focus);
        rule.leftPositions = positionsOf(left);
        if (!right.isEmpty())
            rule.rightPositions = positionsOf(right);
        positionsOf(rule.focusColumn); // the focus must be a catalogue column too
        rule.roundsSums = rule.leftPositions.size() > 1 || rule.rightPositions.size() > 1
                          || namesDerivedColumn(rule.leftPositions) || namesDerivedColumn(rule.rightPositions);
        rules.append(rule);
    }
    return rules;
}

bool isPostalCode(const QString &text)
{
    const QStringView code = QStringView(text).trimmed();
    return code.size() == 6 && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

double sum(const QVector<int> &positions, const double *numbers)
{
    double total = 0;
    for (int p : positions)
        total += numbers[p];
    return total;
}

using validation::roundLikeTheForm;

// Rounding to 15 digits never reverses an order, so it is needed only when the exact values
// fail the test.
bool notAbove(double left, double right, bool rounded)
{
    if (left <= right)
        return true;
    return rounded && roundLikeTheForm(left) <= roundLikeTheForm(right);
}

bool equal(double left, double right, bool rounded)
{
    if (left == right)
        return true;
    if (!rounded)
        return false;
    // Two values that round to the same 15 digits differ by at most one unit of their 15th
    // digit; values further apart need no rounding to tell them unequal.
    const double scale = std::max(std::fabs(left), std::fabs(right));
    if (std::fabs(left - right) > 2e-14 * scale)
        return false;
    return roundLikeTheForm(left) == roundLikeTheForm(right);
}

} // namespace

const QVector<ValidationRule> &validationRules()
{
    static const QVector<ValidationRule> rules = buildRules();
    return rules;
}

bool rulePasses(const ValidationRule &rule, const ProjectFigures &figures)
{
    const double *numbers = figures.numbers.constData();
    switch (rule.test) {
    case RuleTest::PostalCodeSixDigits:
        return isPostalCode(figures.postalCode);
    case RuleTest::LeftNotAboveRight:
        return notAbove(sum(rule.leftPositions, numbers), sum(rule.rightPositions, numbers), rule.roundsSums);
    case RuleTest::LeftEqualsRight:
        return equal(sum(rule.leftPositions, numbers), sum(rule.rightPositions, numbers), rule.roundsSums);
    }
    return false;
}

std::optional<ValidationFailure> checkFigures(const ProjectFigures &figures)
{
    for (const ValidationRule &rule : validationRules())
        if (!rulePasses(rule, figures))
            return ValidationFailure{rule.number, rule.message, rule.focusColumn};
    return std::nullopt;
}

} // namespace granwise
