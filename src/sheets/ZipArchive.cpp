#include "ZipArchive.h"

#include "ReadLimits.h"
#include "ZipInflate.h"
#include "store/Error.h"

#include <QFile>
#include <QFileInfo>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <zip.h>
#include <zlib.h>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

// Deflate levels of the parts we write: small parts as tightly as usual; a streamed sheet,
// hundreds of megabytes of very regular XML for a national data set, at the fastest level,
// which takes a third of the time of the usual level for a file about a quarter larger.
constexpr zip_uint32_t kCompressionLevel = 6;
constexpr zip_uint32_t kStreamCompressionLevel = 1;

// Raw bytes of a deflated entry read at a time.
constexpr qint64 kPackedPiece = 64 * 1024;
// Entries of at least this size are unpacked by ZipInflate, smaller ones by libzip. Small parts
// gain nothing from the faster unpacking, and after ISA-L had unpacked the few small parts of
// the upload template, the export's zlib deflate on its other thread ran 1.6 times as long
// (all of it in zlib's sliding of its hash chains; measured, the cause not found).
constexpr qint64 kOwnInflateFrom = qint64(1) << 20;

QString openErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QString entryName(const std::string &entry)
{
    return QString::fromUtf8(entry.data(), qsizetype(entry.size()));
}

zip_t *openArchive(const QString &path, int flags)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!archive) {
        if (code == ZIP_ER_NOENT || code == ZIP_ER_OPEN || code == ZIP_ER_READ)
            throw Error(u"工作簿打不开：%1（%2）"_s.arg(path, openErrorText(code)));
        throw Error(u"工作簿已损坏或不是 Excel 工作簿：%1（%2）"_s.arg(path, openErrorText(code)));
    }
    return archive;
}

} // namespace

ZipReader::ZipReader(const QString &path) : m_path(path)
{
    if (QFile::exists(path) && QFile(path).size() == 0)
        throw Error(u"工作簿是空文件：%1"_s.arg(path));
    m_zip = openArchive(path, ZIP_RDONLY | ZIP_CHECKCONS);
    m_fileSize = QFileInfo(path).size();
    m_partBudget = limits::partBudget(m_fileSize);
}

ZipReader::~ZipReader()
{
    if (m_zip)
        zip_discard(m_zip);
}

void ZipReader::fail(const QString &what) const
{
    throw Error(u"工作簿已损坏：%1（%2：%3）"_s.arg(m_path, what, QString::fromLocal8Bit(zip_strerror(m_zip))));
}

bool ZipReader::contains(const std::string &entry) const
{
    return zip_name_locate(m_zip, entry.c_str(), 0) >= 0;
}

std::string ZipReader::read(const std::string &entry, qint64 maxBytes) const
{
    ZipEntryStream stream(*this, entry, maxBytes);
    std::string bytes;
    char buffer[64 * 1024];
    while (const qint64 n = stream.read(buffer, sizeof buffer))
        bytes.append(buffer, size_t(n));
    return bytes;
}

ZipEntryStream::ZipEntryStream(const ZipReader &archive, const std::string &entry, qint64 maxBytes)
    : m_archive(archive), m_entry(entry), m_limit(maxBytes < 0 ? archive.partBudget() : maxBytes)
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archive.handle(), entry.c_str(), 0, &st) != 0)
        throw Error(u"工作簿已损坏：%1（缺少部件 %2）"_s.arg(archive.path(), entryName(entry)));
    // The declared size is only a claim; one beyond the limit needs no unpacking to refuse.
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(m_limit))
        refuseTooLarge();
    constexpr zip_uint64_t needed = ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD | ZIP_STAT_CRC;
    const bool deflated = (st.valid & needed) == needed && (st.valid & ZIP_STAT_SIZE) &&
                          st.size >= zip_uint64_t(kOwnInflateFrom) && st.comp_method == ZIP_CM_DEFLATE &&
                          st.encryption_method == ZIP_EM_NONE;
    m_file = zip_fopen(archive.handle(), entry.c_str(), deflated ? ZIP_FL_COMPRESSED : 0);
    if (!m_file)
        archive.fail(entryName(entry));
    if (deflated) {
        m_inflate = std::make_unique<ZipInflate>();
        m_packed = std::make_unique<char[]>(size_t(kPackedPiece));
        m_crc = st.crc;
    }
}

ZipEntryStream::~ZipEntryStream()
{
    if (m_file)
        zip_fclose(m_file);
}

void ZipEntryStream::refuseTooLarge() const
{
    limits::refuseBeyondLimit(m_archive.path(), u"部件 %1 解压后超过 %2，不是正常的工作簿"_s.arg(
                                                    entryName(m_entry), limits::byteSize(m_limit)));
}

void ZipEntryStream::damaged(int libzipError, int systemError) const
{
    // In libzip's words, as when libzip unpacks the entry itself.
    zip_error_t error;
    zip_error_init(&error);
    error.zip_err = libzipError;
    error.sys_err = systemError;
    const QString reason = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    throw Error(u"工作簿已损坏：%1（%2：%3）"_s.arg(m_archive.path(), entryName(m_entry), reason));
}

// What libzip gives of the entry (its raw data when m_inflate unpacks it).
qint64 ZipEntryStream::readFile(char *buffer, qint64 size)
{
    const zip_int64_t n = zip_fread(m_file, buffer, zip_uint64_t(size));
    if (n < 0)
        throw Error(u"工作簿已损坏：%1（%2：%3）"_s.arg(m_archive.path(), entryName(m_entry),
                                                      QString::fromLocal8Bit(zip_file_strerror(m_file))));
    return n;
}

// As libzip unpacks an entry: what the raw data holds up to the end of its deflate stream or of
// the data, whichever comes first, then a check of the CRC-32 of all that came out.
qint64 ZipEntryStream::readInflated(char *buffer, qint64 size)
{
    for (;;) {
        if (m_inflate->pendingInput() == 0 && !m_packedEnded && !m_inflate->finished()) {
            const qint64 n = readFile(m_packed.get(), kPackedPiece);
            m_packedEnded = n == 0;
            m_inflate->give(m_packed.get(), n);
        }
        const qint64 pending = m_inflate->pendingInput();
        qint64 n = 0;
        try {
            n = m_inflate->unpack(buffer, size);
        } catch (const ZipInflate::Damaged &) {
            damaged(ZIP_ER_ZLIB, Z_DATA_ERROR);
        }
        if (n > 0)
            return n;
        if (m_inflate->finished() || (m_packedEnded && m_inflate->pendingInput() == 0)) {
            if (m_inflate->crc() != m_crc)
                damaged(ZIP_ER_CRC);
            return 0;
        }
        if (pending > 0 && m_inflate->pendingInput() == pending)
            damaged(ZIP_ER_ZLIB, Z_DATA_ERROR); // no step forward: the data is no deflate stream
    }
}

qint64 ZipEntryStream::read(char *buffer, qint64 size)
{
    const qint64 n = m_inflate ? readInflated(buffer, size) : readFile(buffer, size);
    m_unpacked += n;
    if (m_unpacked > m_limit)
        refuseTooLarge();
    return n;
}

struct ZipEntryPrefetch::Shared {
    static constexpr qint64 kPiece = 256 * 1024;
    static constexpr size_t kPiecesAhead = 4;

    ZipEntryStream stream;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> pieces; // an empty piece marks the end
    bool stopped = false;
    std::exception_ptr error;
    std::thread thread;

    Shared(const ZipReader &archive, const std::string &entry) : stream(archive, entry)
    {
        thread = std::thread([this] { unpack(); });
    }

    void unpack()
    {
        try {
            for (;;) {
                std::string piece(size_t(kPiece), '\0');
                piece.resize(size_t(stream.read(piece.data(), kPiece)));
                const bool end = piece.empty();
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return pieces.size() < kPiecesAhead || stopped; });
                if (stopped)
                    return;
                pieces.push_back(std::move(piece));
                lock.unlock();
                changed.notify_all();
                if (end)
                    return;
            }
        } catch (...) {
            {
                std::lock_guard lock(mutex);
                error = std::current_exception();
            }
            changed.notify_all();
        }
    }
};

ZipEntryPrefetch::ZipEntryPrefetch(const ZipReader &archive, const std::string &entry)
    : m_shared(std::make_unique<Shared>(archive, entry))
{
}

ZipEntryPrefetch::~ZipEntryPrefetch()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stopped = true;
    }
    m_shared->changed.notify_all();
    m_shared->thread.join();
}

qint64 ZipEntryPrefetch::read(char *buffer, qint64 size)
{
    if (m_position == m_piece.size()) {
        if (m_end)
            return 0;
        Shared &s = *m_shared;
        std::unique_lock lock(s.mutex);
        s.changed.wait(lock, [&s] { return !s.pieces.empty() || s.error; });
        if (s.pieces.empty())
            std::rethrow_exception(s.error);
        m_piece = std::move(s.pieces.front());
        s.pieces.pop_front();
        lock.unlock();
        s.changed.notify_all();
        m_position = 0;
        if (m_piece.empty()) {
            m_end = true;
            return 0;
        }
    }
    const qint64 n = std::min<qint64>(size, qint64(m_piece.size() - m_position));
    std::memcpy(buffer, m_piece.data() + m_position, size_t(n));
    m_position += size_t(n);
    return n;
}

// The state of one streamed entry while libzip pulls its bytes.
struct ZipEdit::StreamedSource {
    ZipEdit *edit;
    qint64 totalSize; // of the bytes produced
    Producer produce;
    qint64 delivered = 0;
    zip_error_t error;
    // Bytes produced deflated already: what they unpack to.
    bool deflated = false;
    qint64 size = 0;
    quint32 crc = 0;

    static zip_int64_t callback(void *userdata, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto *self = static_cast<StreamedSource *>(userdata);
        switch (command) {
        case ZIP_SOURCE_OPEN:
            self->delivered = 0;
            return 0;
        case ZIP_SOURCE_READ:
            try {
                const qint64 wanted = qint64(std::min<zip_uint64_t>(length, 1u << 30));
                const qint64 n = self->produce(static_cast<char *>(data), wanted);
                self->delivered += n;
                if (n < 0 || n > wanted || self->delivered > self->totalSize) {
                    zip_error_set(&self->error, ZIP_ER_INTERNAL, 0);
                    return -1;
                }
                if (n == 0 && self->delivered != self->totalSize) {
                    zip_error_set(&self->error, ZIP_ER_INTERNAL, 0);
                    return -1;
                }
                return n;
            } catch (...) {
                self->edit->m_producerError = std::current_exception();
                zip_error_set(&self->error, ZIP_ER_INTERNAL, 0);
                return -1;
            }
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto *st = static_cast<zip_stat_t *>(data);
            zip_stat_init(st);
            if (self->deflated) {
                st->size = zip_uint64_t(self->size);
                st->comp_size = zip_uint64_t(self->totalSize);
                st->crc = self->crc;
                st->comp_method = ZIP_CM_DEFLATE;
                st->valid |= ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD;
            } else {
                st->size = zip_uint64_t(self->totalSize);
                st->valid |= ZIP_STAT_SIZE;
            }
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&self->error, data, length);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&self->error);
            delete self;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                  ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&self->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
    }
};

ZipEdit::ZipEdit(const QString &path, Mode mode) : m_path(path)
{
    if (mode == Mode::NewArchive) {
        int code = 0;
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        if (!m_zip)
            throw Error(u"Cannot create file %1"_s.arg(path));
    } else {
        m_zip = openArchive(path, 0);
    }
}

ZipEdit::~ZipEdit()
{
    if (m_zip)
        zip_discard(m_zip);
}

void ZipEdit::fail(const QString &what)
{
    const QString reason = QString::fromLocal8Bit(zip_strerror(m_zip));
    throw Error(u"工作簿无法保存：%1（%2：%3）"_s.arg(m_path, what, reason));
}

void ZipEdit::replace(const std::string &entry, const std::string &bytes)
{
    zip_source_t *source = zip_source_buffer(m_zip, bytes.data(), bytes.size(), 0);
    if (!source)
        fail(entryName(entry));
    add(entry, source, kCompressionLevel);
}

void ZipEdit::add(const std::string &entry, zip_source_t *source, unsigned level)
{
    // A replaced entry would keep libzip's strongest level whatever we ask for, so the old
    // entry is deleted and the new one added under the same name.
    remove(entry);
    const zip_int64_t index = zip_file_add(m_zip, entry.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        fail(entryName(entry));
    }
    if (zip_set_file_compression(m_zip, zip_uint64_t(index), ZIP_CM_DEFLATE, level) != 0)
        fail(entryName(entry));
}

void ZipEdit::replaceStreamed(const std::string &entry, qint64 totalSize, Producer produce)
{
    auto *state = new StreamedSource{this, totalSize, std::move(produce), 0, {}};
    zip_error_init(&state->error);
    zip_source_t *source = zip_source_function(m_zip, &StreamedSource::callback, state);
    if (!source) {
        zip_error_fini(&state->error);
        delete state;
        fail(entryName(entry));
    }
    add(entry, source, kStreamCompressionLevel); // a source that fails to be added frees its state
}

void ZipEdit::replaceDeflated(const std::string &entry, qint64 size, qint64 compressedSize, quint32 crc,
                              Producer produce)
{
    auto *state = new StreamedSource{this, compressedSize, std::move(produce), 0, {}, true, size, crc};
    zip_error_init(&state->error);
    zip_source_t *source = zip_source_function(m_zip, &StreamedSource::callback, state);
    if (!source) {
        zip_error_fini(&state->error);
        delete state;
        fail(entryName(entry));
    }
    add(entry, source, kStreamCompressionLevel); // deflated already: libzip stores the bytes as they are
}

void ZipEdit::remove(const std::string &entry)
{
    const zip_int64_t index = zip_name_locate(m_zip, entry.c_str(), 0);
    if (index >= 0 && zip_delete(m_zip, zip_uint64_t(index)) != 0)
        fail(entryName(entry));
}

void ZipEdit::commit()
{
    if (zip_close(m_zip) != 0) {
        if (m_producerError)
            std::rethrow_exception(m_producerError); // the archive is discarded by the destructor
        fail(u"写入"_s);
    }
    m_zip = nullptr;
}

} // namespace granwise::sheets
