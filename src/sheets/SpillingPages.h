#pragma once

#include <QTemporaryFile>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace granwise::sheets {

// Pages of a fixed size filled one after another, held in bounded memory however many there
// are: the first `residentPages` stay in memory, each later one goes to a temporary file once
// the next is begun. A reader that moves forward through the pages gets a later page read
// back into one of `recentPages` buffers; a page it has left behind is not read back whole,
// its bytes are read where they are wanted (read()).
//
// Meant for tables written once and then read mostly in the order they were written, as a
// workbook's shared strings are: the texts a sheet uses most come first and stay in memory.
class SpillingPages {
public:
    SpillingPages(qint64 pageSize, size_t residentPages, size_t recentPages);
    ~SpillingPages();
    SpillingPages(SpillingPages &&) noexcept;
    SpillingPages &operator=(SpillingPages &&) noexcept;

    qint64 pageSize() const { return m_pageSize; }
    size_t count() const { return m_pages.size(); }
    // Begins a new page and returns it to be filled; the page before it is full from now on.
    char *begin();
    // The page being filled (the last one begun).
    char *last() { return m_pages.back().get(); }
    // The bytes of a page, or nullptr for a page left behind in the file (see read()).
    const char *page(size_t index) const;
    // Bytes of a page wherever it is, for one left behind.
    void read(size_t index, qint64 offset, char *out, qint64 size) const;

private:
    qint64 m_pageSize;
    size_t m_residentPages;
    size_t m_recentPages;
    std::vector<std::unique_ptr<char[]>> m_pages; // null once spilled
    std::unique_ptr<QTemporaryFile> m_file;       // pages from m_residentPages on
    struct Recent {
        qint64 page = -1;
        quint64 lastUse = 0;
        std::unique_ptr<char[]> bytes;
    };
    mutable std::vector<Recent> m_recent;
    mutable quint64 m_uses = 0;
    mutable qint64 m_furthestRead = -1; // the furthest page read back into m_recent

    void spill(size_t index);
    qint64 fileOffset(size_t index) const { return qint64(index - m_residentPages) * m_pageSize; }
    void readFromFile(qint64 offset, char *out, qint64 size) const;
};

} // namespace granwise::sheets
