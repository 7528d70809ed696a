#include "BiffWorkbook.h"

#include "CompoundFile.h"
#include "ReadLimits.h"
#include "XlsxSheetReader.h"
#include "store/Error.h"

#include <QFileInfo>
#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

enum RecordType : quint16 {
    kBof = 0x0809,
    kEof = 0x000A,
    kContinue = 0x003C,
    kFilePass = 0x002F,
    kDateMode = 0x0022,
    kFormat = 0x041E,
    kXf = 0x00E0,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kDimensions = 0x0200,
    kNumber = 0x0203,
    kRk = 0x027E,
    kMulRk = 0x00BD,
    kLabelSst = 0x00FD,
    kLabel = 0x0204,
    kRString = 0x00D6,
    kBoolErr = 0x0205,
    kFormula = 0x0006,
    kString = 0x0207,
};

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kGlobalsSubstream = 0x0005;
constexpr quint16 kWorksheetSubstream = 0x0010;
constexpr quint32 kMaxRows = 65536;
constexpr quint32 kMaxColumns = 256;
constexpr qsizetype kFormatCodeKept = 256; // only the start of a format code tells a date

[[noreturn]] void damaged(const QString &path, const QString &what)
{
    throw Error(u"工作簿已损坏：%1（%2）"_s.arg(path, what));
}

quint16 half(const char *p)
{
    quint16 v;
    std::memcpy(&v, p, 2);
    return qFromLittleEndian(v);
}

quint32 word(const char *p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}

double float64(const char *p)
{
    quint64 bits;
    std::memcpy(&bits, p, 8);
    bits = qFromLittleEndian(bits);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

double rkValue(quint32 rk)
{
    double v;
    if (rk & 0x02) {
        v = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 0x01) ? v / 100 : v;
}

QString errorText(quint32 code)
{
    switch (code) {
    case 0x00: return u"#NULL!"_s;
    case 0x07: return u"#DIV/0!"_s;
    case 0x0F: return u"#VALUE!"_s;
    case 0x17: return u"#REF!"_s;
    case 0x1D: return u"#NAME?"_s;
    case 0x24: return u"#NUM!"_s;
    case 0x2A: return u"#N/A"_s;
    default: return u"#N/A"_s;
    }
}

// One record with the CONTINUE records after it, each a part of its data.
struct Record {
    quint16 type = 0;
    QVector<QByteArrayView> parts;
    QByteArrayView data() const { return parts.constFirst(); }
};

// Walks the records of the stream from an offset, each checked to lie inside the stream.
class Records {
public:
    Records(const QString &path, const QByteArray &stream, qsizetype offset)
        : m_path(path), m_stream(stream), m_at(offset)
    {
    }

    bool next(Record &record)
    {
        if (m_at >= m_stream.size())
            return false;
        record.type = header(0);
        record.parts.clear();
        record.parts.append(take());
        while (m_at + 4 <= m_stream.size() && header(0) == kContinue)
            record.parts.append(take());
        return true;
    }

private:
    const QString &m_path;
    const QByteArray &m_stream;
    qsizetype m_at;

    quint16 header(int field) const { return half(m_stream.constData() + m_at + 2 * field); }
    QByteArrayView take()
    {
        if (m_at + 4 > m_stream.size())
            damaged(m_path, u"记录被截断"_s);
        const qsizetype length = header(1);
        if (m_at + 4 + length > m_stream.size())
            damaged(m_path, u"记录超出了工作簿流"_s);
        const QByteArrayView data(m_stream.constData() + m_at + 4, length);
        m_at += 4 + length;
        return data;
    }
};

// Reads the data of a record and its CONTINUE records as one sequence. Characters of a text cut
// at the end of a part go on in the next part after a byte telling their width (bit 0: two
// bytes a character); everything else simply goes on.
class Continued {
public:
    Continued(const QString &path, const Record &record, qsizetype skip = 0) : m_path(path), m_parts(record.parts)
    {
        this->skip(skip);
    }

    quint8 u8() { return quint8(byte()); }
    quint16 u16()
    {
        const quint8 low = u8();
        return quint16(low | (u8() << 8));
    }
    quint32 u32()
    {
        const quint16 low = u16();
        return quint32(low) | (quint32(u16()) << 16);
    }
    void skip(qint64 count)
    {
        while (count > 0) {
            if (m_at == m_parts.at(m_part).size())
                nextPart();
            const qint64 n = std::min<qint64>(count, m_parts.at(m_part).size() - m_at);
            m_at += n;
            count -= n;
        }
    }
    qint64 remaining() const
    {
        qint64 n = m_parts.at(m_part).size() - m_at;
        for (qsizetype i = m_part + 1; i < m_parts.size(); ++i)
            n += m_parts.at(i).size();
        return n;
    }

    // `count` characters, one or two bytes each as `wide` says to begin with.
    QString chars(qsizetype count, bool wide)
    {
        QString text;
        text.reserve(count);
        while (count > 0) {
            if (m_at == m_parts.at(m_part).size()) {
                nextPart();
                wide = (byte() & 0x01) != 0;
                continue;
            }
            const char *p = m_parts.at(m_part).data() + m_at;
            const qsizetype available = m_parts.at(m_part).size() - m_at;
            if (wide) {
                const qsizetype n = std::min(count, available / 2);
                if (n == 0)
                    damaged(m_path, u"文字被记录边界切开"_s);
                for (qsizetype i = 0; i < n; ++i)
                    text.append(QChar(char16_t(half(p + 2 * i))));
                m_at += 2 * n;
                count -= n;
            } else {
                const qsizetype n = std::min(count, available);
                text.append(QLatin1StringView(p, n));
                m_at += n;
                count -= n;
            }
        }
        return text;
    }

    // A text as cells and formats hold it: a 16-bit length, a flags byte, the characters.
    QString unicodeString()
    {
        const quint16 length = u16();
        const quint8 flags = u8();
        refuseLongText(length);
        return chars(length, flags & 0x01);
    }

    void refuseLongText(qsizetype length) const
    {
        if (length > limits::kMaxCellTextLength)
            limits::refuseBeyondLimit(m_path, u"有一段文字超过 %1 个字符，单元格容纳不下"_s.arg(
                                                  QString::number(limits::kMaxCellTextLength)));
    }

private:
    const QString &m_path;
    const QVector<QByteArrayView> &m_parts;
    qsizetype m_part = 0;
    qsizetype m_at = 0;

    void nextPart()
    {
        if (m_part + 1 >= m_parts.size())
            damaged(m_path, u"记录比它的内容短"_s);
        ++m_part;
        m_at = 0;
    }
    char byte()
    {
        while (m_at == m_parts.at(m_part).size())
            nextPart();
        return m_parts.at(m_part).at(m_at++);
    }
};

void requireSize(const QString &path, const Record &record, qsizetype size)
{
    if (record.data().size() < size)
        damaged(path, u"记录 %1 太短"_s.arg(QString::number(record.type, 16)));
}

// The shared strings: rich-text runs and phonetic data are skipped.
QVector<QString> readSharedStrings(const QString &path, const Record &record, qint64 fileSize)
{
    Continued in(path, record);
    in.u32(); // references to the table in the workbook
    const quint32 count = in.u32();
    // Each string takes at least three bytes: a declared count beyond that is a lie.
    if (qint64(count) > in.remaining() / 3)
        damaged(path, u"共享字符串表声明的个数 %1 超出了它的记录"_s.arg(QString::number(count)));
    const qint64 budget = limits::sharedStringsBudget(fileSize);
    qint64 used = 0;
    QVector<QString> strings;
    strings.reserve(std::min<quint32>(count, 65536)); // grown by what is really there
    for (quint32 i = 0; i < count; ++i) {
        const quint16 length = in.u16();
        const quint8 flags = in.u8();
        const quint16 runs = (flags & 0x08) ? in.u16() : 0;
        const quint32 phonetic = (flags & 0x04) ? in.u32() : 0;
        in.refuseLongText(length);
        strings.append(in.chars(length, flags & 0x01));
        in.skip(4 * qint64(runs) + qint64(phonetic));
        used += limits::kSharedStringOverheadBytes + 2 * qint64(length);
        if (used > budget)
            limits::refuseBeyondLimit(path, u"共享字符串占用的内存超过 %1（已读 %2 项）"_s.arg(
                                                limits::byteSize(budget), QString::number(i)));
    }
    return strings;
}

} // namespace

CellValue BiffSheet::valueOf(const Cell &cell) const
{
    switch (cell.kind) {
    case Kind::Number:
        return CellValue::ofNumber(cell.number);
    case Kind::Date: {
        CellValue value;
        value.type = CellValue::Type::DateTime;
        value.number = cell.number;
        return value;
    }
    case Kind::SharedText:
        return CellValue::ofText(strings.at(cell.index));
    case Kind::Text:
        return CellValue::ofText(texts.at(cell.index));
    case Kind::Boolean:
        return CellValue::ofBoolean(cell.index != 0);
    case Kind::Error:
        return CellValue::ofError(errorText(cell.index));
    }
    return {};
}

BiffWorkbook::BiffWorkbook(const QString &path) : m_path(path), m_fileSize(QFileInfo(path).size())
{
    const CompoundFile file(path);
    std::optional<QByteArray> stream = file.stream(u"Workbook"_s);
    if (!stream) {
        if (file.stream(u"Book"_s))
            throw Error(u"不能读取 Excel 95 及更早版本的工作簿：%1（请另存为 Excel 工作簿后再导入）"_s.arg(path));
        throw Error(u"工作簿已损坏或不是 Excel 工作簿：%1（没有工作簿流）"_s.arg(path));
    }
    m_stream = std::move(*stream);
    readGlobals();
}

void BiffWorkbook::readGlobals()
{
    Records records(m_path, m_stream, 0);
    Record record;
    if (!records.next(record) || record.type != kBof || record.data().size() < 4)
        damaged(m_path, u"没有工作簿开始记录"_s);
    if (half(record.data().data()) != kBiff8)
        throw Error(u"不能读取 Excel 95 及更早版本的工作簿：%1（请另存为 Excel 工作簿后再导入）"_s.arg(m_path));
    if (half(record.data().data() + 2) != kGlobalsSubstream)
        damaged(m_path, u"工作簿开始记录不对"_s);

    QHash<int, QString> codes;
    std::vector<quint16> cellFormats;
    bool ended = false;
    while (!ended && records.next(record)) {
        const char *d = record.data().data();
        switch (record.type) {
        case kEof:
            ended = true;
            break;
        case kFilePass:
            throw Error(u"工作簿设有密码保护，不能读取：%1"_s.arg(m_path));
        case kDateMode:
            requireSize(m_path, record, 2);
            m_date1904 = half(d) == 1;
            break;
        case kFormat: {
            requireSize(m_path, record, 2);
            if (codes.size() >= limits::kMaxNumberFormats)
                limits::refuseBeyondLimit(m_path, u"数字格式超过 %1 个"_s.arg(QString::number(limits::kMaxNumberFormats)));
            Continued in(m_path, record, 2);
            codes.insert(half(d), in.unicodeString().left(kFormatCodeKept));
            break;
        }
        case kXf:
            requireSize(m_path, record, 4);
            if (qsizetype(cellFormats.size()) >= limits::kMaxCellFormats)
                limits::refuseBeyondLimit(m_path, u"单元格格式超过 %1 个"_s.arg(QString::number(limits::kMaxCellFormats)));
            cellFormats.push_back(half(d + 2));
            break;
        case kBoundSheet: {
            requireSize(m_path, record, 8);
            Continued in(m_path, record, 6);
            const quint8 length = in.u8();
            const quint8 flags = in.u8();
            Sheet sheet{in.chars(length, flags & 0x01), word(d)};
            if (quint8(d[5]) == 0) // a worksheet; charts and macro sheets are not read
                m_sheets.append(sheet);
            break;
        }
        case kSst:
            m_strings = readSharedStrings(m_path, record, m_fileSize);
            break;
        default:
            break;
        }
    }
    if (!ended)
        damaged(m_path, u"工作簿全局部分没有结束记录"_s);
    m_dateFormats.reserve(cellFormats.size());
    for (const quint16 id : cellFormats)
        m_dateFormats.push_back(isDateFormat(id, codes.value(id)));
}

QStringList BiffWorkbook::sheetNames() const
{
    QStringList names;
    for (const Sheet &s : m_sheets)
        names << s.name;
    return names;
}

BiffSheet BiffWorkbook::readSheet(int index) const
{
    BiffSheet sheet;
    sheet.strings = m_strings;
    const quint32 offset = m_sheets.at(index).offset;
    Records records(m_path, m_stream, offset);
    Record record;
    if (offset >= quint32(m_stream.size()) || !records.next(record) || record.type != kBof ||
        record.data().size() < 4 || half(record.data().data() + 2) != kWorksheetSubstream)
        damaged(m_path, u"工作表“%1”的位置不对"_s.arg(m_sheets.at(index).name));

    bool sorted = true;
    bool formulaTextPending = false;
    const auto add = [&](const char *d, BiffSheet::Kind kind, double number, quint32 cellIndex) {
        const quint32 row = half(d);
        const quint32 column = half(d + 2);
        if (column >= kMaxColumns)
            damaged(m_path, u"第 %1 行的列号超出 %2 列"_s.arg(QString::number(row + 1), QString::number(kMaxColumns)));
        BiffSheet::Cell cell;
        cell.row = row;
        cell.column = quint16(column);
        cell.kind = kind;
        if (kind == BiffSheet::Kind::Number || kind == BiffSheet::Kind::Date)
            cell.number = number;
        else
            cell.index = cellIndex;
        if (!sheet.cells.empty()) {
            const BiffSheet::Cell &last = sheet.cells.back();
            if (row < last.row || (row == last.row && column <= last.column))
                sorted = false;
        }
        sheet.cells.push_back(cell);
    };
    const auto addNumber = [&](const char *d, double value) {
        if (isDate(half(d + 4)))
            add(d, BiffSheet::Kind::Date, m_date1904 ? value + 1462 : value, 0);
        else
            add(d, BiffSheet::Kind::Number, value, 0);
    };
    const auto addText = [&](const char *d, QString text) {
        add(d, BiffSheet::Kind::Text, 0, quint32(sheet.texts.size()));
        sheet.texts.append(std::move(text));
    };

    int depth = 1; // substreams of embedded charts nest inside a worksheet's
    const char *formulaCell = nullptr;
    while (depth > 0 && records.next(record)) {
        const char *d = record.data().data();
        if (record.type == kBof) {
            ++depth;
            continue;
        }
        if (record.type == kEof) {
            --depth;
            continue;
        }
        if (depth != 1)
            continue;
        switch (record.type) {
        case kDimensions: {
            requireSize(m_path, record, 14);
            const quint32 firstRow = word(d), endRow = word(d + 4);
            const quint32 firstColumn = half(d + 8), endColumn = half(d + 10);
            if (endRow > kMaxRows || firstRow > endRow || endColumn > kMaxColumns || firstColumn > endColumn)
                damaged(m_path, u"工作表“%1”的范围记录超出 %2 行、%3 列"_s.arg(
                                    m_sheets.at(index).name, QString::number(kMaxRows), QString::number(kMaxColumns)));
            break;
        }
        case kNumber:
            requireSize(m_path, record, 14);
            addNumber(d, float64(d + 6));
            break;
        case kRk:
            requireSize(m_path, record, 10);
            addNumber(d, rkValue(word(d + 6)));
            break;
        case kMulRk: {
            requireSize(m_path, record, 6);
            const qsizetype size = record.data().size();
            const quint32 first = half(d + 2), last = half(d + size - 2);
            if ((size - 6) % 6 != 0 || last < first || qsizetype(last - first + 1) != (size - 6) / 6)
                damaged(m_path, u"MULRK 记录不对"_s);
            for (quint32 c = first; c <= last; ++c) {
                const char *item = d + 4 + 6 * (c - first);
                char cellHeader[6];
                std::memcpy(cellHeader, d, 2);
                const quint16 column = qToLittleEndian(quint16(c));
                std::memcpy(cellHeader + 2, &column, 2);
                std::memcpy(cellHeader + 4, item, 2);
                addNumber(cellHeader, rkValue(word(item + 2)));
            }
            break;
        }
        case kLabelSst: {
            requireSize(m_path, record, 10);
            const quint32 i = word(d + 6);
            if (i >= quint32(sheet.strings.size()))
                damaged(m_path, u"第 %1 行的共享字符串编号 %2 不对"_s.arg(QString::number(half(d) + 1), QString::number(i)));
            add(d, BiffSheet::Kind::SharedText, 0, i);
            break;
        }
        case kLabel:
        case kRString: {
            requireSize(m_path, record, 9);
            Continued in(m_path, record, 6);
            addText(d, in.unicodeString());
            break;
        }
        case kBoolErr:
            requireSize(m_path, record, 8);
            add(d, d[7] ? BiffSheet::Kind::Error : BiffSheet::Kind::Boolean, 0, quint8(d[6]));
            break;
        case kFormula: {
            requireSize(m_path, record, 14);
            const char *result = d + 6;
            if (half(result + 6) != 0xFFFF) {
                addNumber(d, float64(result));
            } else if (result[0] == 0) { // the text follows in a STRING record
                formulaTextPending = true;
                formulaCell = d;
            } else if (result[0] == 1) {
                add(d, BiffSheet::Kind::Boolean, 0, quint8(result[2]) != 0);
            } else if (result[0] == 2) {
                add(d, BiffSheet::Kind::Error, 0, quint8(result[2]));
            }
            break;
        }
        case kString:
            if (formulaTextPending) {
                Continued in(m_path, record);
                addText(formulaCell, in.unicodeString());
                formulaTextPending = false;
            }
            break;
        default:
            break;
        }
    }
    if (depth > 0)
        damaged(m_path, u"工作表“%1”没有结束记录"_s.arg(m_sheets.at(index).name));

    if (!sorted) {
        // Cells out of order: sorted stably, so that of two records for one cell the later wins.
        auto &cells = sheet.cells;
        std::stable_sort(cells.begin(), cells.end(), [](const BiffSheet::Cell &a, const BiffSheet::Cell &b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        std::vector<BiffSheet::Cell> unique;
        unique.reserve(cells.size());
        for (const BiffSheet::Cell &c : cells) {
            if (!unique.empty() && unique.back().row == c.row && unique.back().column == c.column)
                unique.back() = c;
            else
                unique.push_back(c);
        }
        cells = std::move(unique);
    }
    return sheet;
}

} // namespace granwise::sheets
