#include "projects/FormFigures.h"

#include "store/ProjectColumns.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

QString controlOf(const QString &column)
{
    return findProjectColumn(column)->control;
}

TEST(FormFigures, NumberFieldsAreTheInvestmentAndScaleFieldsAndTheTotals)
{
    const QStringList &fields = numericControls();
    EXPECT_EQ(fields.size(), 110);
    EXPECT_TRUE(fields.contains(u"MaskEdit001"_s));
    EXPECT_TRUE(fields.contains(u"MaskEdit107"_s));
    for (const QString &total : {u"MaskEdit13"_s, u"MaskEdit14"_s, u"MaskEdit15"_s})
        EXPECT_TRUE(fields.contains(total));
    EXPECT_FALSE(fields.contains(u"MaskEditS10"_s));
}

TEST(FormFigures, DerivedFieldsSumTheirParts)
{
    // Sums of the documented fields: investment totals of parts 1-3, new storage capacity of the
    // four warehouse types, machinery of the five kinds of equipment.
    const QHash<QString, QStringList> expected{
        {u"MaskEdit13"_s, {u"MaskEdit001"_s, u"MaskEdit002"_s, u"MaskEdit003"_s}},
        {u"MaskEdit14"_s, {u"MaskEdit012"_s, u"MaskEdit013"_s, u"MaskEdit014"_s}},
        {u"MaskEdit15"_s, {u"MaskEdit023"_s, u"MaskEdit024"_s, u"MaskEdit025"_s}},
        {u"MaskEdit034"_s, {u"MaskEdit036"_s, u"MaskEdit037"_s, u"MaskEdit039"_s, u"MaskEdit040"_s}},
        {u"MaskEdit065"_s, {u"MaskEdit067"_s, u"MaskEdit068"_s, u"MaskEdit070"_s, u"MaskEdit071"_s}},
        {u"MaskEdit054"_s,
         {u"MaskEdit055"_s, u"MaskEdit056"_s, u"MaskEdit058"_s, u"MaskEdit059"_s, u"MaskEdit063"_s}},
        {u"MaskEdit085"_s,
         {u"MaskEdit086"_s, u"MaskEdit087"_s, u"MaskEdit089"_s, u"MaskEdit090"_s, u"MaskEdit094"_s}},
    };
    ASSERT_EQ(derivedFigures().size(), expected.size());
    for (const DerivedFigure &figure : derivedFigures())
        EXPECT_EQ(figure.sources, expected.value(figure.control)) << figure.control.toStdString();
    EXPECT_EQ(derivedFigures().at(3).column, u"建设_新建仓容"_s);
}

TEST(FormFigures, RecomputationFormatsSumsAndCountsUnfinishedFieldsAsZero)
{
    QHash<QString, QString> texts{
        {controlOf(u"总_建筑安装工程"_s), u"0.1"_s},
        {controlOf(u"总_设备工器具购置"_s), u"0.2"_s},
        {controlOf(u"总_其他费用"_s), u"-"_s},
        {controlOf(u"累计_建筑安装工程"_s), u"1e"_s},
        {controlOf(u"建设_平房仓"_s), u"12345678901234.5"_s},
        {controlOf(u"建设_立筒仓"_s), u"0.25"_s},
        {controlOf(u"完成_保粮设备"_s), u"3"_s},
        {controlOf(u"完成_检化验设备"_s), u"4"_s},
        {controlOf(u"完成_其中烘干能力"_s), u"100"_s}, // capacity, not equipment: not added
    };
    const QHash<QString, QString> result =
        recomputeFigures([&](const QString &control) { return texts.value(control); });
    EXPECT_EQ(result.value(u"MaskEdit13"_s), u"0.3"_s);
    EXPECT_EQ(result.value(u"MaskEdit14"_s), u"1"_s);
    EXPECT_EQ(result.value(u"MaskEdit15"_s), u"0"_s);
    EXPECT_EQ(result.value(u"MaskEdit034"_s), u"12345678901234.8"_s);
    EXPECT_EQ(result.value(u"MaskEdit085"_s), u"7"_s);
    EXPECT_EQ(result.value(u"MaskEdit054"_s), u"0"_s);
}

} // namespace
} // namespace granwise
