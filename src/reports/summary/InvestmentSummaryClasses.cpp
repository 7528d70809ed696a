#include "InvestmentSummaryClasses.h"

#include "store/Database.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

const ClassBreakdown &ownershipClasses()
{
    static const ClassBreakdown classes{col::Ownership,
                                        {{u"其中：国有及国有控股"_s, u"国有及国有控股"_s},
                                         {u"      民营"_s, u"民营"_s},
                                         {u"      外资"_s, u"外资"_s}}};
    return classes;
}

const ClassBreakdown &affiliationClasses()
{
    static const ClassBreakdown classes{col::Affiliation,
                                        {{u"    中央项目"_s, u"中央企业"_s}, {u"    地方项目"_s, u"地方企业"_s}}};
    return classes;
}

const ClassBreakdown &natureClasses()
{
    static const ClassBreakdown classes{
        col::ConstructionNature,
        {{u"    新建"_s, u"新建"_s}, {u"    扩建"_s, u"扩建"_s}, {u"    改建"_s, u"改建"_s}}};
    return classes;
}

const ClassBreakdown &categoryClasses()
{
    static const ClassBreakdown classes{col::Category,
                                        {{u"    粮油仓储设施项目"_s, u"粮油仓储设施项目"_s},
                                         {u"    粮食现代物流项目"_s, u"粮食现代物流项目"_s},
                                         {u"    危仓老库修复项目"_s, u"危仓老库修复项目"_s},
                                         {u"    粮食检验监测项目"_s, u"粮食检验监测项目"_s},
                                         {u"    农户科学储粮项目"_s, u"农户科学储粮项目"_s},
                                         {u"    信息化建设项目"_s, u"信息化建设项目"_s},
                                         {u"    其他项目"_s, u"其他项目"_s}}};
    return classes;
}

const ClassBreakdown &progressClasses()
{
    static const ClassBreakdown classes{col::Progress,
                                        {{u"    前期项目"_s, u"前期项目"_s},
                                         {u"    在建项目"_s, u"在建项目"_s},
                                         {u"    竣工项目"_s, u"竣工项目"_s}}};
    return classes;
}

ProjectTally::ProjectTally(const QString &databasePath, const GroupedQuery &query) : m_query(query)
{
    m_rows = runGroupedSums(databasePath, m_query);
}

QVector<ExactSum> ProjectTally::sum(const std::function<bool(const QStringList &keys)> &counts) const
{
    QVector<ExactSum> sums(m_query.measures.size());
    for (const GroupedRow &row : m_rows) {
        if (!counts(row.keys))
            continue;
        for (int m = 0; m < sums.size(); ++m)
            sums[m].add(row.values.at(m));
    }
    return sums;
}

QVector<ExactSum> ProjectTally::sumWhereKeyIn(int key, const QStringList &values) const
{
    return sum([&](const QStringList &keys) { return values.contains(keys.at(key)); });
}

QVector<ExactSum> ProjectTally::sumAll() const
{
    return sum([](const QStringList &) { return true; });
}

double sumOf(const QVector<ExactSum> &sums, const QVector<int> &measures)
{
    ExactSum total;
    for (int m : measures)
        total.add(sums.at(m));
    return total.value();
}

} // namespace granwise
