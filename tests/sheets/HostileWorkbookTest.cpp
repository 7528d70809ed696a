#include "RawWorkbook.h"
#include "sheets/ReadLimits.h"
#include "sheets/SheetReader.h"
#include "store/Error.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

const QString Sheet = u"数据信息"_s;

// The refusal of reading the whole sheet, or empty when it is read; as UTF-8, so that a failing
// comparison shows it.
std::string readError(const QString &path, QMap<int, QVector<CellValue>> *rows = nullptr);

std::string utf8(const QString &text)
{
    return text.toStdString();
}

QString readErrorText(const QString &path, QMap<int, QVector<CellValue>> *rows = nullptr)
{
    try {
        auto reader = SheetReader::open(path, Sheet);
        QVector<CellValue> cells;
        while (reader->nextRow(cells))
            if (rows)
                rows->insert(reader->rowNumber(), cells);
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

std::string readError(const QString &path, QMap<int, QVector<CellValue>> *rows)
{
    return readErrorText(path, rows).toStdString();
}

std::string repeated(const std::string &piece, int times)
{
    std::string out;
    out.reserve(piece.size() * size_t(times));
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::string numberFormats(int count)
{
    std::string formats;
    for (int i = 0; i < count; ++i)
        formats += "<numFmt numFmtId=\"" + std::to_string(164 + i) + "\" formatCode=\"0\"/>";
    return formats;
}

std::string styles(const std::string &inside)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><styleSheet "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" +
           inside + "</styleSheet>";
}

class HostileWorkbook : public ::testing::Test {
protected:
    QString file(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(HostileWorkbook, ADeclaredSizeIsNeverTrusted)
{
    // 2 KB of package whose directory says one of its parts holds a terabyte.
    const quint64 terabyte = quint64(1) << 40;
    const struct {
        const char *part;
        quint64 declared;
    } cases[] = {
        {"xl/workbook.xml", terabyte},
        {"xl/worksheets/sheet1.xml", terabyte},
        {"_rels/.rels", terabyte},
        {"xl/workbook.xml", 5},
    };
    const std::string sheet = sheetXml(rawRow(1, {u"名称"_s, 1.0}));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.part);
        QVector<RawZipEntry> entries = rawWorkbookEntries(Sheet, sheet);
        for (RawZipEntry &e : entries)
            if (e.name == c.part)
                e.declaredSize = c.declared;
        const QString path = file(u"declared.xlsx"_s);
        writeRawZip(path, entries);
        ASSERT_LT(QFile(path).size(), 4096);
        const QString error = readErrorText(path);
        EXPECT_TRUE(error.startsWith(u"工作簿"_s) && error.contains(path)) << error.toStdString();
    }
    // The same package with the sizes it really has is read.
    writeRawZip(file(u"honest.xlsx"_s), rawWorkbookEntries(Sheet, sheet));
    QMap<int, QVector<CellValue>> rows;
    EXPECT_EQ(readError(file(u"honest.xlsx"_s), &rows), "");
    EXPECT_EQ(rows.value(1).value(0).text, u"名称"_s);
}

TEST_F(HostileWorkbook, PartsUnpackingFarBeyondTheFileAreRefused)
{
    const std::string sheet = sheetXml(rawRow(1, {u"名称"_s}));
    const struct {
        const char *label;
        std::string sheet;
        std::map<std::string, std::string> parts;
    } cases[] = {
        {"a sheet of 60 MB of blanks", sheetXml(rawRow(1, {u"名称"_s}) + std::string(60 << 20, ' ')), {}},
        {"a styles part of 60 MB of blanks", sheet, {{"xl/styles.xml", styles(std::string(60 << 20, ' '))}}},
        {"two million empty shared strings", sheet, {{"xl/sharedStrings.xml", sharedStrings(repeated("<si/>", 2000000))}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = file(u"bomb.xlsx"_s);
        writeRawWorkbook(path, Sheet, c.sheet, c.parts);
        ASSERT_LT(QFile(path).size(), 400 * 1024);
        const QString error = readErrorText(path);
        EXPECT_TRUE(error.startsWith(u"工作簿超出可读取的范围："_s + path + u"（部件 "_s)) << error.toStdString();
        EXPECT_TRUE(error.contains(u"解压后超过"_s)) << error.toStdString();
    }
}

TEST_F(HostileWorkbook, TablesAndFormatsBeyondWhatAWorkbookNeedsAreRefused)
{
    const std::string sheet = sheetXml(rawRow(1, {u"名称"_s}));
    const struct {
        const char *label;
        std::map<std::string, std::string> parts;
        QString reason;
    } cases[] = {
        {"more cell formats than a spreadsheet program allows",
         {{"xl/styles.xml", styles("<cellXfs>" + repeated("<xf numFmtId=\"14\"/>", 70000) + "</cellXfs>")}},
         u"样式部件中的单元格格式超过 65536 个"_s},
        {"more number formats than a spreadsheet program allows",
         {{"xl/styles.xml", styles("<numFmts>" + numberFormats(70000) + "</numFmts>")},
          {"xl/media/noise.bin", noise(400 * 1024)}},
         u"样式部件中的数字格式超过 65536 个"_s},
        {"a shared string longer than a cell holds",
         {{"xl/sharedStrings.xml", sharedStrings("<si><t>a</t></si><si><t>" + std::string(40000, 'x') + "</t></si>")}},
         u"共享字符串第 2 项超过 32767 个字符，单元格容纳不下"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = file(u"big.xlsx"_s);
        writeRawWorkbook(path, Sheet, sheet, c.parts);
        EXPECT_EQ(readError(path), utf8(u"工作簿超出可读取的范围："_s + path + u"（"_s + c.reason + u"）"_s));
    }

    // Formats within the limits are read: the date style still shows a date.
    const QString fine = file(u"fine.xlsx"_s);
    writeRawWorkbook(fine, Sheet, sheetXml("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>41403</v></c></row>"),
                     {{"xl/styles.xml", styles("<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>")}});
    QMap<int, QVector<CellValue>> rows;
    ASSERT_EQ(readError(fine, &rows), "");
    EXPECT_EQ(rows.value(1).value(0).toText(), u"2013-05-09"_s);
}

TEST_F(HostileWorkbook, CellTextsLongerThanACellHoldsAreRefused)
{
    const QString longest(sheets::limits::kMaxCellTextLength, u'粮');
    const QString path = file(u"long.xlsx"_s);
    writeRawWorkbook(path, Sheet, sheetXml(rawRow(1, {longest}) + rawRow(2, {longest + u'x'})));
    EXPECT_EQ(readError(path), utf8(u"工作簿超出可读取的范围："_s + path + u"（第 2 行 A 列的文字超过 32767 个字符，单元格容纳不下）"_s));

    // A text of 20 MB is refused as it is read, not gathered first.
    const QString huge = file(u"huge.xlsx"_s);
    writeRawWorkbook(huge, Sheet,
                     sheetXml("<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>" + std::string(20 << 20, 'x') +
                              "</t></is></c></row>"),
                     {{"xl/media/noise.bin", noise(400 * 1024)}});
    EXPECT_EQ(readError(huge), utf8(u"工作簿超出可读取的范围："_s + huge + u"（第 1 行 B 列的文字超过 32767 个字符，单元格容纳不下）"_s));

    QMap<int, QVector<CellValue>> rows;
    writeRawWorkbook(path, Sheet, sheetXml(rawRow(1, {longest})));
    ASSERT_EQ(readError(path, &rows), "");
    EXPECT_EQ(rows.value(1).value(0).text, longest);
}

TEST_F(HostileWorkbook, AnOverlongStartTagIsRefusedNotBuffered)
{
    // Enough incompressible bytes beside the sheet that its 40 MB unpack within the file's
    // budget: the parser's own limit must catch the tag.
    const QString path = file(u"tag.xlsx"_s);
    writeRawWorkbook(path, Sheet,
                     sheetXml("<row r=\"1\"><c r=\"A1\" x=\"" + std::string(40 << 20, 'a') + "\"><v>1</v></c></row>"),
                     {{"xl/media/noise.bin", noise(600 * 1024)}});
    EXPECT_EQ(readError(path), utf8(u"工作簿超出可读取的范围："_s + path + u"（部件 xl/worksheets/sheet1.xml 中有长于 32 MB 的 XML 内容）"_s));
}

TEST_F(HostileWorkbook, ASharedStringIndexIsAWholeNumberInRange)
{
    const std::string strings = sharedStrings("<si><t>零</t></si><si><t>一</t></si>");
    const struct {
        const char *index;
        QString text; // empty: refused
    } cases[] = {
        {"1", u"一"_s}, {" 0 ", u"零"_s}, {"nan", {}}, {"NaN", {}}, {"1.5", {}}, {"-1", {}},
        {"2", {}},      {"1e0", {}},      {"", {}},    {"inf", {}}, {"99999999999999999999", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        const QString path = file(u"index.xlsx"_s);
        writeRawWorkbook(path, Sheet,
                         sheetXml(std::string("<row r=\"3\"><c r=\"B3\" t=\"s\"><v>") + c.index + "</v></c></row>"),
                         {{"xl/sharedStrings.xml", strings}});
        QMap<int, QVector<CellValue>> rows;
        const std::string error = readError(path, &rows);
        if (c.text.isEmpty()) {
            EXPECT_EQ(error, utf8(u"工作簿已损坏："_s + path + u"（第 3 行：B 列的共享字符串编号“"_s +
                                  QString::fromLatin1(c.index) + u"”不对）"_s));
        } else {
            EXPECT_EQ(error, "");
            EXPECT_EQ(rows.value(3).value(1).text, c.text);
        }
    }
}

TEST_F(HostileWorkbook, SharedStringsComeOutAsTheTableHoldsThem)
{
    const std::string emoji = "\xF0\x9F\x8C\xBE"; // one character, two UTF-16 units
    std::string emojis;
    for (int i = 0; i < 16383; ++i)
        emojis += emoji;
    const std::string items[] = {
        "<si><t>粮食仓储</t></si>",
        "<si><t>回车_x000D_换行</t></si>",                           // an escape, undone
        "<si><t>_x0041 不是转义</t></si>",                            // no escape: as it is
        "<si/>",                                                      // empty
        "<si><r><t>一</t></r><r><t>二</t></r><rPh><t>いち</t></rPh></si>", // runs joined, phonetic left out
        "<si><t>" + emojis + "a</t></si>",                            // exactly as long as a cell holds
        "<si><t>" + std::string(32766, 'x') + "_x0041_</t></si>",     // fits once its escape is undone
    };
    const QString expected[] = {u"粮食仓储"_s,
                                u"回车\r换行"_s,
                                u"_x0041 不是转义"_s,
                                QString(),
                                u"一二"_s,
                                QString::fromUtf8(emojis) + u'a',
                                QString(32766, u'x') + u'A'};
    std::string table;
    for (const std::string &item : items)
        table += item;
    // Cells refer to the table out of order and more than once.
    const int order[] = {6, 2, 0, 5, 1, 4, 3, 0, 6};
    std::string cells;
    for (int k = 0; k < int(std::size(order)); ++k)
        cells += "<c r=\"" + std::string(1, char('A' + k)) + "1\" t=\"s\"><v>" + std::to_string(order[k]) + "</v></c>";
    const QString path = file(u"strings.xlsx"_s);
    writeRawWorkbook(path, Sheet, sheetXml("<row r=\"1\">" + cells + "</row>"),
                     {{"xl/sharedStrings.xml", sharedStrings(table)}});
    QMap<int, QVector<CellValue>> rows;
    ASSERT_EQ(readError(path, &rows), "");
    const QVector<CellValue> row = rows.value(1);
    ASSERT_EQ(row.size(), int(std::size(order)));
    for (int k = 0; k < int(std::size(order)); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(row.at(k).type, CellValue::Type::Text);
        EXPECT_EQ(row.at(k).text, expected[order[k]]);
    }

    // One UTF-16 unit more than a cell holds, however it is written, is refused.
    const std::string tooLong[] = {"<si><t>" + emojis + "ab</t></si>", "<si><t>" + emojis + emoji + "</t></si>",
                                   "<si><t>" + std::string(32766, 'x') + "_x0041__x0041_</t></si>"};
    for (const std::string &item : tooLong) {
        writeRawWorkbook(path, Sheet, sheetXml(rawRow(1, {u"名称"_s})),
                         {{"xl/sharedStrings.xml", sharedStrings("<si><t>a</t></si>" + item)}});
        EXPECT_EQ(readError(path),
                  utf8(u"工作簿超出可读取的范围："_s + path + u"（共享字符串第 2 项超过 32767 个字符，单元格容纳不下）"_s));
    }
}

// The string table is read while the sheet is: an error of the table still refuses the
// workbook as its first error, however early the sheet meets one of its own and whether or not
// the sheet refers to the string that fails.
TEST_F(HostileWorkbook, AnErrorOfTheStringTableIsTheWorkbooksFirst)
{
    // Long enough that the sheet's rows are met well before its last string is.
    const std::string table = repeated("<si><t>甲乙丙丁</t></si>", 300000) + "<si><t>" + std::string(40000, 'x') +
                              "</t></si>";
    const QString tableError = u"（共享字符串第 300001 项超过 32767 个字符，单元格容纳不下）"_s;
    const struct {
        const char *label;
        std::string rows;
    } cases[] = {
        {"rows that read well", rawRow(1, {u"名称"_s}) + "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c></row>"},
        {"a row that is no well-formed XML", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></x></row>"},
        {"an index beyond the table", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>300001</v></c></row>"},
        {"rows out of order", rawRow(2, {u"名称"_s}) + rawRow(1, {u"名称"_s})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = file(u"late.xlsx"_s);
        writeRawWorkbook(path, Sheet, sheetXml(c.rows),
                         {{"xl/sharedStrings.xml", sharedStrings(table)}, {"xl/media/noise.bin", noise(256 * 1024)}});
        EXPECT_EQ(readError(path), utf8(u"工作簿超出可读取的范围："_s + path + tableError));
    }

    // A reader given up after its first row, the table still being read, lets the reading go.
    const QString givenUp = file(u"given-up.xlsx"_s);
    writeRawWorkbook(givenUp, Sheet, sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"),
                     {{"xl/sharedStrings.xml", sharedStrings(repeated("<si><t>甲乙丙丁</t></si>", 300000))},
                      {"xl/media/noise.bin", noise(256 * 1024)}});
    {
        auto reader = SheetReader::open(givenUp, Sheet);
        QVector<CellValue> cells;
        ASSERT_TRUE(reader->nextRow(cells));
        EXPECT_EQ(cells.value(0).text, u"甲乙丙丁"_s);
    }

    // Within the table, its errors come in its order: a string refused is refused before a
    // later string too long to read or a later fault of the XML.
    const std::string refused = "<si><t>a</t></si><si><t>" + std::string(32768, 'x') + "</t></si>";
    for (const std::string &after : {std::string("<si><t>b</t></x>"), "<si><t>" + std::string(200000, 'y') + "</t></si>"}) {
        const QString path = file(u"order.xlsx"_s);
        writeRawWorkbook(path, Sheet, sheetXml(rawRow(1, {u"名称"_s})),
                         {{"xl/sharedStrings.xml", sharedStrings(refused + after)},
                          {"xl/media/noise.bin", noise(64 * 1024)}});
        EXPECT_EQ(readError(path), utf8(u"工作簿超出可读取的范围："_s + path +
                                        u"（共享字符串第 2 项超过 32767 个字符，单元格容纳不下）"_s));
    }
}

// A table of many megabytes is held partly in a temporary file: cells find their strings
// wherever they are, those of the first blocks, those the reading moves on to and those it has
// left behind.
TEST_F(HostileWorkbook, ATableTooLargeToHoldIsReadBackWhereverACellPoints)
{
    const int count = 400000; // about 20 MB of texts: more blocks than stay in memory
    const auto text = [](int i) { return "共享字符串第" + std::to_string(i) + "项"; };
    std::string table;
    table.reserve(size_t(count) * 45);
    for (int i = 0; i < count; ++i)
        table += "<si><t>" + text(i) + "</t></si>";
    // Row r points at string 1000 r (forward), at an early one and at one far behind. The table
    // of where each string lies is paged too: the string behind lies on a page of it that the
    // reading has left behind once the forward one has moved two pages on.
    std::string rows;
    const int rowCount = count / 1000;
    for (int r = 1; r <= rowCount; ++r) {
        const int refs[] = {(r - 1) * 1000, r % 7, ((r - 1) * 1000) * 2 / 3};
        rows += "<row r=\"" + std::to_string(r) + "\">";
        for (int k = 0; k < 3; ++k)
            rows += "<c r=\"" + std::string(1, char('A' + k)) + std::to_string(r) + "\" t=\"s\"><v>" +
                    std::to_string(refs[k]) + "</v></c>";
        rows += "</row>";
    }
    const QString path = file(u"large-table.xlsx"_s);
    writeRawWorkbook(path, Sheet, sheetXml(rows), {{"xl/sharedStrings.xml", sharedStrings(table)}});
    QMap<int, QVector<CellValue>> read;
    ASSERT_EQ(readError(path, &read), "");
    ASSERT_EQ(read.size(), rowCount);
    for (int r = 1; r <= rowCount; ++r) {
        const int refs[] = {(r - 1) * 1000, r % 7, ((r - 1) * 1000) * 2 / 3};
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(read.value(r).value(k).text.toStdString(), text(refs[k])) << "row " << r << " cell " << k;
    }
}

TEST_F(HostileWorkbook, NumbersThatAreNotFiniteKeepTheirText)
{
    const QString path = file(u"numbers.xlsx"_s);
    std::string rows;
    const char *values[] = {"inf", "-inf", "1e999", "NaN", "infinity", "1e308", "-0"};
    int row = 0;
    for (const char *v : values) {
        const std::string r = std::to_string(++row);
        rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + v + "</v></c></row>";
    }
    writeRawWorkbook(path, Sheet, sheetXml(rows));
    QMap<int, QVector<CellValue>> cells;
    ASSERT_EQ(readError(path, &cells), "");
    for (int r = 1; r <= 5; ++r) {
        const CellValue &c = cells.value(r).value(0);
        EXPECT_EQ(c.type, CellValue::Type::Text) << values[r - 1];
        EXPECT_EQ(c.text, QString::fromLatin1(values[r - 1]));
    }
    EXPECT_EQ(cells.value(6).value(0).number, 1e308);
    EXPECT_EQ(cells.value(7).value(0).type, CellValue::Type::Number);
}

TEST_F(HostileWorkbook, CellsBeyondTheColumnLimitAreRefused)
{
    const QString path = file(u"wide.xlsx"_s);
    std::string rows = rawRow(1, {u"甲"_s, u"乙"_s});
    for (int r = 2; r <= 2000; ++r)
        rows += "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";
    writeRawWorkbook(path, Sheet, sheetXml(rows));

    auto reader = SheetReader::readAhead([&] {
        auto direct = SheetReader::open(path, Sheet);
        QVector<CellValue> header;
        EXPECT_TRUE(direct->nextRow(header));
        direct->limitColumns(int(header.size()) + 64);
        return direct;
    }());
    QString error;
    try {
        QVector<CellValue> cells;
        while (reader->nextRow(cells)) {
        }
    } catch (const Error &e) {
        error = e.text();
    }
    const QRegularExpression refusal(u"^工作簿超出可读取的范围："_s + QRegularExpression::escape(path) +
                                     u"（第 \\d+ 行 XFD 列远在列名之外，表格的内容不应超过 BN 列）$"_s);
    EXPECT_TRUE(refusal.match(error).hasMatch()) << error.toStdString();
}
