#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

namespace granwise {

// The print the journal keeps of a project it added, to tell later whether the project was
// changed since: 64-bit FNV-1a over the type (SQLite's type code) and the bytes of each value,
// as SQLite gives them back from the stored row. The columns are those of projectPrintColumns(),
// in groups of at most kProjectPrintGroup whose prints are printed again as integers (an SQL
// function takes at most 127 arguments).
class ValuePrint {
public:
    void addNull() { addType(kNull); }
    void addInteger(qint64 value)
    {
        addType(kInteger);
        mix(&value, sizeof value);
    }
    void addFloat(double value)
    {
        addType(kFloat);
        mix(&value, sizeof value);
    }
    // A text's UTF-8 (or a blob's bytes; none when `bytes` is null); `type` is SQLite's type
    // code of the value.
    void addBytes(int type, const char *bytes, int size)
    {
        addType(type);
        mix(&size, sizeof size);
        if (bytes && size > 0)
            mix(bytes, size_t(size));
    }
    void addType(int type)
    {
        const auto byte = static_cast<unsigned char>(type);
        mix(&byte, 1);
    }
    qint64 value() const;

    static constexpr int kInteger = 1, kFloat = 2, kText = 3, kNull = 5; // SQLite's type codes

private:
    quint64 m_hash = 14695981039346656037ULL;
    void mix(const void *data, size_t size)
    {
        const auto *bytes = static_cast<const unsigned char *>(data);
        quint64 hash = m_hash;
        for (size_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ULL;
        }
        m_hash = hash;
    }
};

constexpr int kProjectPrintGroup = 100;

// The printed columns: every project column but the id and the validation status (a later check
// changes the status of what an import brought in, not what the unit reported).
QStringList projectPrintColumns();

} // namespace granwise
