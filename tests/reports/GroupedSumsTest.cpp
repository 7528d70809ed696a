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

// A large table is read in two halves at once; the groups, their order and their sums are
// those of one pass, whether the groups come first in either half or in both, and also when
// somebody else is writing (then it is read in one pass, without waiting for the writer).
TEST(GroupedSums, ALargeTableReadInTwoHalvesGivesWhatOnePassGives)
{
    test::TempDatabase db;
    {
        Connection c(db.path());
        // Codes 11..17 from the start; 41 only from id 25000 on; a gap in the rowids.
        c.execute(u"with recursive seq(i) as (select 1 union all select i + 1 from seq where i < 30000) "
                  u"insert into TZ_XIANGMU (id, 企业详细名称, 项目名称, 行政区划代码, 隶属关系, 总_其他费用, 总_建筑安装工程) "
                  u"select i, 'E' || i, '仓', case when i >= 25000 and i % 3 = 0 then '410102' "
                  u"else (11 + i % 7) || '0' || (100 + i % 5) end, case i % 4 when 0 then '中央企业' else '地方企业' end, "
                  u"(i % 1000) / 100.0, case when i % 11 = 0 then null else i / 7.0 end from seq"_s);
        c.execute(u"delete from TZ_XIANGMU where id between 14000 and 16000"_s);
        // The smallest code of the local enterprises lies in the second half only.
        c.execute(u"update TZ_XIANGMU set 行政区划代码 = '100000' where id = 29001"_s);
    }
    const auto same = [&](const GroupedQuery &query) {
        Connection c(db.path());
        const QVector<GroupedRow> onePass = runGroupedSums(c, query);
        const QVector<GroupedRow> halves = runGroupedSums(db.path(), query);
        ASSERT_EQ(halves.size(), onePass.size());
        for (int i = 0; i < onePass.size(); ++i) {
            EXPECT_EQ(halves.at(i).keys, onePass.at(i).keys) << i;
            ASSERT_EQ(halves.at(i).values.size(), onePass.at(i).values.size());
            for (int m = 0; m < onePass.at(i).values.size(); ++m)
                EXPECT_EQ(formatNumber(halves.at(i).values.at(m)), formatNumber(onePass.at(i).values.at(m)))
                    << i << " " << m;
        }
    };
    GroupedQuery query;
    query.keys = {GroupKey::prefix(u"行政区划代码"_s, 2), GroupKey::whole(u"隶属关系"_s)};
    query.measures = {Measure::count(), Measure::sum(u"总_其他费用"_s), Measure::sum(u"总_建筑安装工程"_s)};
    {
        SCOPED_TRACE("in the order the groups first occur");
        same(query);
    }
    {
        SCOPED_TRACE("ordered by the smallest code of each group");
        query.orderColumn = u"行政区划代码"_s;
        same(query);
    }
    {
        SCOPED_TRACE("groups ordered by a column that is not their key");
        GroupedQuery byAffiliation;
        byAffiliation.keys = {GroupKey::whole(u"隶属关系"_s)};
        byAffiliation.measures = {Measure::count()};
        byAffiliation.orderColumn = u"行政区划代码"_s;
        same(byAffiliation);
        EXPECT_EQ(runGroupedSums(db.path(), byAffiliation).at(0).keys, QStringList{u"地方企业"_s});
    }
    {
        SCOPED_TRACE("the projects of one affiliation");
        query.equal = {{u"隶属关系"_s, u"中央企业"_s}};
        same(query);
    }
    {
        SCOPED_TRACE("while somebody else is writing");
        Connection writer(db.path());
        writer.executeScript(u"begin immediate"_s);
        writer.execute(u"update TZ_XIANGMU set 总_其他费用 = 1e9 where id = 1"_s); // not yet seen
        same(query);
        writer.executeScript(u"rollback"_s);
    }
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
