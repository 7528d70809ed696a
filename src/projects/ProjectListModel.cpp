#include "ProjectListModel.h"

#include "store/NumberFormat.h"

#include <QBrush>
#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <numeric>

namespace granwise {

namespace {

// What a cell sorts by: figures before texts, figures by value, texts by collation key.
struct SortKey {
    std::optional<double> number;
    QCollatorSortKey text;
};

} // namespace

ProjectListModel::ProjectListModel(QObject *parent) : QAbstractTableModel(parent) {}

void ProjectListModel::setRows(QVector<ProjectListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QString ProjectListModel::cell(int gridRow, int column) const
{
    if (gridRow == 0)
        return projectListHeadings().value(column);
    if (gridRow < 1 || gridRow > m_rows.size() || column < 0 || column >= kListColumns)
        return {};
    return m_rows.at(gridRow - 1)[size_t(column)];
}

void ProjectListModel::setHighlightedRow(int gridRow)
{
    const int previous = m_highlighted;
    m_highlighted = gridRow;
    for (const int row : {previous, gridRow})
        if (row >= 1 && row <= rowCount())
            emit dataChanged(index(row - 1, 0), index(row - 1, kListColumns - 1), {Qt::BackgroundRole});
}

int ProjectListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(1, int(m_rows.size()));
}

int ProjectListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kListColumns;
}

QVariant ProjectListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cell(index.row() + 1, index.column());
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        // The blank line of an empty list is never highlighted: it holds no project.
        return QBrush(index.row() + 1 == m_highlighted && index.row() < m_rows.size() ? Qt::yellow : Qt::white);
    default:
        return {};
    }
}

QVariant ProjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return projectListHeadings().value(section);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void ProjectListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kListColumns || m_rows.size() < 2)
        return;
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::vector<SortKey> keys;
    keys.reserve(size_t(m_rows.size()));
    for (const ProjectListRow &row : std::as_const(m_rows)) {
        const QString &text = row[size_t(column)];
        keys.push_back({parseNumber(text), collator.sortKey(text)});
    }
    const auto less = [&](int a, int b) {
        const SortKey &x = keys[size_t(a)];
        const SortKey &y = keys[size_t(b)];
        if (x.number.has_value() != y.number.has_value())
            return x.number.has_value();
        if (x.number)
            return *x.number < *y.number;
        return x.text.compare(y.text) < 0;
    };
    std::vector<int> positions(size_t(m_rows.size()));
    std::iota(positions.begin(), positions.end(), 0);
    if (order == Qt::AscendingOrder)
        std::stable_sort(positions.begin(), positions.end(), less);
    else
        std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) { return less(b, a); });

    beginResetModel();
    QVector<ProjectListRow> sorted;
    sorted.reserve(m_rows.size());
    for (const int i : positions)
        sorted.append(std::move(m_rows[i]));
    m_rows = std::move(sorted);
    endResetModel();
}

} // namespace granwise
