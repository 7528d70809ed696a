#include "sheets/XmlScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace granwise::sheets;

namespace {

// Scans a document handed over `piece` bytes at a time and writes what the handlers saw as
// one line of text: "<name a=v>" for a start, "</name>" for an end, "[text]" for the texts of
// an element joined. A refusal ends the line with "!".
struct Trace {
    std::string out;
    std::string text;
    void flushText()
    {
        if (!text.empty())
            out += "[" + text + "]";
        text.clear();
    }
    static void start(void *self, const char *name, const char **atts)
    {
        auto *t = static_cast<Trace *>(self);
        t->flushText();
        t->out += "<" + std::string(name);
        for (int i = 0; atts[i]; i += 2)
            t->out += " " + std::string(atts[i]) + "=" + atts[i + 1];
        t->out += ">";
    }
    static void end(void *self, const char *name)
    {
        auto *t = static_cast<Trace *>(self);
        t->flushText();
        t->out += "</" + std::string(name) + ">";
    }
    static void characters(void *self, const char *text, int length)
    {
        static_cast<Trace *>(self)->text.append(text, size_t(length));
    }
};

std::string scan(const std::string &document, size_t piece, qint64 maxMarkup = 1 << 20)
{
    size_t at = 0;
    XmlScanner scanner(
        [&](char *buffer, qint64 size) {
            const size_t n = std::min({size_t(size), piece, document.size() - at});
            std::memcpy(buffer, document.data() + at, n);
            at += n;
            return qint64(n);
        },
        maxMarkup);
    Trace trace;
    scanner.setHandlers(&trace, &Trace::start, &Trace::end, &Trace::characters);
    try {
        while (scanner.feed()) {
        }
    } catch (const XmlScanner::Malformed &) {
        trace.flushText();
        return trace.out + "!";
    } catch (const XmlScanner::MarkupTooLong &) {
        return trace.out + "!long";
    }
    trace.flushText();
    return trace.out;
}

// The same events whatever the pieces: every construct may be cut anywhere.
std::string scanAnyhow(const std::string &document)
{
    const std::string whole = scan(document, document.size() + 1);
    for (const size_t piece : {1, 2, 3, 5, 7, 64})
        EXPECT_EQ(scan(document, piece), whole) << "pieces of " << piece << " bytes: " << document;
    return whole;
}

TEST(XmlScanner, DeliversElementsAttributesAndTextsWherevertheBytesAreCut)
{
    const struct {
        std::string document;
        std::string trace;
    } cases[] = {
        {"<a/>", "<a></a>"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a x='1' y = \"2\"  >t</a >\n",
         "<a x=1 y=2>[t]</a>"},
        {"<x:row r=\"3\"><x:c r=\"A3\" t=\"s\"><x:v>17</x:v></x:c></x:row>",
         "<x:row r=3><x:c r=A3 t=s><x:v>[17]</x:v></x:c></x:row>"},
        // References, line ends and CDATA as a conforming parser gives them.
        {"<t>a&amp;b&lt;&gt;&quot;&apos;&#65;&#x4e2d;&#x1F600;</t>", "<t>[a&b<>\"'A中😀]</t>"},
        {"<t>one\r\ntwo\rthree\n</t>", "<t>[one\ntwo\nthree\n]</t>"},
        {"<t a=\"x\ty\r\nz&#10;\"/>", "<t a=x y z\n></t>"},
        // Values taken as they stand beside values that need decoding, the other quote inside.
        {"<c r=\"A1\" t='it\"s' s=\"it's\" u=\"&lt;&#x41;\" v=\"\xE4\xB8\xAD\" w=\"]\"/>",
         "<c r=A1 t=it\"s s=it's u=<A v=中 w=]></c>"},
        {"<t><![CDATA[<b>&amp;]]]]><![CDATA[>\r\n]]></t>", "<t>[<b>&amp;]]>\n]</t>"},
        {"<t>]] > ]></t>", "<t>[]] > ]>]</t>"},
        {"<!-- before --><?pi data?><t><!-- in - side --><?x?>中文</t><!--after-->  ",
         "<t>[中文]</t>"},
        {"<t>\xF0\x9F\x98\x80\xE4\xB8\xAD\xC3\xA9</t>", "<t>[😀中é]</t>"},
        // Tags inside the root as a spreadsheet program writes them, beside near shapes.
        {"<s><row r=\"3\" customFormat=\"false\" ht=\"15\" hidden=\"false\" customHeight=\"false\" "
         "outlineLevel=\"0\" collapsed=\"false\"><c r=\"AA3\" s=\"0\" t=\"n\"><v>1.5</v></c><c r=\"B3\" s=\"2\"/>"
         "</row></s>",
         "<s><row r=3 customFormat=false ht=15 hidden=false customHeight=false outlineLevel=0 collapsed=false>"
         "<c r=AA3 s=0 t=n><v>[1.5]</v></c><c r=B3 s=2></c></row></s>"},
        {"<s><t xml:space=\"preserve\"> a </t><x:c a-b.c=\"\" d=\"&amp;\" e=\"it's\"/>"
         "<c a=\"1\" b=\"2\" c=\"3\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" h=\"8\" i=\"9\"/>"
         "<c  r=\"A1\"/><c r=\"A1\" /><c r='A1'/><\xE4\xB8\xAD r=\"\xE4\xB8\xAD\"/></s>",
         "<s><t xml:space=preserve>[ a ]</t><x:c a-b.c= d=& e=it's></x:c>"
         "<c a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9></c><c r=A1></c><c r=A1></c><c r=A1></c><中 r=中></中></s>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(scanAnyhow(c.document), c.trace) << c.document;
}

TEST(XmlScanner, RefusesWhatIsNoWellFormedXml)
{
    const char *malformed[] = {
        "",                                        // no root
        "   ",                                     //
        "<a>",                                     // never closed
        "<a></b>",                                 // mismatched
        "<a></a><b/>",                             // a second root
        "<a/>text",                                // text after the root
        "text<a/>",                                // text before it
        "<a></a></a>",                             // an end without a start
        "<a x=1/>",                                // unquoted value
        "<a x=\"1\"y=\"2\"/>",                      // no blank between attributes
        "<a x=\"1\" x=\"2\"/>",                     // an attribute twice
        "<a x=\"<\"/>",                             // '<' in a value
        "<a x=\"1\x01\"/>",                          // a control character in a value
        "<a x='\xC3\x28'/>",                         // malformed UTF-8 in a value
        "<a x=\"&bogus;\"/>",                       // an undefined entity in a value
        "<a x/>",                                  // no value
        "<1a/>",                                   // a name starting with a digit
        "<a>&nbsp;</a>",                           // an undefined entity
        "<a>&amp</a>",                             // an unfinished reference
        "<a>&#0;</a>",                             // no character XML carries
        "<a>&#xD800;</a>",                         //
        "<a>&#x110000;</a>",                       //
        "<a>&#X41;</a>",                           // 'X' is no hexadecimal mark
        "<a>\x01</a>",                             // a control character
        "<a>\xC3\x28</a>",                         // malformed UTF-8
        "<a>\xC0\xAF</a>",                         // overlong
        "<a>\xED\xA0\x80</a>",                     // a surrogate in UTF-8
        "<a>\xEF\xBF\xBF</a>",                     // U+FFFF
        "<a>]]></a>",                              // "]]>" in text
        "<a><!-- a -- b --></a>",                  // "--" in a comment
        "<a><![CDATA[x]]</a>",                     // an unfinished section
        "<![CDATA[x]]><a/>",                       // a section outside the root
        "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", // no document type declarations
        "<a/><?xml version=\"1.0\"?>",             // a declaration not at the start
        " <?xml version=\"1.0\"?><a/>",            //
        "<?XML version=\"1.0\"?><a/>",             //
        "<a><b></a></b>",                          // crossed
        "<a",                                      // cut inside a tag
        "<a/><!-- open",                           // cut inside a comment
        // The same faults inside the root, where the common tags are read another way.
        "<s><c r=\"A1\" r=\"A1\"/></s>",             // an attribute twice
        "<s><c r=\"A1\" s=\"1\" t=\"s\" r=\"B1\"></c></s>", //
        "<s><c r=\"A1\"s=\"1\"/></s>",                // no blank between attributes
        "<s><c r=\"A1\" s=1/></s>",                    // unquoted value
        "<s><c r=\"A1\" s=\"1\x01\"/></s>",           // a control character in a value
        "<s><c r=\"A1\" s=\"\xC3\x28\"/></s>",         // malformed UTF-8 in a value
        "<s><c r=\"A1\" 1s=\"1\"/></s>",              // an attribute name starting with a digit
        "<s><c r=\"A1\" s=\"1\"></d></s>",            // mismatched
        "<s><c r=\"A1\" s=\"1\" / ></s>",             // a blank inside "/>"
        "<s><c r=\"A1\"\x01/></s>",                    // a control character in a tag
    };
    for (const char *document : malformed) {
        const std::string trace = scanAnyhow(document);
        EXPECT_TRUE(trace.ends_with("!")) << "accepted: " << document << " as " << trace;
    }
}

TEST(XmlScanner, LongMarkupIsRefusedButLongTextIsNeverHeld)
{
    const std::string longTag = "<a x=\"" + std::string(5000, 'y') + "\"/>";
    EXPECT_EQ(scan(longTag, 256, 1024), "!long");
    const std::string longText = "<a>" + std::string(5000, 'y') + "&amp;</a>";
    EXPECT_EQ(scan(longText, 256, 1024), "<a>[" + std::string(5000, 'y') + "&]</a>");
}

TEST(XmlScanner, ASuspendedScanGoesOnWhereItStopped)
{
    const std::string document = "<a><b/><b/><b/></a>";
    size_t at = 0;
    XmlScanner scanner(
        [&](char *buffer, qint64 size) {
            const size_t n = std::min(size_t(size), document.size() - at);
            std::memcpy(buffer, document.data() + at, n);
            at += n;
            return qint64(n);
        },
        1024);
    struct Count {
        XmlScanner *scanner;
        int ends = 0;
    } count{&scanner};
    scanner.setHandlers(
        &count, [](void *, const char *, const char **) {},
        [](void *self, const char *name) {
            auto *c = static_cast<Count *>(self);
            if (std::strcmp(name, "b") == 0) {
                ++c->ends;
                c->scanner->suspend();
            }
        },
        nullptr);
    int feeds = 0;
    while (scanner.feed())
        ++feeds;
    EXPECT_EQ(count.ends, 3);
    EXPECT_GE(feeds, 3);
}

} // namespace
