#pragma once

#include <string>
#include <string_view>

namespace granwise::sheets {

// Spreadsheet column letters: 1 -> "A", 26 -> "Z", 27 -> "AA", 16384 -> "XFD".
std::string columnLetters(int column);
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

// "B7" -> row 7, column 2. Returns false for text that is no cell reference. Inline: a sheet
// reader calls it for every cell.
inline bool parseCellReference(std::string_view reference, int &row, int &column)
{
    size_t i = 0;
    if (i < reference.size() && reference[i] == '$')
        ++i;
    long c = 0;
    const size_t lettersStart = i;
    while (i < reference.size()) {
        char ch = reference[i];
        if (ch >= 'a' && ch <= 'z')
            ch = char(ch - 'a' + 'A');
        if (ch < 'A' || ch > 'Z')
            break;
        c = c * 26 + (ch - 'A' + 1);
        if (c > kMaxColumns)
            return false;
        ++i;
    }
    if (i == lettersStart)
        return false;
    if (i < reference.size() && reference[i] == '$')
        ++i;
    long r = 0;
    const size_t digitsStart = i;
    while (i < reference.size() && reference[i] >= '0' && reference[i] <= '9') {
        r = r * 10 + (reference[i] - '0');
        if (r > kMaxRows)
            return false;
        ++i;
    }
    if (i == digitsStart || i != reference.size() || r == 0)
        return false;
    row = int(r);
    column = int(c);
    return true;
}

} // namespace granwise::sheets
