#include "XmlText.h"

#include <charconv>

namespace granwise::sheets {

namespace {

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// "_xHHHH_" starting at position i.
bool isEscapeAt(const QString &text, qsizetype i)
{
    if (i + 7 > text.size() || text.at(i) != u'_' || text.at(i + 1) != u'x' || text.at(i + 6) != u'_')
        return false;
    for (qsizetype k = i + 2; k < i + 6; ++k)
        if (!isHex(text.at(k)))
            return false;
    return true;
}

bool isPlain(char16_t c)
{
    if (c < 0x20)
        return c == u'\t' || c == u'\n';
    return c != u'&' && c != u'<' && c != u'>' && c != u'_' && c < 0xFFFE;
}

bool isMarkup(char16_t c)
{
    return c == u'&' || c == u'<' || c == u'>';
}

void appendHexEscape(std::string &out, unsigned code)
{
    static const char digits[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(code >> shift) & 0xF];
    out += '_';
}

} // namespace

void appendEscaped(std::string &out, const char *utf8, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const char c = utf8[i];
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

namespace {
void appendText(std::string &out, const QString &text, bool escapeMarkup)
{
    const char16_t *units = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    qsizetype firstSpecial = 0;
    while (firstSpecial < n && isPlain(units[firstSpecial]))
        ++firstSpecial;
    if (firstSpecial == n) {
        out += text.toStdString();
        return;
    }
    out += QStringView(text).left(firstSpecial).toUtf8().toStdString();
    QString run; // plain characters waiting to be converted
    auto flush = [&] {
        if (!run.isEmpty()) {
            out += run.toStdString();
            run.clear();
        }
    };
    for (qsizetype i = firstSpecial; i < n; ++i) {
        const char16_t c = units[i];
        if (isPlain(c)) {
            run += QChar(c);
            continue;
        }
        if (!escapeMarkup && isMarkup(c)) {
            run += QChar(c);
            continue;
        }
        flush();
        switch (c) {
        case u'&':
            out += "&amp;";
            break;
        case u'<':
            out += "&lt;";
            break;
        case u'>':
            out += "&gt;";
            break;
        case u'_':
            if (isEscapeAt(text, i))
                out += "_x005F_";
            else
                out += '_';
            break;
        default:
            if (c < 0x20 || c >= 0xFFFE)
                appendHexEscape(out, c);
            else
                run += QChar(c);
        }
    }
    flush();
}
} // namespace

void appendCellText(std::string &out, const QString &text)
{
    appendText(out, text, true);
}

std::string cellTextForDocument(const QString &text)
{
    std::string out;
    appendText(out, text, false);
    return out;
}

void appendNumber(std::string &out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, size_t(result.ptr - buffer));
}

bool needsSpacePreserved(const QString &text)
{
    if (text.isEmpty())
        return false;
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
    return blank(text.front()) || blank(text.back()) || text.contains(u'\n') || text.contains(u"  ");
}

QString decodeCellText(const QString &text)
{
    qsizetype at = text.indexOf(u"_x");
    if (at < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (isEscapeAt(text, i)) {
            out += QChar(char16_t(text.mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 7;
        } else {
            out += text.at(i);
            ++i;
        }
    }
    return out;
}

} // namespace granwise::sheets
