#include "XmlText.h"

#include <QByteArrayView>
#include <array>
#include <charconv>
#include <optional>

namespace granwise::sheets {

namespace {

constexpr bool isHex(char32_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_xHHHH_" starting at position i, in UTF-16 or UTF-8 units.
template <typename Unit>
bool isEscapeAt(const Unit *text, size_t size, size_t i)
{
    if (i + 7 > size || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_')
        return false;
    for (size_t k = i + 2; k < i + 6; ++k)
        if (!isHex(char32_t(text[k])))
            return false;
    return true;
}

void appendHexEscape(std::string &out, unsigned code)
{
    static const char digits[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(code >> shift) & 0xF];
    out += '_';
}

// Bytes that may need more than a copy: control characters, markup, '_' and 0xEF, the first
// byte of U+FFFE and U+FFFF. Bytes from 0x80 on are otherwise parts of characters to copy.
constexpr auto kLook = [] {
    std::array<bool, 256> look{};
    for (int c = 0; c < 0x20; ++c)
        look[size_t(c)] = c != '\t' && c != '\n';
    for (unsigned char c : {'&', '<', '>', '_'})
        look[c] = true;
    look[0xEF] = true;
    return look;
}();

void appendText(std::string &out, std::string_view text, bool escapeMarkup)
{
    const char *const bytes = text.data();
    const size_t n = text.size();
    size_t copied = 0; // bytes before this are written
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (!kLook[c])
            continue;
        const char *replacement = nullptr;
        size_t length = 1;
        std::optional<unsigned> hex;
        switch (c) {
        case '&':
            replacement = escapeMarkup ? "&amp;" : nullptr;
            break;
        case '<':
            replacement = escapeMarkup ? "&lt;" : nullptr;
            break;
        case '>':
            replacement = escapeMarkup ? "&gt;" : nullptr;
            break;
        case '_':
            replacement = isEscapeAt(bytes, n, i) ? "_x005F_" : nullptr;
            break;
        case 0xEF: // U+FFFE and U+FFFF are EF BF BE and EF BF BF
            if (i + 2 < n && static_cast<unsigned char>(bytes[i + 1]) == 0xBF &&
                (static_cast<unsigned char>(bytes[i + 2]) & 0xFE) == 0xBE) {
                hex = 0xFFFE | (static_cast<unsigned char>(bytes[i + 2]) & 1);
                length = 3;
            }
            break;
        default: // a control character
            hex = c;
        }
        if (!replacement && !hex)
            continue;
        out.append(bytes + copied, i - copied);
        if (replacement)
            out += replacement;
        else
            appendHexEscape(out, *hex);
        i += length - 1;
        copied = i + 1;
    }
    out.append(bytes + copied, n - copied);
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

std::string_view utf8AsRead(std::string_view bytes, QByteArray &holder)
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    if (view.isValidUtf8())
        return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    holder = QString::fromUtf8(view).toUtf8();
    return {holder.constData(), size_t(holder.size())};
}

void appendCellText(std::string &out, std::string_view utf8)
{
    appendText(out, utf8, true);
}

std::string cellTextForDocument(std::string_view utf8)
{
    std::string out;
    appendText(out, utf8, false);
    return out;
}

void appendNumber(std::string &out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, size_t(result.ptr - buffer));
}

bool needsSpacePreserved(std::string_view utf8)
{
    if (utf8.empty())
        return false;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return blank(utf8.front()) || blank(utf8.back()) || utf8.find('\n') != std::string_view::npos ||
           utf8.find("  ") != std::string_view::npos;
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
        if (isEscapeAt(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()), size_t(i))) {
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
