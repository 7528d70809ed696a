#pragma once

#include "UploadRows.h"

#include <QtGlobal>
#include <functional>
#include <vector>

namespace granwise {

// The project keys a file has brought so far, held as 64-bit prints in an open table (16 bytes
// a key) rather than as texts: a file of hundreds of thousands of projects must not hold every
// key's text in memory. Two keys may share a print; a print seen before is therefore confirmed
// by `confirm` (the database: is a row of this file stored under that key?), so that the
// answer is exact.
class FileKeys {
public:
    using Confirm = std::function<bool(const ProjectKey &key)>;
    explicit FileKeys(Confirm confirm);

    // Whether the key came before in the file; notes it either way.
    bool seenBefore(const ProjectKey &key);

private:
    Confirm m_confirm;
    std::vector<quint64> m_slots; // 0: empty
    size_t m_used = 0;

    bool insert(quint64 print); // false when the print was there
};

} // namespace granwise
