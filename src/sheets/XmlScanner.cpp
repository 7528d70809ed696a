#include "XmlScanner.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kChunk = 256 * 1024;

// Line ends between p and end: few in a worksheet, found by memchr rather than byte by byte.
qint64 countLines(const char *p, const char *end)
{
    qint64 lines = 0;
    while (p < end) {
        const auto *found = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!found)
            break;
        ++lines;
        p = found + 1;
    }
    return lines;
}

enum ByteClass : unsigned char {
    Plain,     // copied as it is
    Control,   // no character XML carries
    Reference, // '&'
    Bracket,   // ']': "]]>" may not stand in text
    Return,    // CR: line ends are normalised
    Blank,     // tab or LF: a blank in an attribute value
    Less,      // '<': none in an attribute value
    Multibyte, // the start of a UTF-8 sequence (or a stray continuation byte)
};

constexpr std::array<unsigned char, 256> byteClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c)
        classes[size_t(c)] = c < 0x20 ? Control : c >= 0x80 ? Multibyte : Plain;
    classes['\t'] = Blank;
    classes['\n'] = Blank;
    classes['\r'] = Return;
    classes['&'] = Reference;
    classes[']'] = Bracket;
    classes['<'] = Less;
    return classes;
}
constexpr std::array<unsigned char, 256> kByteClass = byteClasses();

// Bytes an attribute value keeps as they stand: printable ASCII but the quotes, '&' and '<'.
// Nearly every value of a worksheet is made of them alone ("A17", "1", "s"): such a value is
// found and taken in one pass, without decoding.
constexpr std::array<bool, 256> cleanValueBytes()
{
    std::array<bool, 256> clean{};
    for (int c = 0x20; c < 0x80; ++c)
        clean[size_t(c)] = c != '"' && c != '\'' && c != '&' && c != '<';
    return clean;
}
constexpr std::array<bool, 256> kCleanValueByte = cleanValueBytes();

// Whether n bytes at a and b are the same: names are short, compared here rather than by a call.
bool sameBytes(const char *a, const char *b, size_t n)
{
    if (n > 16)
        return std::memcmp(a, b, n) == 0;
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// 1: may start a name, 2: may go on in one. Bytes from 0x80 are the UTF-8 of letters beyond
// ASCII; their encoding is checked separately.
constexpr std::array<unsigned char, 256> nameClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool start = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
        const bool inside = start || (c >= '0' && c <= '9') || c == '-' || c == '.';
        classes[size_t(c)] = start ? 3 : inside ? 2 : 0;
    }
    return classes;
}
constexpr std::array<unsigned char, 256> kNameClass = nameClasses();

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The length of the well-formed UTF-8 sequence at p of a character XML may carry, or 0.
int sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char c = p[0];
    const auto continuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF)
        return end - p >= 2 && continuation(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (end - p < 3 || !continuation(p[1]) || !continuation(p[2]))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0))
            return 0; // overlong, or a surrogate
        if (c == 0xEF && p[1] == 0xBF && p[2] >= 0xBE)
            return 0; // U+FFFE and U+FFFF are no characters
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (end - p < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90))
            return 0; // overlong, or beyond U+10FFFF
        return 4;
    }
    return 0;
}

bool isXmlCharacter(quint32 c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

char *appendUtf8(char *out, quint32 c)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3F));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Whether the first bytes at p could still become `prefix` once more bytes come.
bool couldStart(const char *p, const char *end, const char *prefix)
{
    const size_t n = std::min(size_t(end - p), std::strlen(prefix));
    return std::memcmp(p, prefix, n) == 0;
}

// The first occurrence of the two or three bytes of `pattern` in [p, end), or nullptr.
const char *find(const char *p, const char *end, const char *pattern)
{
    const size_t n = std::strlen(pattern);
    while (end - p >= qint64(n)) {
        const auto *hit = static_cast<const char *>(std::memchr(p, pattern[0], size_t(end - p - qint64(n) + 1)));
        if (!hit)
            return nullptr;
        if (std::memcmp(hit, pattern, n) == 0)
            return hit;
        p = hit + 1;
    }
    return nullptr;
}

} // namespace

XmlScanner::XmlScanner(Source source, qint64 maxMarkupBytes)
    : m_source(std::move(source)), m_maxMarkup(maxMarkupBytes)
{
}

XmlScanner::~XmlScanner() = default;

void XmlScanner::setHandlers(void *user, XmlStartHandler start, XmlEndHandler end, XmlTextHandler onText)
{
    m_user = user;
    m_start = start;
    m_end = end;
    m_text = onText;
}

bool XmlScanner::feed()
{
    if (m_finished)
        return false;
    if (m_aborted)
        throw Aborted{};
    if (!m_suspended)
        refill();
    m_suspended = false;
    scan();
    if (m_aborted)
        throw Aborted{};
    if (m_suspendAsked) {
        m_suspendAsked = false;
        m_suspended = true;
        return true;
    }
    if (!m_sourceEnded)
        return true;
    char *end = m_buffer.get() + m_filled;
    if (m_position < m_filled)
        malformed(m_buffer.get() + m_position, u"文件在标记中间结束"_s);
    if (!m_rootSeen)
        malformed(end, u"没有根元素"_s);
    if (!m_openStart.empty())
        malformed(end, u"元素“%1”没有结束"_s.arg(QString::fromUtf8(m_open.substr(m_openStart.back()))));
    m_finished = true;
    return false;
}

void XmlScanner::refill()
{
    char *buffer = m_buffer.get();
    if (m_position > 0) {
        m_linesBefore += countLines(buffer, buffer + m_position);
        std::memmove(buffer, buffer + m_position, size_t(m_filled - m_position));
        m_filled -= m_position;
        m_position = 0;
    }
    if (m_filled > m_maxMarkup)
        throw MarkupTooLong{};
    if (m_filled + kChunk > m_capacity) {
        // Doubling, but never past the longest markup taken and a piece.
        const qint64 capacity = std::min(std::max(m_filled + kChunk, 2 * m_capacity), m_maxMarkup + kChunk);
        auto grown = std::make_unique<char[]>(size_t(capacity));
        if (m_filled > 0)
            std::memcpy(grown.get(), buffer, size_t(m_filled));
        m_buffer = std::move(grown);
        m_capacity = capacity;
    }
    const qint64 n = m_source(m_buffer.get() + m_filled, kChunk);
    if (n <= 0) {
        m_sourceEnded = true;
        return;
    }
    m_filled += n;
    if (!m_bomChecked) {
        // A byte order mark is told from the first three bytes, however few a piece holds.
        while (m_filled < 3) {
            const qint64 more = m_source(m_buffer.get() + m_filled, 3 - m_filled);
            if (more <= 0)
                break;
            m_filled += more;
        }
        m_bomChecked = true;
        if (m_filled >= 3 && std::memcmp(m_buffer.get(), "\xEF\xBB\xBF", 3) == 0)
            m_position = 3;
    }
}

void XmlScanner::malformed(const char *at, const QString &reason) const
{
    const qint64 line = m_linesBefore + countLines(m_buffer.get(), at) + 1;
    throw Malformed{reason, line};
}

void XmlScanner::scan()
{
    while (!m_suspendAsked && !m_aborted && m_position < m_filled) {
        char *p = m_buffer.get() + m_position;
        char *end = m_buffer.get() + m_filled;
        qint64 used = 0;
        if (*p == '<') {
            used = markup(p, end);
        } else {
            auto *less = static_cast<char *>(std::memchr(p, '<', size_t(end - p)));
            const bool whole = less || m_sourceEnded;
            char *textEnd = less ? less : end;
            if (!whole) {
                // The rest of a long text comes with the next piece: give what can be read
                // now, leaving an unfinished reference, line end, "]]" or character behind.
                auto *amp = static_cast<char *>(memrchr(p, '&', size_t(end - p)));
                if (amp && !std::memchr(amp, ';', size_t(end - amp)))
                    textEnd = amp;
                while (textEnd > p && (textEnd[-1] == ']' || textEnd[-1] == '\r'))
                    --textEnd;
                for (int back = 1; back <= 3 && textEnd - back >= p; ++back) {
                    const auto c = static_cast<unsigned char>(textEnd[-back]);
                    if (c < 0x80)
                        break;
                    if (c >= 0xC0) {
                        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
                        if (length > back)
                            textEnd -= back;
                        break;
                    }
                }
            }
            text(p, textEnd);
            used = textEnd - p;
        }
        if (used == 0) {
            if (m_sourceEnded)
                malformed(p, u"文件在标记中间结束"_s);
            return; // the rest comes with the next piece
        }
        m_position += used;
        m_declarationAllowed = false;
    }
}

void XmlScanner::text(char *p, char *end)
{
    if (p == end)
        return;
    if (m_openStart.empty()) {
        for (const char *c = p; c < end; ++c)
            if (!isSpace(*c))
                malformed(c, m_rootSeen ? u"根元素之后不能有文字"_s : u"根元素之前不能有文字"_s);
        return;
    }
    char *decodedEnd = decode(p, end, false);
    if (m_text && decodedEnd > p)
        m_text(m_user, p, int(decodedEnd - p));
}

char *XmlScanner::decode(char *p, char *end, bool attribute)
{
    // Most texts change nowhere: they are only checked, up to the first byte that changes them.
    const char *in = p;
    while (in < end) {
        const auto c = static_cast<unsigned char>(*in);
        const unsigned char kind = kByteClass[c];
        if (kind == Plain || (kind == Blank && !attribute)) {
            ++in;
        } else if (kind == Multibyte) {
            const int length = sequenceLength(reinterpret_cast<const unsigned char *>(in),
                                              reinterpret_cast<const unsigned char *>(end));
            if (length == 0)
                malformed(in, u"有不是 UTF-8 的字节"_s);
            in += length;
        } else if (kind == Bracket) {
            if (!attribute && end - in >= 3 && in[1] == ']' && in[2] == '>')
                malformed(in, u"文字中不能有“]]>”"_s);
            ++in;
        } else {
            break;
        }
    }
    char *out = p + (in - p);
    while (in < end) {
        const auto c = static_cast<unsigned char>(*in);
        switch (kByteClass[c]) {
        case Plain:
            *out++ = char(c);
            ++in;
            break;
        case Blank:
            *out++ = attribute ? ' ' : char(c);
            ++in;
            break;
        case Return:
            *out++ = attribute ? ' ' : '\n';
            in += in + 1 < end && in[1] == '\n' ? 2 : 1;
            break;
        case Bracket:
            if (!attribute && end - in >= 3 && in[1] == ']' && in[2] == '>')
                malformed(in, u"文字中不能有“]]>”"_s);
            *out++ = ']';
            ++in;
            break;
        case Less:
            malformed(in, u"属性值中不能有“<”"_s);
        case Control:
            malformed(in, u"有 XML 不能包含的控制字符（%1）"_s.arg(int(c)));
        case Multibyte: {
            const int length = sequenceLength(reinterpret_cast<const unsigned char *>(in),
                                              reinterpret_cast<const unsigned char *>(end));
            if (length == 0)
                malformed(in, u"有不是 UTF-8 的字节"_s);
            for (int k = 0; k < length; ++k)
                *out++ = in[k];
            in += length;
            break;
        }
        case Reference: {
            const char *last = std::min<const char *>(end, in + 40);
            const auto *semicolon = static_cast<const char *>(std::memchr(in, ';', size_t(last - in)));
            if (!semicolon)
                malformed(in, u"“&”后没有完整的引用"_s);
            const std::string_view name(in + 1, size_t(semicolon - in - 1));
            if (name.size() >= 2 && name[0] == '#') {
                const bool hex = name[1] == 'x';
                const std::string_view digits = name.substr(hex ? 2 : 1);
                quint32 code = 0;
                bool valid = !digits.empty();
                for (const char d : digits) {
                    int value = -1;
                    if (d >= '0' && d <= '9')
                        value = d - '0';
                    else if (hex && d >= 'a' && d <= 'f')
                        value = d - 'a' + 10;
                    else if (hex && d >= 'A' && d <= 'F')
                        value = d - 'A' + 10;
                    if (value < 0 || code > 0x10FFFF) {
                        valid = false;
                        break;
                    }
                    code = code * (hex ? 16 : 10) + quint32(value);
                }
                if (!valid || !isXmlCharacter(code))
                    malformed(in, u"字符引用“%1”不是 XML 能包含的字符"_s.arg(QString::fromUtf8(name.data(), qsizetype(name.size()))));
                out = appendUtf8(out, code);
            } else if (name == "amp") {
                *out++ = '&';
            } else if (name == "lt") {
                *out++ = '<';
            } else if (name == "gt") {
                *out++ = '>';
            } else if (name == "quot") {
                *out++ = '"';
            } else if (name == "apos") {
                *out++ = '\'';
            } else {
                malformed(in, u"未定义的实体“%1”"_s.arg(QString::fromUtf8(name.data(), qsizetype(name.size()))));
            }
            in = semicolon + 1;
            break;
        }
        }
    }
    return out;
}

void XmlScanner::checkCharacters(const char *p, const char *end)
{
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x80) {
            const int length = sequenceLength(reinterpret_cast<const unsigned char *>(p),
                                              reinterpret_cast<const unsigned char *>(end));
            if (length == 0)
                malformed(p, u"有不是 UTF-8 的字节"_s);
            p += length;
        } else {
            if (kByteClass[c] == Control)
                malformed(p, u"有 XML 不能包含的控制字符（%1）"_s.arg(int(c)));
            ++p;
        }
    }
}

// The end of the name at p; nullptr when p holds no name, `end` when the buffer ends first.
inline const char *XmlScanner::name(const char *p, const char *end) const
{
    if (p == end)
        return end;
    if (!(kNameClass[static_cast<unsigned char>(*p)] & 1))
        return nullptr;
    ++p;
    while (p < end && kNameClass[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

qint64 XmlScanner::markup(char *p, char *end)
{
    if (end - p < 2)
        return 0;
    if (p[1] == '/')
        return endTag(p, end);
    if (p[1] == '?')
        return processingInstruction(p, end);
    if (p[1] != '!')
        return startTag(p, end);
    if (couldStart(p, end, "<!--"))
        return end - p < 4 ? 0 : comment(p, end);
    if (couldStart(p, end, "<![CDATA["))
        return end - p < 9 ? 0 : characterData(p, end);
    if (couldStart(p, end, "<!DOCTYPE"))
        return end - p < 9 ? 0 : (malformed(p, u"工作簿的部件不能有文档类型声明（DOCTYPE）"_s), 0);
    malformed(p, u"“<!”后的标记不对"_s);
}

// Every start tag ends here: inlined into its few callers.
[[gnu::always_inline]] inline void XmlScanner::deliverStart(char *name, qint64 nameLength, const char **attributes, bool empty)
{
    name[nameLength] = 0;
    if (!empty) {
        m_openStart.push_back(quint32(m_open.size()));
        m_open.append(name, size_t(nameLength));
    }
    if (m_start)
        m_start(m_user, name, attributes);
    if (empty && m_end && !m_aborted)
        m_end(m_user, name);
}

qint64 XmlScanner::startTag(char *p, char *end)
{
    const char *nameEnd = name(p + 1, end);
    if (!nameEnd)
        malformed(p, u"“<”后不是元素名"_s);
    // Most tags of a worksheet are a short ASCII name inside the root and nothing else ("<v>").
    if (nameEnd != end && *nameEnd == '>' && !m_openStart.empty()) {
        bool ascii = true;
        for (const char *c = p + 1; c < nameEnd; ++c)
            ascii = ascii && static_cast<unsigned char>(*c) < 0x80;
        if (ascii) {
            static const char *noAttributes[] = {nullptr};
            deliverStart(p + 1, nameEnd - (p + 1), noAttributes, false);
            return nameEnd - p + 1;
        }
    }
    if (!m_openStart.empty()) {
        if (const qint64 taken = plainStartTag(p, end, const_cast<char *>(nameEnd)))
            return taken;
    }
    m_spans.clear();
    bool asciiNames = true;
    const auto noteName = [&asciiNames](const char *from, const char *to) {
        for (const char *c = from; c < to && asciiNames; ++c)
            asciiNames = static_cast<unsigned char>(*c) < 0x80;
    };
    noteName(p + 1, nameEnd);
    const char *q = nameEnd;
    bool empty = false;
    for (;;) {
        bool spaced = false;
        while (q < end && isSpace(*q)) {
            ++q;
            spaced = true;
        }
        if (q == end)
            return 0;
        if (*q == '>') {
            ++q;
            break;
        }
        if (*q == '/') {
            if (q + 1 == end)
                return 0;
            if (q[1] != '>')
                malformed(q, u"“/”后应是“>”"_s);
            q += 2;
            empty = true;
            break;
        }
        if (!spaced)
            malformed(q, u"属性前缺少空白"_s);
        const char *attributeName = q;
        q = name(q, end);
        if (!q)
            malformed(attributeName, u"属性名不对"_s);
        const char *attributeNameEnd = q;
        noteName(attributeName, attributeNameEnd);
        while (q < end && isSpace(*q))
            ++q;
        if (q == end)
            return 0;
        if (*q != '=')
            malformed(q, u"属性缺少“=”"_s);
        ++q;
        while (q < end && isSpace(*q))
            ++q;
        if (q == end)
            return 0;
        if (*q != '"' && *q != '\'')
            malformed(q, u"属性值缺少引号"_s);
        const char quote = *q++;
        const char *close = q;
        while (close < end && kCleanValueByte[static_cast<unsigned char>(*close)])
            ++close;
        if (close == end)
            return 0;
        const bool clean = *close == quote;
        if (!clean) {
            close = static_cast<const char *>(std::memchr(close, quote, size_t(end - close)));
            if (!close)
                return 0;
        }
        char *base = m_buffer.get();
        m_spans.push_back({attributeName - base, attributeNameEnd - base, q - base, close - base, clean});
        q = close + 1;
    }

    // The whole tag is in the buffer: check it, then cut its names and values in place.
    char *base = m_buffer.get();
    if (!asciiNames) {
        checkCharacters(p + 1, nameEnd);
        for (const Span &s : m_spans)
            checkCharacters(base + s.name, base + s.nameEnd);
    }
    for (size_t i = 0; i < m_spans.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (m_spans[i].nameEnd - m_spans[i].name == m_spans[j].nameEnd - m_spans[j].name &&
                sameBytes(base + m_spans[i].name, base + m_spans[j].name,
                          size_t(m_spans[i].nameEnd - m_spans[i].name)))
                malformed(base + m_spans[i].name, u"属性“%1”出现了两次"_s.arg(QString::fromUtf8(
                                                      base + m_spans[i].name, m_spans[i].nameEnd - m_spans[i].name)));
    if (m_openStart.empty()) {
        if (m_rootSeen)
            malformed(p, u"根元素之后不能再有元素"_s);
        m_rootSeen = true;
    }
    m_attributes.clear();
    for (const Span &s : m_spans) {
        base[s.nameEnd] = 0;
        char *valueEnd = s.clean ? base + s.valueEnd : decode(base + s.value, base + s.valueEnd, true);
        *valueEnd = 0;
        m_attributes.push_back(base + s.name);
        m_attributes.push_back(base + s.value);
    }
    m_attributes.push_back(nullptr);
    deliverStart(p + 1, nameEnd - (p + 1), m_attributes.data(), empty);
    return q - p;
}


// The tags of a spreadsheet program's worksheet are of one shape: an ASCII name inside the root
// and a few attributes, each written ` name="value"` with an ASCII name and a value that needs
// no decoding (`<c r="B7" s="3" t="s">`, a row's half a dozen). Such a tag is read here in one
// pass; the bytes taken, or 0 for a tag of any other shape (or cut by the buffer's end, or
// with an attribute written twice), which startTag() then reads and judges in full.
qint64 XmlScanner::plainStartTag(char *p, char *end, char *nameEnd)
{
    constexpr int kMost = 8;
    char *names[kMost];
    char *values[kMost];
    char *valueEnds[kMost];
    int nameLengths[kMost];
    int count = 0;
    const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    for (const char *c = p + 1; c < nameEnd; ++c)
        if (!ascii(*c))
            return 0;
    char *q = nameEnd;
    bool empty = false;
    for (;;) {
        if (end - q < 2)
            return 0;
        if (*q == '>')
            break;
        if (*q == '/') {
            if (q[1] != '>')
                return 0;
            empty = true;
            ++q;
            break;
        }
        if (*q != ' ' || count == kMost)
            return 0;
        char *attributeName = ++q;
        if (q == end || !ascii(*q) || !(kNameClass[static_cast<unsigned char>(*q)] & 1))
            return 0;
        ++q;
        while (q < end && ascii(*q) && kNameClass[static_cast<unsigned char>(*q)])
            ++q;
        if (end - q < 2 || q[0] != '=' || q[1] != '"')
            return 0;
        const int length = int(q - attributeName);
        for (int i = 0; i < count; ++i)
            if (nameLengths[i] == length && sameBytes(names[i], attributeName, size_t(length)))
                return 0;
        names[count] = attributeName;
        nameLengths[count] = length;
        q += 2;
        values[count] = q;
        while (q < end && kCleanValueByte[static_cast<unsigned char>(*q)])
            ++q;
        if (q == end || *q != '"')
            return 0;
        valueEnds[count++] = q++;
    }
    // The whole tag is read and well-formed: its names and values are cut in place.
    const char *attributes[2 * kMost + 1];
    for (int i = 0; i < count; ++i) {
        names[i][nameLengths[i]] = 0;
        *valueEnds[i] = 0;
        attributes[2 * i] = names[i];
        attributes[2 * i + 1] = values[i];
    }
    attributes[2 * count] = nullptr;
    deliverStart(p + 1, nameEnd - (p + 1), attributes, empty);
    return q + 1 - p;
}

qint64 XmlScanner::endTag(char *p, char *end)
{
    const char *nameEnd = name(p + 2, end);
    if (!nameEnd)
        malformed(p, u"“</”后不是元素名"_s);
    const char *q = nameEnd;
    while (q < end && isSpace(*q))
        ++q;
    if (q == end)
        return 0;
    if (*q != '>')
        malformed(q, u"结束标记应以“>”结束"_s);
    const qint64 length = nameEnd - (p + 2);
    if (m_openStart.empty())
        malformed(p, u"结束标记没有对应的开始标记"_s);
    const quint32 start = m_openStart.back();
    if (qint64(m_open.size() - start) != length || !sameBytes(m_open.data() + start, p + 2, size_t(length)))
        malformed(p, u"结束标记“%1”与开始标记“%2”不一致"_s.arg(QString::fromUtf8(p + 2, length),
                                                                 QString::fromUtf8(m_open.substr(start))));
    m_openStart.pop_back();
    m_open.resize(start);
    char *elementName = p + 2;
    elementName[length] = 0;
    if (m_end)
        m_end(m_user, elementName);
    return q + 1 - p;
}

qint64 XmlScanner::comment(char *p, char *end)
{
    const char *dashes = find(p + 4, end, "--");
    if (!dashes || end - dashes < 3)
        return 0;
    if (dashes[2] != '>')
        malformed(dashes, u"注释中不能有“--”"_s);
    checkCharacters(p + 4, dashes);
    return dashes + 3 - p;
}

qint64 XmlScanner::processingInstruction(char *p, char *end)
{
    const char *targetEnd = name(p + 2, end);
    if (!targetEnd)
        malformed(p, u"处理指令没有名称"_s);
    if (targetEnd == end)
        return 0;
    const char *close = find(targetEnd, end, "?>");
    if (!close)
        return 0;
    if (close != targetEnd && !isSpace(*targetEnd))
        malformed(targetEnd, u"处理指令的名称后缺少空白"_s);
    checkCharacters(p + 2, close);
    const std::string_view target(p + 2, size_t(targetEnd - p - 2));
    const bool reserved = target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
                          (target[2] | 0x20) == 'l';
    if (reserved) {
        if (target != "xml" || !m_declarationAllowed)
            malformed(p, u"XML 声明只能在文件的开头"_s);
        if (!find(targetEnd, close, "version"))
            malformed(p, u"XML 声明缺少版本"_s);
    }
    return close + 2 - p;
}

qint64 XmlScanner::characterData(char *p, char *end)
{
    if (m_openStart.empty())
        malformed(p, u"CDATA 段只能在元素之中"_s);
    char *close = const_cast<char *>(find(p + 9, end, "]]>"));
    if (!close)
        return 0;
    // Only line ends change: the section's text is taken as it stands.
    checkCharacters(p + 9, close);
    char *out = p + 9;
    for (const char *in = p + 9; in < close;) {
        if (*in == '\r') {
            *out++ = '\n';
            in += in + 1 < close && in[1] == '\n' ? 2 : 1;
        } else {
            *out++ = *in++;
        }
    }
    if (m_text && out > p + 9)
        m_text(m_user, p + 9, int(out - (p + 9)));
    return close + 3 - p;
}

} // namespace granwise::sheets
