#include "WorkbookProbe.h"

#include "sheets/SheetReader.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>
#include <stdexcept>
#include <xlsxwriter.h>
#include <zip.h>

namespace granwise::test {

std::string zipPart(const QString &path, const std::string &entry)
{
    int error = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!z)
        throw std::runtime_error("cannot open zip");
    zip_file_t *f = zip_fopen(z, entry.c_str(), 0);
    if (!f) {
        zip_discard(z);
        throw std::runtime_error("no part " + entry);
    }
    std::string bytes;
    char buffer[65536];
    zip_int64_t n;
    while ((n = zip_fread(f, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, size_t(n));
    zip_fclose(f);
    zip_discard(z);
    return bytes;
}

bool zipHasPart(const QString &path, const std::string &entry)
{
    int error = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!z)
        return false;
    const bool found = zip_name_locate(z, entry.c_str(), 0) >= 0;
    zip_discard(z);
    return found;
}

void loadPart(pugi::xml_document &doc, const QString &path, const std::string &entry)
{
    const std::string bytes = zipPart(path, entry);
    ASSERT_TRUE(doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata_single));
}

pugi::xml_node cellNode(const pugi::xml_document &sheet, const char *reference)
{
    return sheet.document_element().child("sheetData").find_node([&](pugi::xml_node n) {
        return std::strcmp(n.name(), "c") == 0 && std::strcmp(n.attribute("r").value(), reference) == 0;
    });
}

QMap<int, QVector<CellValue>> readSheet(const QString &path, const QString &sheetName)
{
    QMap<int, QVector<CellValue>> rows;
    auto reader = SheetReader::open(path, sheetName);
    QVector<CellValue> cells;
    while (reader->nextRow(cells))
        rows.insert(reader->rowNumber(), cells);
    return rows;
}

QMap<int, QStringList> readSheetTexts(const QString &path, const QString &sheetName)
{
    QMap<int, QStringList> rows;
    const auto cells = readSheet(path, sheetName);
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        QStringList texts;
        for (const CellValue &c : it.value())
            texts << c.toText();
        rows.insert(it.key(), texts);
    }
    return rows;
}

void makeStyledTemplate(const QString &path)
{
    lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *ws = workbook_add_worksheet(wb, "表一");
    lxw_worksheet *notes = workbook_add_worksheet(wb, "说明");
    lxw_format *title = workbook_add_format(wb);
    format_set_bold(title);
    format_set_align(title, LXW_ALIGN_CENTER);
    lxw_format *boxed = workbook_add_format(wb);
    format_set_border(boxed, LXW_BORDER_THIN);
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "0.00");
    worksheet_set_column(ws, 0, 0, 30, nullptr);
    worksheet_set_column(ws, 1, 3, 12, money); // new cells in B:D take this style
    worksheet_merge_range(ws, 0, 0, 0, 3, "投资情况表", title);
    worksheet_write_string(ws, 2, 0, "单位：", nullptr);
    worksheet_write_blank(ws, 2, 1, boxed); // B3: a bordered empty cell
    worksheet_write_string(ws, 3, 0, "合计", nullptr);
    worksheet_write_number(ws, 3, 1, 1, nullptr);
    worksheet_write_number(ws, 3, 2, 2, nullptr);
    worksheet_write_formula_num(ws, 3, 3, "=SUM(B4:C4)", nullptr, 3);
    worksheet_write_string(ws, 5, 0, "制表：", nullptr);
    worksheet_write_string(notes, 0, 0, "不要改这一页", nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
}

} // namespace granwise::test
