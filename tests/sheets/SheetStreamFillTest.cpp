#include "WorkbookProbe.h"
#include "sheets/SheetReader.h"
#include "sheets/SheetStreamFill.h"
#include "store/Error.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <xlsxwriter.h>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

// Header row in bold with an extra note beyond the data columns, a remark in row 4 beyond
// the data columns and a footer far below.
void makeListTemplate(const QString &path)
{
    lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *ws = workbook_add_worksheet(wb, "数据信息");
    lxw_format *bold = workbook_add_format(wb);
    format_set_bold(bold);
    worksheet_write_string(ws, 0, 0, "旧一", bold);
    worksheet_write_string(ws, 0, 1, "旧二", bold);
    worksheet_write_string(ws, 0, 2, "旧三", bold);
    worksheet_write_string(ws, 0, 4, "备注", bold);
    worksheet_write_string(ws, 3, 5, "第四行的说明", nullptr);
    worksheet_write_string(ws, 49, 0, "页尾", nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
}

QByteArray hashOf(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

TEST(SheetStreamFill, RowsMergeWithTheTemplateRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.xlsx"_s);
    makeListTemplate(path);
    pugi::xml_document before;
    loadPart(before, path, "xl/worksheets/sheet1.xml");
    const std::string boldStyle = cellNode(before, "A1").attribute("s").value();

    SheetStreamFill fill(path);
    EXPECT_EQ(fill.sheetName(), u"数据信息"_s);
    fill.writeRow({u"名称"_s, u"代码"_s, u"数量"_s});
    fill.writeRow({u"甲"_s, u"010010"_s, 1.5});
    fill.writeRow({u"乙"_s, QVariant(), 0});
    fill.writeRow({u"丙"_s, u""_s, -2});
    fill.writeRow({u"丁"_s, u"x"_s, 1e-9});
    fill.finish();

    const auto rows = readSheetTexts(path, u"数据信息"_s);
    EXPECT_EQ(rows.value(1), (QStringList{u"名称"_s, u"代码"_s, u"数量"_s, QString(), u"备注"_s}));
    EXPECT_EQ(rows.value(2), (QStringList{u"甲"_s, u"010010"_s, u"1.5"_s}));
    EXPECT_EQ(rows.value(3), (QStringList{u"乙"_s, QString(), u"0"_s}));
    EXPECT_EQ(rows.value(4), (QStringList{u"丙"_s, QString(), u"-2"_s, QString(), QString(), u"第四行的说明"_s}));
    EXPECT_EQ(rows.value(5), (QStringList{u"丁"_s, u"x"_s, u"1E-9"_s}));
    EXPECT_EQ(rows.value(50), QStringList{u"页尾"_s});
    EXPECT_EQ(rows.size(), 6);

    pugi::xml_document after;
    loadPart(after, path, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(cellNode(after, "A1").attribute("s").value(), boldStyle); // the header keeps its bold
    EXPECT_EQ(cellNode(after, "E1").attribute("s").value(), boldStyle);
    EXPECT_STREQ(after.document_element().child("dimension").attribute("ref").value(), "A1:F50");
    const auto reader = SheetReader::open(path, u"数据信息"_s);
    EXPECT_EQ(reader->rowCountHint(), 50);
}

TEST(SheetStreamFill, ABlankWorkbookTakesManyRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"big.xlsx"_s);
    createBlankWorkbook(path, u"数据 & 信息"_s);
    const int rowCount = 100000; // several megabytes of rows, deflated in several pieces
    {
        SheetStreamFill fill(path);
        fill.writeRow({u"序号"_s, u"名称"_s, u"数值"_s});
        for (int i = 1; i <= rowCount; ++i)
            fill.writeRow({i, u"项目%1"_s.arg(i), i * 0.25});
        fill.finish();
    }
    EXPECT_EQ(SheetReader::sheetNames(path), QStringList{u"数据 & 信息"_s});
    auto reader = SheetReader::open(path, u"数据 & 信息"_s);
    QVector<CellValue> cells;
    int seen = 0;
    ASSERT_TRUE(reader->nextRow(cells));
    while (reader->nextRow(cells)) {
        ++seen;
        ASSERT_EQ(reader->rowNumber(), seen + 1);
        ASSERT_EQ(cells.size(), 3);
        ASSERT_EQ(cells[0].number, seen);
        ASSERT_EQ(cells[1].text, u"项目%1"_s.arg(seen));
        ASSERT_EQ(cells[2].number, seen * 0.25);
    }
    EXPECT_EQ(seen, rowCount);
}

TEST(SheetStreamFill, SkippingRowsAndLeavingWithoutFinishing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.xlsx"_s);
    makeListTemplate(path);
    const QByteArray original = hashOf(path);
    {
        SheetStreamFill fill(path);
        fill.writeRow({u"x"_s});
    } // dropped without finish(): nothing is written
    EXPECT_EQ(hashOf(path), original);

    SheetStreamFill fill(path);
    fill.skipTo(3);
    fill.writeRow({u"第三行"_s});
    EXPECT_THROW(fill.skipTo(2), Error);
    fill.finish();
    const auto rows = readSheetTexts(path, u"数据信息"_s);
    EXPECT_EQ(rows.value(1).value(0), u"旧一"_s);
    EXPECT_EQ(rows.value(3), QStringList{u"第三行"_s});
    EXPECT_THROW(fill.writeRow({1}), Error);
}
