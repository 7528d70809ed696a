#pragma once

#include <QString>
#include <QVariant>
#include <memory>

namespace granwise {

// Fills the first worksheet of an Office Open XML workbook (.xlsx), usually a template copy
// made by CopyTemplateFile: open, set cells by (row, column) counted from 1, save in place.
// Cells that are not written keep the template's content and formatting (styles, merged
// cells, column widths, other sheets); a written cell keeps its own style, and a new cell
// takes the style of its row or column. Every failure throws Error with a readable text.
class WorkbookFill {
public:
    explicit WorkbookFill(const QString &xlsxPath); // opens the workbook, first worksheet
    ~WorkbookFill();
    WorkbookFill(const WorkbookFill &) = delete;
    WorkbookFill &operator=(const WorkbookFill &) = delete;

    // double/int -> numeric cell; QString (any other type as its text) -> text cell, so
    // "010010" keeps its zero; a null or invalid QVariant -> an empty cell.
    void setCell(int row, int column, const QVariant &value);
    void setText(int row, int column, const QString &text);
    void setNumber(int row, int column, double value);
    void clearCell(int row, int column);

    // Saves in place, atomically: the new workbook is written to a temporary file beside the
    // old one and renamed over it. May be called more than once.
    void save();

    // Name of the worksheet being filled.
    QString sheetName() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace granwise
