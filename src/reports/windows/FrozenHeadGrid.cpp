#include "FrozenHeadGrid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

namespace granwise {

using namespace Qt::StringLiterals;

FrozenHeadGrid::FrozenHeadGrid(QWidget *parent) : QTableWidget(parent), m_head(new QTableView(this))
{
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);

    m_head->setObjectName(u"FrozenHead"_s);
    m_head->setModel(model());
    m_head->setSelectionModel(selectionModel());
    m_head->setFocusPolicy(Qt::NoFocus);
    m_head->setFrameShape(QFrame::NoFrame);
    m_head->horizontalHeader()->hide();
    m_head->verticalHeader()->hide();
    m_head->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_head->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_head->setHorizontalScrollMode(ScrollPerPixel);
    m_head->setEditTriggers(NoEditTriggers);
    m_head->setAutoScroll(false);
    m_head->setWordWrap(true);
    m_head->hide();

    connect(horizontalHeader(), &QHeaderView::sectionResized, m_head,
            [this](int column, int, int width) { m_head->setColumnWidth(column, width); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, m_head,
            [this](int, int from, int to) { m_head->horizontalHeader()->moveSection(from, to); });
    connect(verticalHeader(), &QHeaderView::sectionResized, m_head, [this](int row, int, int height) {
        if (row < m_frozen) {
            m_head->setRowHeight(row, height);
            placeHead();
        }
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_head->horizontalScrollBar(), &QScrollBar::setValue);
    // The heads never scroll away, whatever asks the head view to.
    connect(m_head->verticalScrollBar(), &QScrollBar::valueChanged, m_head, [this](int value) {
        if (value != 0)
            m_head->verticalScrollBar()->setValue(0);
    });
    connect(m_head, &QTableView::clicked, this,
            [this](const QModelIndex &index) { emit cellClicked(index.row(), index.column()); });
    m_head->viewport()->installEventFilter(this);
}

void FrozenHeadGrid::setFrozenRows(int rows)
{
    m_frozen = std::min(rows, rowCount());
    m_head->clearSpans();
    for (int c = 0; c < columnCount(); ++c)
        m_head->setColumnWidth(c, columnWidth(c));
    for (int r = 0; r < m_frozen; ++r) {
        m_head->setRowHeight(r, rowHeight(r));
        for (int c = 0; c < columnCount(); ++c) {
            const int spanRows = rowSpan(r, c);
            const int spanColumns = columnSpan(r, c);
            const QRect cell = visualRect(model()->index(r, c));
            const bool first = cell.topLeft() == QPoint(columnViewportPosition(c), rowViewportPosition(r));
            if ((spanRows > 1 || spanColumns > 1) && first)
                m_head->setSpan(r, c, spanRows, spanColumns);
        }
    }
    m_head->setVisible(m_frozen > 0);
    placeHead();
}

int FrozenHeadGrid::headHeight() const
{
    int height = 0;
    for (int r = 0; r < m_frozen; ++r)
        height += rowHeight(r);
    return height;
}

void FrozenHeadGrid::placeHead()
{
    const QRect area = viewport()->geometry();
    m_head->setGeometry(area.x(), area.y(), area.width(), std::min(headHeight(), area.height()));
    m_head->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}

void FrozenHeadGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    placeHead();
}

void FrozenHeadGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int before = verticalScrollBar()->value();
    QTableWidget::scrollTo(index, hint);
    if (index.row() < m_frozen) {
        verticalScrollBar()->setValue(before); // always in sight
        return;
    }
    // A data row must not end up under the heads.
    const int top = visualRect(index).top();
    if (top < headHeight())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (headHeight() - top));
}

bool FrozenHeadGrid::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel over the heads scrolls the data rows.
    if (watched == m_head->viewport() && event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(viewport(), event);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

} // namespace granwise
