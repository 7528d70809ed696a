#include "GroupedSums.h"

#include "store/ExactSum.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "store/TableHalves.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString checkedColumn(const QString &name, bool mustBeNumber)
{
    const ProjectColumn *column = findProjectColumn(name);
    if (!column)
        throw Error(u"报表定义错误：TZ_XIANGMU 没有列 %1"_s.arg(name));
    if (mustBeNumber && !column->isNumber())
        throw Error(u"报表定义错误：%1 不是数字列，不能求和"_s.arg(name));
    return u'"' + name + u'"';
}

QString keySql(const GroupKey &key)
{
    const QString column = checkedColumn(key.column, false);
    return key.prefixLength > 0 ? u"substr(%1,1,%2)"_s.arg(column, QString::number(key.prefixLength)) : column;
}

// Appends one key part as its length and its bytes, so that parts never run into each other.
void appendKeyPart(std::string &out, std::string_view part)
{
    const auto length = static_cast<quint32>(part.size());
    out.append(reinterpret_cast<const char *>(&length), sizeof length);
    out.append(part);
}

struct Accumulated {
    std::string key;
    std::string order;
    bool ordered = false;
    std::vector<ExactSum> sums;
};

QStringList splitKey(const std::string &key, int count)
{
    QStringList keys;
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) {
        quint32 length = 0;
        std::copy_n(key.data() + at, sizeof length, reinterpret_cast<char *>(&length));
        at += sizeof length;
        keys << QString::fromUtf8(key.data() + at, qsizetype(length));
        at += length;
    }
    return keys;
}

} // namespace

QString groupedSumsSql(const GroupedQuery &query)
{
    QStringList select;
    for (const GroupKey &k : query.keys)
        select << keySql(k);
    if (!query.orderColumn.isEmpty())
        select << checkedColumn(query.orderColumn, false);
    for (const Measure &m : query.measures)
        if (m.kind == Measure::Kind::Sum)
            select << checkedColumn(m.column, true);
    if (select.isEmpty())
        select << u"1"_s;
    QString sql = u"select "_s + select.join(u',') + u" from TZ_XIANGMU"_s;
    QStringList conditions;
    for (const auto &[column, value] : query.equal) {
        Q_UNUSED(value);
        conditions << checkedColumn(column, false) + u" = ?"_s;
    }
    if (!conditions.isEmpty())
        sql += u" where "_s + conditions.join(u" and "_s);
    return sql;
}

namespace {

// The groups of the projects read so far, in the order they first occur.
struct Groups {
    std::vector<Accumulated> list;
    std::unordered_map<std::string, std::size_t> index;

    Accumulated &of(const std::string &key, std::size_t measureCount)
    {
        auto found = index.find(key);
        if (found == index.end()) {
            found = index.emplace(key, list.size()).first;
            list.push_back({key, {}, false, std::vector<ExactSum>(measureCount)});
        }
        return list[found->second];
    }

    // Adds the groups of projects read after these: a group already here takes their sums and
    // the smaller order value, a new one comes after those here.
    void add(Groups &&later)
    {
        for (Accumulated &g : later.list) {
            Accumulated &group = of(g.key, g.sums.size());
            if (g.ordered && (!group.ordered || g.order < group.order)) {
                group.order = std::move(g.order);
                group.ordered = true;
            }
            for (std::size_t m = 0; m < g.sums.size(); ++m)
                group.sums[m].add(g.sums[m]);
        }
    }
};

// The groups of the projects of a range of rowids, or of all projects.
Groups accumulate(Connection &connection, const GroupedQuery &query, std::optional<RowidRange> rowids = std::nullopt)
{
    QString sql = groupedSumsSql(query);
    if (rowids)
        sql += (query.equal.isEmpty() ? u" where "_s : u" and "_s) + u"rowid between ? and ?"_s;
    // The rows are read as SQLite's bytes: no QString is made per row.
    Statement statement(connection, sql);
    for (int i = 0; i < query.equal.size(); ++i)
        statement.bind(i + 1, query.equal.at(i).second);
    if (rowids) {
        statement.bind(int(query.equal.size()) + 1, rowids->first);
        statement.bind(int(query.equal.size()) + 2, rowids->last);
    }

    const int keyCount = int(query.keys.size());
    const bool ordered = !query.orderColumn.isEmpty();
    const int firstMeasureColumn = keyCount + (ordered ? 1 : 0);
    // For every measure, the figure of the row it adds (-1: a count, which adds 1).
    std::vector<int> measureFigures;
    int figureCount = 0;
    for (const Measure &m : query.measures)
        measureFigures.push_back(m.kind == Measure::Kind::Sum ? figureCount++ : -1);

    std::vector<double> figures(static_cast<std::size_t>(figureCount));
    Groups groups;
    std::string key;
    while (statement.next()) {
        key.clear();
        for (int k = 0; k < keyCount; ++k)
            appendKeyPart(key, statement.utf8(k));
        Accumulated &group = groups.of(key, std::size_t(query.measures.size()));
        if (ordered) {
            const std::string_view value = statement.utf8(keyCount);
            if (!group.ordered || value < group.order) {
                group.order = value;
                group.ordered = true;
            }
        }
        statement.numbers(firstMeasureColumn, figures); // NULL reads as 0, which leaves a sum as it is
        ExactSum *sums = group.sums.data();
        for (std::size_t m = 0; m < measureFigures.size(); ++m)
            sums[m].add(measureFigures[m] < 0 ? 1 : figures[std::size_t(measureFigures[m])]);
    }
    return groups;
}

QVector<GroupedRow> groupedRows(Groups &&accumulated, const GroupedQuery &query)
{
    const int keyCount = int(query.keys.size());
    const bool ordered = !query.orderColumn.isEmpty();
    std::vector<Accumulated> &groups = accumulated.list;
    if (ordered) {
        std::stable_sort(groups.begin(), groups.end(), [](const Accumulated &a, const Accumulated &b) {
            return a.order != b.order ? a.order < b.order : a.key < b.key;
        });
    }
    QVector<GroupedRow> rows;
    rows.reserve(qsizetype(groups.size()));
    for (const Accumulated &g : groups) {
        GroupedRow row{splitKey(g.key, keyCount), {}};
        for (const ExactSum &s : g.sums)
            row.values << s.value();
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace

QVector<GroupedRow> runGroupedSums(Connection &connection, const GroupedQuery &query)
{
    return groupedRows(accumulate(connection, query), query);
}

QVector<GroupedRow> runGroupedSums(const QString &databasePath, const GroupedQuery &query)
{
    Connection connection(databasePath);
    // Both halves of a large table see the same projects only while nobody can write. The lock
    // is taken without waiting: while somebody writes, or where the database may not be
    // written, the table is read in one pass. Nothing is written: the lock ends rolled back.
    const Transaction lock(connection, Transaction::IfNobodyWrites);
    if (!lock.begun())
        return runGroupedSums(connection, query);
    std::vector<Groups> halves = readInHalves(
        connection, databasePath, u"TZ_XIANGMU"_s,
        [&query](Connection &c, RowidRange rowids) { return accumulate(c, query, rowids); });
    Groups groups = std::move(halves.front());
    for (size_t i = 1; i < halves.size(); ++i)
        groups.add(std::move(halves[i]));
    return groupedRows(std::move(groups), query);
}

} // namespace granwise
