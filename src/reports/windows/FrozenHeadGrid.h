#pragma once

#include <QTableWidget>

class QTableView;

namespace granwise {

// The report grid: a table whose title and header rows stay in place while the data rows
// scroll under them. The fixed rows are drawn by a second view of the same cells laid over the
// top of the grid, following its column widths, its horizontal scrolling and its selection.
class FrozenHeadGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FrozenHeadGrid(QWidget *parent = nullptr);

    // Rows 0 .. rows-1 stay in place. Call again after the spans, widths or heights of those
    // rows were set.
    void setFrozenRows(int rows);
    int frozenRows() const { return m_frozen; }
    // The view that draws the fixed rows; what stands over the heads belongs on its viewport.
    QTableView *head() const { return m_head; }

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void updateGeometries() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int headHeight() const;
    void placeHead();

    QTableView *m_head;
    int m_frozen = 0;
};

} // namespace granwise
