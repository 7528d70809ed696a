#include "ReportGrid.h"

#include "store/ExactSum.h"
#include "store/NumberFormat.h"

namespace granwise {

ReportGrid::ReportGrid(int columnCount, int firstDataRow) : m_columns(columnCount), m_firstDataRow(firstDataRow)
{
    setRowCount(firstDataRow);
    m_kinds[0] = RowKind::Title;
    for (int r = 1; r < firstDataRow; ++r)
        m_kinds[r] = RowKind::Header;
}

void ReportGrid::setRowCount(int rows)
{
    const int old = rowCount();
    m_cells.resize(rows);
    m_kinds.resize(rows);
    m_marked.resize(rows);
    for (int r = old; r < rows; ++r) {
        m_cells[r] = QStringList(m_columns, QString());
        m_kinds[r] = RowKind::Blank;
        m_marked[r] = false;
    }
}

int ReportGrid::appendRow(RowKind kind, const QString &label)
{
    const int row = rowCount();
    setRowCount(row + 1);
    m_kinds[row] = kind;
    m_cells[row][0] = label;
    return row;
}

const QString &ReportGrid::text(int row, int column) const
{
    return m_cells.at(row).at(column);
}

void ReportGrid::setText(int row, int column, const QString &text)
{
    m_cells[row][column] = text;
}

double ReportGrid::number(int row, int column) const
{
    return numberOrZero(text(row, column));
}

void ReportGrid::setNumber(int row, int column, double value)
{
    setText(row, column, formatNumber(value));
}

void ReportGrid::fillFigures(int row, double value)
{
    for (int c = 1; c < m_columns; ++c)
        setNumber(row, c, value);
}

void ReportGrid::sumRows(int target, const QVector<int> &rows)
{
    for (int c = 1; c < m_columns; ++c) {
        ExactSum sum;
        for (int r : rows)
            sum.add(number(r, c));
        setNumber(target, c, sum.value());
    }
}

void ReportGrid::sumColumns(int row, int target, const QVector<int> &columns)
{
    ExactSum sum;
    for (int c : columns)
        sum.add(number(row, c));
    setNumber(row, target, sum.value());
}

} // namespace granwise
