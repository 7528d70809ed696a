#include "WorkbookFill.h"

#include "CellReference.h"
#include "SheetXml.h"
#include "XlsxPackage.h"
#include "XmlText.h"
#include "WorkbookTouchUp.h"
#include "ZipArchive.h"
#include "store/Error.h"
#include "store/NumberFormat.h"

#include <cmath>
#include <cstring>
#include <list>
#include <map>
#include <optional>

namespace granwise {

using namespace Qt::StringLiterals;
using namespace granwise::sheets;

namespace {

struct RowEntry {
    pugi::xml_node node;
    std::map<int, pugi::xml_node> cells;
};

bool hasFormula(pugi::xml_node sheetData)
{
    for (pugi::xml_node row : sheetData.children())
        for (pugi::xml_node cell : row.children())
            if (childNamed(cell, "f"))
                return true;
    return false;
}

} // namespace

struct WorkbookFill::Impl {
    QString path;
    QString sheetName;
    std::string sheetPart;

    pugi::xml_document sheet;
    pugi::xml_node sheetData;
    pugi::xml_node dimension;
    std::optional<ColumnStyles> columnStyles;
    std::map<int, RowEntry> rows;
    bool formulasInSheet = false;
    bool formulaRemoved = false;

    void indexRows();
    RowEntry &rowFor(int row);
    pugi::xml_node cellFor(int row, int column, bool create);
    void clearValue(pugi::xml_node cell);
    void dropSharedFormula(const char *sharedIndex);
    void noteWritten(int row, int column);
};

void WorkbookFill::Impl::indexRows()
{
    int implicitRow = 0;
    for (pugi::xml_node row : sheetData.children()) {
        if (std::strcmp(localName(row.name()), "row") != 0)
            continue;
        int r = row.attribute("r").as_int();
        if (r <= 0) {
            r = implicitRow + 1;
            row.append_attribute("r") = r;
        }
        implicitRow = r;
        RowEntry &entry = rows[r];
        entry.node = row;
        int implicitColumn = 0;
        for (pugi::xml_node cell : row.children()) {
            if (std::strcmp(localName(cell.name()), "c") != 0)
                continue;
            int cr = 0, cc = 0;
            if (!parseCellReference(cell.attribute("r").value(), cr, cc)) {
                cc = implicitColumn + 1;
                const std::string ref = columnLetters(cc) + std::to_string(r);
                if (cell.attribute("r"))
                    cell.attribute("r") = ref.c_str();
                else
                    cell.prepend_attribute("r") = ref.c_str();
            }
            implicitColumn = cc;
            entry.cells[cc] = cell;
        }
    }
}

RowEntry &WorkbookFill::Impl::rowFor(int row)
{
    const auto found = rows.find(row);
    if (found != rows.end())
        return found->second;
    const auto next = rows.upper_bound(row);
    pugi::xml_node node = next == rows.end() ? sheetData.append_child("row")
                                              : sheetData.insert_child_before("row", next->second.node);
    node.append_attribute("r") = row;
    RowEntry &entry = rows[row];
    entry.node = node;
    return entry;
}

pugi::xml_node WorkbookFill::Impl::cellFor(int row, int column, bool create)
{
    if (!create && rows.find(row) == rows.end())
        return {};
    RowEntry &entry = rowFor(row);
    const auto found = entry.cells.find(column);
    if (found != entry.cells.end())
        return found->second;
    if (!create)
        return {};
    entry.node.remove_attribute("spans"); // a hint that no longer holds
    const auto next = entry.cells.upper_bound(column);
    pugi::xml_node cell = next == entry.cells.end() ? entry.node.append_child("c")
                                                     : entry.node.insert_child_before("c", next->second);
    cell.append_attribute("r") = (columnLetters(column) + std::to_string(row)).c_str();
    std::string style = rowStyle(entry.node);
    if (style.empty())
        style = columnStyles->styleOf(column);
    if (!style.empty())
        cell.append_attribute("s") = style.c_str();
    entry.cells[column] = cell;
    return cell;
}

void WorkbookFill::Impl::dropSharedFormula(const char *sharedIndex)
{
    // The cells that shared this formula keep their last values; the file stays consistent.
    const std::string si = sharedIndex;
    for (pugi::xml_node row : sheetData.children()) {
        for (pugi::xml_node cell : row.children()) {
            pugi::xml_node f = childNamed(cell, "f");
            if (f && std::strcmp(f.attribute("t").value(), "shared") == 0 && si == f.attribute("si").value())
                cell.remove_child(f);
        }
    }
}

void WorkbookFill::Impl::clearValue(pugi::xml_node cell)
{
    if (pugi::xml_node f = childNamed(cell, "f")) {
        formulaRemoved = true;
        if (std::strcmp(f.attribute("t").value(), "shared") == 0 && f.attribute("ref"))
            dropSharedFormula(f.attribute("si").value());
    }
    while (pugi::xml_node child = cell.first_child())
        cell.remove_child(child);
    for (pugi::xml_attribute a = cell.first_attribute(); a;) {
        pugi::xml_attribute next = a.next_attribute();
        if (std::strcmp(a.name(), "r") != 0 && std::strcmp(a.name(), "s") != 0)
            cell.remove_attribute(a);
        a = next;
    }
}

void WorkbookFill::Impl::noteWritten(int row, int column)
{
    if (!dimension)
        return;
    CellRange range = parseCellRange(dimension.attribute("ref").value());
    const CellRange before = range;
    range.include(row, column);
    if (range.firstRow != before.firstRow || range.lastRow != before.lastRow ||
        range.firstColumn != before.firstColumn || range.lastColumn != before.lastColumn)
        dimension.attribute("ref") = range.text().c_str();
}

WorkbookFill::WorkbookFill(const QString &xlsxPath) : d(std::make_unique<Impl>())
{
    d->path = xlsxPath;
    const ZipReader zip(xlsxPath);
    const XlsxPackage package(zip);
    if (package.worksheets.isEmpty())
        throw Error(u"工作簿中没有工作表：%1"_s.arg(xlsxPath));
    d->sheetName = package.worksheets.first().name;
    d->sheetPart = package.worksheets.first().part;

    loadSheetXml(d->sheet, zip.read(d->sheetPart), xlsxPath);
    const pugi::xml_node worksheet = d->sheet.document_element();
    d->sheetData = childNamed(worksheet, "sheetData");
    if (!d->sheetData)
        throw Error(u"工作簿已损坏：%1（工作表没有数据部分）"_s.arg(xlsxPath));
    d->dimension = childNamed(worksheet, "dimension");
    d->columnStyles.emplace(worksheet);
    d->formulasInSheet = hasFormula(d->sheetData);
    d->indexRows();
}

WorkbookFill::~WorkbookFill() = default;

QString WorkbookFill::sheetName() const
{
    return d->sheetName;
}

static void checkPosition(const QString &path, int row, int column)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw Error(u"工作簿单元格位置不对：%1（第 %2 行第 %3 列）"_s.arg(path, QString::number(row), QString::number(column)));
}

void WorkbookFill::setCell(int row, int column, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        clearCell(row, column);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
        setNumber(row, column, value.toDouble());
        return;
    default:
        setText(row, column, value.toString());
    }
}

void WorkbookFill::setText(int row, int column, const QString &text)
{
    checkPosition(d->path, row, column);
    pugi::xml_node cell = d->cellFor(row, column, true);
    d->clearValue(cell);
    cell.append_attribute("t") = "inlineStr";
    pugi::xml_node t = cell.append_child("is").append_child("t");
    const QByteArray utf8 = text.toUtf8();
    const std::string_view bytes(utf8.constData(), size_t(utf8.size()));
    if (needsSpacePreserved(bytes))
        t.append_attribute("xml:space") = "preserve";
    t.text().set(cellTextForDocument(bytes).c_str());
    d->noteWritten(row, column);
}

void WorkbookFill::setNumber(int row, int column, double value)
{
    if (!std::isfinite(value)) {
        setText(row, column, formatNumber(value));
        return;
    }
    checkPosition(d->path, row, column);
    pugi::xml_node cell = d->cellFor(row, column, true);
    d->clearValue(cell);
    std::string number;
    appendNumber(number, value);
    cell.append_child("v").text().set(number.c_str());
    d->noteWritten(row, column);
}

void WorkbookFill::clearCell(int row, int column)
{
    checkPosition(d->path, row, column);
    if (pugi::xml_node cell = d->cellFor(row, column, false))
        d->clearValue(cell);
}

void WorkbookFill::save()
{
    std::list<std::string> keepAlive;
    keepAlive.push_back(serialise(d->sheet));
    const ZipReader zip(d->path);
    const XlsxPackage package(zip);
    ZipEdit edit(d->path);
    edit.replace(d->sheetPart, keepAlive.back());
    WorkbookTouchUp touchUp;
    touchUp.formulasInWorkbook = d->formulasInSheet || !package.calcChainPart.empty();
    touchUp.formulaOverwritten = d->formulaRemoved;
    touchUp.apply(edit, zip, package, keepAlive);
    edit.commit();
    d->formulaRemoved = false;
}

} // namespace granwise
