#include "XmlPartStream.h"

#include "ReadLimits.h"
#include "store/Error.h"

#include <cstdlib>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kChunk = 256 * 1024;

} // namespace

// The memory an expat parser holds. Expat's allocation functions get no context, so the
// parser being called is named in a thread-local while the call lasts; each block carries its
// owner and size in a header, so that reallocating and freeing need no lookup.
struct XmlPartStream::Memory {
    qint64 used = 0;
    bool exceeded = false;

    struct alignas(std::max_align_t) Header {
        Memory *owner;
        size_t size;
    };

    static thread_local Memory *current;

    static void *allocate(size_t size)
    {
        Memory *owner = current;
        if (owner && !owner->admits(size))
            return nullptr;
        auto *header = static_cast<Header *>(std::malloc(sizeof(Header) + size));
        if (!header)
            return nullptr;
        *header = {owner, size};
        if (owner)
            owner->used += qint64(size);
        return header + 1;
    }
    static void *reallocate(void *block, size_t size)
    {
        if (!block)
            return allocate(size);
        Header *header = static_cast<Header *>(block) - 1;
        Memory *owner = header->owner;
        const size_t old = header->size;
        if (owner && size > old && !owner->admits(size - old))
            return nullptr;
        auto *moved = static_cast<Header *>(std::realloc(header, sizeof(Header) + size));
        if (!moved)
            return nullptr;
        moved->size = size;
        if (owner)
            owner->used += qint64(size) - qint64(old);
        return moved + 1;
    }
    static void release(void *block)
    {
        if (!block)
            return;
        Header *header = static_cast<Header *>(block) - 1;
        if (header->owner)
            header->owner->used -= qint64(header->size);
        std::free(header);
    }

    bool admits(size_t more)
    {
        if (used + qint64(more) <= limits::kMaxXmlParserBytes)
            return true;
        exceeded = true;
        return false;
    }

    // Names this parser as the one allocating while an expat call lasts.
    struct Calling {
        explicit Calling(Memory *memory) : previous(current) { current = memory; }
        ~Calling() { current = previous; }
        Memory *previous;
    };
};

thread_local XmlPartStream::Memory *XmlPartStream::Memory::current = nullptr;

XmlPartStream::XmlPartStream(const ZipReader &zip, const std::string &part, Unpacking unpacking)
    : m_zip(zip), m_part(part), m_memory(std::make_unique<Memory>())
{
    if (unpacking == Unpacking::Ahead)
        m_ahead = std::make_unique<ZipEntryPrefetch>(zip, part);
    else
        m_entry = std::make_unique<ZipEntryStream>(zip, part);
    static const XML_Memory_Handling_Suite suite{&Memory::allocate, &Memory::reallocate, &Memory::release};
    const Memory::Calling calling(m_memory.get());
    m_parser = XML_ParserCreate_MM("UTF-8", &suite, nullptr);
    if (!m_parser)
        throw Error(u"内存不足"_s);
}

XmlPartStream::~XmlPartStream()
{
    const Memory::Calling calling(m_memory.get());
    XML_ParserFree(m_parser);
}

void XmlPartStream::refuseLongContent() const
{
    limits::refuseBeyondLimit(m_zip.path(), u"部件 %1 中有长于 %2 的 XML 内容"_s.arg(
                                                QString::fromStdString(m_part), limits::byteSize(limits::kMaxXmlParserBytes)));
}

void XmlPartStream::suspend()
{
    XML_StopParser(m_parser, XML_TRUE);
}

void XmlPartStream::abort()
{
    XML_StopParser(m_parser, XML_FALSE);
}

bool XmlPartStream::feed()
{
    const Memory::Calling calling(m_memory.get());
    XML_Status status;
    if (m_suspended) {
        status = XML_ResumeParser(m_parser);
    } else {
        if (m_end)
            return false;
        void *buffer = XML_GetBuffer(m_parser, int(kChunk));
        if (!buffer) {
            if (m_memory->exceeded)
                refuseLongContent();
            throw Error(u"内存不足"_s);
        }
        const qint64 n = m_ahead ? m_ahead->read(static_cast<char *>(buffer), kChunk)
                                 : m_entry->read(static_cast<char *>(buffer), kChunk);
        m_end = n == 0;
        status = XML_ParseBuffer(m_parser, int(n), m_end);
    }
    m_suspended = status == XML_STATUS_SUSPENDED;
    if (status == XML_STATUS_ERROR) {
        const XML_Error code = XML_GetErrorCode(m_parser);
        if (code == XML_ERROR_NO_MEMORY && m_memory->exceeded)
            refuseLongContent();
        m_malformed = code != XML_ERROR_ABORTED && code != XML_ERROR_NO_MEMORY;
        throw Error(u"工作簿已损坏：%1（%2 第 %3 行：%4）"_s.arg(m_zip.path(), QString::fromStdString(m_part),
                                                             QString::number(XML_GetCurrentLineNumber(m_parser)),
                                                             QString::fromUtf8(XML_ErrorString(code))));
    }
    return m_suspended || !m_end;
}

} // namespace granwise::sheets
