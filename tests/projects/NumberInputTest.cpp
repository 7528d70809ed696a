#include "projects/NumberInput.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

struct FilterCase {
    const char16_t *typed;
    const char16_t *kept;
};

TEST(NumberInput, RemovesTheCharacterWhereReadingStops)
{
    const FilterCase cases[] = {
        {u"12a", u"12"},       {u"a12", u"12"},     {u"-", u"-"},         {u"+", u"+"},
        {u"  -", u"  -"},      {u"1e", u"1e"},      {u"1e-", u"1e-"},     {u"1E+5", u"1E+5"},
        {u".5", u".5"},        {u".", u"."},        {u"-.5", u"-.5"},     {u"1.", u"1."},
        {u"1.2.3", u"1.23"},   {u"--1", u"-1"},     {u"1-", u"1"},        {u"12 ", u"12"},
        {u"1e5x", u"1e5"},     {u"1ex", u"1e"},     {u"e5", u"5"},        {u"", u""},
        {u"１2", u"2"},        {u"3,5", u"35"},     {u"1.5e-3", u"1.5e-3"},
    };
    for (const FilterCase &c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        EXPECT_EQ(filterNumberInput(typed).text, QString::fromUtf16(c.kept)) << typed.toStdString();
    }
}

TEST(NumberInput, RemovesAtMostOneCharacterPerChange)
{
    const FilteredInput once = filterNumberInput(u"12ab"_s);
    EXPECT_EQ(once.text, u"12b"_s);
    EXPECT_EQ(once.removedAt, 2);
    EXPECT_EQ(filterNumberInput(once.text).text, u"12"_s);
    EXPECT_EQ(filterNumberInput(u"12"_s).removedAt, -1);
}

TEST(NumberInput, UnfinishedTextsCountForTheTotals)
{
    EXPECT_EQ(figureValue(u""_s), 0);
    EXPECT_EQ(figureValue(u"-"_s), 0);
    EXPECT_EQ(figureValue(u" +"_s), 0);
    EXPECT_EQ(figureValue(u"."_s), 0);
    EXPECT_EQ(figureValue(u"1e"_s), 1);
    EXPECT_EQ(figureValue(u"2.5e-"_s), 2.5);
    EXPECT_EQ(figureValue(u".5"_s), 0.5);
    EXPECT_EQ(figureValue(u"-3"_s), -3);
    EXPECT_EQ(figureValue(u"1e309"_s), 0); // beyond the range of a double: nothing to add
    EXPECT_EQ(figureValue(u"-1e3090"_s), 0);
}

TEST(NumberInput, OnlyBlanksAndWholeNumbersCanBeStored)
{
    for (const QString &text : {u""_s, u"  "_s, u"0"_s, u"-1.5"_s, u".5"_s, u"1."_s, u"1E5"_s})
        EXPECT_TRUE(isStorableFigure(text)) << text.toStdString();
    for (const QString &text : {u"-"_s, u" +"_s, u"."_s, u"1e"_s, u"1e-"_s, u"12b"_s, u"1e309"_s, u"-1e999"_s})
        EXPECT_FALSE(isStorableFigure(text)) << text.toStdString();
}

} // namespace
} // namespace granwise
