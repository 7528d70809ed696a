#include "FileKeys.h"

#include <QHash>

namespace granwise {

FileKeys::FileKeys(Confirm confirm) : m_confirm(std::move(confirm)), m_slots(1024, 0) {}

bool FileKeys::seenBefore(const ProjectKey &key)
{
    quint64 print = qHashMulti(0x9E3779B97F4A7C15ULL, key.first, key.second);
    if (print == 0)
        print = 1; // 0 marks an empty slot
    if (insert(print))
        return false;
    return m_confirm(key);
}

bool FileKeys::insert(quint64 print)
{
    if (2 * (m_used + 1) > m_slots.size()) {
        std::vector<quint64> old(m_slots.size() * 2, 0);
        old.swap(m_slots);
        m_used = 0;
        for (const quint64 p : old)
            if (p != 0)
                insert(p);
    }
    const size_t mask = m_slots.size() - 1;
    for (size_t i = size_t(print) & mask;; i = (i + 1) & mask) {
        if (m_slots[i] == print)
            return false;
        if (m_slots[i] == 0) {
            m_slots[i] = print;
            ++m_used;
            return true;
        }
    }
}

} // namespace granwise
