#pragma once

#include "SpillingPages.h"
#include "ZipArchive.h"

#include <QString>
#include <QVector>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace granwise::sheets {

// The shared strings of a workbook, held compactly: their UTF-8 bytes one after another in
// blocks, a QString made only when a cell asks for one. The few strings that carry the
// workbook's "_xHHHH_" escapes are kept decoded beside the blocks.
//
// So that a workbook of any size is read in bounded memory, both the bytes and the table of
// where each string lies are held in pages of which only the first stay in memory
// (spreadsheet programs number the strings in the order the sheet first uses them, so the
// texts a sheet repeats most come first); the others go to a temporary file as they fill and
// are read back as the sheet moves on to them (SpillingPages).
class SharedStrings {
public:
    SharedStrings();
    ~SharedStrings();
    SharedStrings(SharedStrings &&) noexcept;
    SharedStrings &operator=(SharedStrings &&) noexcept;

    static constexpr size_t kResidentBlocks = 4;
    static constexpr size_t kRecentBlocks = 4;
    static constexpr size_t kResidentItemPages = 4;
    static constexpr size_t kRecentItemPages = 4;

    qsizetype size() const { return m_count; }
    QString at(qsizetype index) const;
    // The string's UTF-8, valid until the next call; `scratch` holds it when it is not in memory.
    std::string_view utf8At(qsizetype index, std::string &scratch) const;
    // Adds a string as the part holds it (escapes not yet undone); returns its length in
    // UTF-16 units once decoded.
    qsizetype append(std::string_view utf8);

private:
    // The bytes fill blocks of a fixed size, a string never split between two, so that the
    // table grows without copying what it holds (a growing buffer of one piece would, for a
    // moment, take three times its size).
    static constexpr int kBlockBits = 20;
    static constexpr int kLengthBits = 24; // a string's bytes are far fewer than 16 MB
    static constexpr int kItemPageBits = 16; // items of a page
    SpillingPages m_blocks;
    quint64 m_used = 0; // bytes taken in the last block
    // Each string as its place (block << kBlockBits | offset) << kLengthBits | its length.
    SpillingPages m_items;
    qsizetype m_count = 0;
    std::vector<std::pair<qsizetype, std::string>> m_decoded; // UTF-8, by index, ascending

    void appendItem(quint64 item);
    quint64 item(qsizetype index) const;
};

// The shared strings of a workbook, read on a thread of their own while the sheet that uses
// them is read: phonetic runs left out, the workbook's "_xHHHH_" escapes undone. A cell waits
// only for the string it refers to, and a spreadsheet program numbers the strings in the
// order the sheet first uses them, so the sheet seldom waits at all.
//
// A string longer than a cell holds (limits::kMaxCellTextLength) or a table taking more
// memory than limits::sharedStringsBudget of the file refuses the workbook; the budget counts
// each string as a QString of its own would take, whatever the table really holds. An error
// of the table is the workbook's first, wherever the sheet is: finish() and a string waited
// for throw it.
class SharedStringsAhead {
public:
    // The part of the workbook at `path`, read through an archive of the reading thread's own
    // (libzip reads one entry at a time).
    SharedStringsAhead(const QString &path, const std::string &part);
    // Stops the reading.
    ~SharedStringsAhead();
    SharedStringsAhead(const SharedStringsAhead &) = delete;
    SharedStringsAhead &operator=(const SharedStringsAhead &) = delete;

    // The UTF-8 of the string `index`, valid until the next call (`scratch` may hold it),
    // waiting until it is read; nullopt when the table, read whole, has no such string.
    std::optional<std::string_view> utf8At(qsizetype index, std::string &scratch);
    // Waits until the whole table is read; throws what stopped it.
    void finish();

    struct Shared; // what the reading thread and the sheet's share

private:
    std::unique_ptr<Shared> m_shared;
    std::thread m_thread;
    bool m_complete = false; // read whole: strings are taken without the lock
};

// For each cell format (cellXfs) of the styles part, in order, whether it shows a date. Only
// the number formats and cell formats are read, streamed; more of them than a spreadsheet
// program allows is refused. A styles part that is no well-formed XML gives no dates.
std::vector<bool> loadDateStyles(const ZipReader &zip, const std::string &part);

} // namespace granwise::sheets
