#include "ReportDefinition.h"

namespace granwise {

ReportGrid blankGrid(const ReportDefinition &definition, int dataRows)
{
    ReportGrid grid(definition.columnCount, definition.firstDataRow);
    grid.setText(0, 0, definition.title);
    grid.addSpan({0, 0, 1, definition.columnCount});
    for (const HeadCell &head : definition.heads) {
        grid.setText(head.row, head.column, head.text);
        if (head.rowSpan > 1 || head.columnSpan > 1)
            grid.addSpan({head.row, head.column, head.rowSpan, head.columnSpan});
    }
    grid.setRowCount(definition.firstDataRow + dataRows);
    return grid;
}

} // namespace granwise
