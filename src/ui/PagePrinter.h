#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QWidget;

namespace granwise {

// Printing and PDF export of every window: the page, the fonts, the footer every page carries,
// the print preview and the PDF file. What goes on the pages is the caller's: a report grid
// (ReportPrinter) or the contents of a form (printWidget).

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

// Prints the whole contents of a widget (also what a scroll area keeps out of view), fitted to
// the width of the page and cut into pages between its controls, with the footer.
void printWidget(QPagedPaintDevice &device, QWidget &widget, const PageFooter &footer);
// The number of pages printWidget fills on a device of that layout.
int widgetPageCount(const QPageLayout &layout, QWidget &widget);

// Paints every page of a document onto a paged device (a printer or a PDF writer), calling
// device.newPage() between pages.
using PagePainter = std::function<void(QPagedPaintDevice &device)>;

// Writes a PDF file with the Chinese fonts embedded. The file at `path` is replaced only once
// the document is complete; a failure throws an Error and leaves it as it was.
void writePdf(const QString &path, const QString &title, const QPageLayout &layout, const PagePainter &paint);

// "打印": the print preview of the document, from which the user prints.
void printWithPreview(QWidget *parent, const QString &title, const QPageLayout &layout, const PagePainter &paint);

// "导出PDF": asks where to save (proposing `proposedName`), writes the file and says
// "保存成功！". Cancelling the dialog writes nothing.
void exportPdf(QWidget *parent, const QString &proposedName, const QString &title, const QPageLayout &layout,
               const PagePainter &paint);

// "打印" and "导出PDF" of a window without a report grid: what `content` shows, on landscape A4
// pages with the footer of the office of the database.
void printWidgetWithPreview(QWidget *parent, QWidget &content, const QString &title, const QString &databasePath);
void exportWidgetPdf(QWidget *parent, QWidget &content, const QString &proposedName, const QString &title,
                     const QString &databasePath);

// The text a PDF viewer copies or searches is read from the fonts' ToUnicode maps. Chinese fonts
// give a radical (U+2E80 .. U+2FDF) and the ideograph of the same shape one glyph, and the PDF
// writer names the glyph by the lower code, so "粮食" would read "粮⻝". This names such glyphs by
// their ideograph again; the file keeps its length and layout.
QByteArray withIdeographText(const QByteArray &pdf);

} // namespace granwise
