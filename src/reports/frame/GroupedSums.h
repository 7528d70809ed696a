#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

namespace granwise {

class Connection;

// A column of TZ_XIANGMU that projects are grouped by, or its first characters
// (the province part of 行政区划代码 is its first two).
struct GroupKey {
    QString column;
    int prefixLength = 0; // 0: the whole text

    static GroupKey whole(const QString &column) { return {column, 0}; }
    static GroupKey prefix(const QString &column, int length) { return {column, length}; }
};

// A figure of a group: the number of its projects, or the sum of a number column.
struct Measure {
    enum class Kind { Count, Sum };
    Kind kind = Kind::Sum;
    QString column;

    static Measure count() { return {Kind::Count, {}}; }
    static Measure sum(const QString &column) { return {Kind::Sum, column}; }
};

// Sums and counts of the projects of TZ_XIANGMU, grouped by some key columns, for the projects
// that meet a condition. The sums are added exactly (ExactSum); an empty value adds nothing and
// a group whose values are all empty sums to 0. An empty key value and a missing one (NULL)
// make the same group, with the empty text as key.
struct GroupedQuery {
    QVector<GroupKey> keys;
    // Columns that must equal the given texts (the projects counted); none: every project.
    QVector<QPair<QString, QString>> equal;
    QVector<Measure> measures;
    // When set, the groups come in the order of the smallest value of this column within each
    // group (then by their keys); otherwise in the order the groups first occur.
    QString orderColumn;
};

struct GroupedRow {
    QStringList keys;
    QVector<double> values; // one per measure
};

// Runs the query in one pass over the table. Every column name is checked against the
// project column catalogue first; an unknown one is an Error.
QVector<GroupedRow> runGroupedSums(Connection &connection, const GroupedQuery &query);
// The same through a connection of its own: a large table is read in two halves at once
// (readInHalves), with the same outcome.
QVector<GroupedRow> runGroupedSums(const QString &databasePath, const GroupedQuery &query);

// The statement runGroupedSums reads (for the benchmarks and for error texts).
QString groupedSumsSql(const GroupedQuery &query);

} // namespace granwise
