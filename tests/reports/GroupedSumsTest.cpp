#include "ReportTestSupport.h"
#include "store/ExactSum.h"
#include "reports/frame/GroupedSums.h"
#include "reports/frame/ReportGrid.h"
#include "store/Database.h"
#include "store/NumberFormat.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

TEST(ExactSum, DecimalFiguresAddUpToTheirDecimalTotal)
{
    ExactSum tenths;
    double naive = 0;
    for (int i = 0; i < 1000000; ++i) {
        tenths.add(0.1);
        naive += 0.1;
    }
    EXPECT_EQ(formatNumber(tenths.value()), u"100000"_s);
    EXPECT_NE(formatNumber(naive), u"100000"_s); // what plain addition would show

    ExactSum mixed;
    for (double v : {1e16, 1.0, -1e16, 0.3, 0.2})
        mixed.add(v);
    EXPECT_EQ(formatNumber(mixed.value()), u"1.5"_s);
}

TEST(ReportGrid, TotalsReadTheCellsAsShown)
{
    ReportGrid grid(4, 2);
    grid.setRowCount(5);
    grid.setText(2, 1, u"0.1"_s);
    grid.setText(3, 1, u"0.2"_s);
    grid.setText(4, 1, QString()); // an empty cell adds nothing
    grid.setText(2, 2, u"1E-6"_s);
    grid.setText(3, 2, u"2"_s);
    grid.sumRows(4, {2, 3});
    EXPECT_EQ(grid.rowTexts(4), (QStringList{QString(), u"0.3"_s, u"2.000001"_s, u"0"_s}));
    grid.sumColumns(2, 3, {1, 2});
    EXPECT_EQ(grid.text(2, 3), u"0.100001"_s);
}

TEST(GroupedSums, GroupsAndSumsInOnePass)
{
    test::TempDatabase db;
    db.addProject(test::localProject(u"320102"_s, {{u"总_其他费用"_s, 1.25}}));
    db.addProject(test::localProject(u"320205"_s, {{u"总_其他费用"_s, QVariant()}}));
    db.addProject(test::localProject(u"130102"_s, {{u"总_其他费用"_s, 2}}));
    // Text that is no figure adds nothing to the sum (it still counts as a project).
    db.addProject(test::localProject(u"320301"_s, {{u"总_其他费用"_s, u"5元"_s}}));
    QVariantMap nullCode = test::localProject(u"x"_s, {{u"总_其他费用"_s, 4}});
    nullCode.insert(u"行政区划代码"_s, QVariant());
    db.addProject(nullCode);
    db.addProject(test::localProject(QString(), {{u"总_其他费用"_s, 8}}));

    GroupedQuery query;
    query.keys = {GroupKey::prefix(u"行政区划代码"_s, 2)};
    query.measures = {Measure::count(), Measure::sum(u"总_其他费用"_s)};
    query.orderColumn = u"行政区划代码"_s;
    Connection c(db.path());
    const QVector<GroupedRow> rows = runGroupedSums(c, query);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0).keys, QStringList{QString()}); // empty and missing codes: one group
    EXPECT_EQ(rows.at(0).values, (QVector<double>{2, 12}));
    EXPECT_EQ(rows.at(1).keys, QStringList{u"13"_s});
    EXPECT_EQ(rows.at(2).keys, QStringList{u"32"_s});
    EXPECT_EQ(rows.at(2).values, (QVector<double>{3, 1.25}));

    query.equal = {{u"行政区划代码"_s, u"130102"_s}};
    EXPECT_EQ(runGroupedSums(c, query).size(), 1);
}

TEST(GroupedSums, ColumnsOutsideTheCatalogueAreRefused)
{
    test::TempDatabase db;
    Connection c(db.path());
    GroupedQuery query;
    query.keys = {GroupKey::whole(u"省"_s)};
    query.measures = {Measure::sum(u"总_其他费用\" ; drop table TZ_XIANGMU; --"_s)};
    EXPECT_THROW(runGroupedSums(c, query), Error);
    query.measures = {Measure::sum(u"省"_s)}; // a text column is no figure
    EXPECT_THROW(runGroupedSums(c, query), Error);
    query.measures = {};
    query.equal = {{u"nope"_s, u"x"_s}};
    EXPECT_THROW(runGroupedSums(c, query), Error);
}

} // namespace
} // namespace granwise
