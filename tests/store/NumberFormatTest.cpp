#include "store/NumberFormat.h"
#include "store/TextLength.h"

#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

TEST(NumberFormat, WritesTheGeneralFormat)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0.1 + 0.2, "0.3"},
        {2.0 + 3.0, "5"},
        {1.0, "1"},
        {0.0, "0"},
        {-0.0, "0"},
        {-12.5, "-12.5"},
        {1e-6, "1E-6"},
        {0.00001, "0.00001"},
        {0.000012345, "0.000012345"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {2.5e20, "2.5E20"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {100.0, "100"},
        {25000.0 / 10000.0, "2.5"},
        {999999999999999.9, "1E15"},
        {0.1 + 0.2 + 0.3, "0.6"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatNumber(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(NumberFormat, ReadsOnlyDecimalNumbers)
{
    const struct {
        const char *text;
        bool isNumber;
        double value;
    } cases[] = {
        {"12", true, 12},   {"-3.5", true, -3.5}, {".5", true, 0.5},  {"5.", true, 5},
        {" 7 ", true, 7},   {"1e3", true, 1000},  {"1E-6", true, 1e-6}, {"+2", true, 2},
        {"", false, 0},     {"-", false, 0},      {"1e", false, 0},   {"12a", false, 0},
        {"inf", false, 0},  {"nan", false, 0},    {"1,000", false, 0}, {".", false, 0},
        // Beyond the range of a double: no number. Below it: 0.
        {"1e309", false, 0}, {"-1e999", false, 0}, {"1.8e308", false, 0}, {"1e-400", true, 0},
        {"1.7976931348623157e308", true, 1.7976931348623157e308},
    };
    for (const auto &c : cases) {
        const auto n = parseNumber(QString::fromLatin1(c.text));
        EXPECT_EQ(n.has_value(), c.isNumber) << c.text;
        if (n && c.isNumber) {
            EXPECT_DOUBLE_EQ(*n, c.value) << c.text;
        }
    }
    EXPECT_EQ(numberOrZero(u"abc"_s), 0.0);
}

TEST(NumberFormat, RoundsTo15SignificantDigits)
{
    EXPECT_EQ(roundTo15Digits(0.1 + 0.2 + 0.3), roundTo15Digits(0.6));
    EXPECT_NE(0.1 + 0.2 + 0.3, 0.6);
}

TEST(TextLength, CountsGbkBytes)
{
    const struct {
        QString text;
        int bytes;
    } cases[] = {
        {u""_s, 0},           {u"abc"_s, 3},          {u"粮食"_s, 4},
        {u"A粮1"_s, 4},       {u"（汇总版）"_s, 10},   {u" 请选择省！"_s, 11},
        {u"010010"_s, 6},
    };
    for (const auto &c : cases)
        EXPECT_EQ(gbkByteLength(c.text), c.bytes) << c.text.toStdString();
}
