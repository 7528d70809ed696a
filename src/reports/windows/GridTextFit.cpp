#include "GridTextFit.h"

#include <QFontMetrics>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>
#include <climits>

namespace granwise {

namespace {

constexpr int kWrap = Qt::TextWordWrap | Qt::AlignCenter;

struct CellFit {
    const QTableWidget &grid;
    int margin; // free pixels a cell keeps beside its text, both sides and the grid line together

    explicit CellFit(const QTableWidget &g)
        : grid(g), margin(2 * (g.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &g) + 1) + 1)
    {
    }

    QFontMetrics metrics(const QTableWidgetItem &item) const { return QFontMetrics(item.font()); }

    // The width at which the text needs no wrapping (its widest line where it has several),
    // with a pixel to spare on either side for the rounding of glyph advances.
    int oneLineWidth(const QTableWidgetItem &item) const
    {
        int widest = 0;
        for (const QString &line : item.text().split(u'\n'))
            widest = std::max(widest, metrics(item).horizontalAdvance(line));
        return widest + margin + 2;
    }
    // The height the text takes wrapped into a cell `width` pixels wide.
    int wrappedHeight(const QTableWidgetItem &item, int width) const
    {
        return metrics(item).boundingRect(QRect(0, 0, std::max(1, width - margin), INT_MAX), kWrap, item.text()).height() +
               1;
    }
};

} // namespace

void fitGridToText(QTableWidget &grid, int firstDataRow)
{
    const CellFit fit(grid);
    // Cells of their own: widen the column.
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem *item = grid.item(r, c);
            if (!item || item->text().isEmpty() || grid.rowSpan(r, c) > 1 || grid.columnSpan(r, c) > 1)
                continue;
            const int oneLine = fit.oneLineWidth(*item);
            int width = grid.columnWidth(c);
            if (r >= firstDataRow) {
                if (width < oneLine)
                    grid.setColumnWidth(c, oneLine);
                continue;
            }
            // A head: the narrowest width at which it wraps into its row; failing that, a
            // taller row.
            const int height = grid.rowHeight(r);
            if (fit.wrappedHeight(*item, width) <= height)
                continue;
            while (width < oneLine && fit.wrappedHeight(*item, width) > height)
                width += 4;
            grid.setColumnWidth(c, std::max(grid.columnWidth(c), std::min(width, oneLine)));
            if (fit.wrappedHeight(*item, grid.columnWidth(c)) > height)
                grid.setRowHeight(r, fit.wrappedHeight(*item, grid.columnWidth(c)));
        }
    }
    // Merged cells, over the columns as they now are: a taller last row where needed.
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const int rows = grid.rowSpan(r, c);
            const int columns = grid.columnSpan(r, c);
            const QTableWidgetItem *item = grid.item(r, c);
            if ((rows == 1 && columns == 1) || !item || item->text().isEmpty())
                continue;
            if (grid.visualRect(grid.model()->index(r, c)).topLeft() !=
                QPoint(grid.columnViewportPosition(c), grid.rowViewportPosition(r)))
                continue; // a cell covered by the merge, not its first
            int width = 0;
            for (int i = c; i < c + columns; ++i)
                width += grid.columnWidth(i);
            int height = 0;
            for (int i = r; i < r + rows; ++i)
                height += grid.rowHeight(i);
            const int needed = fit.wrappedHeight(*item, width);
            if (needed > height)
                grid.setRowHeight(r + rows - 1, grid.rowHeight(r + rows - 1) + needed - height);
        }
    }
}

} // namespace granwise
