#include "paging/PdfIdeographNames.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

// 食 (U+98DF) and 一 (U+4E00) share their glyphs with the radicals U+2EDD and U+2F00.
const IdeographOfRadical kFonts{{u'\u2EDD', u'\u98DF'}, {u'\u2F00', u'\u4E00'}};

QByteArray patched(const QByteArray &pdf)
{
    return withIdeographNames(pdf, kFonts);
}

TEST(PdfIdeographNames, NamesSingleGlyphsByTheirIdeographAndLeavesTheRestAlone)
{
    struct Case {
        const char *what;
        QByteArray before;
        QByteArray after;
    };
    const Case cases[] = {
        {"a glyph of a bfchar line", "beginbfchar\n<0003> <2EDD>\nendbfchar", "beginbfchar\n<0003> <98DF>\nendbfchar"},
        {"lower-case digits", "beginbfchar\n<0003> <2edd>\nendbfchar", "beginbfchar\n<0003> <98DF>\nendbfchar"},
        {"an ideograph stays", "beginbfchar\n<0004> <7CAE>\nendbfchar", "beginbfchar\n<0004> <7CAE>\nendbfchar"},
        {"a radical without an ideograph stays", "beginbfchar\n<0004> <2E80>\nendbfchar",
         "beginbfchar\n<0004> <2E80>\nendbfchar"},
        {"a range of one glyph", "beginbfrange\n<0005> <0005> <2F00>\nendbfrange",
         "beginbfrange\n<0005> <0005> <4E00>\nendbfrange"},
        // A run names consecutive code points: changing its start would rename every glyph of it.
        {"a run of several glyphs stays", "beginbfrange\n<0006> <0007> <2EDD>\nendbfrange",
         "beginbfrange\n<0006> <0007> <2EDD>\nendbfrange"},
        {"every name of an array", "beginbfrange\n<0008> <0009> [<2EDD> <2F00>]\nendbfrange",
         "beginbfrange\n<0008> <0009> [<98DF> <4E00>]\nendbfrange"},
        {"the glyph code itself stays", "beginbfchar\n<2EDD> <0041>\nendbfchar", "beginbfchar\n<2EDD> <0041>\nendbfchar"},
        {"outside a ToUnicode block nothing changes", "stream <0003> <2EDD> endstream",
         "stream <0003> <2EDD> endstream"},
        {"an unterminated block is left as it is", "beginbfchar\n<0003> <2EDD>\n", "beginbfchar\n<0003> <2EDD>\n"},
    };
    for (const Case &c : cases) {
        const QByteArray after = patched(c.before);
        EXPECT_EQ(after, c.after) << c.what;
        EXPECT_EQ(after.size(), c.before.size()) << c.what;
    }
}

TEST(PdfIdeographNames, EveryBlockOfTheFileIsPatched)
{
    const QByteArray pdf = "%PDF-1.4\nbeginbfchar\n<0001> <2EDD>\nendbfchar\nobj\n"
                           "beginbfrange\n<0002> <0002> <2EDD>\nendbfrange\nbeginbfchar\n<0003> <2F00>\nendbfchar\n";
    EXPECT_EQ(patched(pdf), QByteArray("%PDF-1.4\nbeginbfchar\n<0001> <98DF>\nendbfchar\nobj\n"
                                       "beginbfrange\n<0002> <0002> <98DF>\nendbfrange\nbeginbfchar\n<0003> <4E00>\n"
                                       "endbfchar\n"));
    EXPECT_EQ(withIdeographNames(pdf, {}), pdf);
}

} // namespace
} // namespace granwise
