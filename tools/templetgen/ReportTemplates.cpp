#include "TemplateWriters.h"

#include "TemplateBook.h"

#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportSession.h"
#include "reports/AllReports.h"
#include "store/DatabaseSetup.h"
#include "store/Error.h"

#include <QDir>
#include <algorithm>
#include <QSet>
#include <QTemporaryDir>
#include <xlsxwriter.h>

// The template of every statistical table, drawn from its definition: the title over the
// whole width, the unit caption above the heads on the right, the heads with their merges,
// and the data rows of the whole-country table with borders, each exactly where the save
// writes it (grid row r to worksheet row r + the table's row offset). The rows stay empty: a
// listing saved into the template must not show the labels of the whole table beneath it.
namespace granwise::templets {

using namespace Qt::StringLiterals;

namespace {

QByteArray utf8(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text.toUtf8();
}

void check(lxw_error error, const QString &what)
{
    if (error != LXW_NO_ERROR)
        throw Error(u"模板写不成：%1（%2）"_s.arg(what, QString::fromUtf8(lxw_strerror(error))));
}

struct Formats {
    lxw_format *title;
    lxw_format *unit;
    lxw_format *head;
    lxw_format *label;
    lxw_format *figure;
};

Formats makeFormats(lxw_workbook *book)
{
    Formats f{};
    f.title = workbook_add_format(book);
    format_set_bold(f.title);
    format_set_font_size(f.title, 16);
    format_set_font_name(f.title, "宋体");
    format_set_align(f.title, LXW_ALIGN_CENTER);
    format_set_align(f.title, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(f.title);

    f.unit = workbook_add_format(book);
    format_set_font_name(f.unit, "宋体");
    format_set_font_size(f.unit, 10);
    format_set_align(f.unit, LXW_ALIGN_RIGHT);
    format_set_align(f.unit, LXW_ALIGN_VERTICAL_CENTER);

    f.head = workbook_add_format(book);
    format_set_bold(f.head);
    format_set_font_name(f.head, "宋体");
    format_set_font_size(f.head, 10);
    format_set_align(f.head, LXW_ALIGN_CENTER);
    format_set_align(f.head, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(f.head);
    format_set_border(f.head, LXW_BORDER_THIN);
    format_set_bg_color(f.head, 0xD9E1F2);

    f.label = workbook_add_format(book);
    format_set_font_name(f.label, "宋体");
    format_set_font_size(f.label, 10);
    format_set_align(f.label, LXW_ALIGN_LEFT);
    format_set_align(f.label, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(f.label, LXW_BORDER_THIN);

    f.figure = workbook_add_format(book);
    format_set_font_name(f.figure, "宋体");
    format_set_font_size(f.figure, 10);
    format_set_align(f.figure, LXW_ALIGN_RIGHT);
    format_set_align(f.figure, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(f.figure, LXW_BORDER_THIN);
    return f;
}

QByteArray sheetName(const ReportDefinition &definition)
{
    return definition.number.isEmpty() ? QByteArrayLiteral("Sheet1") : (u"表"_s + definition.number).toUtf8();
}

// Writes one template. Worksheet rows and columns count from 0 here; the save counts from 1.
void writeTemplate(const QString &path, const ReportDefinition &definition, const ReportGrid &grid)
{
    TemplateBook book(path);
    const Formats f = makeFormats(book.book());
    const QByteArray name = sheetName(definition);
    lxw_worksheet *sheet = workbook_add_worksheet(book.book(), name.constData());
    if (!sheet)
        throw Error(u"模板写不成：%1"_s.arg(path));

    const int columns = grid.columnCount();
    const int rowOffset = definition.save.rowOffset - 1;    // grid row r -> sheet row r + rowOffset
    const int columnOffset = definition.save.columnOffset - 1;
    const auto sheetColumn = [&](int c) { return lxw_col_t(c + columnOffset); };
    const int firstColumn = columnOffset;
    const int lastColumn = columns - 1 + columnOffset;

    for (int c = 0; c < columns; ++c) {
        const int width = c < definition.columnWidths.size() ? definition.columnWidths.at(c) : 100;
        check(worksheet_set_column_pixels(sheet, sheetColumn(c), sheetColumn(c), width, nullptr), path);
    }

    // Title one row above the unit caption, the unit caption right above the first head row.
    const int headTop = 1 + rowOffset;
    const int unitRow = headTop - 1;
    const int titleRow = unitRow - 1;
    if (titleRow >= 0) {
        check(worksheet_set_row_pixels(sheet, lxw_row_t(titleRow), 40, nullptr), path);
        check(worksheet_merge_range(sheet, lxw_row_t(titleRow), lxw_col_t(firstColumn), lxw_row_t(titleRow),
                                    lxw_col_t(lastColumn), utf8(grid.title()).constData(), f.title),
              path);
    }
    if (unitRow >= 0 && !definition.unitCaption.isEmpty()) {
        check(worksheet_merge_range(sheet, lxw_row_t(unitRow), lxw_col_t(qMax(firstColumn, lastColumn - 1)),
                                    lxw_row_t(unitRow), lxw_col_t(lastColumn),
                                    utf8(definition.unitCaption).constData(), f.unit),
              path);
    }

    // Heads: every cell of the header rows bordered, the merges as the grid has them.
    for (int r = 1; r < grid.firstDataRow(); ++r) {
        const bool twoLines = std::any_of(definition.heads.begin(), definition.heads.end(), [r](const HeadCell &h) {
            return h.row == r && (h.text.contains(u'\n') || h.text.contains(u'\r'));
        });
        check(worksheet_set_row_pixels(sheet, lxw_row_t(r + rowOffset), twoLines ? 48 : 32, nullptr), path);
        for (int c = 0; c < columns; ++c)
            check(worksheet_write_string(sheet, lxw_row_t(r + rowOffset), sheetColumn(c),
                                         utf8(grid.text(r, c)).constData(), f.head),
                  path);
    }
    for (const CellSpan &span : grid.spans()) {
        if (span.row == 0)
            continue; // the title is written above
        check(worksheet_merge_range(sheet, lxw_row_t(span.row + rowOffset), sheetColumn(span.column),
                                    lxw_row_t(span.row + span.rowSpan - 1 + rowOffset),
                                    sheetColumn(span.column + span.columnSpan - 1),
                                    utf8(grid.text(span.row, span.column)).constData(), f.head),
              path);
    }

    // Data rows, empty but formatted.
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r) {
        check(worksheet_set_row_pixels(sheet, lxw_row_t(r + rowOffset), 22, nullptr), path);
        for (int c = 0; c < columns; ++c)
            check(worksheet_write_blank(sheet, lxw_row_t(r + rowOffset), sheetColumn(c), c == 0 ? f.label : f.figure),
                  path);
    }

    // Printing: one page wide, landscape, the heads repeated on every page.
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, 9); // A4
    worksheet_center_horizontally(sheet);
    worksheet_set_margins(sheet, 0.4, 0.4, 0.5, 0.5);
    worksheet_fit_to_pages(sheet, 1, 0);
    check(worksheet_repeat_rows(sheet, lxw_row_t(qMax(0, titleRow)), lxw_row_t(grid.firstDataRow() - 1 + rowOffset)),
          path);
    check(worksheet_print_area(sheet, lxw_row_t(qMax(0, titleRow)), lxw_col_t(firstColumn),
                               lxw_row_t(grid.rowCount() - 1 + rowOffset), lxw_col_t(lastColumn)),
          path);
    worksheet_freeze_panes(sheet, lxw_row_t(grid.firstDataRow() + rowOffset), 0);
    book.close();
}

} // namespace

void writeReportTemplates(const QString &directory)
{
    registerAllReports();
    // The row layout of a table is that of its whole-country table over no projects at all.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw Error(u"Cannot create a temporary directory"_s);
    const QString database = scratch.filePath(u"empty.db"_s);
    createDatabase(database);

    QSet<QString> written;
    for (const ReportDefinition *definition : reportDefinitions()) {
        const QString fileName = definition->templateFileName();
        if (written.contains(fileName))
            continue; // tables that share a template (2-1 .. 2-9) draw it from the first of them
        written.insert(fileName);
        ReportSession session(*definition, database);
        session.computeWholeTable();
        writeTemplate(QDir(directory).filePath(fileName), *definition, session.grid());
    }
}

} // namespace granwise::templets
