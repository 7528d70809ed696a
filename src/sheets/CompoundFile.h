#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

namespace granwise::sheets {

// A compound file (the container of a legacy .xls workbook), read whole and checked before any
// of it is used: every sector number, chain and size is tested against the file's real size,
// so that a damaged or hostile file is refused with Error ("工作簿已损坏：{path}（…）") and never
// read out of bounds or looped in.
class CompoundFile {
public:
    explicit CompoundFile(const QString &path);

    // The stream of that name (ignoring case) at the top level of the file, or nothing.
    std::optional<QByteArray> stream(const QString &name) const;
    const QString &path() const { return m_path; }

private:
    struct Entry {
        QString name;
        quint8 type = 0; // 1 storage, 2 stream, 5 root
        quint32 left = 0, right = 0, child = 0;
        quint32 start = 0;
        quint64 size = 0;
    };

    QString m_path;
    QByteArray m_bytes;
    int m_sectorShift = 9;
    quint32 m_sectorCount = 0;
    quint32 m_miniCutoff = 4096;
    QVector<quint32> m_fat;
    QVector<quint32> m_miniFat;
    QVector<Entry> m_entries;
    QByteArray m_miniStream;

    [[noreturn]] void damaged(const QString &what) const;
    quint32 word(qsizetype offset) const;
    const char *sector(quint32 index) const;
    // The sectors of a chain through `table`, checked: in range, no loop, ending properly.
    QVector<quint32> chain(quint32 start, const QVector<quint32> &table, quint32 count) const;
    QByteArray readChain(quint32 start, quint64 size) const;
    QByteArray readMiniChain(quint32 start, quint64 size) const;
    void readFat(quint32 fatSectors, quint32 firstDifat, quint32 difatSectors);
    void readDirectory(quint32 firstSector);
};

} // namespace granwise::sheets
