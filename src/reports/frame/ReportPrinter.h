#pragma once

#include "ReportDefinition.h"
#include "paging/PageSetup.h"
#include "paging/PdfFile.h"

#include <QPageLayout>
#include <QVector>

class QPagedPaintDevice;
class QPainter;

namespace granwise {

// A report grid on paper: the title, the unit caption and the heads with their merges as the
// window shows them, the data rows cut into pages with the heads repeated on every page, and
// the footer (unit name, page number, date). It paints on any paged device: the printer of the
// print preview or a PDF writer.
class ReportPrinter {
public:
    ReportPrinter(const ReportDefinition &definition, const ReportGrid &grid, PageFooter footer);

    // A4, landscape when the table is wider than a portrait page, as its columns are on screen.
    QPageLayout pageLayout() const;

    // The data rows of a page: rows first .. last - 1 of the grid.
    struct PageRows {
        int first = 0;
        int last = 0;
    };
    // How the data rows fall on the pages of the device (every page holds at least one row; a
    // grid without data rows prints one page of heads).
    QVector<PageRows> pages(QPagedPaintDevice &device) const;

    // Paints every page.
    void print(QPagedPaintDevice &device) const;

private:
    struct Metrics;
    Metrics measure(const QPaintDevice &device, const QRectF &area) const;
    QVector<PageRows> paginate(const Metrics &metrics, const QRectF &area) const;
    void drawRows(QPainter &painter, const Metrics &metrics, int first, int last, double top) const;

    ReportDefinition m_definition;
    ReportGrid m_grid;
    PageFooter m_footer;
};

// The table as ReportPrinter prints it, into a PDF file at `path`.
void writeReportPdf(const ReportDefinition &definition, const ReportGrid &grid, const PageFooter &footer,
                    const QString &path);

} // namespace granwise
