#include "XlsxSheetReader.h"

#include "CellReference.h"
#include "ReadLimits.h"
#include "XlsxPackage.h"
#include "XlsxSharedParts.h"
#include "XmlPartStream.h"
#include "XmlText.h"
#include "ZipArchive.h"
#include "store/Error.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

const char *attribute(const char **atts, const char *name)
{
    for (int i = 0; atts[i]; i += 2)
        if (std::strcmp(atts[i], name) == 0)
            return atts[i + 1];
    return nullptr;
}

class XlsxSheetReader final : public SheetReader {
public:
    XlsxSheetReader(std::unique_ptr<ZipReader> zip, const XlsxPackage &package, const std::string &sheetPart)
        : m_zip(std::move(zip)), m_date1904(package.date1904)
    {
        if (!package.sharedStringsPart.empty() && m_zip->contains(package.sharedStringsPart))
            m_strings = std::make_unique<SharedStringsAhead>(m_zip->path(), package.sharedStringsPart);
        try {
            m_dateStyles = loadDateStyles(*m_zip, package.stylesPart);
            m_stream = std::make_unique<XmlPartStream>(*m_zip, sheetPart, XmlPartStream::Unpacking::Ahead);
            m_stream->setHandlers(this, &XlsxSheetReader::start, &XlsxSheetReader::end,
                                  &XlsxSheetReader::characters);
            // Read up to the rows, so the sheet's recorded extent is known.
            while (!m_inSheetData && feed()) {
            }
        } catch (...) {
            checkParts();
            throw;
        }
    }

    bool nextRow(QVector<CellValue> &cells) override
    {
        if (!nextUtf8Row(m_own))
            return false;
        m_own.toCells(cells);
        return true;
    }

    // The row is built in the caller's, whose room is used again row after row.
    bool nextUtf8Row(Utf8Row &row) override
    {
        m_cells = &row;
        m_rowDone = false;
        try {
            while (!m_rowDone && feed()) {
            }
        } catch (...) {
            m_cells = nullptr;
            checkParts();
            throw;
        }
        m_cells = nullptr;
        if (!m_rowDone) {
            checkParts();
            return false;
        }
        m_rowNumber = m_lastRow;
        return true;
    }

    void checkParts() override
    {
        if (m_strings)
            m_strings->finish();
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return m_extentRows; }

private:
    std::unique_ptr<ZipReader> m_zip;
    std::unique_ptr<XmlPartStream> m_stream;
    std::unique_ptr<SharedStringsAhead> m_strings; // none without a shared-string table
    std::vector<bool> m_dateStyles;
    bool m_date1904 = false;

    Utf8Row *m_cells = nullptr; // the caller's, while nextUtf8Row() reads a row into it
    Utf8Row m_own;              // nextRow()'s
    std::string m_scratch;      // a shared string read back from its file
    bool m_rowDone = false;
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

    // Parses the next chunk; an error raised inside a handler wins over the scanner's own report.
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
        throw Error(u"工作簿已损坏：%1（第 %2 行：%3）"_s.arg(m_zip->path(), QString::number(m_row), what));
    }

    QString cellName() const
    {
        return u"第 %1 行 %2 列"_s.arg(QString::number(m_row), QString::fromStdString(columnLetters(m_column)));
    }

    [[noreturn]] void refuseLongText() const
    {
        limits::refuseBeyondLimit(m_zip->path(), u"%1的文字超过 %2 个字符，单元格容纳不下"_s.arg(
                                                     cellName(), QString::number(limits::kMaxCellTextLength)));
    }

    // Elements of the sheet carry the prefix of the root element, if any ("x:row"); it is
    // taken once from the root rather than searched for in every name.
    const char *elementName(const char *name)
    {
        if (m_prefixLength < 0)
            m_prefixLength = int(localName(name) - name);
        if (m_prefixLength == 0)
            return name; // as the comparison below would give it, without a call
        return std::strncmp(name, m_rootName.c_str(), size_t(m_prefixLength)) == 0 ? name + m_prefixLength
                                                                                       : localName(name);
    }

    // Whether `name` is the element name `expected`, its first byte compared before a call.
    static bool is(const char *name, const char *expected)
    {
        return name[0] == expected[0] && std::strcmp(name, expected) == 0;
    }

    static void start(void *self, const char *name, const char **atts)
    {
        auto *r = static_cast<XlsxSheetReader *>(self);
        try {
            if (r->m_prefixLength < 0)
                r->m_rootName = name;
            r->onStart(r->elementName(name), atts);
        } catch (...) {
            r->stop(std::current_exception());
        }
    }
    static void end(void *self, const char *name)
    {
        auto *r = static_cast<XlsxSheetReader *>(self);
        try {
            r->onEnd(r->elementName(name));
        } catch (...) {
            r->stop(std::current_exception());
        }
    }
    static void characters(void *self, const char *text, int length)
    {
        auto *r = static_cast<XlsxSheetReader *>(self);
        if (!r->m_capture)
            return;
        if (qsizetype(r->m_value.size()) + length > limits::kMaxCellTextBytes) {
            r->m_capture = false;
            try {
                r->refuseLongText();
            } catch (...) {
                r->stop(std::current_exception());
            }
            return;
        }
        r->m_value.append(text, size_t(length));
    }

    // An error inside a handler: kept for feed(), the scan stopped (the scanner may still deliver
    // the element it is in; the first error is the one reported).
    void stop(std::exception_ptr error)
    {
        if (m_error)
            return;
        m_error = std::move(error);
        m_stream->abort();
    }

    void onStart(const char *name, const char **atts)
    {
        if (m_error)
            return;
        if (m_inCell) {
            if (name[0] == 'v' && name[1] == 0) {
                m_capture = true;
                m_hasValue = true;
                m_value.clear();
            } else if (is(name, "rPh")) {
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
                    column = referencedColumn(value);
                } else if (attribute[0] == 't' && attribute[1] == 0) {
                    m_kind = kindOf(value);
                } else if (attribute[0] == 's' && attribute[1] == 0) {
                    m_style = styleIndex(value);
                }
            }
            m_column = column > 0 ? column : m_column + 1; // without a reference, the next column
        } else if (is(name, "row") && m_inSheetData) {
            m_inRow = true;
            const char *r = attribute(atts, "r");
            const int number = r ? std::atoi(r) : 0;
            m_row = number > 0 ? number : m_lastRow + 1;
            if (m_row <= m_lastRow || m_row > kMaxRows)
                damaged(u"行号顺序不对"_s);
            m_column = 0;
            m_cells->clear();
        } else if (is(name, "sheetData")) {
            m_inSheetData = true;
            m_stream->suspend(); // the rows are read one by one into their callers' cells
        } else if (is(name, "dimension")) {
            if (const char *ref = attribute(atts, "ref")) {
                const CellRange range = parseCellRange(ref);
                if (range.valid())
                    m_extentRows = range.lastRow;
            }
        }
    }

    void onEnd(const char *name)
    {
        if (m_error)
            return;
        if (m_inCell) {
            if (name[0] == 'c' && name[1] == 0) {
                m_inCell = false;
                m_capture = false;
                storeCell();
            } else if ((name[0] == 'v' || name[0] == 't') && name[1] == 0) {
                m_capture = false;
            } else if (is(name, "rPh")) {
                --m_phonetic;
            }
            return;
        }
        if (m_inRow && is(name, "row")) {
            m_inRow = false;
            m_lastRow = m_row;
            m_rowDone = true;
            m_stream->suspend();
        } else if (is(name, "sheetData")) {
            m_inSheetData = false;
        }
    }

    // The column of a cell reference ("AB12"), or 0 when it is none.
    static int referencedColumn(const char *reference)
    {
        int row = 0, column = 0;
        return parseCellReference(reference, row, column) ? column : 0;
    }

    // A style index as atoi reads it; most are a few digits.
    static int styleIndex(const char *value)
    {
        int index = 0;
        const char *p = value;
        while (*p >= '0' && *p <= '9' && p - value < 9)
            index = index * 10 + (*p++ - '0');
        return *p == 0 && p > value ? index : std::atoi(value);
    }

    static CellKind kindOf(const char *t)
    {
        if (is(t, "s"))
            return CellKind::Shared;
        if (is(t, "inlineStr"))
            return CellKind::Inline;
        if (is(t, "str"))
            return CellKind::Formula;
        if (is(t, "b"))
            return CellKind::Boolean;
        if (is(t, "e"))
            return CellKind::Error;
        if (is(t, "d"))
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

    // A shared-string index: a whole number, nothing else ("nan", "1.5", "-0" are none).
    bool parseIndex(qsizetype &out) const
    {
        std::string_view text(m_value);
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
        while (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && blank(text.back()))
            text.remove_suffix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9')
            return false;
        qint64 index = -1;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), index);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            return false;
        out = qsizetype(index);
        return true;
    }

    void storeCell()
    {
        if (m_column < 1 || m_column > kMaxColumns)
            damaged(u"列号不对"_s);
        if (!m_hasValue)
            return;
        if (m_column > columnLimit())
            refuseColumnBeyondLimit(m_zip->path(), m_row, m_column, columnLimit());
        if (m_kind == CellKind::Number && m_value.empty())
            return;
        using Type = CellValue::Type;
        Utf8Row &row = *m_cells;
        const int i = m_column - 1;
        if (row.size() < m_column)
            row.resize(m_column);
        if (m_kind == CellKind::Shared) {
            qsizetype index = -1;
            std::optional<std::string_view> text;
            if (parseIndex(index) && m_strings)
                text = m_strings->utf8At(index, m_scratch);
            if (!text)
                damaged(u"%1 列的共享字符串编号“%2”不对"_s.arg(QString::fromStdString(columnLetters(m_column)),
                                                          valueText().left(40)));
            row.setText(i, *text);
        } else if (m_kind == CellKind::Inline || m_kind == CellKind::Formula) {
            // Most texts carry no "_xHHHH_" escape to undo.
            if (m_value.find("_x") == std::string::npos) {
                if (qsizetype(m_value.size()) > limits::kMaxCellTextLength &&
                    utf16Length(m_value) > limits::kMaxCellTextLength)
                    refuseLongText();
                row.setText(i, m_value);
            } else {
                const QString text = decodeCellText(valueText());
                if (text.size() > limits::kMaxCellTextLength)
                    refuseLongText();
                row.setText(i, text);
            }
        } else if (m_kind == CellKind::Boolean) {
            row.setNumber(i, m_value == "1" || m_value == "true" ? 1.0 : 0.0, Type::Boolean);
        } else if (m_kind == CellKind::Error) {
            row.setText(i, m_value, Type::Error);
        } else if (m_kind == CellKind::Date) {
            QDateTime at = QDateTime::fromString(valueText(), Qt::ISODateWithMs);
            if (!at.isValid())
                at = QDateTime(QDate::fromString(valueText(), Qt::ISODate), QTime(0, 0));
            if (at.isValid())
                row.setNumber(i, dateTimeToSerial(at), Type::DateTime);
            else
                row.setText(i, m_value);
        } else {
            double value = 0;
            // A value that is no finite number ("1e999", "inf", "NaN") is kept as the text it
            // is, for the caller to refuse where it wants a number.
            if (!parseDouble(value) || !std::isfinite(value))
                row.setText(i, m_value);
            else if (m_style >= 0 && size_t(m_style) < m_dateStyles.size() && m_dateStyles[size_t(m_style)])
                row.setNumber(i, m_date1904 ? value + 1462 : value, Type::DateTime);
            else
                row.setNumber(i, value);
        }
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
