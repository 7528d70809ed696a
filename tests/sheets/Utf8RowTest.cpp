#include "sheets/Utf8Row.h"

#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {

using Type = CellValue::Type;

// Blank as CellValue counts it: QString::trimmed()'s blanks, ASCII or not.
TEST(Utf8RowTest, ABlankCellIsTheSameAsForACellValue)
{
    const CellValue cells[] = {
        {},
        CellValue::ofText({}),
        CellValue::ofText(u" \t\r\n\v\f"_s),
        CellValue::ofText(u"\u3000\u00A0\u2003"_s),
        CellValue::ofText(u" \u3000x"_s),
        CellValue::ofText(u"库"_s),
        CellValue::ofText(u" 0 "_s),
        CellValue::ofText(u"\u200B"_s), // a zero-width space is no blank
        CellValue::ofNumber(0),
        CellValue::ofBoolean(false),
        CellValue::ofError(u" "_s),
    };
    for (const CellValue &cell : cells) {
        SCOPED_TRACE(cell.toText().toStdString());
        Utf8Row row;
        row.assign({cell});
        EXPECT_EQ(row.isBlank(0), cell.isBlank());
    }
}

TEST(Utf8RowTest, CellsComeBackAsTheyWentIn)
{
    const QVector<CellValue> cells = {
        CellValue::ofText(u"粮库 𠀀"_s), {}, CellValue::ofNumber(-1.5), CellValue::ofText({}),
        CellValue::ofBoolean(true), CellValue::ofError(u"#N/A"_s),
        CellValue::ofDateTime(QDateTime(QDate(2013, 5, 9), QTime(9, 5), Qt::UTC)),
    };
    Utf8Row row;
    row.assign({CellValue::ofText(u"先前的一行"_s)}); // the room of a row is used again
    row.assign(cells);
    QVector<CellValue> back;
    row.toCells(back);
    ASSERT_EQ(back.size(), cells.size());
    for (int i = 0; i < cells.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back.at(i).type, cells.at(i).type);
        EXPECT_EQ(back.at(i).number, cells.at(i).number);
        EXPECT_EQ(back.at(i).text, cells.at(i).text);
        EXPECT_EQ(row.qtext(i), cells.at(i).toText());
    }
    EXPECT_EQ(row.text(0), std::string_view("粮库 𠀀"));
    EXPECT_EQ(row.variant(1), QVariant());
    EXPECT_EQ(row.variant(2), QVariant(-1.5));
    EXPECT_EQ(row.variant(3), QVariant(u""_s));
}

TEST(Utf8RowTest, Utf16LengthCountsSurrogatePairsTwice)
{
    EXPECT_EQ(utf16Length(""), 0);
    EXPECT_EQ(utf16Length("abc"), 3);
    EXPECT_EQ(utf16Length("粮库"), 2);
    EXPECT_EQ(utf16Length("𠀀a"), 3);
}

} // namespace
