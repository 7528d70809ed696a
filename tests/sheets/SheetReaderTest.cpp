#include "WorkbookProbe.h"
#include "sheets/SheetReader.h"
#include "sheets/DeflateBehind.h"
#include "sheets/SheetStreamFill.h"
#include "sheets/ZipArchive.h"
#include "store/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <xlsxwriter.h>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;


namespace granwise::sheets {
bool isDateFormat(int numFmtId, const QString &formatCode);
}

namespace {

// A workbook written by another program: shared strings, dates, booleans, formulas with
// cached results, gaps between rows.
void makeMixedWorkbook(const QString &path)
{
    lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
    workbook_add_worksheet(wb, "首页");
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Data");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format *stamp = workbook_add_format(wb);
    format_set_num_format(stamp, "yyyy/m/d h:mm:ss");
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "#,##0.00\"元\"");
    worksheet_write_string(ws, 0, 0, "企业详细名称", nullptr);
    worksheet_write_string(ws, 0, 1, "项目名称", nullptr);
    worksheet_write_string(ws, 0, 3, "数", nullptr);
    worksheet_write_string(ws, 2, 0, "企业详细名称", nullptr); // the same shared string again
    worksheet_write_number(ws, 2, 1, 12.5, money);
    worksheet_write_boolean(ws, 2, 2, 1, nullptr);
    lxw_datetime day = {2013, 5, 9, 0, 0, 0};
    worksheet_write_datetime(ws, 2, 3, &day, date);
    lxw_datetime at = {2013, 5, 9, 9, 5, 30};
    worksheet_write_datetime(ws, 2, 4, &at, stamp);
    worksheet_write_formula_str(ws, 2, 5, "=A3&\"x\"", nullptr, "企业详细名称x");
    worksheet_write_formula_num(ws, 2, 6, "=B3*2", nullptr, 25);
    worksheet_write_string(ws, 6, 2, "第七行", nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void readToEnd(const QString &path, const QString &sheet)
{
    auto reader = SheetReader::open(path, sheet);
    QVector<CellValue> cells;
    while (reader->nextRow(cells)) {
    }
}

} // namespace

TEST(SheetReader, ReadsTypedCellsOfAWorkbookFromAnotherWriter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"mixed.xlsx"_s);
    makeMixedWorkbook(path);

    EXPECT_EQ(SheetReader::sheetNames(path), (QStringList{u"首页"_s, u"Data"_s}));
    auto reader = SheetReader::open(path, u"data"_s); // sheet names ignore case, as in spreadsheets
    QVector<CellValue> cells;

    ASSERT_TRUE(reader->nextRow(cells));
    EXPECT_EQ(reader->rowNumber(), 1);
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(cells[0].text, u"企业详细名称"_s);
    EXPECT_EQ(cells[2].type, CellValue::Type::Empty);

    ASSERT_TRUE(reader->nextRow(cells));
    EXPECT_EQ(reader->rowNumber(), 3);
    EXPECT_EQ(cells[0].text, u"企业详细名称"_s);
    EXPECT_EQ(cells[1].type, CellValue::Type::Number); // a money format is no date
    EXPECT_EQ(cells[1].toText(), u"12.5"_s);
    EXPECT_EQ(cells[2].type, CellValue::Type::Boolean);
    EXPECT_EQ(cells[2].toText(), u"TRUE"_s);
    EXPECT_EQ(cells[3].type, CellValue::Type::DateTime);
    EXPECT_EQ(cells[3].toText(), u"2013-05-09"_s);
    EXPECT_EQ(cells[4].toText(), u"2013-05-09 09:05:30"_s);
    EXPECT_EQ(cells[5].text, u"企业详细名称x"_s);
    EXPECT_EQ(cells[6].number, 25);

    ASSERT_TRUE(reader->nextRow(cells));
    EXPECT_EQ(reader->rowNumber(), 7);
    EXPECT_EQ(cells.value(2).text, u"第七行"_s);
    EXPECT_FALSE(reader->nextRow(cells));
}

TEST(SheetReader, RefusesMissingSheetsAndDamagedFilesWithAReadableReason)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(u"good.xlsx"_s);
    createBlankWorkbook(good, u"数据信息"_s);
    {
        SheetStreamFill fill(good);
        for (int i = 0; i < 3000; ++i)
            fill.writeRow({u"第%1行的一些文字"_s.arg(i), i, i * 1.5, u"更多的文字，使文件大一些"_s});
        fill.finish();
    }
    const QByteArray bytes = readBytes(good);

    const QString empty = dir.filePath(u"empty.xlsx"_s);
    writeBytes(empty, {});
    const QString truncated = dir.filePath(u"truncated.xlsx"_s);
    writeBytes(truncated, bytes.left(bytes.size() / 2));
    const QString text = dir.filePath(u"text.xlsx"_s);
    writeBytes(text, "企业详细名称,项目名称\n");
    const QString scrambled = dir.filePath(u"scrambled.xlsx"_s);
    QByteArray damaged = bytes;
    for (qsizetype i = damaged.size() / 3; i < damaged.size() / 3 + 64; ++i)
        damaged[i] = char(damaged[i] ^ 0x5A);
    writeBytes(scrambled, damaged);

    EXPECT_EQ(errorOf([&] { readToEnd(good, u"其他"_s); }), u"工作簿中没有工作表“其他”："_s + good);
    for (const QString &path : {empty, truncated, text, scrambled, dir.filePath(u"missing.xlsx"_s)}) {
        const QString error = errorOf([&] { readToEnd(path, u"数据信息"_s); });
        EXPECT_TRUE(error.contains(path)) << path.toStdString() << ": " << error.toStdString();
    }
    EXPECT_EQ(errorOf([&] { readToEnd(empty, u"数据信息"_s); }), u"工作簿是空文件："_s + empty);
}

// The sheet's deflate data as the archive holds it, damaged in the ways a broken copy or a
// hostile file damages it: each is refused in the words of the archive library, or read as it
// reads it.
TEST(SheetReader, DamagedDeflateDataIsRefusedOrReadAsBefore)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(u"good.xlsx"_s);
    createBlankWorkbook(good, u"数据信息"_s);
    {
        SheetStreamFill fill(good);
        for (int i = 0; i < 40000; ++i) // a sheet of megabytes, as large parts are unpacked
            fill.writeRow({u"第%1行"_s.arg(i), i});
        fill.finish();
    }
    const std::string part = "xl/worksheets/sheet1.xml";
    const std::string sheet = sheets::ZipReader(good).read(part);
    const std::string deflated = sheets::deflatePiece(sheet, 6, true);
    const quint32 crc = sheets::crc32Of(sheet);

    const struct {
        const char *what;
        std::string data;
        qint64 size;
        quint32 crc;
        QString error; // empty: read whole
    } cases[] = {
        {"as written", deflated, qint64(sheet.size()), crc, {}},
        {"a size off by one", deflated, qint64(sheet.size()) - 1, crc, {}},
        {"bytes after the stream", deflated + std::string(50, 'x'), qint64(sheet.size()), crc, {}},
        {"another CRC", deflated, qint64(sheet.size()), crc ^ 1, u"CRC error"_s},
        {"cut short", deflated.substr(0, deflated.size() - 100), qint64(sheet.size()), crc, u"CRC error"_s},
        {"no deflate data", std::string(deflated.size(), '\xFF'), qint64(sheet.size()), crc, u"Zlib error: data error"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QString::fromLatin1(c.what) + u".xlsx"_s);
        QFile::remove(path);
        QFile::copy(good, path);
        {
            sheets::ZipEdit edit(path);
            size_t at = 0;
            edit.replaceDeflated(part, c.size, qint64(c.data.size()), c.crc, [&](char *buffer, qint64 size) {
                const size_t n = std::min(size_t(size), c.data.size() - at);
                std::memcpy(buffer, c.data.data() + at, n);
                at += n;
                return qint64(n);
            });
            edit.commit();
        }
        const QString error = errorOf([&] { readToEnd(path, u"数据信息"_s); });
        if (c.error.isEmpty())
            EXPECT_EQ(error, QString());
        else
            EXPECT_EQ(error, u"工作簿已损坏："_s + path + u"（"_s + QString::fromStdString(part) + u"："_s + c.error +
                                 u"）"_s);
    }
}

TEST(SheetReader, TellsDateFormatsFromOthers)
{
    struct Case {
        int id;
        QString code;
        bool date;
    };
    const Case cases[] = {
        {14, {}, true},
        {22, {}, true},
        {0, {}, false},
        {2, {}, false},
        {49, {}, false},
        {164, u"yyyy\"年\"m\"月\"d\"日\""_s, true},
        {164, u"[$-F800]dddd, mmmm dd, yyyy"_s, true},
        {164, u"[h]:mm"_s, true},
        {164, u"#,##0.00\"元\""_s, false},
        {164, u"0.00_);[Red](0.00)"_s, false},
        {164, u"[Red]0.00"_s, false},
        {164, u"General"_s, false},
        {164, u"\"day\" 0"_s, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sheets::isDateFormat(c.id, c.code), c.date) << c.code.toStdString();
}

TEST(SheetReader, ReadsALegacyWorkbook)
{
    // Written by tests/fixtures/sheets/biff8_writer.py.
    const QString path = QStringLiteral(GRANWISE_FIXTURES) + u"/sheets/typed-legacy.xls"_s;
    EXPECT_EQ(SheetReader::sheetNames(path), (QStringList{u"首页"_s, u"数据"_s, u"填充"_s}));
    auto reader = SheetReader::open(path, u"数据"_s);
    QVector<CellValue> cells;
    ASSERT_TRUE(reader->nextRow(cells));
    EXPECT_EQ(reader->rowNumber(), 1);
    ASSERT_EQ(cells.size(), 6);
    EXPECT_EQ(cells[0].text, u"企业详细名称"_s);
    EXPECT_EQ(cells[1].type, CellValue::Type::Number);
    EXPECT_EQ(cells[1].number, 12.5);
    EXPECT_EQ(cells[2].number, 42);
    EXPECT_EQ(cells[3].type, CellValue::Type::DateTime);
    EXPECT_EQ(cells[3].toText(), u"2013-05-09"_s);
    EXPECT_EQ(cells[4].type, CellValue::Type::Empty);
    EXPECT_EQ(cells[5].text, u"010010"_s);
    ASSERT_TRUE(reader->nextRow(cells));
    EXPECT_EQ(reader->rowNumber(), 3);
    EXPECT_EQ(cells.value(2).text, u"第三行"_s);
    EXPECT_FALSE(reader->nextRow(cells));
    EXPECT_EQ(errorOf([&] { readToEnd(path, u"数据信息"_s); }), u"工作簿中没有工作表“数据信息”："_s + path);
}

TEST(SheetReader, ReadingAheadGivesTheSameRowsAndErrors)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"many.xlsx"_s);
    createBlankWorkbook(path, u"数据信息"_s);
    {
        SheetStreamFill fill(path);
        for (int i = 1; i <= 5000; ++i) {
            fill.skipTo(i * 2); // every other row
            fill.writeRow({i, u"第%1行"_s.arg(i), i % 3 ? QVariant(i * 0.5) : QVariant()});
        }
        fill.finish();
    }
    auto direct = SheetReader::open(path, u"数据信息"_s);
    auto ahead = SheetReader::readAhead(SheetReader::open(path, u"数据信息"_s));
    EXPECT_EQ(ahead->rowCountHint(), 10000);
    QVector<CellValue> a, b;
    int rows = 0;
    while (direct->nextRow(a)) {
        ASSERT_TRUE(ahead->nextRow(b));
        ASSERT_EQ(ahead->rowNumber(), direct->rowNumber());
        ASSERT_EQ(b.size(), a.size());
        for (int i = 0; i < a.size(); ++i)
            ASSERT_EQ(b[i].toText(), a[i].toText());
        ++rows;
    }
    EXPECT_FALSE(ahead->nextRow(b));
    EXPECT_EQ(rows, 5000);

    // Leaving early stops the reading thread.
    auto abandoned = SheetReader::readAhead(SheetReader::open(path, u"数据信息"_s));
    ASSERT_TRUE(abandoned->nextRow(b));
    abandoned.reset();

    // A damage found while reading ahead comes out of nextRow.
    QByteArray bytes = readBytes(path);
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i)
        bytes[i] = char(bytes[i] ^ 0x5A);
    const QString damaged = dir.filePath(u"damaged.xlsx"_s);
    writeBytes(damaged, bytes);
    const QString error = errorOf([&] {
        auto reader = SheetReader::readAhead(SheetReader::open(damaged, u"数据信息"_s));
        QVector<CellValue> cells;
        while (reader->nextRow(cells)) {
        }
    });
    EXPECT_TRUE(error.startsWith(u"工作簿已损坏："_s + damaged)) << error.toStdString();
}
