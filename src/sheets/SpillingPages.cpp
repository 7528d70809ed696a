#include "SpillingPages.h"

#include "store/Error.h"

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

SpillingPages::SpillingPages(qint64 pageSize, size_t residentPages, size_t recentPages)
    : m_pageSize(pageSize), m_residentPages(residentPages), m_recentPages(std::max<size_t>(recentPages, 1))
{
}

SpillingPages::~SpillingPages() = default;
SpillingPages::SpillingPages(SpillingPages &&) noexcept = default;
SpillingPages &SpillingPages::operator=(SpillingPages &&) noexcept = default;

char *SpillingPages::begin()
{
    if (m_pages.size() > m_residentPages)
        spill(m_pages.size() - 1); // the page just filled
    m_pages.emplace_back(new char[size_t(m_pageSize)]);
    return m_pages.back().get();
}

void SpillingPages::spill(size_t index)
{
    if (!m_file) {
        m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + u"/granwise-strings-XXXXXX"_s);
        if (!m_file->open())
            throw Error(u"无法创建临时文件：%1"_s.arg(m_file->errorString()));
    }
    const char *bytes = m_pages[index].get();
    for (qint64 done = 0; done < m_pageSize;) {
        const ssize_t n = ::pwrite(m_file->handle(), bytes + done, size_t(m_pageSize - done), fileOffset(index) + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw Error(u"无法写入临时文件：%1"_s.arg(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC))));
        done += n;
    }
    m_pages[index].reset();
}

// Straight from the file, one call a read: a string left behind is a few bytes, and a buffered
// read would fetch a buffer's worth for each.
void SpillingPages::readFromFile(qint64 offset, char *out, qint64 size) const
{
    for (qint64 done = 0; done < size;) {
        const ssize_t n = ::pread(m_file->handle(), out + done, size_t(size - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw Error(u"无法读取临时文件：%1"_s.arg(n < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                                                              : u"文件比写入的短"_s));
        done += n;
    }
}

const char *SpillingPages::page(size_t index) const
{
    if (const char *bytes = m_pages[index].get())
        return bytes;
    Recent *oldest = nullptr;
    for (Recent &r : m_recent) {
        if (r.page == qint64(index)) {
            r.lastUse = ++m_uses;
            return r.bytes.get();
        }
        if (!oldest || r.lastUse < oldest->lastUse)
            oldest = &r;
    }
    if (qint64(index) < m_furthestRead)
        return nullptr; // left behind: its bytes are read where they are wanted
    if (m_recent.size() < m_recentPages) {
        m_recent.emplace_back();
        oldest = &m_recent.back();
        oldest->bytes.reset(new char[size_t(m_pageSize)]);
    }
    readFromFile(fileOffset(index), oldest->bytes.get(), m_pageSize);
    oldest->page = qint64(index);
    oldest->lastUse = ++m_uses;
    m_furthestRead = qint64(index);
    return oldest->bytes.get();
}

void SpillingPages::read(size_t index, qint64 offset, char *out, qint64 size) const
{
    if (const char *bytes = m_pages[index].get())
        std::memcpy(out, bytes + offset, size_t(size));
    else
        readFromFile(fileOffset(index) + offset, out, size);
}

} // namespace granwise::sheets
