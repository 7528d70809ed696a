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
