#include "WorkbookProbe.h"
#include "sheets/CopyTemplateFile.h"
#include "sheets/SheetReader.h"
#include "sheets/WorkbookFill.h"
#include "store/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class WorkbookFillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        templatePath = dir.filePath(u"template.xlsx"_s);
        path = dir.filePath(u"filled.xlsx"_s);
        makeStyledTemplate(templatePath);
        CopyTemplateFile(templatePath, path);
    }
    QTemporaryDir dir;
    QString templatePath;
    QString path;
};

} // namespace

TEST_F(WorkbookFillTest, WrittenCellsReadBackAndUntouchedCellsKeepTheTemplate)
{
    WorkbookFill fill(path);
    EXPECT_EQ(fill.sheetName(), u"表一"_s);
    fill.setText(3, 2, u"某某粮食局"_s);   // the bordered empty cell B3
    fill.setCell(5, 2, 0.5);                // a new cell in a styled column
    fill.setCell(5, 3, u"010010"_s);       // text keeps its zero
    fill.setCell(5, 4, 42);                 // int -> number
    fill.setCell(4, 2, QVariant());         // null empties B4
    fill.setNumber(8, 1, -1.25);            // a row the template lacks, after the last one
    fill.setText(2, 6, u"插在中间"_s);     // a row between existing rows
    fill.save();

    const auto rows = readSheet(path, u"表一"_s);
    ASSERT_TRUE(rows.contains(1));
    EXPECT_EQ(rows[1].value(0).text, u"投资情况表"_s);
    EXPECT_EQ(rows[2].value(5).text, u"插在中间"_s);
    EXPECT_EQ(rows[3].value(0).text, u"单位："_s);
    EXPECT_EQ(rows[3].value(1).text, u"某某粮食局"_s);
    EXPECT_EQ(rows[4].value(0).text, u"合计"_s);
    EXPECT_EQ(rows[4].value(1).type, CellValue::Type::Empty);
    EXPECT_EQ(rows[4].value(2).number, 2);
    EXPECT_EQ(rows[5].value(1).type, CellValue::Type::Number);
    EXPECT_EQ(rows[5].value(1).number, 0.5);
    EXPECT_EQ(rows[5].value(2).type, CellValue::Type::Text);
    EXPECT_EQ(rows[5].value(2).text, u"010010"_s);
    EXPECT_EQ(rows[5].value(3).number, 42);
    EXPECT_EQ(rows[6].value(0).text, u"制表："_s);
    EXPECT_EQ(rows[8].value(0).number, -1.25);
    EXPECT_EQ(readSheetTexts(path, u"说明"_s).value(1), QStringList{u"不要改这一页"_s});
}

TEST_F(WorkbookFillTest, FormattingOfTheTemplateSurvives)
{
    pugi::xml_document before;
    loadPart(before, path, "xl/worksheets/sheet1.xml");
    const std::string borderedStyle = cellNode(before, "B3").attribute("s").value();
    const std::string columnStyle = before.document_element().child("cols").find_child_by_attribute("col", "min", "2")
                                        .attribute("style").value();
    ASSERT_FALSE(borderedStyle.empty());
    ASSERT_FALSE(columnStyle.empty());

    WorkbookFill fill(path);
    fill.setText(3, 2, u"某某粮食局"_s);
    fill.setNumber(5, 3, 7);
    fill.setNumber(4, 2, 10); // B4 feeds the formula in D4
    fill.save();

    pugi::xml_document after;
    loadPart(after, path, "xl/worksheets/sheet1.xml");
    const pugi::xml_node sheet = after.document_element();
    EXPECT_STREQ(sheet.child("mergeCells").child("mergeCell").attribute("ref").value(), "A1:D1");
    EXPECT_EQ(std::distance(sheet.child("cols").children().begin(), sheet.child("cols").children().end()), 2);
    EXPECT_EQ(cellNode(after, "B3").attribute("s").value(), borderedStyle);
    EXPECT_EQ(cellNode(after, "C5").attribute("s").value(), columnStyle);
    EXPECT_STREQ(cellNode(after, "D4").child("f").text().get(), "SUM(B4:C4)");
    EXPECT_STREQ(sheet.child("dimension").attribute("ref").value(), "A1:D6");
    // The formula is worked out afresh when the workbook is opened.
    pugi::xml_document workbook;
    loadPart(workbook, path, "xl/workbook.xml");
    EXPECT_STREQ(workbook.document_element().child("calcPr").attribute("fullCalcOnLoad").value(), "1");
    // The other parts are carried over unchanged.
    EXPECT_EQ(zipPart(path, "xl/styles.xml"), zipPart(templatePath, "xl/styles.xml"));
    EXPECT_EQ(zipPart(path, "xl/worksheets/sheet2.xml"), zipPart(templatePath, "xl/worksheets/sheet2.xml"));
}

TEST_F(WorkbookFillTest, TextsAndNumbersComeBackExactly)
{
    const QStringList texts{u"a&b<c>\"d\"'e'"_s,   u"  前后有空格  "_s, u"两行\n文字"_s,  u"制表\t符"_s,
                            u"回车\r\n换行"_s,      u"_x0041_ 不是转义"_s, QString(QChar(1)) + u"控制字符"_s,
                            u"表情 😀 与 𠀀"_s,     u"0"_s};
    const QList<double> numbers{0.1 + 0.2, 1e-7, 123456789012345678.0, -0.5, 1e300, 5e-324, 12.3456789012345};

    WorkbookFill fill(path);
    for (int i = 0; i < texts.size(); ++i)
        fill.setText(10 + i, 1, texts.at(i));
    for (int i = 0; i < numbers.size(); ++i)
        fill.setNumber(10 + i, 2, numbers.at(i));
    fill.save();

    const auto rows = readSheet(path, u"表一"_s);
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(rows.value(10 + i).value(0).text, texts.at(i)) << i;
    for (int i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(rows.value(10 + i).value(1).number, numbers.at(i)) << i;
}

TEST_F(WorkbookFillTest, SavingTwiceAndOverwritingFormulas)
{
    {
        WorkbookFill fill(path);
        fill.setNumber(4, 4, 99); // replaces the formula
        fill.save();
        fill.setText(6, 2, u"张三"_s);
        fill.save();
    }
    const auto rows = readSheet(path, u"表一"_s);
    EXPECT_EQ(rows[4].value(3).number, 99);
    EXPECT_EQ(rows[6].value(1).text, u"张三"_s);
    pugi::xml_document sheet;
    loadPart(sheet, path, "xl/worksheets/sheet1.xml");
    EXPECT_FALSE(cellNode(sheet, "D4").child("f"));
}

TEST_F(WorkbookFillTest, ReportsWhatCannotBeFilled)
{
    const QString missing = dir.filePath(u"missing.xlsx"_s);
    EXPECT_THROW(WorkbookFill{missing}, Error);
    const QString text = dir.filePath(u"text.xlsx"_s);
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a workbook");
    }
    EXPECT_THROW(WorkbookFill{text}, Error);
    WorkbookFill fill(path);
    EXPECT_THROW(fill.setText(0, 1, u"x"_s), Error);
    EXPECT_THROW(fill.setText(1, 16385, u"x"_s), Error);
}

TEST_F(WorkbookFillTest, ASaveThatCannotWriteThrows)
{
    WorkbookFill fill(path);
    fill.setText(3, 2, u"x"_s);
    QFile::remove(path); // the workbook vanished under us
    EXPECT_THROW(fill.save(), Error);
}
