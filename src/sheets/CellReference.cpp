#include "CellReference.h"

#include <algorithm>

namespace granwise::sheets {

std::string columnLetters(int column)
{
    std::string letters;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        letters.insert(letters.begin(), char('A' + rest));
        column = (column - 1) / 26;
    }
    return letters;
}

bool parseCellReference(std::string_view reference, int &row, int &column)
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

void CellRange::include(int row, int column)
{
    if (!valid()) {
        firstRow = lastRow = row;
        firstColumn = lastColumn = column;
        return;
    }
    firstRow = std::min(firstRow, row);
    lastRow = std::max(lastRow, row);
    firstColumn = std::min(firstColumn, column);
    lastColumn = std::max(lastColumn, column);
}

std::string CellRange::text() const
{
    const std::string first = columnLetters(firstColumn) + std::to_string(firstRow);
    if (firstRow == lastRow && firstColumn == lastColumn)
        return first;
    return first + ':' + columnLetters(lastColumn) + std::to_string(lastRow);
}

CellRange parseCellRange(std::string_view text)
{
    CellRange range;
    const size_t colon = text.find(':');
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (colon == std::string_view::npos) {
        if (parseCellReference(text, r1, c1))
            range.include(r1, c1);
        return range;
    }
    if (parseCellReference(text.substr(0, colon), r1, c1) && parseCellReference(text.substr(colon + 1), r2, c2)) {
        range.include(r1, c1);
        range.include(r2, c2);
    }
    return range;
}

} // namespace granwise::sheets
