#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <span>
#include <string_view>

namespace granwise {

// Writes many rows into the first worksheet of an .xlsx workbook (a template copy) without
// holding them in memory: rows go to a temporary file as sheet XML, and finish() builds the
// workbook from the template's parts and that stream. Cells the rows do not write keep the
// template's content and formatting, as with WorkbookFill; a written cell keeps the style of
// the template cell it replaces, else takes its row's or column's style.
//
//     SheetStreamFill fill(path);    // a copy of the template
//     fill.writeRow({...});          // row 1, then 2, ...
//     fill.finish();                 // saves in place, atomically
//
// Cell values as in WorkbookFill::setCell: numbers numeric, texts text, null an empty cell.
//
// A cell of a row handed over without QVariant, for loops over many rows: a number, a text as
// valid UTF-8 (not copied: it needs to live only through the writeRow() call) or nothing.
// A number that is not finite is written as text ("INF"), as WorkbookFill does.
struct StreamCell {
    enum class Kind : unsigned char { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string_view utf8;

    static StreamCell of(double value) { return {Kind::Number, value, {}}; }
    static StreamCell of(std::string_view utf8) { return {Kind::Text, 0, utf8}; }
};

class SheetStreamFill {
public:
    explicit SheetStreamFill(const QString &xlsxPath);
    ~SheetStreamFill();
    SheetStreamFill(const SheetStreamFill &) = delete;
    SheetStreamFill &operator=(const SheetStreamFill &) = delete;

    // The row the next writeRow() fills (counted from 1); rows only go forward.
    void skipTo(int row);
    int nextRow() const;
    // Fills the next row from column 1 on.
    void writeRow(const QVector<QVariant> &cells);
    void writeRow(std::span<const StreamCell> cells);
    // Writes the workbook in place (temporary file renamed over it). Without finish() the
    // workbook stays as it was.
    void finish();

    QString sheetName() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Creates an empty workbook with one worksheet of that name: the plainest template.
void createBlankWorkbook(const QString &xlsxPath, const QString &sheetName);

} // namespace granwise
