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
            m_strings = loadSharedStrings(*m_zip, package.sharedStringsPart);
        m_dateStyles = loadDateStyles(*m_zip, package.stylesPart);
        m_stream = std::make_unique<XmlPartStream>(*m_zip, sheetPart, XmlPartStream::Unpacking::Ahead);
        m_stream->setHandlers(this, &XlsxSheetReader::start, &XlsxSheetReader::end, &XlsxSheetReader::characters);
        // Read up to the rows, so the sheet's recorded extent is known.
        while (!m_inSheetData && feed()) {
        }
    }

    // The row is built in the caller's cells, whose room is used again row after row.
    bool nextRow(QVector<CellValue> &cells) override
    {
        m_cells = &cells;
        m_rowDone = false;
        while (!m_rowDone && feed()) {
        }
        m_cells = nullptr;
        if (!m_rowDone)
            return false;
        m_rowNumber = m_lastRow;
        return true;
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return m_extentRows; }

private:
    std::unique_ptr<ZipReader> m_zip;
    std::unique_ptr<XmlPartStream> m_stream;
    SharedStrings m_strings;
    std::vector<bool> m_dateStyles;
    bool m_date1904 = false;

    QVector<CellValue> *m_cells = nullptr; // the caller's, while nextRow() reads a row into it
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
        return std::strncmp(name, m_rootName.c_str(), size_t(m_prefixLength)) == 0 ? name + m_prefixLength
                                                                                       : localName(name);
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
            m_cells->clear();
        } else if (std::strcmp(name, "sheetData") == 0) {
            m_inSheetData = true;
            m_stream->suspend(); // the rows are read one by one into their callers' cells
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
        if (m_error)
            return;
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
            m_rowDone = true;
            m_stream->suspend();
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

    // A shared-string index: a whole number in range, nothing else ("nan", "1.5", "-0" are none).
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
        if (result.ec != std::errc() || result.ptr != text.data() + text.size() || index >= m_strings.size())
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
        CellValue cell;
        if (m_kind == CellKind::Shared) {
            qsizetype index = -1;
            if (!parseIndex(index))
                damaged(u"%1 列的共享字符串编号“%2”不对"_s.arg(QString::fromStdString(columnLetters(m_column)),
                                                          valueText().left(40)));
            cell = CellValue::ofText(m_strings.at(index));
        } else if (m_kind == CellKind::Inline || m_kind == CellKind::Formula) {
            // Most texts carry no "_xHHHH_" escape to undo.
            QString text = m_value.find("_x") == std::string::npos ? valueText() : decodeCellText(valueText());
            if (text.size() > limits::kMaxCellTextLength)
                refuseLongText();
            cell = CellValue::ofText(std::move(text));
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
            // A value that is no finite number ("1e999", "inf", "NaN") is kept as the text it
            // is, for the caller to refuse where it wants a number.
            if (!parseDouble(value) || !std::isfinite(value)) {
                cell = CellValue::ofText(valueText());
            } else if (m_style >= 0 && size_t(m_style) < m_dateStyles.size() && m_dateStyles[size_t(m_style)]) {
                cell.type = CellValue::Type::DateTime;
                cell.number = m_date1904 ? value + 1462 : value;
            } else {
                cell = CellValue::ofNumber(value);
            }
        }
        if (m_cells->size() < m_column)
            m_cells->resize(m_column);
        (*m_cells)[m_column - 1] = std::move(cell);
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
