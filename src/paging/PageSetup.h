#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QString>

class QPaintDevice;
class QPainter;

namespace granwise {

// The printed page every window and the command line share: the page, the fonts and the footer
// every page carries. What goes on the pages is the caller's.

// What the foot of every printed page shows: the office's unit name (归属), the page number and
// the date of printing.
struct PageFooter {
    QString unitName;
    QString date;
};
// The footer of pages printed now: 归属 of the task information (empty when there is none) and
// today's date.
PageFooter currentPageFooter(const QString &databasePath);

// A4 with margins of 10 mm, in the given orientation.
QPageLayout a4Layout(QPageLayout::Orientation orientation);

// Prepares a painter on a paged device to draw in points (1/72 inch) from the top left corner
// of the printable area, and returns that area.
QRectF pointArea(QPainter &painter);

// The font of the printed pages, `points` high on a painter that pointArea prepared on `device`
// (measure it with QFontMetricsF(font, &device)): 宋体 where the machine has it, else a Chinese
// font it does have.
QFont printFont(const QPaintDevice &device, double points, bool bold = false);

// The height of the footer band at the bottom of the printable area, in points.
double footerHeight();
// Draws the footer into the bottom of `area`: the unit name on the left, "第 n 页 共 m 页" in
// the middle, the date on the right.
void drawPageFooter(QPainter &painter, const QRectF &area, const PageFooter &footer, int page, int pageCount);

// The printable area of a page of that layout, in points from its top left corner.
QRectF pointArea(const QPageLayout &layout);

// A PDF file's bytes with its radical glyphs named by their ideographs (withIdeographNames),
// as the Chinese fonts of this machine draw them.
QByteArray withIdeographText(const QByteArray &pdf);

} // namespace granwise
