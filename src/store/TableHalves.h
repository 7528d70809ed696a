#pragma once

#include "Database.h"

#include <QString>
#include <exception>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace granwise {

// Rowids from `first` to `last`; none when `first` is past `last`.
struct RowidRange {
    qint64 first = 1;
    qint64 last = 0;
};

// The smallest and largest rowid of `table` (a name of the program's own schema).
RowidRange rowidRange(Connection &connection, const QString &table);

// From this many rowids on, a table is worth reading in two halves at once.
inline constexpr qint64 kTwoHalvesFrom = 20000;

// Reads `table` with `read(connection, range)`: for a large table in two halves of its rowids at
// once, the first on `connection` and the second on another thread through a read-only
// connection of its own; for a small one in a single range over all of it. The caller holds
// a lock on `connection` that keeps everybody else from writing (a transaction begun
// "immediate"), so that both halves see the same rows. Returns the parts, the first half's
// first; an error of the first half is thrown once the second has ended.
template<typename Read>
auto readInHalves(Connection &connection, const QString &databasePath, const QString &table, Read read)
    -> std::vector<decltype(read(connection, RowidRange{}))>
{
    using Part = decltype(read(connection, RowidRange{}));
    std::vector<Part> parts;
    const RowidRange all = rowidRange(connection, table);
    if (all.last - all.first + 1 < kTwoHalvesFrom) {
        parts.push_back(read(connection, all));
        return parts;
    }
    const qint64 middle = all.first + (all.last - all.first) / 2;
    std::optional<Part> second;
    std::exception_ptr secondError;
    {
        std::jthread helper([&] {
            try {
                Connection reader(databasePath, Connection::Mode::ReadOnly);
                second = read(reader, RowidRange{middle + 1, all.last});
            } catch (...) {
                secondError = std::current_exception();
            }
        });
        parts.push_back(read(connection, RowidRange{all.first, middle})); // the helper is joined if this throws
    }
    // A helper that could not read (a database it may not open as it is) leaves its half to
    // `connection`, where an error that is the table's own comes again.
    parts.push_back(secondError ? read(connection, RowidRange{middle + 1, all.last}) : std::move(*second));
    return parts;
}

} // namespace granwise
