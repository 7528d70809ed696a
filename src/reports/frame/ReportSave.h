#pragma once

#include "ReportDefinition.h"
#include "store/AppLocations.h"

#include <QDate>

namespace granwise {

// The save flow of every report window, without the window.

// "MM-dd" of a day, as in the proposed file names: "12-09" on the ninth of December.
QString saveDateText(const QDate &day);
// The proposed file name: the title, "(", the date text, ")".
QString proposedFileName(const ReportDefinition &definition, const QDate &day);
// The table's template: the office's own in its data folder first, the shipped one otherwise.
QString templatePath(const AppLocations &locations, const ReportDefinition &definition);

// Copies the table's template to `path` (an existing file is replaced) and fills its first
// worksheet: the extra cells, the title when the table writes it, then every data row of the
// grid at its save offsets (figures as numbers, other texts as text). A missing template stops
// before anything is written, with an Error naming it.
void writeReportWorkbook(const AppLocations &locations, const ReportDefinition &definition, const ReportGrid &grid,
                         const QString &path, const QVector<SheetCell> &extraCells = {});

// The cells writeReportWorkbook puts in the worksheet, in the order it writes them.
QVector<SheetCell> worksheetCells(const ReportDefinition &definition, const ReportGrid &grid,
                                  const QVector<SheetCell> &extraCells = {});

} // namespace granwise
