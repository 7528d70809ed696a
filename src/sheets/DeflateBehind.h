#pragma once

#include <QFile>
#include <QTemporaryFile>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace granwise::sheets {

// Deflates bytes on a thread of its own into a temporary file while the caller produces more,
// so that making a large part and compressing it take two cores rather than one after the
// other. The output is raw deflate data that ends on a byte boundary without a final block:
// other pieces (deflatePiece) may come before and after it in one zip entry. Memory stays at a
// few buffers however many bytes pass.
class DeflateBehind {
public:
    explicit DeflateBehind(int level);
    ~DeflateBehind();
    DeflateBehind(const DeflateBehind &) = delete;
    DeflateBehind &operator=(const DeflateBehind &) = delete;

    // Hands the bytes over; the string comes back empty, with the room of a buffer deflated
    // before when there is one, so that a writer filling buffers of one size allocates them only
    // at the start. Waits while several buffers are queued. An error of the deflating thread
    // comes out here or from finish().
    void write(std::string &bytes);
    // Deflates what is queued and ends the output; the file is then ready to be read from its
    // start.
    void finish();

    quint32 crc() const { return m_crc; }
    qint64 size() const { return m_size; }
    QFile &output() { return m_file; }

private:
    void run();
    void deflateAll(const std::string &bytes, int flush);

    QTemporaryFile m_file;
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    quint32 m_crc = 0;
    qint64 m_size = 0;
    std::string m_out;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_queue; // guarded by m_mutex, as are the three below
    std::vector<std::string> m_spare; // deflated buffers, emptied, for write() to hand back
    bool m_closing = false;
    std::exception_ptr m_error;
    std::thread m_thread;
};

// One piece of raw deflate data for an entry assembled from pieces: `final` ends the data,
// otherwise it ends on a byte boundary for more to follow.
std::string deflatePiece(const std::string &bytes, int level, bool final);
// The CRC-32 of bytes, and of two runs of bytes one after the other.
quint32 crc32Of(const std::string &bytes);
quint32 crc32Joined(quint32 first, quint32 second, qint64 secondSize);

} // namespace granwise::sheets
