#include "TemplateWriters.h"

#include "TemplateBook.h"

#include "exchange/ExchangeTexts.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"
#include "store/TextLength.h"

#include <QDir>
#include <QFile>
#include <xlsxwriter.h>

namespace granwise::templets {

using namespace Qt::StringLiterals;

namespace {


// The upload template: sheet "数据信息", row 1 the names of the project columns in table order
// (all but id), every later row left for the projects. Printable: landscape A4, the header
// row repeated on every page, page numbers in the footer.
void writeUploadTemplate(const QString &directory)
{
    TemplateBook workbook(QDir(directory).filePath(u"out.xlsx"_s));
    lxw_workbook *book = workbook.book();
    lxw_worksheet *sheet = workbook_add_worksheet(book, exchange::SheetName.toUtf8().constData());
    if (!sheet)
        throw Error(u"模板写不出：%1"_s.arg(workbook.path()));

    lxw_format *header = workbook_add_format(book);
    format_set_bold(header);
    format_set_font_name(header, "宋体");
    format_set_font_size(header, 10);
    format_set_align(header, LXW_ALIGN_CENTER);
    format_set_align(header, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(header);
    format_set_border(header, LXW_BORDER_THIN);
    format_set_bg_color(header, 0xDDEBF7);

    const QStringList names = uploadColumnNames();
    for (int c = 0; c < names.size(); ++c) {
        const QString &name = names.at(c);
        worksheet_write_string(sheet, 0, lxw_col_t(c), name.toUtf8().constData(), header);
        // Wide enough for the name (two units per Chinese character), at least 10.
        const double width = std::clamp(double(gbkByteLength(name)) + 2.0, 10.0, 30.0);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr);
    }
    worksheet_set_row(sheet, 0, 30, nullptr);
    worksheet_freeze_panes(sheet, 1, 0);

    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, 9); // A4
    worksheet_set_margins(sheet, 0.4, 0.4, 0.6, 0.6);
    worksheet_repeat_rows(sheet, 0, 0);
    worksheet_gridlines(sheet, LXW_SHOW_PRINT_GRIDLINES);
    worksheet_set_footer(sheet, "&C第 &P 页，共 &N 页");
    workbook.close();
}

} // namespace

void writeExchangeTemplates(const QString &directory)
{
    writeUploadTemplate(directory);
    // The project sheet (project export) and the storage-facility sheet are written here too,
    // each by a writer of its own beside writeUploadTemplate().
}

} // namespace granwise::templets
