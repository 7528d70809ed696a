#pragma once

#include "paging/PageSetup.h"
#include "paging/PdfFile.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace granwise {

// Printing and PDF export from a window: the print preview, the save dialog of "导出PDF", and
// the contents of a form on paper. Report grids are put on the pages by ReportPrinter.

// Prints the whole contents of a widget (also what a scroll area keeps out of view), fitted to
// the width of the page and cut into pages between its controls, with the footer.
void printWidget(QPagedPaintDevice &device, QWidget &widget, const PageFooter &footer);
// The number of pages printWidget fills on a device of that layout.
int widgetPageCount(const QPageLayout &layout, QWidget &widget);

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

} // namespace granwise
