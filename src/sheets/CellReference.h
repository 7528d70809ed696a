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

namespace detail {
// The parse of a cell reference from `p` up to where `atEnd` says it stops.
template<typename AtEnd>
inline bool parseCellReferenceUntil(const char *p, AtEnd atEnd, int &row, int &column)
{
    if (!atEnd(p) && *p == '$')
        ++p;
    long c = 0;
    const char *lettersStart = p;
    while (!atEnd(p)) {
        char ch = *p;
        if (ch >= 'a' && ch <= 'z')
            ch = char(ch - 'a' + 'A');
        if (ch < 'A' || ch > 'Z')
            break;
        c = c * 26 + (ch - 'A' + 1);
        if (c > kMaxColumns)
            return false;
        ++p;
    }
    if (p == lettersStart)
        return false;
    if (!atEnd(p) && *p == '$')
        ++p;
    long r = 0;
    const char *digitsStart = p;
    while (!atEnd(p) && *p >= '0' && *p <= '9') {
        r = r * 10 + (*p - '0');
        if (r > kMaxRows)
            return false;
        ++p;
    }
    if (p == digitsStart || !atEnd(p) || r == 0)
        return false;
    row = int(r);
    column = int(c);
    return true;
}
} // namespace detail

// "B7" -> row 7, column 2. Returns false for text that is no cell reference. Inline: a sheet
// reader calls it for every cell.
inline bool parseCellReference(std::string_view reference, int &row, int &column)
{
    const char *end = reference.data() + reference.size();
    return detail::parseCellReferenceUntil(reference.data(), [end](const char *p) { return p == end; }, row, column);
}
// The same for a NUL-terminated reference, as a parser hands over attribute values.
inline bool parseCellReference(const char *reference, int &row, int &column)
{
    return detail::parseCellReferenceUntil(reference, [](const char *p) { return *p == 0; }, row, column);
}

} // namespace granwise::sheets
