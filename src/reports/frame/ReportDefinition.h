#pragma once

#include "ReportGrid.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

namespace granwise {

// How a report window computes: a selectable window carries the province and prefecture boxes
// and computes when "统计" is pressed; an immediate window computes as it opens.
enum class WindowKind { Selectable, Immediate };

// A head text in the header rows (rows 1 .. D-1), possibly merged over several cells. A line
// break inside a head is written "\n".
struct HeadCell {
    int row = 1;
    int column = 0;
    QString text;
    int rowSpan = 1;
    int columnSpan = 1;
};

// A worksheet cell written by the save besides the grid's data rows (row and column count
// from 1).
struct SheetCell {
    int row = 1;
    int column = 1;
    QVariant value;
};

// Where a saved table goes in its template's first worksheet.
struct SaveLayout {
    // Grid cell (r, c) goes to worksheet row r + rowOffset, column c + columnOffset.
    int rowOffset = 3;
    int columnOffset = 1;
    // Writes the grid's title into worksheet cell (2, 1) before the data rows.
    bool titleIntoSheet = false;
    // Cells read from the database before the save dialog opens (the basic statistics table's
    // unit text); called with the database path.
    std::function<QVector<SheetCell>(const QString &databasePath)> extraCells;
};

// Where the window shows the unit caption: over the header cells, its left edge `left` pixels
// right of the start of column `column` (-1: the last column), `top` pixels from the grid's top.
struct UnitCaptionPlace {
    int column = -1;
    int left = 40;
    int top = 50;
};

// One statistical table: everything a window, the command line and the template tool need to
// show, compute and save it. A window class serves one table or several (a plain table and
// its "中央企业不单列" variant, chosen by ReportTitle).
struct ReportDefinition {
    QString className; // the window class that shows it, e.g. "TFrmb1_3"
    QString number;    // "1-3": what the command line accepts besides the title
    QString title;     // the title row, the proposed file name and (by default) the template
    QString caption;   // the window caption; empty: the title
    QString templateName; // file name in templet/; empty: title + ".xlsx"
    WindowKind kind = WindowKind::Selectable;

    int columnCount = 2;
    int firstDataRow = 2; // D
    QVector<HeadCell> heads;
    QString unitCaption;
    UnitCaptionPlace unitCaptionPlace;
    QVector<int> columnWidths; // pixels, one per column
    int titleRowHeight = 70;
    int headerRowHeight = 30;
    int dataRowHeight = 30;
    // Column boundaries of header row 1 covered by a small patch in the header colour, so that a
    // "其中" head reads as part of its parent: boundary b lies between columns b and b + 1.
    QVector<int> headerPatches;
    SaveLayout save;

    // The table computed over the whole data set: for a selectable window what "统计" shows with
    // both boxes empty, for an immediate window what it opens with. The grid comes with its
    // title and heads; the function writes the data rows.
    std::function<void(ReportGrid &grid, const QString &databasePath)> wholeTable;
    // The prefecture listing of a province and the county listing of a prefecture (selectable
    // windows); the texts come trimmed.
    std::function<void(ReportGrid &grid, const QString &databasePath, const QString &province)> prefectureListing;
    std::function<void(ReportGrid &grid, const QString &databasePath, const QString &province,
                       const QString &prefecture)>
        countyListing;

    QString windowCaption() const { return caption.isEmpty() ? title : caption; }
    QString templateFileName() const { return templateName.isEmpty() ? title + QStringLiteral(".xlsx") : templateName; }
    // Only selectable windows list prefectures and counties.
    bool hasListings() const
    {
        return kind == WindowKind::Selectable && bool(prefectureListing) && bool(countyListing);
    }
};

// The grid of a table before anything is computed: the title merged across row 0, the heads,
// and `dataRows` blank data rows.
ReportGrid blankGrid(const ReportDefinition &definition, int dataRows = 1);

} // namespace granwise
