#include "ProjectSheetLayout.h"

#include "FormFigures.h"
#include "ProjectSheetTexts.h"
#include "sheets/CopyTemplateFile.h"
#include "sheets/WorkbookFill.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QDate>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// Headings of the scale table that carry no figures: each stands on the line above the item
// named.
struct ScaleHeading {
    const char16_t *beforeItem;
    const char16_t *text;
};
constexpr ScaleHeading kScaleHeadings[] = {
    {u"其中泊位个数", u"五、粮食专用码头"},
    {u"其中接收能力", u"九、散粮中转能力"},
    {u"其中散粮汽车", u"5、运输设备"},
};
// The right half of the scale table starts with this item.
constexpr int kFirstRightItem = 20;

QVector<ScaleTableLine> buildScaleTableLines()
{
    QVector<ScaleTableLine> lines;
    int half = 0;
    int line = 0;
    for (const ScaleItem &item : scaleItems()) {
        if (item.number == kFirstRightItem) {
            half = 1;
            line = 0;
        }
        for (const ScaleHeading &h : kScaleHeadings)
            if (item.item == QString::fromUtf16(h.beforeItem))
                lines.append({half, line++, nullptr, QString::fromUtf16(h.text)});
        lines.append({half, line++, &item, {}});
    }
    return lines;
}

} // namespace

const QStringList &returnIdentificationLines()
{
    static const QStringList lines{u"表    号:GL21表"_s, u"制定机关:"_s, u"批准机关:"_s, u"批准文号:"_s, u"有效期至:"_s};
    return lines;
}

const QVector<ScaleTableLine> &scaleTableLines()
{
    static const QVector<ScaleTableLine> lines = buildScaleTableLines();
    return lines;
}

int scaleTableLineCount()
{
    int count = 0;
    for (const ScaleTableLine &line : scaleTableLines())
        count = qMax(count, line.line + 1);
    return count;
}

QVariant figureCellValue(const QString &text)
{
    if (text.trimmed().isEmpty())
        return {};
    if (const auto number = parseNumber(text))
        return *number;
    return text;
}

QVector<FigureCell> figureCells(const FigureSheetLayout &layout)
{
    QVector<FigureCell> cells;
    for (int g = 0; g < investmentPrefixes().size(); ++g) {
        const int row = layout.firstInvestmentRow + g;
        cells.append({row, kTotalSheetColumn, investmentTotalControl(g)});
        for (int p = 0; p < investmentParts().size(); ++p)
            cells.append({row, kFirstPartSheetColumn + p, findProjectColumn(investmentColumn(g, p))->control});
    }
    for (const ScaleTableLine &line : scaleTableLines()) {
        if (!line.item)
            continue;
        const int row = layout.firstScaleRow + line.line;
        cells.append({row, kPlannedSheetColumn[line.half], line.item->plannedControl});
        cells.append({row, kCompletedSheetColumn[line.half], line.item->completedControl});
    }
    return cells;
}

QVector<SheetEntry> figureEntries(const FigureSheetLayout &layout,
                                  const std::function<QString(const QString &control)> &textOf)
{
    QVector<SheetEntry> entries;
    for (const FigureCell &cell : figureCells(layout))
        entries.append({cell.row, cell.column, figureCellValue(textOf(cell.control))});
    return entries;
}

void writeSheetWorkbook(const QString &templatePath, const QString &path, const QVector<SheetEntry> &entries)
{
    writeFromTemplate(templatePath, path, [&](const QString &copy) {
        WorkbookFill workbook(copy);
        for (const SheetEntry &entry : entries)
            workbook.setCell(entry.row, entry.column, entry.value);
        workbook.save();
    });
}

QString sheetTemplateFileName(const QString &sheetTitle)
{
    return sheetTitle + u".xlsx"_s;
}

QString sheetTemplatePath(const AppLocations &locations, const QString &sheetTitle)
{
    return locations.templatePath(sheetTemplateFileName(sheetTitle));
}

QString proposedSheetFileName(const QString &sheetTitle, const QDate &day)
{
    return sheetTitle + texts::SheetNameOpen + day.toString(u"MM-dd"_s) + texts::SheetNameClose;
}

} // namespace granwise
