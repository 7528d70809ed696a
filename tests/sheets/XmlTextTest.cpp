#include "sheets/XmlText.h"

#include <QByteArray>
#include <gtest/gtest.h>

using namespace granwise::sheets;

namespace {

std::string cellText(std::string_view utf8)
{
    std::string out;
    appendCellText(out, utf8);
    return out;
}

std::string asRead(std::string_view bytes)
{
    QByteArray holder;
    return std::string(utf8AsRead(bytes, holder));
}

} // namespace

TEST(XmlText, CellTextEscapesWhatXmlCannotCarry)
{
    using namespace std::string_literals;
    const struct {
        std::string text, cell, document;
    } cases[] = {
        {"", "", ""},
        {"粮库 A-1", "粮库 A-1", "粮库 A-1"},
        {"a&b<c>d\"", "a&amp;b&lt;c&gt;d\"", "a&b<c>d\""},
        {"tab\tline\nend", "tab\tline\nend", "tab\tline\nend"},
        {"cr\r\x01\x1f\x7f", "cr_x000D__x0001__x001F_\x7f", "cr_x000D__x0001__x001F_\x7f"},
        {"nul"s + '\0' + "x", "nul_x0000_x", "nul_x0000_x"},
        {"_x0041_ _x00g1_ _X0041_ _x004", "_x005F_x0041_ _x00g1_ _X0041_ _x004",
         "_x005F_x0041_ _x00g1_ _X0041_ _x004"},
        {"__x0041__", "__x005F_x0041__", "__x005F_x0041__"},
        // U+FFFE and U+FFFF are no XML characters; U+FFFD and other characters from 0xEF are
        {"\xEF\xBF\xBE|\xEF\xBF\xBF|\xEF\xBF\xBD|\xEF\xBC\x81", "_xFFFE_|_xFFFF_|\xEF\xBF\xBD|\xEF\xBC\x81",
         "_xFFFE_|_xFFFF_|\xEF\xBF\xBD|\xEF\xBC\x81"},
        {"😀_x0001_", "😀_x005F_x0001_", "😀_x005F_x0001_"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(cellText(c.text), c.cell) << c.text;
        EXPECT_EQ(cellTextForDocument(c.text), c.document) << c.text;
    }
}

TEST(XmlText, TextFromOutsideIsReadAsQtReadsIt)
{
    const struct {
        std::string bytes, read;
    } cases[] = {
        {"粮库", "粮库"},
        {"\xEF\xBB\xBF粮库", "粮库"},                     // a leading byte order mark is dropped
        {"a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},              // elsewhere it is a character
        {"a\x80z", "a\xEF\xBF\xBDz"},                    // a stray continuation byte
        {"\xC0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},        // an overlong NUL
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
        {"\xE4\xB8", "\xEF\xBF\xBD\xEF\xBF\xBD"},            // cut short
    };
    for (const auto &c : cases) {
        EXPECT_EQ(asRead(c.bytes), c.read) << c.bytes;
        const QString qt = QString::fromUtf8(c.bytes.data(), qsizetype(c.bytes.size()));
        EXPECT_EQ(asRead(c.bytes), qt.toStdString()) << c.bytes;
    }
}

TEST(XmlText, SpacePreservedForBlanksAtTheEdgesLineEndsAndDoubleSpaces)
{
    const struct {
        std::string text;
        bool preserve;
    } cases[] = {
        {"", false},      {"a b", false},  {" a", true},  {"a ", true},  {"\ta", true},
        {"a\r", true},    {"a\nb", true},  {"a  b", true}, {"a\tb", false}, {"a\rb", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(needsSpacePreserved(c.text), c.preserve) << c.text;
}
