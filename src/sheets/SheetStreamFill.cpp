#include "SheetStreamFill.h"

#include "CellReference.h"
#include "DeflateBehind.h"
#include "SheetXml.h"
#include "WorkbookTouchUp.h"
#include "XlsxPackage.h"
#include "XmlText.h"
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

const char *const kRowsMark = "granwise-rows";
constexpr size_t kFlushSize = 1 << 20;
// The rows, hundreds of megabytes of very regular XML for a national data set, are deflated at
// the fastest level; the small parts around them as tightly as usual.
constexpr int kRowsLevel = 1;
constexpr int kPartLevel = 6;

struct StringWriter : pugi::xml_writer {
    std::string &out;
    explicit StringWriter(std::string &o) : out(o) {}
    void write(const void *data, size_t size) override { out.append(static_cast<const char *>(data), size); }
};

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

struct SheetStreamFill::Impl {
    QString path;
    QString sheetName;
    std::string sheetPart;

    pugi::xml_document sheet;     // the template sheet, its rows replaced by a mark
    pugi::xml_document rowsHolder; // the template's rows, written out as the stream passes them
    std::map<int, pugi::xml_node> templateRows;
    pugi::xml_node dimension;
    std::optional<ColumnStyles> columnStyles;
    bool formulasInSheet = false;
    bool formulaOverwritten = false;
    CellRange extent;

    std::vector<std::string> letters; // by column
    std::vector<StreamCell> converted; // a row given as QVariants, and its texts
    std::vector<QByteArray> convertedTexts;
    std::string buffer;
    std::unique_ptr<DeflateBehind> rows; // the rows, deflated while more are written
    int next = 1;
    bool finished = false;

    const std::string &lettersOf(int column)
    {
        if (int(letters.size()) <= column)
            letters.resize(size_t(column) + 1);
        std::string &l = letters[size_t(column)];
        if (l.empty())
            l = columnLetters(column);
        return l;
    }

    void takeTemplateRows(pugi::xml_node sheetData);
    void writeTemplateRowsBefore(int row);
    void writeTemplateRow(pugi::xml_node row);
    void writePlainRow(int row, std::span<const StreamCell> cells);
    void writeMergedRow(int row, pugi::xml_node templateRow, std::span<const StreamCell> cells);
    // Appends a cell; without its reference when it follows the previous cell of a plain row.
    bool appendCell(int row, const std::string &rowText, int column, const StreamCell &cell, const std::string &style,
                    bool withReference = true);
    void dropSharedFormula(const std::string &sharedIndex);
    void flushBuffer();
};

void SheetStreamFill::Impl::takeTemplateRows(pugi::xml_node sheetData)
{
    int implicitRow = 0;
    for (pugi::xml_node row : sheetData.children()) {
        if (std::strcmp(localName(row.name()), "row") != 0)
            continue;
        int r = row.attribute("r").as_int();
        if (r <= implicitRow)
            r = implicitRow + 1;
        implicitRow = r;
        pugi::xml_node copy = rowsHolder.append_copy(row);
        if (!copy.attribute("r"))
            copy.prepend_attribute("r");
        copy.attribute("r") = r;
        int implicitColumn = 0;
        for (pugi::xml_node cell : copy.children()) {
            if (std::strcmp(localName(cell.name()), "c") != 0)
                continue;
            int cr = 0, cc = 0;
            if (!parseCellReference(cell.attribute("r").value(), cr, cc)) {
                cc = implicitColumn + 1;
                if (!cell.attribute("r"))
                    cell.prepend_attribute("r");
                cell.attribute("r") = (columnLetters(cc) + std::to_string(r)).c_str();
            }
            implicitColumn = cc;
            extent.include(r, cc);
            if (childNamed(cell, "f"))
                formulasInSheet = true;
        }
        templateRows[r] = copy;
    }
    while (pugi::xml_node child = sheetData.first_child())
        sheetData.remove_child(child);
    sheetData.append_child(pugi::node_comment).set_value(kRowsMark);
}

void SheetStreamFill::Impl::flushBuffer()
{
    if (buffer.empty())
        return;
    rows->write(buffer);
    buffer.reserve(kFlushSize + 64 * 1024);
}

void SheetStreamFill::Impl::writeTemplateRow(pugi::xml_node row)
{
    row.remove_attribute("spans");
    StringWriter writer(buffer);
    row.print(writer, "", pugi::format_raw);
}

void SheetStreamFill::Impl::writeTemplateRowsBefore(int row)
{
    while (!templateRows.empty() && templateRows.begin()->first < row) {
        writeTemplateRow(templateRows.begin()->second);
        templateRows.erase(templateRows.begin());
    }
}

bool SheetStreamFill::Impl::appendCell(int row, const std::string &rowText, int column, const StreamCell &cell,
                                       const std::string &style, bool withReference)
{
    const bool numeric = cell.kind == StreamCell::Kind::Number;
    if (numeric && !std::isfinite(cell.number)) {
        const QByteArray text = formatNumber(cell.number).toUtf8();
        return appendCell(row, rowText, column, StreamCell::of(std::string_view(text.constData(), size_t(text.size()))),
                          style, withReference);
    }
    const bool empty = !numeric && cell.utf8.empty();
    if (empty && style.empty())
        return false;
    if (withReference) {
        buffer += "<c r=\"";
        buffer += lettersOf(column);
        buffer += rowText;
        buffer += '"';
    } else {
        buffer += "<c";
    }
    if (!style.empty()) {
        buffer += " s=\"";
        buffer += style;
        buffer += '"';
    }
    extent.include(row, column);
    if (empty) {
        buffer += "/>";
    } else if (numeric) {
        buffer += "><v>";
        appendNumber(buffer, cell.number);
        buffer += "</v></c>";
    } else {
        buffer += needsSpacePreserved(cell.utf8) ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                                                 : " t=\"inlineStr\"><is><t>";
        appendCellText(buffer, cell.utf8);
        buffer += "</t></is></c>";
    }
    return true;
}

void SheetStreamFill::Impl::writePlainRow(int row, std::span<const StreamCell> cells)
{
    const std::string rowText = std::to_string(row);
    const size_t start = buffer.size();
    buffer += "<row r=\"";
    buffer += rowText;
    buffer += "\">";
    // A cell right after the previous one needs no reference (readers count columns on), which
    // makes a sheet of many figures about a third smaller to write, send and read.
    bool any = false;
    int previous = 0;
    for (int i = 0; i < int(cells.size()); ++i) {
        if (appendCell(row, rowText, i + 1, cells[size_t(i)], columnStyles->styleOf(i + 1), previous != i)) {
            any = true;
            previous = i + 1;
        }
    }
    if (any)
        buffer += "</row>";
    else
        buffer.resize(start);
}

void SheetStreamFill::Impl::dropSharedFormula(const std::string &sharedIndex)
{
    // Cells that shared the overwritten formula keep their last values.
    for (auto &[r, row] : templateRows) {
        for (pugi::xml_node cell : row.children()) {
            pugi::xml_node f = childNamed(cell, "f");
            if (f && std::strcmp(f.attribute("t").value(), "shared") == 0 && sharedIndex == f.attribute("si").value())
                cell.remove_child(f);
        }
    }
}

void SheetStreamFill::Impl::writeMergedRow(int row, pugi::xml_node templateRow, std::span<const StreamCell> cells)
{
    const std::string rowText = std::to_string(row);
    templateRow.remove_attribute("spans");
    buffer += "<row";
    for (pugi::xml_attribute a : templateRow.attributes()) {
        buffer += ' ';
        buffer += a.name();
        buffer += "=\"";
        appendEscaped(buffer, a.value(), std::strlen(a.value()));
        buffer += '"';
    }
    buffer += '>';
    const std::string ownStyle = rowStyle(templateRow);
    std::map<int, pugi::xml_node> templateCells;
    for (pugi::xml_node cell : templateRow.children()) {
        int cr = 0, cc = 0;
        if (std::strcmp(localName(cell.name()), "c") == 0 && parseCellReference(cell.attribute("r").value(), cr, cc))
            templateCells[cc] = cell;
    }
    StringWriter writer(buffer);
    auto templateCell = templateCells.begin();
    const int count = int(cells.size());
    for (int column = 1; column <= count || templateCell != templateCells.end();) {
        const bool data = column <= count;
        const bool fromTemplate = templateCell != templateCells.end();
        if (fromTemplate && (!data || templateCell->first < column)) {
            templateCell->second.print(writer, "", pugi::format_raw);
            ++templateCell;
            continue;
        }
        std::string style = ownStyle.empty() ? columnStyles->styleOf(column) : ownStyle;
        if (fromTemplate && templateCell->first == column) {
            const pugi::xml_node replaced = templateCell->second;
            style = replaced.attribute("s").value();
            if (pugi::xml_node f = childNamed(replaced, "f")) {
                formulaOverwritten = true;
                if (std::strcmp(f.attribute("t").value(), "shared") == 0 && f.attribute("ref"))
                    dropSharedFormula(f.attribute("si").value());
            }
            ++templateCell;
        }
        appendCell(row, rowText, column, cells[size_t(column - 1)], style);
        ++column;
    }
    buffer += "</row>";
}

SheetStreamFill::SheetStreamFill(const QString &xlsxPath) : d(std::make_unique<Impl>())
{
    d->path = xlsxPath;
    const ZipReader zip(xlsxPath);
    const XlsxPackage package(zip);
    if (package.worksheets.isEmpty())
        throw Error(u"工作簿中没有工作表：%1"_s.arg(xlsxPath));
    d->sheetName = package.worksheets.first().name;
    d->sheetPart = package.worksheets.first().part;
    d->formulasInSheet = !package.calcChainPart.empty();

    loadSheetXml(d->sheet, zip.read(d->sheetPart), xlsxPath);
    const pugi::xml_node worksheet = d->sheet.document_element();
    const pugi::xml_node sheetData = childNamed(worksheet, "sheetData");
    if (!sheetData)
        throw Error(u"工作簿已损坏：%1（工作表没有数据部分）"_s.arg(xlsxPath));
    d->dimension = childNamed(worksheet, "dimension");
    d->columnStyles.emplace(worksheet);
    d->takeTemplateRows(sheetData);

    d->rows = std::make_unique<DeflateBehind>(kRowsLevel);
    d->buffer.reserve(kFlushSize + 64 * 1024);
}

SheetStreamFill::~SheetStreamFill() = default;

QString SheetStreamFill::sheetName() const
{
    return d->sheetName;
}

void SheetStreamFill::skipTo(int row)
{
    if (row < d->next || row > kMaxRows)
        throw Error(u"工作表的行只能向后写：第 %1 行"_s.arg(row));
    d->next = row;
}

int SheetStreamFill::nextRow() const
{
    return d->next;
}

void SheetStreamFill::writeRow(const QVector<QVariant> &cells)
{
    d->converted.clear();
    d->convertedTexts.resize(size_t(cells.size()));
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QVariant &value = cells.at(i);
        if (isNumeric(value)) {
            d->converted.push_back(StreamCell::of(value.toDouble()));
        } else if (value.isValid() && !value.isNull()) {
            QByteArray &text = d->convertedTexts[size_t(i)];
            text = value.toString().toUtf8();
            d->converted.push_back(StreamCell::of(std::string_view(text.constData(), size_t(text.size()))));
        } else {
            d->converted.emplace_back();
        }
    }
    writeRow(d->converted);
}

void SheetStreamFill::writeRow(std::span<const StreamCell> cells)
{
    if (d->finished)
        throw Error(u"工作簿已经保存：%1"_s.arg(d->path));
    if (d->next > kMaxRows)
        throw Error(u"工作表最多只能有 %1 行：%2"_s.arg(QString::number(kMaxRows), d->path));
    if (cells.size() > size_t(kMaxColumns))
        throw Error(u"工作表最多只能有 %1 列：%2"_s.arg(QString::number(kMaxColumns), d->path));
    const int row = d->next++;
    d->writeTemplateRowsBefore(row);
    const auto found = d->templateRows.find(row);
    if (found != d->templateRows.end()) {
        d->writeMergedRow(row, found->second, cells);
        d->templateRows.erase(found);
    } else {
        d->writePlainRow(row, cells);
    }
    if (d->buffer.size() >= kFlushSize)
        d->flushBuffer();
}

void SheetStreamFill::finish()
{
    d->writeTemplateRowsBefore(kMaxRows + 1);
    d->flushBuffer();
    d->rows->finish();

    if (d->dimension) {
        if (!d->dimension.attribute("ref"))
            d->dimension.append_attribute("ref");
        d->dimension.attribute("ref") = d->extent.valid() ? d->extent.text().c_str() : "A1";
    }
    const std::string whole = serialise(d->sheet);
    const std::string mark = std::string("<!--") + kRowsMark + "-->";
    const size_t at = whole.find(mark);
    if (at == std::string::npos)
        throw Error(u"工作簿无法保存：%1"_s.arg(d->path));
    // The part is the sheet's head, the rows deflated already and its tail: three pieces of one
    // deflate stream.
    const std::string head = whole.substr(0, at);
    const std::string tail = whole.substr(at + mark.size());
    const std::string headDeflated = deflatePiece(head, kPartLevel, false);
    const std::string tailDeflated = deflatePiece(tail, kPartLevel, true);
    QFile &rows = d->rows->output();
    const qint64 rowsSize = rows.size();
    const qint64 size = qint64(head.size()) + d->rows->size() + qint64(tail.size());
    const qint64 compressedSize = qint64(headDeflated.size()) + rowsSize + qint64(tailDeflated.size());
    const quint32 crc = crc32Joined(crc32Joined(crc32Of(head), d->rows->crc(), d->rows->size()), crc32Of(tail),
                                    qint64(tail.size()));

    qint64 position = 0;
    auto produce = [&](char *out, qint64 wanted) -> qint64 {
        qint64 written = 0;
        while (written < wanted && position < compressedSize) {
            qint64 n = 0;
            const qint64 headSize = qint64(headDeflated.size());
            if (position < headSize) {
                n = std::min<qint64>(wanted - written, headSize - position);
                std::memcpy(out + written, headDeflated.data() + position, size_t(n));
            } else if (position < headSize + rowsSize) {
                n = rows.read(out + written, std::min<qint64>(wanted - written, headSize + rowsSize - position));
                if (n <= 0)
                    throw Error(u"临时文件读不出：%1（%2）"_s.arg(rows.fileName(), rows.errorString()));
            } else {
                const qint64 offset = position - headSize - rowsSize;
                n = std::min<qint64>(wanted - written, qint64(tailDeflated.size()) - offset);
                std::memcpy(out + written, tailDeflated.data() + offset, size_t(n));
            }
            written += n;
            position += n;
        }
        return written;
    };

    std::list<std::string> keepAlive;
    {
        const ZipReader zip(d->path);
        const XlsxPackage package(zip);
        ZipEdit edit(d->path);
        edit.replaceDeflated(d->sheetPart, size, compressedSize, crc, produce);
        WorkbookTouchUp touchUp;
        touchUp.formulasInWorkbook = d->formulasInSheet;
        touchUp.formulaOverwritten = d->formulaOverwritten;
        touchUp.apply(edit, zip, package, keepAlive);
        edit.commit();
    }
    d->finished = true;
    d->rows.reset();
}

void createBlankWorkbook(const QString &xlsxPath, const QString &sheetName)
{
    std::string name;
    const QByteArray utf8 = sheetName.toUtf8();
    appendEscaped(name, utf8.constData(), size_t(utf8.size()));
    const std::list<std::pair<std::string, std::string>> parts{
        {"[Content_Types].xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Default Extension="xml" ContentType="application/xml"/>)"
         R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
         R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
         R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
         R"(</Types>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
         R"(</Relationships>)"},
        {"xl/workbook.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
         R"(<sheets><sheet name=")" + name + R"(" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
         R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
         R"(</Relationships>)"},
        {"xl/worksheets/sheet1.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="A1"/><sheetData/></worksheet>)"},
        {"xl/styles.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
         R"(<fonts count="1"><font><sz val="11"/><name val="宋体"/><family val="2"/><charset val="134"/></font></fonts>)"
         R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
         R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
         R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
         R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
         R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
         R"(</styleSheet>)"},
    };
    ZipEdit edit(xlsxPath, ZipEdit::Mode::NewArchive);
    for (const auto &[entry, bytes] : parts)
        edit.replace(entry, bytes);
    edit.commit();
}

} // namespace granwise
