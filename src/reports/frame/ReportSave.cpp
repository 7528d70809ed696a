#include "ReportSave.h"

#include "ReportTexts.h"
#include "store/Error.h"
#include "store/NumberFormat.h"

#ifdef GRANWISE_HAS_SHEETS
#include "sheets/CopyTemplateFile.h"
#include "sheets/WorkbookFill.h"
#endif

namespace granwise {

using namespace Qt::StringLiterals;

QString saveDateText(const QDate &day)
{
    return day.toString(u"MM-dd"_s);
}

QString proposedFileName(const ReportDefinition &definition, const QDate &day)
{
    return definition.title + u'(' + saveDateText(day) + u')';
}

QString templatePath(const AppLocations &locations, const ReportDefinition &definition)
{
    return locations.templatePath(definition.templateFileName());
}

QVector<SheetCell> worksheetCells(const ReportDefinition &definition, const ReportGrid &grid,
                                  const QVector<SheetCell> &extraCells)
{
    QVector<SheetCell> cells = extraCells;
    const SaveLayout &save = definition.save;
    if (save.titleIntoSheet)
        cells.append({2, 1, grid.title()});
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QString &text = grid.text(r, c);
            QVariant value;
            if (c > 0) {
                if (const auto number = parseNumber(text))
                    value = *number;
                else if (!text.isEmpty())
                    value = text;
            } else if (!text.isEmpty()) {
                value = text;
            }
            cells.append({r + save.rowOffset, c + save.columnOffset, value});
        }
    }
    return cells;
}

void writeReportWorkbook(const AppLocations &locations, const ReportDefinition &definition, const ReportGrid &grid,
                         const QString &path, const QVector<SheetCell> &extraCells)
{
#ifdef GRANWISE_HAS_SHEETS
    writeFromTemplate(templatePath(locations, definition), path, [&](const QString &copy) {
        WorkbookFill workbook(copy);
        for (const SheetCell &cell : worksheetCells(definition, grid, extraCells))
            workbook.setCell(cell.row, cell.column, cell.value);
        workbook.save();
    });
#else
    Q_UNUSED(locations);
    Q_UNUSED(definition);
    Q_UNUSED(grid);
    Q_UNUSED(path);
    Q_UNUSED(extraCells);
    throw Error(u"本程序没有工作簿组件，不能保存表格"_s);
#endif
}

} // namespace granwise
