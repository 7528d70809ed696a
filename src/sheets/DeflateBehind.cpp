#include "DeflateBehind.h"

#include "store/Error.h"

#include <QDir>
#include <zlib.h>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

constexpr size_t kQueued = 4;
constexpr size_t kOutChunk = 256 * 1024;

void initRaw(z_stream &z, int level)
{
    z = {};
    // Negative window bits: raw deflate data, as a zip entry holds it.
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Error(u"内存不足"_s);
}

// Deflates `bytes` with `flush`, appending the output to `out`.
void deflateInto(z_stream &z, const std::string &bytes, int flush, std::string &out)
{
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    z.avail_in = uInt(bytes.size());
    do {
        const size_t at = out.size();
        out.resize(at + kOutChunk);
        z.next_out = reinterpret_cast<Bytef *>(out.data() + at);
        z.avail_out = uInt(kOutChunk);
        const int status = deflate(&z, flush);
        if (status == Z_STREAM_ERROR)
            throw Error(u"压缩失败"_s);
        out.resize(at + kOutChunk - z.avail_out);
    } while (z.avail_out == 0 || z.avail_in > 0);
}

} // namespace

struct DeflateBehind::Stream {
    z_stream z;
    ~Stream() { deflateEnd(&z); }
};

DeflateBehind::DeflateBehind(int level) : m_stream(std::make_unique<Stream>())
{
    initRaw(m_stream->z, level);
    m_file.setFileTemplate(QDir::tempPath() + u"/granwise-deflated-XXXXXX"_s);
    if (!m_file.open())
        throw Error(u"临时文件无法建立：%1（%2）"_s.arg(m_file.fileTemplate(), m_file.errorString()));
    m_thread = std::thread([this] { run(); });
}

DeflateBehind::~DeflateBehind()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DeflateBehind::write(std::string &bytes)
{
    if (bytes.empty())
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < kQueued || m_error; });
    if (m_error)
        std::rethrow_exception(m_error);
    m_queue.push_back(std::move(bytes));
    bytes = {};
    if (!m_spare.empty()) {
        bytes = std::move(m_spare.back());
        m_spare.pop_back();
    }
    lock.unlock();
    m_changed.notify_all();
}

void DeflateBehind::finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_error)
        std::rethrow_exception(m_error);
    if (!m_file.flush() || !m_file.seek(0))
        throw Error(u"临时文件写不下：%1（%2）"_s.arg(m_file.fileName(), m_file.errorString()));
}

void DeflateBehind::deflateAll(const std::string &bytes, int flush)
{
    m_crc = quint32(crc32(m_crc, reinterpret_cast<const Bytef *>(bytes.data()), uInt(bytes.size())));
    m_size += qint64(bytes.size());
    m_out.clear();
    deflateInto(m_stream->z, bytes, flush, m_out);
    if (m_file.write(m_out.data(), qint64(m_out.size())) != qint64(m_out.size()))
        throw Error(u"临时文件写不下：%1（%2）"_s.arg(m_file.fileName(), m_file.errorString()));
}

void DeflateBehind::run()
{
    try {
        for (;;) {
            std::string bytes;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return !m_queue.empty() || m_closing; });
                if (m_queue.empty())
                    break;
                bytes = std::move(m_queue.front());
                m_queue.pop_front();
            }
            m_changed.notify_all();
            deflateAll(bytes, Z_NO_FLUSH);
            bytes.clear();
            std::lock_guard lock(m_mutex);
            if (m_spare.size() < kQueued)
                m_spare.push_back(std::move(bytes));
        }
        deflateAll({}, Z_SYNC_FLUSH); // to a byte boundary, not final
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_error = std::current_exception();
    }
    m_changed.notify_all();
}

std::string deflatePiece(const std::string &bytes, int level, bool final)
{
    z_stream z;
    initRaw(z, level);
    std::string out;
    try {
        deflateInto(z, bytes, final ? Z_FINISH : Z_SYNC_FLUSH, out);
    } catch (...) {
        deflateEnd(&z);
        throw;
    }
    deflateEnd(&z);
    return out;
}

quint32 crc32Of(const std::string &bytes)
{
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.data()), uInt(bytes.size())));
}

quint32 crc32Joined(quint32 first, quint32 second, qint64 secondSize)
{
    return quint32(crc32_combine(first, second, z_off_t(secondSize)));
}

} // namespace granwise::sheets
