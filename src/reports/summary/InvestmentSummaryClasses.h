#pragma once

#include "store/ExactSum.h"
#include "reports/frame/GroupedSums.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace granwise {

// One row of a breakdown: its label as the tables show it and the text of the breakdown's
// column that its projects carry (compared exactly: "新建 " is not "新建").
struct ClassRow {
    QString label;
    QString value;
};

// The projects broken down by one column of TZ_XIANGMU.
struct ClassBreakdown {
    QString column;
    QVector<ClassRow> rows;
};

// The breakdowns the investment summary tables and the progress table share.
const ClassBreakdown &ownershipClasses();   // 项目单位性质: 国有及国有控股, 民营, 外资
const ClassBreakdown &affiliationClasses(); // 隶属关系: 中央项目, 地方项目
const ClassBreakdown &natureClasses();      // 建设性质: 新建, 扩建, 改建
const ClassBreakdown &categoryClasses();    // 项目类别: the seven categories
const ClassBreakdown &progressClasses();    // 项目进展: 前期项目, 在建项目, 竣工项目

// The projects of TZ_XIANGMU tallied in one pass over the table by several columns at once:
// every measure is summed for each combination of the key values that occurs. A row of a
// table then adds up the combinations it counts, so a table of many breakdowns reads the
// table once.
class ProjectTally {
public:
    ProjectTally(const QString &databasePath, const GroupedQuery &query);

    // Every measure added up over the combinations whose key texts pass `counts`; all 0 when
    // none does.
    QVector<ExactSum> sum(const std::function<bool(const QStringList &keys)> &counts) const;
    // The same over the combinations whose key `key` is one of `values`.
    QVector<ExactSum> sumWhereKeyIn(int key, const QStringList &values) const;
    // Over every project tallied.
    QVector<ExactSum> sumAll() const;

private:
    GroupedQuery m_query;
    QVector<GroupedRow> m_rows;
};

// The sum of some of the measures of a tally row.
double sumOf(const QVector<ExactSum> &sums, const QVector<int> &measures);

} // namespace granwise
