#include "XlsxSharedParts.h"

#include "ReadLimits.h"
#include "Utf8Row.h"
#include "XlsxPackage.h"
#include "XlsxSheetReader.h"
#include "XmlPartStream.h"
#include "XmlText.h"
#include "store/Error.h"

#include <QHash>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

// An element's name without its prefix. Names are a few bytes: they are walked here rather
// than handed to the C library, for every element of a large part.
const char *withoutPrefix(const char *name)
{
    const char *part = name;
    for (const char *p = name; *p; ++p)
        if (*p == ':')
            part = p + 1;
    return part;
}

// Whether two NUL-terminated names are the same.
bool same(const char *a, const char *b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Whether an element's name, without its prefix, is `local`.
bool named(const char *name, const char *local)
{
    return same(withoutPrefix(name), local);
}

const char *attribute(const char **atts, const char *name)
{
    for (int i = 0; atts[i]; i += 2)
        if (std::strcmp(atts[i], name) == 0)
            return atts[i + 1];
    return nullptr;
}

// Runs a handler; an exception it throws stops the scan and is kept for the caller, since it
// must not cross the scanner.
template<typename Loader, typename Body>
void guarded(Loader *loader, Body body)
{
    if (loader->error)
        return; // stopped already; the scanner may still deliver the current element
    try {
        body();
    } catch (...) {
        loader->error = std::current_exception();
        loader->stream.abort();
    }
}

// Parses the whole part; an error raised in a handler wins over the scanner's report of the stop.
template<typename Loader>
void parseAll(Loader &loader)
{
    try {
        while (loader.stream.feed()) {
        }
    } catch (...) {
        if (loader.error)
            std::rethrow_exception(loader.error);
        throw;
    }
    if (loader.error)
        std::rethrow_exception(loader.error);
}

} // namespace

// What the reading thread and the sheet's share: the table, how much of it is read, and how
// the reading ended.
struct SharedStringsAhead::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    SharedStrings strings;    // grows under the lock until `done`
    bool done = false;
    std::exception_ptr error; // what stopped the reading, once done
    std::atomic<bool> stop{false};
};

namespace {

struct Stopped {};

struct SharedStringsLoader {
    // Strings read are added to the table a few at a time, so that the lock is seldom taken.
    static constexpr size_t kPendingBytes = 64 * 1024;
    static constexpr size_t kPendingStrings = 512;

    XmlPartStream stream;
    std::exception_ptr error;
    SharedStringsAhead::Shared &shared;
    std::string text;
    std::string pending;                 // strings read, not yet added, one after another
    std::vector<quint32> pendingLengths; // their lengths in bytes
    bool inItem = false, inText = false;
    int phonetic = 0;
    qint64 used = 0;
    const qint64 budget;

    SharedStringsLoader(const ZipReader &zip, const std::string &part, SharedStringsAhead::Shared &table)
        : stream(zip, part, XmlPartStream::Unpacking::Ahead), shared(table),
          budget(limits::sharedStringsBudget(zip.fileSize()))
    {
        stream.setHandlers(this, &start, &end, &characters);
    }

    // The item being read is number `size + 1` of a table of `size`.
    [[noreturn]] void refuseLongText(qsizetype item) const
    {
        limits::refuseBeyondLimit(stream.zip().path(), u"共享字符串第 %1 项超过 %2 个字符，单元格容纳不下"_s.arg(
                                                           QString::number(item),
                                                           QString::number(limits::kMaxCellTextLength)));
    }

    void add()
    {
        pending += text;
        pendingLengths.push_back(quint32(text.size()));
        if (pending.size() >= kPendingBytes || pendingLengths.size() >= kPendingStrings)
            publish();
    }

    // Adds the pending strings to the table, checking each as it goes in. They are no longer
    // pending even when one is refused.
    void publish()
    {
        std::string bytes = std::exchange(pending, {});
        std::vector<quint32> lengths = std::exchange(pendingLengths, {});
        {
            std::lock_guard lock(shared.mutex);
            SharedStrings &strings = shared.strings;
            size_t at = 0;
            for (const quint32 size : lengths) {
                const qsizetype length = strings.append(std::string_view(bytes).substr(at, size));
                at += size;
                if (length > limits::kMaxCellTextLength)
                    refuseLongText(strings.size());
                used += limits::kSharedStringOverheadBytes + 2 * length;
                if (used > budget)
                    limits::refuseBeyondLimit(stream.zip().path(),
                                              u"共享字符串占用的内存超过 %1（已读 %2 项）"_s.arg(
                                                  limits::byteSize(budget), QString::number(strings.size() - 1)));
            }
        }
        shared.changed.notify_all();
        // Their room is used again.
        bytes.clear();
        lengths.clear();
        pending = std::move(bytes);
        pendingLengths = std::move(lengths);
    }

    static void start(void *self, const char *name, const char **)
    {
        auto *s = static_cast<SharedStringsLoader *>(self);
        if (s->shared.stop.load(std::memory_order_relaxed))
            return guarded(s, [] { throw Stopped(); });
        const char *local = withoutPrefix(name);
        if (same(local, "si")) {
            s->inItem = true;
            s->text.clear();
        } else if (same(local, "rPh")) {
            ++s->phonetic;
        } else if (same(local, "t") && s->inItem && s->phonetic == 0) {
            s->inText = true;
        }
    }
    static void end(void *self, const char *name)
    {
        auto *s = static_cast<SharedStringsLoader *>(self);
        const char *local = withoutPrefix(name);
        if (same(local, "si")) {
            s->inItem = false;
            guarded(s, [s] { s->add(); });
        } else if (same(local, "rPh")) {
            --s->phonetic;
        } else if (same(local, "t")) {
            s->inText = false;
        }
    }
    static void characters(void *self, const char *text, int length)
    {
        auto *s = static_cast<SharedStringsLoader *>(self);
        if (!s->inText || s->error)
            return;
        if (qsizetype(s->text.size()) + length > limits::kMaxCellTextBytes)
            guarded(s, [s] {
                s->publish(); // a string before it may be refused first
                s->refuseLongText(s->shared.strings.size() + 1); // the loader alone adds to it
            });
        else
            s->text.append(text, size_t(length));
    }
};

struct DateStylesLoader {
    // Longer format codes than a spreadsheet program allows are cut: only their start can say
    // whether they show a date.
    static constexpr qsizetype kFormatCodeKept = 256;

    XmlPartStream stream;
    std::exception_ptr error;
    QHash<int, QString> codes;
    std::vector<int> cellFormats; // numFmtId of each cell format
    int depth = 0;
    int numFmtsDepth = -1, cellXfsDepth = -1;

    DateStylesLoader(const ZipReader &zip, const std::string &part) : stream(zip, part)
    {
        stream.setHandlers(this, &start, &end);
    }

    static void start(void *self, const char *name, const char **atts)
    {
        auto *s = static_cast<DateStylesLoader *>(self);
        ++s->depth;
        if (s->depth == 2 && named(name, "numFmts")) {
            s->numFmtsDepth = s->depth;
        } else if (s->depth == 2 && named(name, "cellXfs")) {
            s->cellXfsDepth = s->depth;
        } else if (s->depth == s->numFmtsDepth + 1 && named(name, "numFmt")) {
            guarded(s, [&] {
                if (s->codes.size() >= limits::kMaxNumberFormats)
                    s->refuseCount(u"数字格式"_s, limits::kMaxNumberFormats);
                const char *code = attribute(atts, "formatCode");
                s->codes.insert(std::atoi(attribute(atts, "numFmtId") ? attribute(atts, "numFmtId") : "0"),
                                QString::fromUtf8(code ? code : "").left(kFormatCodeKept));
            });
        } else if (s->depth == s->cellXfsDepth + 1 && named(name, "xf")) {
            guarded(s, [&] {
                if (qsizetype(s->cellFormats.size()) >= limits::kMaxCellFormats)
                    s->refuseCount(u"单元格格式"_s, limits::kMaxCellFormats);
                const char *id = attribute(atts, "numFmtId");
                s->cellFormats.push_back(id ? std::atoi(id) : 0);
            });
        }
    }
    static void end(void *self, const char *)
    {
        auto *s = static_cast<DateStylesLoader *>(self);
        if (s->depth == s->numFmtsDepth)
            s->numFmtsDepth = -1;
        if (s->depth == s->cellXfsDepth)
            s->cellXfsDepth = -1;
        --s->depth;
    }

    [[noreturn]] void refuseCount(const QString &what, int most) const
    {
        limits::refuseBeyondLimit(stream.zip().path(),
                                  u"样式部件中的%1超过 %2 个"_s.arg(what, QString::number(most)));
    }
};

} // namespace

SharedStrings::SharedStrings()
    : m_blocks(qint64(1) << kBlockBits, kResidentBlocks, kRecentBlocks),
      m_items(qint64(sizeof(quint64)) << kItemPageBits, kResidentItemPages, kRecentItemPages)
{
}

SharedStrings::~SharedStrings() = default;
SharedStrings::SharedStrings(SharedStrings &&) noexcept = default;
SharedStrings &SharedStrings::operator=(SharedStrings &&) noexcept = default;

void SharedStrings::appendItem(quint64 item)
{
    const size_t slot = size_t(m_count) & ((size_t(1) << kItemPageBits) - 1);
    char *page = slot == 0 ? m_items.begin() : m_items.last();
    std::memcpy(page + slot * sizeof(quint64), &item, sizeof item);
    ++m_count;
}

quint64 SharedStrings::item(qsizetype index) const
{
    const size_t page = size_t(index) >> kItemPageBits;
    const qint64 offset = qint64(size_t(index) & ((size_t(1) << kItemPageBits) - 1)) * qint64(sizeof(quint64));
    quint64 item = 0;
    if (const char *bytes = m_items.page(page))
        std::memcpy(&item, bytes + offset, sizeof item);
    else
        m_items.read(page, offset, reinterpret_cast<char *>(&item), sizeof item);
    return item;
}

QString SharedStrings::at(qsizetype index) const
{
    std::string scratch;
    const std::string_view utf8 = utf8At(index, scratch);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string_view SharedStrings::utf8At(qsizetype index, std::string &scratch) const
{
    if (!m_decoded.empty()) {
        const auto found = std::lower_bound(m_decoded.begin(), m_decoded.end(), index,
                                            [](const auto &item, qsizetype i) { return item.first < i; });
        if (found != m_decoded.end() && found->first == index)
            return found->second;
    }
    const quint64 place = item(index);
    const quint64 length = place & ((quint64(1) << kLengthBits) - 1);
    const size_t block = size_t(place >> (kLengthBits + kBlockBits));
    const qint64 offset = qint64((place >> kLengthBits) & ((quint64(1) << kBlockBits) - 1));
    if (const char *bytes = m_blocks.page(block))
        return {bytes + offset, size_t(length)};
    scratch.resize(size_t(length));
    m_blocks.read(block, offset, scratch.data(), qint64(length));
    return scratch;
}

qsizetype SharedStrings::append(std::string_view utf8)
{
    const qsizetype index = size();
    // An escape begins "_x"; a string without one is its own decoded text.
    if (utf8.find("_x") != std::string_view::npos) {
        const QString raw = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
        QString decoded = decodeCellText(raw);
        if (decoded.size() != raw.size()) {
            const qsizetype length = decoded.size();
            const QByteArray utf8Decoded = decoded.toUtf8();
            m_decoded.emplace_back(index, utf8Decoded.toStdString());
            appendItem(0);
            return length;
        }
    }
    constexpr quint64 blockSize = quint64(1) << kBlockBits;
    static_assert(limits::kMaxCellTextBytes < qint64(blockSize));
    if (utf8.size() > limits::kMaxCellTextBytes)
        throw Error(u"共享字符串过长"_s); // the reader refuses such a text before it gets here
    if (m_blocks.count() == 0 || m_used + utf8.size() > blockSize) {
        m_blocks.begin();
        m_used = 0;
    }
    std::memcpy(m_blocks.last() + m_used, utf8.data(), utf8.size());
    const quint64 place = (quint64(m_blocks.count() - 1) << kBlockBits) | m_used;
    appendItem(place << kLengthBits | quint64(utf8.size()));
    m_used += utf8.size();
    return utf16Length(utf8);
}

SharedStringsAhead::SharedStringsAhead(const QString &path, const std::string &part)
    : m_shared(std::make_unique<Shared>())
{
    // Opened here: opening reads the archive's dates through the C library's time zone, which
    // other threads of the program use too.
    auto zip = std::make_shared<const ZipReader>(path);
    m_thread = std::thread([shared = m_shared.get(), zip, part] {
        std::exception_ptr error;
        try {
            SharedStringsLoader loader(*zip, part, *shared);
            try {
                parseAll(loader);
            } catch (...) {
                loader.publish(); // a refusal of a string read before the error comes first
                throw;
            }
            loader.publish();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard lock(shared->mutex);
            shared->done = true;
            shared->error = error;
        }
        shared->changed.notify_all();
    });
}

SharedStringsAhead::~SharedStringsAhead()
{
    m_shared->stop = true;
    m_thread.join();
}

std::optional<std::string_view> SharedStringsAhead::utf8At(qsizetype index, std::string &scratch)
{
    if (!m_complete) {
        std::unique_lock lock(m_shared->mutex);
        m_shared->changed.wait(lock, [this, index] { return index < m_shared->strings.size() || m_shared->done; });
        if (m_shared->error)
            std::rethrow_exception(m_shared->error);
        if (!m_shared->done) {
            // The table grows meanwhile and may move what it holds: the string is copied.
            const std::string_view utf8 = m_shared->strings.utf8At(index, scratch);
            if (utf8.data() != scratch.data())
                scratch.assign(utf8.data(), utf8.size());
            return std::string_view(scratch);
        }
        m_complete = true;
    }
    if (index < 0 || index >= m_shared->strings.size())
        return std::nullopt;
    return m_shared->strings.utf8At(index, scratch);
}

void SharedStringsAhead::finish()
{
    if (m_complete)
        return;
    std::unique_lock lock(m_shared->mutex);
    m_shared->changed.wait(lock, [this] { return m_shared->done; });
    if (m_shared->error)
        std::rethrow_exception(m_shared->error);
    m_complete = true;
}

std::vector<bool> loadDateStyles(const ZipReader &zip, const std::string &part)
{
    std::vector<bool> dates;
    if (part.empty() || !zip.contains(part))
        return dates;
    DateStylesLoader loader(zip, part);
    try {
        parseAll(loader);
    } catch (const Error &) {
        if (loader.error || !loader.stream.malformed())
            throw; // beyond a limit, or the part could not be unpacked
        return dates;
    }
    dates.reserve(loader.cellFormats.size());
    for (const int id : loader.cellFormats)
        dates.push_back(isDateFormat(id, loader.codes.value(id)));
    return dates;
}

} // namespace granwise::sheets
