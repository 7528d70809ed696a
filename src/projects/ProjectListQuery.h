#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <array>

namespace granwise {

class Connection;

// Conditions narrowing the project list: SQL text made of conditions that each begin with
// " and ", with one bound value per "?".
struct ListFilter {
    QString sql;
    QVariantList values;

    bool operator==(const ListFilter &) const = default;
};

// The like pattern that finds `text` anywhere, its wildcards "%" and "_" taken literally (the
// escape character is a backslash: use it with "like ? escape '\\'").
QString containsPattern(const QString &text);

// "column contains text" for each (column, text) pair whose text is not blank, in the given
// order; the trimmed text is matched literally ("%" and "_" included), letters regardless of case.
ListFilter substringFilter(const QVector<QPair<QString, QString>> &columnTexts);

// A free condition (for example from the query definition) joined to the list's own.
ListFilter conditionFilter(const QString &condition, const QVariantList &values);

// The list statement: every project narrowed by the filter, newest first.
QString projectListSql(const ListFilter &filter);

// The ten cells of one grid row.
constexpr int kListColumns = 10;
using ProjectListRow = std::array<QString, kListColumns>;
const QStringList &projectListHeadings();
inline constexpr int kEnterpriseNameColumn = 3;
inline constexpr int kProjectNameColumn = 4;

// The rows of the list, numbered from 1 in list order.
QVector<ProjectListRow> fetchProjectList(Connection &connection, const ListFilter &filter);

// The provinces that occur among the projects, in the order the grouped query returns them.
QStringList provincesPresent(Connection &connection);

// Removes every project with this key in one transaction; returns the number removed.
int deleteProject(Connection &connection, const QString &projectName, const QString &enterpriseName);

} // namespace granwise
