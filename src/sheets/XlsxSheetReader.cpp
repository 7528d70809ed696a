#include "XlsxSheetReader.h"

#include "CellReference.h"
#include "XlsxPackage.h"
#include "XmlText.h"
#include "ZipArchive.h"
#include "store/Error.h"

#include <charconv>
#include <cstring>
#include <deque>
#include <expat.h>
#include <pugixml.hpp>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kChunk = 256 * 1024;

bool named(const XML_Char *name, const char *local)
{
    return std::strcmp(localName(name), local) == 0;
}

const XML_Char *attribute(const XML_Char **atts, const char *name)
{
    for (int i = 0; atts[i]; i += 2)
        if (std::strcmp(atts[i], name) == 0)
            return atts[i + 1];
    return nullptr;
}

// Feeds one zip entry to an expat parser chunk by chunk; a large part is unpacked ahead in a
// background thread while the parser works.
class XmlStream {
public:
    enum class Unpacking { InLine, Ahead };
    XmlStream(const ZipReader &zip, const std::string &part, Unpacking unpacking = Unpacking::InLine)
        : m_zip(zip), m_part(part)
    {
        if (unpacking == Unpacking::Ahead)
            m_ahead = std::make_unique<ZipEntryPrefetch>(zip, part);
        else
            m_entry = std::make_unique<ZipEntryStream>(zip, part);
        m_parser = XML_ParserCreate("UTF-8");
        if (!m_parser)
            throw Error(u"内存不足"_s);
    }
    ~XmlStream() { XML_ParserFree(m_parser); }
    XmlStream(const XmlStream &) = delete;
    XmlStream &operator=(const XmlStream &) = delete;

    XML_Parser parser() const { return m_parser; }
    bool atEnd() const { return m_end; }

    // Parses the next chunk; false once the whole part has been parsed.
    bool feed()
    {
        if (m_end)
            return false;
        void *buffer = XML_GetBuffer(m_parser, int(kChunk));
        if (!buffer)
            throw Error(u"内存不足"_s);
        const qint64 n = m_ahead ? m_ahead->read(static_cast<char *>(buffer), kChunk)
                                 : m_entry->read(static_cast<char *>(buffer), kChunk);
        m_end = n == 0;
        if (XML_ParseBuffer(m_parser, int(n), m_end) == XML_STATUS_ERROR) {
            throw Error(u"工作簿已损坏：%1（%2 第 %3 行：%4）"_s.arg(
                m_zip.path(), QString::fromStdString(m_part)).arg(XML_GetCurrentLineNumber(m_parser))
                            .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(m_parser)))));
        }
        return !m_end;
    }

private:
    const ZipReader &m_zip;
    std::string m_part;
    std::unique_ptr<ZipEntryStream> m_entry;
    std::unique_ptr<ZipEntryPrefetch> m_ahead;
    XML_Parser m_parser = nullptr;
    bool m_end = false;
};

// The shared strings, read whole (they are what the sheet refers to by index).
class SharedStringsLoader {
public:
    static QVector<QString> load(const ZipReader &zip, const std::string &part)
    {
        SharedStringsLoader loader;
        XmlStream stream(zip, part);
        XML_SetUserData(stream.parser(), &loader);
        XML_SetElementHandler(stream.parser(), &SharedStringsLoader::start, &SharedStringsLoader::end);
        XML_SetCharacterDataHandler(stream.parser(), &SharedStringsLoader::characters);
        while (stream.feed()) {
        }
        return std::move(loader.m_strings);
    }

private:
    QVector<QString> m_strings;
    std::string m_text;
    bool m_inItem = false, m_inText = false;
    int m_phonetic = 0;

    static void start(void *self, const XML_Char *name, const XML_Char **)
    {
        auto *s = static_cast<SharedStringsLoader *>(self);
        if (named(name, "si")) {
            s->m_inItem = true;
            s->m_text.clear();
        } else if (named(name, "rPh")) {
            ++s->m_phonetic;
        } else if (named(name, "t") && s->m_inItem && s->m_phonetic == 0) {
            s->m_inText = true;
        }
    }
    static void end(void *self, const XML_Char *name)
    {
        auto *s = static_cast<SharedStringsLoader *>(self);
        if (named(name, "si")) {
            s->m_inItem = false;
            s->m_strings.append(decodeCellText(QString::fromUtf8(s->m_text.data(), qsizetype(s->m_text.size()))));
        } else if (named(name, "rPh")) {
            --s->m_phonetic;
        } else if (named(name, "t")) {
            s->m_inText = false;
        }
    }
    static void characters(void *self, const XML_Char *text, int length)
    {
        auto *s = static_cast<SharedStringsLoader *>(self);
        if (s->m_inText)
            s->m_text.append(text, size_t(length));
    }
};

// For each cell style index, whether it shows a date.
std::vector<bool> loadDateStyles(const ZipReader &zip, const std::string &part)
{
    std::vector<bool> dates;
    if (part.empty() || !zip.contains(part))
        return dates;
    const std::string bytes = zip.read(part);
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.data(), bytes.size()))
        return dates;
    const pugi::xml_node sheet = doc.document_element();
    QHash<int, QString> codes;
    for (pugi::xml_node n : sheet.children()) {
        if (named(n.name(), "numFmts")) {
            for (pugi::xml_node f : n.children())
                codes.insert(f.attribute("numFmtId").as_int(), QString::fromUtf8(f.attribute("formatCode").value()));
        }
    }
    for (pugi::xml_node n : sheet.children()) {
        if (!named(n.name(), "cellXfs"))
            continue;
        for (pugi::xml_node xf : n.children()) {
            const int id = xf.attribute("numFmtId").as_int();
            dates.push_back(isDateFormat(id, codes.value(id)));
        }
    }
    return dates;
}

class XlsxSheetReader final : public SheetReader {
public:
    XlsxSheetReader(std::unique_ptr<ZipReader> zip, const XlsxPackage &package, const std::string &sheetPart)
        : m_zip(std::move(zip)), m_date1904(package.date1904)
    {
        if (!package.sharedStringsPart.empty() && m_zip->contains(package.sharedStringsPart))
            m_strings = SharedStringsLoader::load(*m_zip, package.sharedStringsPart);
        m_dateStyles = loadDateStyles(*m_zip, package.stylesPart);
        m_stream = std::make_unique<XmlStream>(*m_zip, sheetPart, XmlStream::Unpacking::Ahead);
        XML_Parser p = m_stream->parser();
        XML_SetUserData(p, this);
        XML_SetElementHandler(p, &XlsxSheetReader::start, &XlsxSheetReader::end);
        XML_SetCharacterDataHandler(p, &XlsxSheetReader::characters);
        // Read up to the first row, so the sheet's recorded extent is known.
        while (m_rows.empty() && !m_inSheetData && feed()) {
        }
    }

    bool nextRow(QVector<CellValue> &cells) override
    {
        while (m_rows.empty() && feed()) {
        }
        if (m_rows.empty())
            return false;
        m_rowNumber = m_rows.front().first;
        cells = std::move(m_rows.front().second);
        m_rows.pop_front();
        return true;
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return m_extentRows; }

private:
    std::unique_ptr<ZipReader> m_zip;
    std::unique_ptr<XmlStream> m_stream;
    QVector<QString> m_strings;
    std::vector<bool> m_dateStyles;
    bool m_date1904 = false;

    std::deque<std::pair<int, QVector<CellValue>>> m_rows;
    int m_rowNumber = 0;
    int m_extentRows = -1;
    std::exception_ptr m_error;

    // Parser state.
    int m_prefixLength = -1;
    std::string m_rootName;
    bool m_inSheetData = false;
    bool m_inRow = false;
    bool m_inCell = false;
    bool m_capture = false;
    int m_phonetic = 0;
    int m_row = 0;
    int m_lastRow = 0;
    int m_column = 0;
    enum class CellKind : char { Number, Shared, Inline, Formula, Boolean, Error, Date };
    CellKind m_kind = CellKind::Number;
    int m_style = 0;
    bool m_hasValue = false;
    std::string m_value;
    QVector<CellValue> m_cells;
    int m_width = 0; // cells in the widest row so far

    // Parses the next chunk; an error raised inside a handler wins over expat's own report.
    bool feed()
    {
        bool more = false;
        try {
            more = m_stream->feed();
        } catch (...) {
            if (m_error)
                std::rethrow_exception(std::exchange(m_error, nullptr));
            throw;
        }
        if (m_error)
            std::rethrow_exception(std::exchange(m_error, nullptr));
        return more;
    }

    [[noreturn]] void damaged(const QString &what) const
    {
        throw Error(u"工作簿已损坏：%1（第 %2 行：%3）"_s.arg(m_zip->path()).arg(m_row).arg(what));
    }

    // Elements of the sheet carry the prefix of the root element, if any ("x:row"); it is
    // taken once from the root rather than searched for in every name.
    const char *elementName(const XML_Char *name)
    {
        if (m_prefixLength < 0)
            m_prefixLength = int(localName(name) - name);
        return std::strncmp(name, m_rootName.c_str(), size_t(m_prefixLength)) == 0 ? name + m_prefixLength
                                                                                       : localName(name);
    }

    static void start(void *self, const XML_Char *name, const XML_Char **atts)
    {
        auto *r = static_cast<XlsxSheetReader *>(self);
        try {
            if (r->m_prefixLength < 0)
                r->m_rootName = name;
            r->onStart(r->elementName(name), atts);
        } catch (...) {
            r->m_error = std::current_exception();
            XML_StopParser(r->m_stream->parser(), XML_FALSE);
        }
    }
    static void end(void *self, const XML_Char *name)
    {
        auto *r = static_cast<XlsxSheetReader *>(self);
        try {
            r->onEnd(r->elementName(name));
        } catch (...) {
            r->m_error = std::current_exception();
            XML_StopParser(r->m_stream->parser(), XML_FALSE);
        }
    }
    static void characters(void *self, const XML_Char *text, int length)
    {
        auto *r = static_cast<XlsxSheetReader *>(self);
        if (r->m_capture)
            r->m_value.append(text, size_t(length));
    }

    void onStart(const char *name, const XML_Char **atts)
    {
        if (m_inCell) {
            if (name[0] == 'v' && name[1] == 0) {
                m_capture = true;
                m_hasValue = true;
                m_value.clear();
            } else if (std::strcmp(name, "rPh") == 0) {
                ++m_phonetic;
            } else if (name[0] == 't' && name[1] == 0 && m_phonetic == 0) {
                m_capture = true;
                m_hasValue = true;
            }
            return;
        }
        if (name[0] == 'c' && name[1] == 0 && m_inRow) {
            m_inCell = true;
            m_hasValue = false;
            m_value.clear();
            m_phonetic = 0;
            m_kind = CellKind::Number;
            m_style = 0;
            int column = 0;
            for (int i = 0; atts[i]; i += 2) {
                const char *attribute = atts[i];
                const char *value = atts[i + 1];
                if (attribute[0] == 'r' && attribute[1] == 0) {
                    int row = 0;
                    if (!parseCellReference(value, row, column))
                        column = 0;
                } else if (attribute[0] == 't' && attribute[1] == 0) {
                    m_kind = kindOf(value);
                } else if (attribute[0] == 's' && attribute[1] == 0) {
                    m_style = std::atoi(value);
                }
            }
            m_column = column > 0 ? column : m_column + 1; // without a reference, the next column
        } else if (std::strcmp(name, "row") == 0 && m_inSheetData) {
            m_inRow = true;
            const char *r = attribute(atts, "r");
            const int number = r ? std::atoi(r) : 0;
            m_row = number > 0 ? number : m_lastRow + 1;
            if (m_row <= m_lastRow || m_row > kMaxRows)
                damaged(u"行号顺序不对"_s);
            m_column = 0;
            m_cells.clear();
            m_cells.reserve(m_width);
        } else if (std::strcmp(name, "sheetData") == 0) {
            m_inSheetData = true;
        } else if (std::strcmp(name, "dimension") == 0) {
            if (const char *ref = attribute(atts, "ref")) {
                const CellRange range = parseCellRange(ref);
                if (range.valid())
                    m_extentRows = range.lastRow;
            }
        }
    }

    void onEnd(const char *name)
    {
        if (m_inCell) {
            if (name[0] == 'c' && name[1] == 0) {
                m_inCell = false;
                m_capture = false;
                storeCell();
            } else if ((name[0] == 'v' || name[0] == 't') && name[1] == 0) {
                m_capture = false;
            } else if (std::strcmp(name, "rPh") == 0) {
                --m_phonetic;
            }
            return;
        }
        if (m_inRow && std::strcmp(name, "row") == 0) {
            m_inRow = false;
            m_lastRow = m_row;
            m_width = std::max(m_width, int(m_cells.size()));
            m_rows.emplace_back(m_row, std::move(m_cells));
            m_cells = {};
        } else if (std::strcmp(name, "sheetData") == 0) {
            m_inSheetData = false;
        }
    }

    static CellKind kindOf(const char *t)
    {
        if (std::strcmp(t, "s") == 0)
            return CellKind::Shared;
        if (std::strcmp(t, "inlineStr") == 0)
            return CellKind::Inline;
        if (std::strcmp(t, "str") == 0)
            return CellKind::Formula;
        if (std::strcmp(t, "b") == 0)
            return CellKind::Boolean;
        if (std::strcmp(t, "e") == 0)
            return CellKind::Error;
        if (std::strcmp(t, "d") == 0)
            return CellKind::Date;
        return CellKind::Number;
    }

    QString valueText() const { return QString::fromUtf8(m_value.data(), qsizetype(m_value.size())); }

    bool parseDouble(double &out) const
    {
        const char *first = m_value.data();
        const char *last = first + m_value.size();
        while (first < last && (*first == ' ' || *first == '\t' || *first == '\n' || *first == '\r'))
            ++first;
        while (last > first && (last[-1] == ' ' || last[-1] == '\t' || last[-1] == '\n' || last[-1] == '\r'))
            --last;
        if (first < last && *first == '+')
            ++first;
        const auto result = std::from_chars(first, last, out);
        return result.ec == std::errc() && result.ptr == last && first != last;
    }

    void storeCell()
    {
        if (m_column < 1 || m_column > kMaxColumns)
            damaged(u"列号不对"_s);
        if (!m_hasValue)
            return;
        CellValue cell;
        if (m_kind == CellKind::Shared) {
            double index = -1;
            if (!parseDouble(index) || index < 0 || index >= m_strings.size())
                damaged(u"共享字符串编号不对"_s);
            cell = CellValue::ofText(m_strings.at(qsizetype(index)));
        } else if (m_kind == CellKind::Inline || m_kind == CellKind::Formula) {
            cell = CellValue::ofText(decodeCellText(valueText()));
        } else if (m_kind == CellKind::Boolean) {
            cell = CellValue::ofBoolean(m_value == "1" || m_value == "true");
        } else if (m_kind == CellKind::Error) {
            cell = CellValue::ofError(valueText());
        } else if (m_kind == CellKind::Date) {
            QDateTime at = QDateTime::fromString(valueText(), Qt::ISODateWithMs);
            if (!at.isValid())
                at = QDateTime(QDate::fromString(valueText(), Qt::ISODate), QTime(0, 0));
            cell = at.isValid() ? CellValue::ofDateTime(at) : CellValue::ofText(valueText());
        } else {
            double value = 0;
            if (m_value.empty())
                return;
            if (!parseDouble(value)) {
                cell = CellValue::ofText(valueText());
            } else if (m_style >= 0 && size_t(m_style) < m_dateStyles.size() && m_dateStyles[size_t(m_style)]) {
                cell.type = CellValue::Type::DateTime;
                cell.number = m_date1904 ? value + 1462 : value;
            } else {
                cell = CellValue::ofNumber(value);
            }
        }
        if (m_cells.size() < m_column)
            m_cells.resize(m_column);
        m_cells[m_column - 1] = std::move(cell);
    }
};

} // namespace

bool isDateFormat(int numFmtId, const QString &formatCode)
{
    if ((numFmtId >= 14 && numFmtId <= 22) || (numFmtId >= 27 && numFmtId <= 36) ||
        (numFmtId >= 45 && numFmtId <= 47) || (numFmtId >= 50 && numFmtId <= 58))
        return true;
    if (formatCode.isEmpty())
        return false;
    // Only the first section counts; quoted texts, escaped characters and colours or
    // conditions in brackets are no date parts ("[h]" elapsed hours is).
    bool quoted = false;
    for (qsizetype i = 0; i < formatCode.size(); ++i) {
        const QChar c = formatCode.at(i);
        if (quoted) {
            quoted = c != u'"';
            continue;
        }
        if (c == u'"') {
            quoted = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u';') {
            return false;
        } else if (c == u'[') {
            const qsizetype close = formatCode.indexOf(u']', i);
            const QString inside = formatCode.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (inside == u"h"_s || inside == u"hh"_s || inside == u"m"_s || inside == u"mm"_s || inside == u"s"_s ||
                inside == u"ss"_s)
                return true;
            if (close < 0)
                return false;
            i = close;
        } else {
            const QChar l = c.toLower();
            if (l == u'y' || l == u'm' || l == u'd' || l == u'h' || l == u's')
                return true;
        }
    }
    return false;
}

std::unique_ptr<SheetReader> openXlsxSheet(const QString &path, const QString &sheetName)
{
    auto zip = std::make_unique<ZipReader>(path);
    const XlsxPackage package(*zip);
    const XlsxPackage::Sheet *sheet = package.findSheet(sheetName);
    if (!sheet)
        throw Error(u"工作簿中没有工作表“%1”：%2"_s.arg(sheetName, path));
    const std::string part = sheet->part;
    return std::make_unique<XlsxSheetReader>(std::move(zip), package, part);
}

QStringList xlsxSheetNames(const QString &path)
{
    const ZipReader zip(path);
    return XlsxPackage(zip).sheetNames();
}

} // namespace granwise::sheets
