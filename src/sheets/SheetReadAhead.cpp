#include "ReadLimits.h"
#include "SheetReader.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace granwise {

namespace {

class ReadAheadReader final : public SheetReader {
public:
    explicit ReadAheadReader(std::unique_ptr<SheetReader> reader)
        : m_reader(std::move(reader)), m_hint(m_reader->rowCountHint())
    {
        m_thread = std::thread([this] { readAll(); });
    }

    ~ReadAheadReader() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    bool nextRow(QVector<CellValue> &cells) override
    {
        if (m_position == m_batch.size()) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_ready.empty() || m_finished; });
            if (m_ready.empty()) {
                if (m_error)
                    std::rethrow_exception(std::exchange(m_error, nullptr));
                return false;
            }
            m_batch = std::move(m_ready.front());
            m_ready.pop_front();
            m_position = 0;
            lock.unlock();
            m_changed.notify_all();
        }
        Row &row = m_batch[m_position++];
        m_rowNumber = row.number;
        cells = std::move(row.cells);
        return true;
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return m_hint; }
    // The reader being read ahead checks the cells it has not read yet.
    void limitColumns(int lastColumn) override { m_reader->limitColumns(lastColumn); }

private:
    struct Row {
        int number;
        QVector<CellValue> cells;
    };
    // A batch ends at so many rows, or at so many cells when its rows are wide.
    static constexpr size_t kBatchRows = 256;
    static constexpr size_t kBatchesAhead = 8;
    static constexpr qsizetype kBatchCells = sheets::limits::kMaxQueuedCells / qsizetype(kBatchesAhead);

    void readAll()
    {
        try {
            std::vector<Row> batch;
            qsizetype batchCells = 0;
            QVector<CellValue> cells;
            for (;;) {
                const bool more = m_reader->nextRow(cells);
                if (more) {
                    batchCells += cells.capacity();
                    batch.push_back({m_reader->rowNumber(), std::move(cells)});
                }
                if (batch.size() == kBatchRows || batchCells >= kBatchCells || (!more && !batch.empty())) {
                    std::unique_lock lock(m_mutex);
                    m_changed.wait(lock, [this] { return m_ready.size() < kBatchesAhead || m_stopped; });
                    if (m_stopped)
                        return;
                    m_ready.push_back(std::move(batch));
                    batch = {};
                    batchCells = 0;
                    lock.unlock();
                    m_changed.notify_all();
                }
                if (!more)
                    break;
            }
        } catch (...) {
            std::lock_guard lock(m_mutex);
            m_error = std::current_exception();
        }
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_changed.notify_all();
    }

    std::unique_ptr<SheetReader> m_reader;
    const int m_hint;
    std::thread m_thread;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<Row>> m_ready; // guarded by m_mutex, as are the flags below
    bool m_finished = false;
    bool m_stopped = false;
    std::exception_ptr m_error;

    std::vector<Row> m_batch; // the consumer's own
    size_t m_position = 0;
    int m_rowNumber = 0;
};

} // namespace

std::unique_ptr<SheetReader> SheetReader::readAhead(std::unique_ptr<SheetReader> reader)
{
    return std::make_unique<ReadAheadReader>(std::move(reader));
}

} // namespace granwise
