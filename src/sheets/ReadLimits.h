#pragma once

#include <QString>
#include <QtGlobal>

// How much of a workbook the readers accept: every input is untrusted, so nothing is allocated
// by a size the file declares, and what a reader keeps in memory is bounded by what the file
// really holds. No upload file comes near these limits; a file beyond one is refused, naming the
// limit.
namespace granwise::sheets::limits {

// Characters (UTF-16 units) of one cell's text: the most a spreadsheet cell holds.
constexpr qsizetype kMaxCellTextLength = 32767;
// Bytes of one cell's text as sheet XML carries it, checked while it is read: enough for the
// longest text even when every character is written as the escape "_xHHHH_".
constexpr qsizetype kMaxCellTextBytes = 8 * kMaxCellTextLength;

// A part of an .xlsx package may unpack to at most this many times the size of the whole file,
// plus the allowance (so that the small parts of a small file are never refused), and never to
// more than the absolute cap. Sheet XML of real workbooks unpacks to 5 to 30 times its packed
// size; a part that unpacks a thousandfold is a zip bomb.
constexpr qint64 kMaxInflationRatio = 100;
constexpr qint64 kInflationAllowance = qint64(1) << 20;
constexpr qint64 kMaxPartBytes = qint64(8) << 30;
// A part that is parsed whole into a document (package relationships, the workbook part).
constexpr qint64 kMaxDocumentPartBytes = qint64(16) << 20;
// Memory one XML reader may take for its own buffer: the markup it must hold at once (a start
// tag, a comment) and as much again to grow the buffer. A cell's start tag is a few dozen bytes;
// text is never held whole.
constexpr qint64 kMaxXmlParserBytes = qint64(32) << 20;

// The shared strings are held in memory while the sheet is read. They may take this much, or
// this many times the size of the file when that is more (a real table of strings takes a few
// times its packed size).
constexpr qint64 kSharedStringsFloorBytes = qint64(64) << 20;
constexpr qint64 kSharedStringsPerFileByte = 32;
// What one string costs besides its characters (the string object and its allocation).
constexpr qint64 kSharedStringOverheadBytes = 48;

// Cell formats (a spreadsheet program allows 64 000) and number formats of the styles part.
constexpr int kMaxCellFormats = 65536;
constexpr int kMaxNumberFormats = 65536;

// Rows a reader parses ahead of its caller are bounded by their cells, so that rows of many
// cells never pile up: a reader stops parsing once this many cells wait.
constexpr qsizetype kMaxQueuedCells = qsizetype(1) << 16;

// A cell of an upload file may lie at most this many columns right of the header's last
// column: cells far beyond the header are no data of the file and only cost memory.
constexpr int kColumnsPastHeader = 64;

// The most the shared strings of a workbook of `fileSize` bytes may take.
qint64 sharedStringsBudget(qint64 fileSize);
// The most one part of an .xlsx package of `fileSize` bytes may unpack to.
qint64 partBudget(qint64 fileSize);
// "12 MB", "1.5 GB": a byte count as the refusals name it.
QString byteSize(qint64 bytes);

// Refuses a workbook that goes beyond a limit: Error "工作簿超出可读取的范围：{path}（{reason}）".
[[noreturn]] void refuseBeyondLimit(const QString &path, const QString &reason);

} // namespace granwise::sheets::limits
