#pragma once

class QTableWidget;

namespace granwise {

// Makes every cell of a report grid show its whole text in its own font: a column is widened
// until its figures and labels fit on one line and its heads fit, wrapped, into the height of
// their row; a merged head or title that still does not fit makes its last row taller. Rows
// from `firstDataRow` on hold one line each; the rows above may wrap. Never narrows a column
// or lowers a row.
void fitGridToText(QTableWidget &grid, int firstDataRow);

} // namespace granwise
