#include "CompoundFile.h"

#include "store/Error.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <vector>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr quint32 kLastRegularSector = 0xFFFFFFFA;
constexpr int kHeaderDifatEntries = 109;
constexpr int kEntrySize = 128;
constexpr int kMiniSectorSize = 64;
const QByteArray kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

quint32 wordAt(const char *p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}

quint16 halfAt(const char *p)
{
    quint16 v;
    std::memcpy(&v, p, 2);
    return qFromLittleEndian(v);
}

} // namespace

CompoundFile::CompoundFile(const QString &path) : m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(u"工作簿打不开：%1（%2）"_s.arg(path, file.errorString()));
    m_bytes = file.readAll(); // the real size bounds everything read below
    if (m_bytes.size() < 512 || !m_bytes.startsWith(kSignature))
        damaged(u"不是复合文档"_s);
    const char *header = m_bytes.constData();
    const quint16 major = halfAt(header + 26);
    m_sectorShift = halfAt(header + 30);
    if (halfAt(header + 28) != 0xFFFE || !((major == 3 && m_sectorShift == 9) || (major == 4 && m_sectorShift == 12)) ||
        halfAt(header + 32) != 6)
        damaged(u"文件头不对"_s);
    const qsizetype sectorSize = qsizetype(1) << m_sectorShift;
    // Sectors follow the header, which takes one sector; a last sector cut short reads as zeros.
    const qsizetype body = m_bytes.size() - sectorSize;
    if (body <= 0)
        damaged(u"文件太短"_s);
    const qint64 sectors = (body + sectorSize - 1) / sectorSize;
    if (sectors > qint64(kLastRegularSector))
        damaged(u"文件太大"_s);
    m_sectorCount = quint32(sectors);
    m_bytes.append(QByteArray(sectorSize + m_sectorCount * sectorSize - m_bytes.size(), '\0'));

    m_miniCutoff = word(56);
    readFat(word(44), word(68), word(72));
    readDirectory(word(48));
    const Entry &root = m_entries.at(0);
    if (root.type != 5)
        damaged(u"目录没有根"_s);
    if (root.size > 0)
        m_miniStream = readChain(root.start, root.size);
    // The mini FAT: sector numbers of the mini stream, itself stored in regular sectors.
    const quint32 miniFatStart = word(60);
    if (miniFatStart != kEndOfChain && miniFatStart != kNoStream) {
        const QVector<quint32> sectorsOfMiniFat = chain(miniFatStart, m_fat, m_sectorCount);
        for (quint32 s : sectorsOfMiniFat) {
            const char *p = sector(s);
            for (qsizetype i = 0; i < sectorSize / 4; ++i)
                m_miniFat.append(wordAt(p + 4 * i));
        }
    }
}

void CompoundFile::damaged(const QString &what) const
{
    throw Error(u"工作簿已损坏或不是 Excel 工作簿：%1（%2）"_s.arg(m_path, what));
}

quint32 CompoundFile::word(qsizetype offset) const
{
    return wordAt(m_bytes.constData() + offset);
}

const char *CompoundFile::sector(quint32 index) const
{
    return m_bytes.constData() + ((qsizetype(index) + 1) << m_sectorShift);
}

QVector<quint32> CompoundFile::chain(quint32 start, const QVector<quint32> &table, quint32 count) const
{
    QVector<quint32> sectors;
    const quint32 limit = std::min<quint32>(count, quint32(table.size()));
    for (quint32 s = start; s != kEndOfChain; s = table.at(s)) {
        if (s >= limit)
            damaged(u"扇区链指向文件之外"_s);
        if (quint32(sectors.size()) >= limit)
            damaged(u"扇区链成环"_s);
        sectors.append(s);
    }
    return sectors;
}

void CompoundFile::readFat(quint32 fatSectors, quint32 firstDifat, quint32 difatSectors)
{
    if (fatSectors == 0 || fatSectors > m_sectorCount || difatSectors > m_sectorCount)
        damaged(u"扇区表的大小不对"_s);
    QVector<quint32> fatSectorList;
    for (int i = 0; i < kHeaderDifatEntries && quint32(fatSectorList.size()) < fatSectors; ++i)
        fatSectorList.append(word(76 + 4 * i));
    const qsizetype perSector = (qsizetype(1) << m_sectorShift) / 4;
    quint32 next = firstDifat;
    for (quint32 n = 0; quint32(fatSectorList.size()) < fatSectors; ++n) {
        if (n >= difatSectors || next >= m_sectorCount)
            damaged(u"扇区表的索引不对"_s);
        const char *p = sector(next);
        for (qsizetype i = 0; i < perSector - 1 && quint32(fatSectorList.size()) < fatSectors; ++i)
            fatSectorList.append(wordAt(p + 4 * i));
        next = wordAt(p + 4 * (perSector - 1));
    }
    m_fat.reserve(qsizetype(fatSectors) * perSector);
    for (quint32 s : std::as_const(fatSectorList)) {
        if (s >= m_sectorCount)
            damaged(u"扇区表指向文件之外"_s);
        const char *p = sector(s);
        for (qsizetype i = 0; i < perSector; ++i)
            m_fat.append(wordAt(p + 4 * i));
    }
}

void CompoundFile::readDirectory(quint32 firstSector)
{
    const qsizetype sectorSize = qsizetype(1) << m_sectorShift;
    for (quint32 s : chain(firstSector, m_fat, m_sectorCount)) {
        const char *p = sector(s);
        for (qsizetype at = 0; at + kEntrySize <= sectorSize; at += kEntrySize) {
            const char *e = p + at;
            Entry entry;
            const quint16 nameBytes = std::min<quint16>(halfAt(e + 64), 64);
            for (int i = 0; i + 1 < nameBytes; i += 2) {
                const char16_t c = halfAt(e + i);
                if (c == 0)
                    break;
                entry.name.append(QChar(c));
            }
            entry.type = quint8(e[66]);
            entry.left = wordAt(e + 68);
            entry.right = wordAt(e + 72);
            entry.child = wordAt(e + 76);
            entry.start = wordAt(e + 116);
            entry.size = wordAt(e + 120);
            if (m_sectorShift == 12)
                entry.size |= quint64(wordAt(e + 124)) << 32; // version 3 files may leave garbage here
            m_entries.append(entry);
        }
    }
    if (m_entries.isEmpty())
        damaged(u"没有目录"_s);
}

QByteArray CompoundFile::readChain(quint32 start, quint64 size) const
{
    const QVector<quint32> sectors = chain(start, m_fat, m_sectorCount);
    const qsizetype sectorSize = qsizetype(1) << m_sectorShift;
    if (size > quint64(sectors.size()) * quint64(sectorSize))
        damaged(u"流比它的扇区长"_s);
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    for (quint32 s : sectors) {
        const qsizetype n = std::min<qsizetype>(sectorSize, qsizetype(size) - bytes.size());
        if (n <= 0)
            break;
        bytes.append(sector(s), n);
    }
    return bytes;
}

QByteArray CompoundFile::readMiniChain(quint32 start, quint64 size) const
{
    const quint32 miniSectors = quint32(m_miniStream.size() / kMiniSectorSize);
    const QVector<quint32> sectors = chain(start, m_miniFat, miniSectors);
    if (size > quint64(sectors.size()) * kMiniSectorSize)
        damaged(u"流比它的扇区长"_s);
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    for (quint32 s : sectors) {
        const qsizetype n = std::min<qsizetype>(kMiniSectorSize, qsizetype(size) - bytes.size());
        if (n <= 0)
            break;
        bytes.append(m_miniStream.constData() + qsizetype(s) * kMiniSectorSize, n);
    }
    return bytes;
}

std::optional<QByteArray> CompoundFile::stream(const QString &name) const
{
    // The entries of the top level form a tree under the root's child; each is visited once.
    std::vector<bool> visited(size_t(m_entries.size()), false);
    QVector<quint32> pending{m_entries.at(0).child};
    while (!pending.isEmpty()) {
        const quint32 id = pending.takeLast();
        if (id == kNoStream)
            continue;
        if (id >= quint32(m_entries.size()) || visited[id])
            damaged(u"目录不对"_s);
        visited[id] = true;
        const Entry &entry = m_entries.at(id);
        if (entry.type == 2 && entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (entry.size == 0)
                return QByteArray();
            return entry.size < m_miniCutoff ? readMiniChain(entry.start, entry.size)
                                             : readChain(entry.start, entry.size);
        }
        pending << entry.left << entry.right;
    }
    return std::nullopt;
}

} // namespace granwise::sheets
