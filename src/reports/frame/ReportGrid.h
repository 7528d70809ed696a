#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace granwise {

// What a row of a report grid is; the window colours by it, the totals and the listings
// find their rows by it.
enum class RowKind {
    Title,           // row 0
    Header,          // rows 1 .. D-1
    Blank,           // a data row with nothing computed yet
    GrandTotal,      // 合计 / 全国合计
    LocalSubtotal,   // 一、地方小计
    Group,           // 1、主产区 and its kin, corridors, sections with sums
    Province,        // a province row, placed by its code
    CentralSubtotal, // 二、中央企业小计
    Central,         // 中储粮, 中  粮, 中  纺
    ListingTotal,    // {province}合计 / {prefecture}合计
    Listed,          // a prefecture or county of a listing
    Section,         // a heading row without figures
    Item,            // any other row with figures of its own
};

// A merged rectangle of cells.
struct CellSpan {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    bool operator==(const CellSpan &) const = default;
};

// The table of a report window: C columns by R rows of text, figures included. Row 0 is the
// title, rows 1 .. D-1 the heads, rows D .. R-1 the data. Totals read figures back from the
// cell texts, exactly as they are shown.
class ReportGrid {
public:
    ReportGrid() = default;
    ReportGrid(int columnCount, int firstDataRow);

    int columnCount() const { return m_columns; }
    int rowCount() const { return int(m_cells.size()); }
    int firstDataRow() const { return m_firstDataRow; }
    int dataRowCount() const { return rowCount() - m_firstDataRow; }

    // Grows with blank rows or drops rows from the end.
    void setRowCount(int rows);
    // Drops every data row: the grid keeps its title and heads.
    void clearData() { setRowCount(m_firstDataRow); }
    // Appends a data row; returns its number.
    int appendRow(RowKind kind, const QString &label = {});

    const QString &text(int row, int column) const;
    void setText(int row, int column, const QString &text);
    QStringList rowTexts(int row) const { return m_cells.at(row); }

    // A figure cell read as a number: the text as shown, an empty or non-numeric text as 0.
    double number(int row, int column) const;
    // Writes a figure in the program's one number format.
    void setNumber(int row, int column, double value);

    RowKind rowKind(int row) const { return m_kinds.at(row); }
    void setRowKind(int row, RowKind kind) { m_kinds[row] = kind; }
    bool isDataRow(int row) const { return row >= m_firstDataRow && row < rowCount(); }

    // A marked data row asks for attention (a unit that reported nothing, say); the window
    // draws it in the attention colour. Rows start unmarked.
    bool isMarked(int row) const { return m_marked.at(row); }
    void setMarked(int row, bool marked = true) { m_marked[row] = marked; }

    const QVector<CellSpan> &spans() const { return m_spans; }
    void addSpan(const CellSpan &span) { m_spans.append(span); }

    const QString &title() const { return text(0, 0); }

    // Sets every figure cell (columns 1 .. C-1) of a row to a number; 0 by default.
    void fillFigures(int row, double value = 0);
    // Figure column `column` of `target` = sum of the same column of `rows`, for every figure
    // column 1 .. C-1, added exactly.
    void sumRows(int target, const QVector<int> &rows);
    // Column `target` of a row = sum of its columns `columns` (a row-total formula).
    void sumColumns(int row, int target, const QVector<int> &columns);

    bool operator==(const ReportGrid &other) const = default;

private:
    int m_columns = 0;
    int m_firstDataRow = 0;
    QVector<QStringList> m_cells;
    QVector<RowKind> m_kinds;
    QVector<bool> m_marked;
    QVector<CellSpan> m_spans;
};

} // namespace granwise
