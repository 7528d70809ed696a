#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

typedef struct zip zip_t;
typedef struct zip_file zip_file_t;
typedef struct zip_source zip_source_t;

namespace granwise::sheets {

class ZipInflate;

// An open zip archive (the container of an .xlsx workbook). Reading only, unless edited
// through ZipEdit. Every failure throws Error naming the file. No entry is trusted to be the
// size its directory declares: an entry that unpacks beyond the part budget of the file
// (limits::partBudget) is refused while it is read.
class ZipReader {
public:
    explicit ZipReader(const QString &path);
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    bool contains(const std::string &entry) const;
    // The whole entry; throws when it is missing or damaged, or when it unpacks beyond
    // `maxBytes` (the file's part budget when -1).
    std::string read(const std::string &entry, qint64 maxBytes = -1) const;
    const QString &path() const { return m_path; }
    // The most one entry may unpack to.
    qint64 partBudget() const { return m_partBudget; }
    qint64 fileSize() const { return m_fileSize; }
    zip_t *handle() const { return m_zip; }
    [[noreturn]] void fail(const QString &what) const;

private:
    zip_t *m_zip = nullptr;
    QString m_path;
    qint64 m_fileSize = 0;
    qint64 m_partBudget = 0;
};

// Reads one entry sequentially, in pieces, so a large sheet never sits in memory whole.
class ZipEntryStream {
public:
    // Refuses the entry once it unpacks beyond `maxBytes` (the archive's part budget when -1).
    ZipEntryStream(const ZipReader &archive, const std::string &entry, qint64 maxBytes = -1);
    ~ZipEntryStream();
    ZipEntryStream(const ZipEntryStream &) = delete;
    ZipEntryStream &operator=(const ZipEntryStream &) = delete;
    // Up to `size` bytes; 0 at the end of the entry.
    qint64 read(char *buffer, qint64 size);

private:
    const ZipReader &m_archive;
    zip_file_t *m_file = nullptr; // the entry's raw deflate data when m_inflate unpacks it
    std::string m_entry;
    qint64 m_limit = 0;
    qint64 m_unpacked = 0;
    // A deflated entry is unpacked here rather than by libzip, which is several times slower.
    std::unique_ptr<ZipInflate> m_inflate;
    std::unique_ptr<char[]> m_packed; // raw bytes being unpacked
    quint32 m_crc = 0;                // what the archive says the entry's CRC-32 is
    bool m_packedEnded = false;
    [[noreturn]] void refuseTooLarge() const;
    [[noreturn]] void damaged(int libzipError, int systemError = 0) const;
    qint64 readFile(char *buffer, qint64 size);
    qint64 readInflated(char *buffer, qint64 size);
};

// Reads one entry like ZipEntryStream, but unpacks it in a background thread a few pieces
// ahead of the reader, so that unpacking and whatever the reader does with the bytes overlap.
// An error of the unpacking comes out of read().
class ZipEntryPrefetch {
public:
    ZipEntryPrefetch(const ZipReader &archive, const std::string &entry);
    ~ZipEntryPrefetch();
    ZipEntryPrefetch(const ZipEntryPrefetch &) = delete;
    ZipEntryPrefetch &operator=(const ZipEntryPrefetch &) = delete;
    qint64 read(char *buffer, qint64 size);

private:
    struct Shared;
    std::unique_ptr<Shared> m_shared;
    std::string m_piece; // the piece being read
    size_t m_position = 0;
    bool m_end = false;
};

// Changes entries of an existing archive. Nothing reaches the file before commit(), which
// writes the whole archive to a temporary file beside it and renames it over the original;
// an edit dropped without commit() leaves the file untouched.
class ZipEdit {
public:
    enum class Mode { ExistingArchive, NewArchive };
    explicit ZipEdit(const QString &path, Mode mode = Mode::ExistingArchive);
    ~ZipEdit();
    ZipEdit(const ZipEdit &) = delete;
    ZipEdit &operator=(const ZipEdit &) = delete;

    // The bytes must stay alive until commit().
    void replace(const std::string &entry, const std::string &bytes);
    // An entry of known size whose bytes are produced piece by piece while the archive is
    // written: `produce` fills up to `size` bytes into the buffer and returns how many (0 at
    // the end, never more than the size promised in total). An exception it throws makes
    // commit() fail with that exception.
    using Producer = std::function<qint64(char *buffer, qint64 size)>;
    void replaceStreamed(const std::string &entry, qint64 totalSize, Producer produce);
    // An entry whose bytes come deflated already (raw deflate data of `compressedSize` bytes,
    // unpacking to `size` bytes with that CRC-32), stored as they are.
    void replaceDeflated(const std::string &entry, qint64 size, qint64 compressedSize, quint32 crc,
                         Producer produce);
    void remove(const std::string &entry);
    void commit();

private:
    struct StreamedSource;
    zip_t *m_zip = nullptr;
    QString m_path;
    std::exception_ptr m_producerError;
    [[noreturn]] void fail(const QString &what);
    void add(const std::string &entry, zip_source_t *source, unsigned level);
};

} // namespace granwise::sheets
