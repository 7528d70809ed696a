#include "TemplateWriters.h"

#include "TemplateBook.h"

#include "projects/FormFigures.h"
#include "projects/ProjectSheet.h"
#include "projects/ProjectSheetLayout.h"
#include "projects/ProjectSheetTexts.h"
#include "projects/ProjectTexts.h"
#include "projects/StorageSheet.h"
#include "projects/StorageSheetTexts.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"
#include "store/TextLength.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

// The templates of the project sheet and the storage-facility sheet: printable forms of the
// return, laid out from the same definitions the saves fill them from. Every cell a save
// writes is a bordered, empty value cell (the storage sheet's lines show their texts with
// empty brackets); captions, headings and units stand around them. The writer refuses to
// make a template where a caption would cover a value cell or a value cell would be missing.
namespace granwise::templets {

using namespace Qt::StringLiterals;

namespace {

void check(lxw_error error, const QString &what)
{
    if (error != LXW_NO_ERROR)
        throw Error(u"模板写不成：%1（%2）"_s.arg(what, QString::fromUtf8(lxw_strerror(error))));
}

// Column widths A .. N in characters (a Chinese character takes two).
constexpr double kColumnWidths[kSheetColumns] = {16, 10, 12, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11};
constexpr int kLineHeight = 15; // pixels per line of 10-point text
constexpr int kMinRowHeight = 24;
constexpr int kTitleHeight = 44;

struct Formats {
    lxw_format *title;
    lxw_format *identification;
    lxw_format *section;
    lxw_format *label;
    lxw_format *centredLabel;
    lxw_format *heading;
    lxw_format *head;
    lxw_format *text;
    lxw_format *figure;
    lxw_format *derivedFigure;
    lxw_format *year;
};

lxw_format *baseFormat(lxw_workbook *book)
{
    lxw_format *f = workbook_add_format(book);
    format_set_font_name(f, "宋体");
    format_set_font_size(f, 10);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    return f;
}

lxw_format *bordered(lxw_workbook *book)
{
    lxw_format *f = baseFormat(book);
    format_set_border(f, LXW_BORDER_THIN);
    format_set_text_wrap(f);
    return f;
}

Formats makeFormats(lxw_workbook *book)
{
    Formats f{};
    f.title = baseFormat(book);
    format_set_bold(f.title);
    format_set_font_size(f.title, 16);
    format_set_align(f.title, LXW_ALIGN_CENTER);

    f.identification = baseFormat(book);
    format_set_font_size(f.identification, 9);
    format_set_text_wrap(f.identification);

    f.section = baseFormat(book);
    format_set_bold(f.section);
    format_set_font_size(f.section, 11);

    f.label = bordered(book);

    f.centredLabel = bordered(book);
    format_set_align(f.centredLabel, LXW_ALIGN_CENTER);

    f.heading = bordered(book);
    format_set_bold(f.heading);

    f.head = bordered(book);
    format_set_bold(f.head);
    format_set_align(f.head, LXW_ALIGN_CENTER);
    format_set_bg_color(f.head, 0xD9E1F2);

    f.text = bordered(book);

    f.figure = bordered(book);
    format_set_align(f.figure, LXW_ALIGN_RIGHT);

    f.derivedFigure = bordered(book);
    format_set_align(f.derivedFigure, LXW_ALIGN_RIGHT);
    format_set_bold(f.derivedFigure);
    format_set_bg_color(f.derivedFigure, 0xEDEDED);

    f.year = baseFormat(book);
    format_set_bold(f.year);
    format_set_align(f.year, LXW_ALIGN_CENTER);
    return f;
}

using Cell = QPair<int, int>; // row, column counted from 1

// One worksheet of a template. Rows and columns count from 1 as the saves count them. It knows
// the cells the save writes and checks every placement against them.
class SheetWriter {
public:
    SheetWriter(lxw_worksheet *sheet, QString path, const QVector<SheetEntry> &entries)
        : m_sheet(sheet), m_path(std::move(path))
    {
        for (const SheetEntry &e : entries)
            m_valueCells.insert({e.row, e.column});
        for (int c = 0; c < kSheetColumns; ++c)
            check(worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c), kColumnWidths[c], nullptr), m_path);
    }

    bool isValueCell(int row, int column) const { return m_valueCells.contains({row, column}); }

    // A caption or heading over rows row..lastRow and columns first..last.
    void fixed(int row, int first, int last, const QString &text, lxw_format *format, int lastRow = 0)
    {
        lastRow = qMax(row, lastRow);
        for (int r = row; r <= lastRow; ++r)
            for (int c = first; c <= last; ++c)
                if (isValueCell(r, c))
                    throw Error(u"模板有误：%1 的第 %2 行第 %3 列是数值格，却放了“%4”"_s.arg(m_path, QString::number(r), QString::number(c), text));
        place(row, first, lastRow, last, text, format);
        fitHeight(row, first, last, text, lastRow - row + 1);
    }

    // The value cell at (row, first), widened over the columns up to `last`; `text` is what the
    // template shows until the save writes it (usually nothing).
    void value(int row, int first, int last, lxw_format *format, const QString &text = {})
    {
        if (!isValueCell(row, first))
            throw Error(u"模板有误：%1 的第 %2 行第 %3 列不是数值格"_s.arg(m_path, QString::number(row), QString::number(first)));
        for (int c = first + 1; c <= last; ++c)
            if (isValueCell(row, c))
                throw Error(u"模板有误：%1 的第 %2 行第 %3 列被合并遮住"_s.arg(m_path, QString::number(row), QString::number(c)));
        m_placedValues.insert({row, first});
        place(row, first, row, last, text, format);
        fitHeight(row, first, last, text, 1);
    }

    void rowHeight(int row, int pixels) { m_heights[row] = qMax(m_heights.value(row), pixels); }

    // Row heights, print set-up, and the check that every value cell has its place.
    void finish(int lastRow)
    {
        for (const Cell &cell : std::as_const(m_valueCells))
            if (!m_placedValues.contains(cell))
                throw Error(u"模板有误：%1 的第 %2 行第 %3 列没有数值格"_s.arg(m_path, QString::number(cell.first), QString::number(cell.second)));
        for (int r = 1; r <= lastRow; ++r)
            check(worksheet_set_row_pixels(m_sheet, lxw_row_t(r - 1), qMax(kMinRowHeight, m_heights.value(r)), nullptr),
                  m_path);
        worksheet_set_landscape(m_sheet);
        worksheet_set_paper(m_sheet, 9); // A4
        worksheet_set_margins(m_sheet, 0.4, 0.4, 0.5, 0.5);
        worksheet_center_horizontally(m_sheet);
        worksheet_fit_to_pages(m_sheet, 1, 1);
        check(worksheet_print_area(m_sheet, 0, 0, lxw_row_t(lastRow - 1), lxw_col_t(kSheetColumns - 1)), m_path);
    }

private:
    void place(int row, int first, int lastRow, int last, const QString &text, lxw_format *format)
    {
        for (int r = row; r <= lastRow; ++r)
            for (int c = first; c <= last; ++c)
                if (m_covered.contains({r, c}))
                    throw Error(u"模板有误：%1 的第 %2 行第 %3 列放了两次"_s.arg(m_path, QString::number(r), QString::number(c)));
                else
                    m_covered.insert({r, c});
        const QByteArray utf8 = text.toUtf8();
        if (row == lastRow && first == last)
            check(worksheet_write_string(m_sheet, lxw_row_t(row - 1), lxw_col_t(first - 1), utf8.constData(), format),
                  m_path);
        else
            check(worksheet_merge_range(m_sheet, lxw_row_t(row - 1), lxw_col_t(first - 1), lxw_row_t(lastRow - 1),
                                        lxw_col_t(last - 1), utf8.constData(), format),
                  m_path);
    }

    // A wrapped text gets the lines it needs.
    void fitHeight(int row, int first, int last, const QString &text, int rows)
    {
        double width = 0;
        for (int c = first; c <= last; ++c)
            width += kColumnWidths[c - 1];
        int lines = 0;
        for (const QString &part : text.split(u'\n'))
            lines += qMax(1, int(std::ceil(double(gbkByteLength(part)) / qMax(1.0, width))));
        const int needed = lines * kLineHeight + 9;
        rowHeight(row, (needed + rows - 1) / rows);
    }

    lxw_worksheet *m_sheet;
    QString m_path;
    QSet<Cell> m_valueCells;
    QSet<Cell> m_placedValues;
    QSet<Cell> m_covered;
    QMap<int, int> m_heights;
};

QString partHeading(const QString &part)
{
    static const QString ofWhich = u"其中"_s;
    return part.startsWith(ofWhich) ? ofWhich + u"："_s + part.mid(ofWhich.size()) : part;
}

// "投资情况（万元）": the section title, two heading rows and the three investment rows.
void writeInvestment(SheetWriter &w, const Formats &f, const FigureSheetLayout &layout)
{
    const int first = layout.firstInvestmentRow;
    const int headTop = first - 2;
    const QStringList &parts = investmentParts();
    const auto composition = int(derivedFigures().first().sources.size());
    const int captionLast = kTotalSheetColumn - 1;
    const int lastColumn = kFirstPartSheetColumn + int(parts.size()) - 1;

    w.fixed(headTop - 1, 1, kSheetColumns, u"投资情况（万元）"_s, f.section);
    w.fixed(headTop, 1, captionLast, u"投资类别"_s, f.head, headTop + 1);
    w.fixed(headTop, kTotalSheetColumn, kTotalSheetColumn, u"投资合计"_s, f.head, headTop + 1);
    w.fixed(headTop, kFirstPartSheetColumn, kFirstPartSheetColumn + composition - 1, u"按构成分"_s, f.head);
    w.fixed(headTop, kFirstPartSheetColumn + composition, lastColumn, u"按投资来源分"_s, f.head);
    for (int p = 0; p < parts.size(); ++p)
        w.fixed(headTop + 1, kFirstPartSheetColumn + p, kFirstPartSheetColumn + p, partHeading(parts.at(p)), f.head);
    for (int g = 0; g < investmentPrefixes().size(); ++g) {
        const int row = first + g;
        w.fixed(row, 1, captionLast, investmentRowCaptions().at(g), f.label);
        w.value(row, kTotalSheetColumn, kTotalSheetColumn, f.derivedFigure);
        for (int p = 0; p < parts.size(); ++p)
            w.value(row, kFirstPartSheetColumn + p, kFirstPartSheetColumn + p, f.figure);
    }
}

// "建设内容及规模": the heading row and the lines of both halves.
void writeScale(SheetWriter &w, const Formats &f, const FigureSheetLayout &layout)
{
    struct HalfColumns {
        int caption, captionLast, unit, planned, plannedLast, completed, completedLast;
    };
    HalfColumns halves[2];
    for (int h = 0; h < 2; ++h) {
        HalfColumns &c = halves[h];
        c.caption = h == 0 ? 1 : kCompletedSheetColumn[0] + 2;
        c.planned = kPlannedSheetColumn[h];
        c.captionLast = c.planned - 2;
        c.unit = c.planned - 1;
        c.completed = kCompletedSheetColumn[h];
        c.plannedLast = c.completed - 1;
        c.completedLast = h == 0 ? kCompletedSheetColumn[0] + 1 : kSheetColumns;
    }
    const int headRow = layout.firstScaleRow - 1;
    for (const HalfColumns &c : halves) {
        w.fixed(headRow, c.caption, c.captionLast, u"建设内容"_s, f.head);
        w.fixed(headRow, c.unit, c.unit, u"计量单位"_s, f.head);
        w.fixed(headRow, c.planned, c.plannedLast, u"建设规模"_s, f.head);
        w.fixed(headRow, c.completed, c.completedLast, u"年度完成规模"_s, f.head);
    }
    for (const ScaleTableLine &line : scaleTableLines()) {
        const HalfColumns &c = halves[line.half];
        const int row = layout.firstScaleRow + line.line;
        if (!line.item) {
            w.fixed(row, c.caption, c.completedLast, line.heading, f.heading);
            continue;
        }
        lxw_format *figure = line.item->derived ? f.derivedFigure : f.figure;
        w.fixed(row, c.caption, c.captionLast, line.item->caption, f.label);
        w.fixed(row, c.unit, c.unit, line.item->unit, f.centredLabel);
        w.value(row, c.planned, c.plannedLast, figure);
        w.value(row, c.completed, c.completedLast, figure);
    }
}

int lastScaleRow(const FigureSheetLayout &layout)
{
    return layout.firstScaleRow + scaleTableLineCount() - 1;
}

// Header rows of the project sheet: in each row the fields from left to right, a field's
// caption in the cell before its value (the first caption of a row from column 1), its value
// up to the next caption.
void writeProjectHeader(SheetWriter &w, const Formats &f)
{
    QMap<int, QVector<ProjectSheetField>> rows;
    for (const ProjectSheetField &field : projectSheetHeader())
        rows[field.row].append(field);
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        QVector<ProjectSheetField> &fields = it.value();
        std::sort(fields.begin(), fields.end(),
                  [](const ProjectSheetField &a, const ProjectSheetField &b) { return a.column < b.column; });
        for (int i = 0; i < fields.size(); ++i) {
            const ProjectSheetField &field = fields.at(i);
            if (field.labelled) {
                const int labelFirst = i == 0 ? 1 : field.column - 1;
                w.fixed(field.row, labelFirst, field.column - 1, findProjectColumn(field.projectColumn)->caption,
                        f.label);
            }
            int valueLast = kSheetColumns;
            if (i + 1 < fields.size())
                valueLast = fields.at(i + 1).column - (fields.at(i + 1).labelled ? 2 : 1);
            const bool number = findProjectColumn(field.projectColumn)->isNumber();
            w.value(field.row, field.column, valueLast, number ? f.figure : f.text);
        }
    }
}

// A project whose every field is filled and which started this year: the save writes every
// cell of the sheet for it.
QVector<SheetEntry> everyProjectSheetCell()
{
    ProjectValues values;
    for (const ProjectColumn &c : projectColumns())
        values.insert(c.name, c.choices.value(0, u"1"_s));
    return projectSheetEntries(values, {u"1"_s, u"1"_s, u"1"_s});
}

void writeProjectSheetTemplate(const QString &path)
{
    TemplateBook workbook(path);
    lxw_workbook *book = workbook.book();
    const Formats f = makeFormats(book);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "基础报表");
    SheetWriter w(sheet, path, everyProjectSheetCell());

    constexpr int kIdentificationColumns = 4;
    w.fixed(1, 1, kSheetColumns - kIdentificationColumns, projects::texts::FormTitle, f.title);
    w.rowHeight(1, kTitleHeight);
    w.fixed(1, kSheetColumns - kIdentificationColumns + 1, kSheetColumns, returnIdentificationLines().join(u'\n'),
            f.identification);
    writeProjectHeader(w, f);
    writeInvestment(w, f, kProjectSheetFigures);
    writeScale(w, f, kProjectSheetFigures);
    int lastRow = lastScaleRow(kProjectSheetFigures);
    for (const ProjectSheetField &field : projectSheetHeader())
        lastRow = qMax(lastRow, field.row);
    w.finish(lastRow);
    workbook.close();
}

void writeStorageSheetTemplate(const QString &path)
{
    TemplateBook workbook(path);
    lxw_workbook *book = workbook.book();
    const Formats f = makeFormats(book);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "基本情况表");
    // The lines show their texts with empty brackets until the save fills them.
    const QVector<SheetEntry> entries = storageSheetEntries(designStorageSheet(), {});
    SheetWriter w(sheet, path, entries);

    w.fixed(1, 1, kSheetColumns, projects::texts::StorageCaption, f.title);
    w.rowHeight(1, kTitleHeight);
    w.value(kStorageYearRow, kStorageYearColumn, kStorageYearColumn + 1, f.year);

    // The count and land lines, each up to the next line of its row; a caption over them.
    const int sectionRow = kStorageSheetFigures.firstInvestmentRow - 3;
    QMap<int, QVector<SheetEntry>> rows;
    for (const SheetEntry &e : entries)
        if (e.row > kStorageYearRow && e.row < sectionRow)
            rows[e.row].append(e);
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        QVector<SheetEntry> &cells = it.value();
        std::sort(cells.begin(), cells.end(), [](const SheetEntry &a, const SheetEntry &b) { return a.column < b.column; });
        for (int i = 0; i < cells.size(); ++i) {
            const int last = i + 1 < cells.size() ? cells.at(i + 1).column - 1 : kSheetColumns;
            w.value(it.key(), cells.at(i).column, last, f.text, cells.at(i).value.toString());
        }
    }
    if (!rows.isEmpty()) {
        const int firstLineColumn = rows.first().first().column;
        w.fixed(rows.firstKey(), 1, firstLineColumn - 1, u"项目基本情况"_s, f.centredLabel, rows.lastKey());
    }
    writeInvestment(w, f, kStorageSheetFigures);
    writeScale(w, f, kStorageSheetFigures);
    w.finish(lastScaleRow(kStorageSheetFigures));
    workbook.close();
}

} // namespace

void writeSheetTemplates(const QString &directory)
{
    const QDir dir(directory);
    writeProjectSheetTemplate(dir.filePath(sheetTemplateFileName(projects::texts::ProjectSheetName)));
    writeStorageSheetTemplate(dir.filePath(sheetTemplateFileName(projects::texts::StorageSheetName)));
}

} // namespace granwise::templets
