#include "TestSupport.h"
#include "sheets/SheetReader.h"
#include "store/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

QMap<int, QVector<CellValue>> readAll(const QString &path, const QString &sheet)
{
    QMap<int, QVector<CellValue>> rows;
    auto reader = SheetReader::open(path, sheet);
    QVector<CellValue> cells;
    while (reader->nextRow(cells))
        rows.insert(reader->rowNumber(), cells);
    return rows;
}

QByteArray fixtureBytes(const QString &name)
{
    QFile f(fixture(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A workbook written by tests/fixtures/sheets/biff8_writer.py: its stream "Workbook" starts at
// the first sector (file offset 512) and runs on without a gap, so its records can be found and
// changed in place.
class LegacyBytes {
public:
    explicit LegacyBytes(QByteArray bytes) : m_bytes(std::move(bytes))
    {
        const quint32 directorySector = u32(48);
        m_streamEnd = kStreamStart + u32(kStreamStart + qsizetype(directorySector) * 512 + 128 + 120);
    }

    struct Record {
        qsizetype at; // offset of the record's header in the file
        quint16 type;
        quint16 length;
    };
    QVector<Record> records() const
    {
        QVector<Record> list;
        for (qsizetype at = kStreamStart; at + 4 <= m_streamEnd;) {
            const Record r{at, u16(at), u16(at + 2)};
            list << r;
            at += 4 + r.length;
        }
        return list;
    }
    // The n-th record (from 0) of a type.
    Record record(quint16 type, int n = 0) const
    {
        for (const Record &r : records())
            if (r.type == type && n-- == 0)
                return r;
        ADD_FAILURE() << "no record " << type;
        return {};
    }

    quint16 u16(qsizetype at) const { return read<quint16>(at); }
    quint32 u32(qsizetype at) const { return read<quint32>(at); }
    void set16(qsizetype at, quint16 v) { write(at, v); }
    void set32(qsizetype at, quint32 v) { write(at, v); }
    QByteArray &bytes() { return m_bytes; }

    static constexpr qsizetype kStreamStart = 512;

private:
    // Offsets come from the file itself: one past its end fails the test instead of reading or
    // writing beside the bytes.
    bool holds(qsizetype at, qsizetype size) const
    {
        if (at >= 0 && at + size <= m_bytes.size())
            return true;
        ADD_FAILURE() << "offset " << at << " is outside the file of " << m_bytes.size() << " bytes";
        return false;
    }
    template <typename T>
    T read(qsizetype at) const
    {
        T value = 0;
        if (holds(at, sizeof value))
            for (qsizetype i = qsizetype(sizeof value) - 1; i >= 0; --i)
                value = T(value << 8 | quint8(m_bytes.at(at + i)));
        return value;
    }
    template <typename T>
    void write(qsizetype at, T value)
    {
        if (holds(at, sizeof value))
            for (qsizetype i = 0; i < qsizetype(sizeof value); ++i, value = T(value >> 8))
                m_bytes[at + i] = char(value & 0xFF);
    }

    QByteArray m_bytes;
    qsizetype m_streamEnd = 0;
};

constexpr quint16 kDimensions = 0x0200, kNumber = 0x0203, kSst = 0x00FC, kLabelSst = 0x00FD, kBoundSheet = 0x0085;

} // namespace

TEST(LegacyWorkbook, TextsGoOnAcrossRecords)
{
    // Written by tests/fixtures/sheets/biff8_writer.py long-text: shared strings longer than a
    // record, cut inside their characters, going on in two-byte or one-byte characters.
    const QMap<int, QVector<CellValue>> rows = readAll(fixture(u"sheets/long-text.xls"_s), u"数据信息"_s);
    ASSERT_EQ(rows.keys(), (QList<int>{1, 2, 3, 4, 5}));
    QString chinese, letters;
    for (int i = 0; i < 16000; ++i)
        chinese += QChar(char16_t(0x4E00 + i % 2000));
    for (int i = 0; i < 20000; ++i)
        letters += QChar(u"abcdefghij"[i % 10]);
    EXPECT_EQ(rows[1].value(0).text, u"短"_s);
    EXPECT_EQ(rows[2].value(0).text, chinese);
    EXPECT_EQ(rows[2].value(1).text, u"after"_s);
    EXPECT_EQ(rows[3].value(0).text, letters);
    EXPECT_EQ(rows[4].value(0).text, u"粮"_s + QString(9000, u'x'));
    EXPECT_EQ(rows[5].value(0).text, u"末尾"_s);
}

TEST(LegacyWorkbook, DamagedOrHostileRecordsAreRefusedNamingTheFile)
{
    QTemporaryDir dir;
    const QByteArray original = fixtureBytes(u"sheets/typed-legacy.xls"_s);
    ASSERT_FALSE(original.isEmpty());
    const struct {
        const char *label;
        QString sheet;
        std::function<void(LegacyBytes &)> change;
        QString reason; // the refusal after the file's name
    } cases[] = {
        {"a second dimensions record of 100 001 rows", u"填充"_s,
         [](LegacyBytes &b) {
             const auto r = b.record(kNumber, 200);
             b.set16(r.at, kDimensions);
             b.set32(r.at + 4, 0);
             b.set32(r.at + 8, 100001);
             b.set16(r.at + 12, 0);
             b.set16(r.at + 14, 1);
         },
         u"（工作表“填充”的范围记录超出 65536 行、256 列）"_s},
        {"a shared-string table declaring two thousand million strings", u"数据"_s,
         [](LegacyBytes &b) { b.set32(b.record(kSst).at + 8, 0x7FFFFFFF); },
         u"（共享字符串表声明的个数 2147483647 超出了它的记录）"_s},
        {"a shared-string index past the table", u"数据"_s,
         [](LegacyBytes &b) { b.set32(b.record(kLabelSst, 1).at + 4 + 6, 1000); }, // the first is on 首页
         u"（第 1 行的共享字符串编号 1000 不对）"_s},
        {"a cell in column 300", u"填充"_s, [](LegacyBytes &b) { b.set16(b.record(kNumber, 5).at + 4 + 2, 300); },
         u"（第 4 行的列号超出 256 列）"_s},
        {"a sheet said to start past the stream", u"填充"_s,
         [](LegacyBytes &b) { b.set32(b.record(kBoundSheet, 2).at + 4, 0x00FFFFFF); },
         u"（工作表“填充”的位置不对）"_s},
        {"a record longer than the stream", u"填充"_s,
         [](LegacyBytes &b) { b.set16(b.record(kNumber, 399).at + 2, 0xFFFF); }, u"（记录超出了工作簿流）"_s},
        {"a sector chain that loops", u"数据"_s,
         [](LegacyBytes &b) {
             // The first sector of the file allocation table: make the stream's first sector
             // point to itself.
             const qsizetype fat = 512 + qsizetype(b.u32(76)) * 512;
             b.set32(fat, 0);
         },
         u"（扇区链成环）"_s},
        {"a sector chain leaving the file", u"数据"_s,
         [](LegacyBytes &b) { b.set32(512 + qsizetype(b.u32(76)) * 512 + 4, 0x00FFFFF0); },
         u"（扇区链指向文件之外）"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        LegacyBytes bytes(original);
        c.change(bytes);
        const QString path = dir.filePath(u"hostile.xls"_s);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes.bytes());
        out.close();
        const QString error = errorOf([&] { readAll(path, c.sheet); });
        EXPECT_TRUE(error.startsWith(u"工作簿已损坏"_s)) << error.toStdString();
        EXPECT_TRUE(error.endsWith(path + c.reason)) << error.toStdString();
    }

    // Cut short anywhere, the file is refused, never read past its end.
    for (const qsizetype size : {qsizetype(100), qsizetype(600), original.size() / 2, original.size() - 700}) {
        const QString path = dir.filePath(u"cut.xls"_s);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(original.left(size));
        out.close();
        const QString error = errorOf([&] { readAll(path, u"填充"_s); });
        EXPECT_TRUE(error.contains(path)) << size << " " << error.toStdString();
    }
}
