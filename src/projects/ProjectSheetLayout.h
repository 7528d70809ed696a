#pragma once

#include "store/AppLocations.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

namespace granwise {

struct ScaleItem;

// The layout of the return's paper form ("粮食流通基础设施建设投资统计基础报表"), which the entry
// form, the project sheet, the storage-facility sheet and their template workbooks share.

// The statutory identification of the return ("表    号:GL21表", the issuing and approving
// authorities, approval number and validity), at the right of its title.
const QStringList &returnIdentificationLines();

// One line of the construction-scale table: two halves side by side, each a run of lines; a
// line holds a scale item or a heading that carries no figures.
struct ScaleTableLine {
    int half = 0;                    // 0 left (items 1-19), 1 right (items 20-37)
    int line = 0;                    // counted from 0 within its half
    const ScaleItem *item = nullptr; // nullptr for a heading
    QString heading;                 // the heading's text
};
const QVector<ScaleTableLine> &scaleTableLines();
// Lines of the longer half.
int scaleTableLineCount();

// A cell of a sheet workbook, row and column counted from 1, and the value a save writes into
// it: a double gives a numeric cell, a text a text cell, an invalid QVariant an empty cell.
struct SheetEntry {
    int row = 1;
    int column = 1;
    QVariant value;
};

// The value of a figure cell: the number a figure text reads as, an empty cell for a blank
// text, the text itself when it is no number.
QVariant figureCellValue(const QString &text);

// Where the figures stand on a sheet. Investment: three rows (总_, 累计_, 本年_) from
// firstInvestmentRow, the group's "投资合计" in column 3, parts 1 to 11 in columns 4 to 14.
// Scale: each half's lines from firstScaleRow, left half planned in column 5 and completed in
// column 7, right half planned in column 12 and completed in column 13.
struct FigureSheetLayout {
    int firstInvestmentRow = 15;
    int firstScaleRow = 19;
};
inline constexpr FigureSheetLayout kProjectSheetFigures{15, 19};
inline constexpr FigureSheetLayout kStorageSheetFigures{12, 16};

inline constexpr int kSheetColumns = 14;
inline constexpr int kTotalSheetColumn = 3;
inline constexpr int kFirstPartSheetColumn = 4;
inline constexpr int kPlannedSheetColumn[2] = {5, 12};
inline constexpr int kCompletedSheetColumn[2] = {7, 13};

// One figure cell: the form control (objectName) whose text it receives.
struct FigureCell {
    int row = 1;
    int column = 1;
    QString control;
};
QVector<FigureCell> figureCells(const FigureSheetLayout &layout);

// The figure entries of a sheet, each from the text of its control.
QVector<SheetEntry> figureEntries(const FigureSheetLayout &layout,
                                  const std::function<QString(const QString &control)> &textOf);

// Copies the template to `path` (an existing file there is replaced) and fills the first
// worksheet with the entries.
void writeSheetWorkbook(const QString &templatePath, const QString &path, const QVector<SheetEntry> &entries);

// The template workbook of a sheet: its title with ".xlsx", found as every template is (the
// office's own first, the shipped one otherwise).
QString sheetTemplateFileName(const QString &sheetTitle);
QString sheetTemplatePath(const AppLocations &locations, const QString &sheetTitle);

// The file name proposed for a sheet saved on that day: "title（MM-dd)".
QString proposedSheetFileName(const QString &sheetTitle, const QDate &day);

} // namespace granwise
