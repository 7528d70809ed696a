#pragma once

#include "ProjectListQuery.h"

#include <QAbstractTableModel>

namespace granwise {

// The rows of the project list for the grid. An empty list shows one blank row. Rows are
// addressed as in the grid: row 1 is the first project (the heading is row 0).
class ProjectListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProjectListModel(QObject *parent = nullptr);

    void setRows(QVector<ProjectListRow> rows);
    int projectCount() const { return int(m_rows.size()); }
    // Text of a cell by grid row (0 = heading); empty outside the list.
    QString cell(int gridRow, int column) const;
    // The grid row painted yellow; 0 for none.
    void setHighlightedRow(int gridRow);
    int highlightedRow() const { return m_highlighted; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Figures compare as numbers, other texts in Chinese collation order; equal rows keep
    // their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QVector<ProjectListRow> m_rows;
    int m_highlighted = 0;
};

} // namespace granwise
