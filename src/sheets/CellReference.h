#pragma once

#include <string>
#include <string_view>

namespace granwise::sheets {

// Spreadsheet column letters: 1 -> "A", 26 -> "Z", 27 -> "AA", 16384 -> "XFD".
std::string columnLetters(int column);
// "B7" -> row 7, column 2. Returns false for text that is no cell reference.
bool parseCellReference(std::string_view reference, int &row, int &column);
// The bounds of a range "A1:D10" (or a single cell "A1").
struct CellRange {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
    bool valid() const { return firstRow > 0; }
    void include(int row, int column);
    std::string text() const;
};
CellRange parseCellRange(std::string_view text);

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

} // namespace granwise::sheets
