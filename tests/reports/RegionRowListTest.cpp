#include "ReportTestSupport.h"
#include "reports/frame/ProvinceCodes.h"
#include "reports/frame/RegionRowList.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

QStringList labels(const RowPlan &plan)
{
    QStringList l;
    for (const PlannedRow &r : plan.rows)
        l << r.label;
    return l;
}

const QStringList MainProducing = {u"内蒙古"_s, u"辽  宁"_s, u"吉  林"_s, u"黑龙江"_s, u"河  北"_s,
                                   u"江  苏"_s, u"安  徽"_s, u"山  东"_s, u"河  南"_s, u"江  西"_s,
                                   u"湖  北"_s, u"湖  南"_s, u"四  川"_s};
const QStringList Balanced = {u"山  西"_s, u"广  西"_s, u"重  庆"_s, u"贵  州"_s, u"云  南"_s, u"西  藏"_s,
                              u"陕  西"_s, u"甘  肃"_s, u"青  海"_s, u"宁  夏"_s, u"新  疆"_s, u"新疆兵团"_s};
const QStringList MainConsuming = {u"北  京"_s, u"天  津"_s, u"上  海"_s, u"浙  江"_s,
                                   u"福  建"_s, u"广  东"_s, u"海  南"_s};

TEST(RegionRowList, CombinedLayoutIsTheTotalThenThreeGroupsWithTheirProvinces)
{
    const RowPlan plan = RegionRowList(RegionLayout::Combined);
    const QStringList expected = QStringList{u"合计"_s, u"1、主产区"_s} + MainProducing + QStringList{u"2、产销平衡区"_s} +
                                 Balanced + QStringList{u"3、主销区"_s} + MainConsuming;
    EXPECT_EQ(labels(plan), expected);
    EXPECT_EQ(plan.rows.size(), 36);
    EXPECT_FALSE(plan.separate);
    EXPECT_EQ(plan.rows.at(0).parts, (QVector<int>{1, 15, 28}));
}

TEST(RegionRowList, SeparateLayoutListsTheCentralEnterprisesAfterTheLocalSubtotal)
{
    const RowPlan plan = RegionRowList(RegionLayout::Separate);
    const QStringList expected = QStringList{u"合计"_s, u"一、地方小计"_s, u"1、主产区"_s} + MainProducing +
                                 QStringList{u"2、产销平衡区"_s} + Balanced + QStringList{u"3、主销区"_s} + MainConsuming +
                                 QStringList{u"二、中央企业小计"_s, u"中储粮"_s, u"中  粮"_s, u"中  纺"_s};
    EXPECT_EQ(labels(plan), expected);
    EXPECT_EQ(plan.rows.size(), 41);
    EXPECT_EQ(plan.rows.at(0).parts, (QVector<int>{1, 37}));
    EXPECT_EQ(plan.rows.at(37).parts, (QVector<int>{38, 39, 40}));
    EXPECT_EQ(plan.rows.at(39).company, u"中粮"_s);
}

TEST(RegionRowList, EveryCodeHasExactlyOneRowAndTheCorpsNone)
{
    const RowPlan plan = RegionRowList(RegionLayout::Separate);
    QStringList codes;
    for (const ProvinceRow &p : provinceRows()) {
        if (p.code.isEmpty())
            continue;
        const int i = plan.indexOfProvince(p.code);
        ASSERT_GE(i, 0) << p.code.toStdString();
        EXPECT_EQ(plan.rows.at(i).label, p.label);
        codes << p.code;
    }
    codes.removeDuplicates();
    EXPECT_EQ(codes.size(), 31);
    EXPECT_EQ(plan.indexOfProvince(QString()), -1);
    EXPECT_EQ(plan.indexOfProvince(u"66"_s), -1);
    EXPECT_EQ(plan.indexOfCompany(u"华粮"_s), -1);
}

TEST(RegionRowList, TablesWordTheirLabelsAsTheyPrintThem)
{
    test::TempDatabase db;
    struct Case {
        const char *number;
        int row; // data row index
        QString label;
    };
    const Case cases[] = {
        {"1-3", 2, u"（一）主产区"_s},   {"1-3", 16, u"（二）产销平衡区"_s}, {"1-3", 29, u"（三）主销区"_s},
        {"1-3", 37, u"二、央企小计"_s},  {"1-4", 1, u"1、主产区"_s},         {"1-5", 37, u"二、央企小计"_s},
        {"1-5", 2, u"1、主产区"_s},      {"1-13", 37, u"二、中央企业小计"_s}, {"1-21", 0, u"全国合计"_s},
        {"1-22", 0, u"全国合计"_s},      {"1-20", 0, u"合计"_s},              {"1-2", 27, u"新疆兵团"_s},
    };
    for (const Case &c : cases) {
        const ReportGrid grid = test::wholeTable(QString::fromLatin1(c.number), db);
        EXPECT_EQ(grid.text(grid.firstDataRow() + c.row, 0), c.label) << c.number << " row " << c.row;
    }
}

} // namespace
} // namespace granwise
