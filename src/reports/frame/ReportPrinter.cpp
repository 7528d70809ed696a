#include "ReportPrinter.h"

#include "store/CommonTexts.h"
#include "store/Error.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

constexpr double PointsPerInch = 72;
constexpr double PointsPerScreenPixel = 0.75; // the window's column widths are pixels at 96 dpi
constexpr double DefaultColumnPixels = 100;

constexpr double TitlePoints = 14;
constexpr double TextPoints = 9;
constexpr double SmallestTextPoints = 5;
constexpr double TitleBand = 32;
constexpr double CaptionBand = 14;
constexpr double DataRowHeight = 16;
constexpr double SmallestHeadRowHeight = 20;
constexpr double CellPadding = 3;
constexpr double FooterGap = 4;
constexpr double LineWidth = 0.5;

// The heads are shaded rather than drawn white on the highlight colour of the screen: paper
// reads them better and the printer spends less ink.
const QColor HeadShade(232, 232, 232);

QRectF pointAreaOf(const QPaintDevice &device)
{
    return QRectF(0, 0, device.width() * PointsPerInch / device.logicalDpiX(),
                  device.height() * PointsPerInch / device.logicalDpiY());
}

// The window's alignment: figures and the top heads centred, the row labels on the left.
Qt::Alignment alignmentOf(int row, int column)
{
    return ((column > 0 || row < 2) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

// Head texts carry line breaks that place them on the screen; on paper they are wrapped to fit.
QString headText(const QString &text)
{
    return text.trimmed();
}

} // namespace

struct ReportPrinter::Metrics {
    QVector<double> columnEdges; // C + 1 x positions
    QVector<double> rowHeights;  // one per grid row (row 0 is drawn as the title band)
    double headHeight = 0;
    double captionHeight = 0;
    QFont titleFont;
    QFont textFont;
    QVector<int> spanOf; // per cell (row * C + column): index of the merge covering it, or -1
};

ReportPrinter::ReportPrinter(const ReportDefinition &definition, const ReportGrid &grid, PageFooter footer)
    : m_definition(definition), m_grid(grid), m_footer(std::move(footer))
{
}

QPageLayout ReportPrinter::pageLayout() const
{
    double pixels = 0;
    for (int c = 0; c < m_grid.columnCount(); ++c) {
        const int width = m_definition.columnWidths.value(c);
        pixels += width > 0 ? width : DefaultColumnPixels;
    }
    const double portraitWidth = a4Layout(QPageLayout::Portrait).paintRect(QPageLayout::Point).width();
    const bool wide = pixels * PointsPerScreenPixel > portraitWidth;
    return a4Layout(wide ? QPageLayout::Landscape : QPageLayout::Portrait);
}

ReportPrinter::Metrics ReportPrinter::measure(const QPaintDevice &device, const QRectF &area) const
{
    Metrics m;
    const int columns = m_grid.columnCount();
    QVector<double> widths;
    double total = 0;
    for (int c = 0; c < columns; ++c) {
        const int width = m_definition.columnWidths.value(c);
        widths << (width > 0 ? width : DefaultColumnPixels);
        total += widths.last();
    }
    m.columnEdges << area.left();
    for (int c = 0; c < columns; ++c)
        m.columnEdges << m.columnEdges.last() + widths.at(c) * area.width() / std::max(total, 1.0);

    m.spanOf = QVector<int>(m_grid.rowCount() * columns, -1);
    const QVector<CellSpan> &spans = m_grid.spans();
    for (int s = 0; s < spans.size(); ++s) {
        const CellSpan &span = spans.at(s);
        for (int r = span.row; r < std::min(span.row + span.rowSpan, m_grid.rowCount()); ++r)
            for (int c = span.column; c < std::min(span.column + span.columnSpan, columns); ++c)
                m.spanOf[r * columns + c] = s;
    }

    m.titleFont = printFont(device, TitlePoints);
    m.textFont = printFont(device, TextPoints);
    m.captionHeight = m_definition.unitCaption.isEmpty() ? 0 : CaptionBand;

    // Every head row is as high as its tallest wrapped head; a head over several rows makes its
    // last row higher when the rows together are too low for it.
    const QFontMetricsF metrics(m.textFont, &device);
    const auto needed = [&](int row, int column, int columnSpan) {
        const double width = m.columnEdges.at(std::min(column + columnSpan, columns)) - m.columnEdges.at(column);
        const QRectF box(0, 0, std::max(1.0, width - 2 * CellPadding), 1e6);
        return metrics.boundingRect(box, Qt::TextWordWrap | Qt::AlignHCenter, headText(m_grid.text(row, column)))
                   .height()
               + 2 * CellPadding;
    };
    m.rowHeights = QVector<double>(m_grid.rowCount(), DataRowHeight);
    const int first = m_grid.firstDataRow();
    for (int r = 1; r < first; ++r) {
        m.rowHeights[r] = SmallestHeadRowHeight;
        for (int c = 0; c < columns; ++c) {
            const int s = m.spanOf.at(r * columns + c);
            if (s < 0)
                m.rowHeights[r] = std::max(m.rowHeights.at(r), needed(r, c, 1));
            else if (spans.at(s).row == r && spans.at(s).column == c && spans.at(s).rowSpan == 1)
                m.rowHeights[r] = std::max(m.rowHeights.at(r), needed(r, c, spans.at(s).columnSpan));
        }
    }
    for (const CellSpan &span : spans) {
        if (span.row < 1 || span.rowSpan < 2 || span.row + span.rowSpan > first)
            continue;
        double height = 0;
        for (int r = span.row; r < span.row + span.rowSpan; ++r)
            height += m.rowHeights.at(r);
        const double want = needed(span.row, span.column, span.columnSpan);
        if (want > height)
            m.rowHeights[span.row + span.rowSpan - 1] += want - height;
    }
    for (int r = 1; r < first; ++r)
        m.headHeight += m.rowHeights.at(r);
    return m;
}

QVector<ReportPrinter::PageRows> ReportPrinter::paginate(const Metrics &metrics, const QRectF &area) const
{
    QVector<PageRows> pages;
    const int end = m_grid.rowCount();
    int row = m_grid.firstDataRow();
    do {
        const bool firstPage = pages.isEmpty();
        double room = area.height() - footerHeight() - FooterGap - metrics.captionHeight - metrics.headHeight
                      - (firstPage ? TitleBand : 0);
        PageRows page{row, row};
        while (page.last < end && (page.last == page.first || metrics.rowHeights.at(page.last) <= room)) {
            room -= metrics.rowHeights.at(page.last);
            ++page.last;
        }
        pages.append(page);
        row = page.last;
    } while (row < end);
    return pages;
}

QVector<ReportPrinter::PageRows> ReportPrinter::pages(QPagedPaintDevice &device) const
{
    const QRectF area = pointAreaOf(device);
    return paginate(measure(device, area), area);
}

void ReportPrinter::drawRows(QPainter &painter, const Metrics &m, int first, int last, double top) const
{
    const int columns = m_grid.columnCount();
    QVector<double> rowTops{top};
    for (int r = first; r < last; ++r)
        rowTops << rowTops.last() + m.rowHeights.at(r);
    const auto topOf = [&](int row) { return rowTops.at(row - first); };
    const QVector<CellSpan> &spans = m_grid.spans();
    const int firstData = m_grid.firstDataRow();

    for (int r = first; r < last; ++r) {
        const bool head = r < firstData;
        for (int c = 0; c < columns; ++c) {
            CellSpan cell{r, c, 1, 1};
            QString text = m_grid.text(r, c);
            if (const int s = m.spanOf.at(r * columns + c); s >= 0) {
                // A merge is drawn once, from its first row on this page.
                const CellSpan &span = spans.at(s);
                const int startRow = std::max(span.row, first);
                if (r != startRow || c != span.column)
                    continue;
                cell = {startRow, span.column, std::min(span.row + span.rowSpan, last) - startRow,
                        std::min(span.columnSpan, columns - span.column)};
                text = m_grid.text(span.row, span.column);
            }
            const QRectF rect(QPointF(m.columnEdges.at(cell.column), topOf(cell.row)),
                              QPointF(m.columnEdges.at(cell.column + cell.columnSpan), topOf(cell.row + cell.rowSpan)));
            if (head)
                painter.fillRect(rect, HeadShade);
            painter.setPen(QPen(Qt::black, LineWidth));
            painter.drawRect(rect);
            const QRectF inside = rect.adjusted(CellPadding, 0, -CellPadding, 0);
            if (head) {
                painter.setFont(m.textFont);
                painter.drawText(inside, int(alignmentOf(r, c)) | Qt::TextWordWrap, headText(text));
                continue;
            }
            // A figure or a label wider than its column is set smaller, never cut.
            QFont font = m.textFont;
            const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
            if (width > inside.width() && width > 0) {
                const double points = std::max(SmallestTextPoints, TextPoints * inside.width() / width);
                font = printFont(*painter.device(), points);
            }
            painter.setFont(font);
            painter.drawText(inside, int(alignmentOf(r, c)), text);
        }
    }
}

void ReportPrinter::print(QPagedPaintDevice &device) const
{
    QPainter painter(&device);
    if (!painter.isActive())
        throw Error(texts::PrinterUnavailable);
    const QRectF area = pointArea(painter);
    const Metrics m = measure(device, area);
    const QVector<PageRows> pageRows = paginate(m, area);
    const int pageCount = int(pageRows.size());
    for (int p = 0; p < pageCount; ++p) {
        if (p > 0)
            device.newPage();
        double y = area.top();
        if (p == 0) {
            painter.setPen(Qt::black);
            painter.setFont(m.titleFont);
            painter.drawText(QRectF(area.left(), y, area.width(), TitleBand), Qt::AlignCenter | Qt::TextWordWrap,
                             m_grid.title());
            y += TitleBand;
        }
        if (m.captionHeight > 0) {
            painter.setPen(Qt::black);
            painter.setFont(m.textFont);
            painter.drawText(QRectF(area.left(), y, area.width(), m.captionHeight), Qt::AlignRight | Qt::AlignVCenter,
                             m_definition.unitCaption);
            y += m.captionHeight;
        }
        drawRows(painter, m, 1, m_grid.firstDataRow(), y);
        y += m.headHeight;
        drawRows(painter, m, pageRows.at(p).first, pageRows.at(p).last, y);
        drawPageFooter(painter, area, m_footer, p + 1, pageCount);
    }
}

void writeReportPdf(const ReportDefinition &definition, const ReportGrid &grid, const PageFooter &footer,
                    const QString &path)
{
    const ReportPrinter printer(definition, grid, footer);
    writePdf(path, grid.title(), printer.pageLayout(), [&](QPagedPaintDevice &device) { printer.print(device); });
}

} // namespace granwise
