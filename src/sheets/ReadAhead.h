#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace granwise {

// Produces rows on a thread of its own, a few batches ahead of the one who takes them, so that
// reading a workbook and what is done with its rows run on two cores. Rows are exchanged, not
// copied: next() swaps the caller's row with the produced one, and the caller's goes back to
// the producing thread to be filled again, so that a row's room is reused and what the
// producer allocated is freed by the producer. An exception of the producer comes out of
// next() once the rows before it are taken.
template<typename Row>
class ReadAhead {
public:
    // Fills `row` and returns true, or returns false at the end; runs on the producing thread.
    using Producer = std::function<bool(Row &row)>;
    // What a row weighs (its cells, say): a batch ends at kBatchRows rows or at `batchWeight`.
    using Weight = std::function<qsizetype(const Row &row)>;

    ReadAhead(Producer produce, Weight weight, qsizetype batchWeight)
        : m_produce(std::move(produce)), m_weight(std::move(weight)), m_batchWeight(batchWeight)
    {
        m_thread = std::thread([this] { produceAll(); });
    }

    ~ReadAhead()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    bool next(Row &row)
    {
        if (m_position == m_batch.count) {
            std::unique_lock lock(m_mutex);
            if (!m_batch.rows.empty())
                m_spare.push_back(std::move(m_batch));
            m_batch = {};
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
        std::swap(row, m_batch.rows[m_position++]);
        return true;
    }

private:
    // Rows of a batch past `count` are room kept from an earlier use.
    struct Batch {
        std::vector<Row> rows;
        size_t count = 0;
    };
    static constexpr size_t kBatchRows = 256;
    static constexpr size_t kBatchesAhead = 8;

    void produceAll()
    {
        try {
            Batch batch;
            qsizetype weight = 0;
            for (;;) {
                if (batch.count == batch.rows.size())
                    batch.rows.emplace_back();
                Row &row = batch.rows[batch.count];
                const bool more = m_produce(row);
                if (more) {
                    weight += m_weight(row);
                    ++batch.count;
                }
                if (batch.count == kBatchRows || weight >= m_batchWeight || (!more && batch.count > 0)) {
                    std::unique_lock lock(m_mutex);
                    m_changed.wait(lock, [this] { return m_ready.size() < kBatchesAhead || m_stopped; });
                    if (m_stopped)
                        return;
                    m_ready.push_back(std::move(batch));
                    batch = {};
                    if (!m_spare.empty()) {
                        batch = std::move(m_spare.back());
                        m_spare.pop_back();
                        batch.count = 0;
                    }
                    weight = 0;
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

    Producer m_produce;
    Weight m_weight;
    const qsizetype m_batchWeight;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_ready;  // guarded by m_mutex, as are the spares and the flags below
    std::vector<Batch> m_spare; // batches taken by the caller, for their room
    bool m_finished = false;
    bool m_stopped = false;
    std::exception_ptr m_error;

    Batch m_batch; // the caller's own
    size_t m_position = 0;
    std::thread m_thread;
};

} // namespace granwise
