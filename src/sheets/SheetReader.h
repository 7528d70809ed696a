#pragma once

#include "CellValue.h"
#include "Utf8Row.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <limits>
#include <memory>

namespace granwise {

// Reads one worksheet of a workbook row by row: an Office Open XML workbook (.xlsx), streamed
// so that memory does not grow with the sheet, or a legacy Excel 97-2003 workbook (.xls,
// BIFF8). The kind is told from the file's content, not its name. Every failure (missing file,
// empty or damaged file, missing sheet) throws Error with a readable text.
class SheetReader {
public:
    virtual ~SheetReader() = default;

    // Opens the worksheet of that name (exact, else ignoring case).
    static std::unique_ptr<SheetReader> open(const QString &path, const QString &sheetName);
    // Names of the worksheets, in tab order.
    static QStringList sheetNames(const QString &path);
    // Reads the rows of `reader` ahead in a background thread, a few thousand at most, so that
    // unpacking and parsing the workbook overlap with what the caller does with its rows.
    // Errors of the reader come out of nextRow() as before. The wrapped reader belongs to the
    // returned one.
    static std::unique_ptr<SheetReader> readAhead(std::unique_ptr<SheetReader> reader);

    // The next row that holds cells, in sheet order; cells[0] is column A. Rows the sheet does
    // not hold are skipped (see rowNumber()). False at the end of the sheet.
    virtual bool nextRow(QVector<CellValue> &cells) = 0;
    // The same, its texts kept in UTF-8: for a caller of many rows that stores them as they are.
    // The two may be mixed on one reader.
    virtual bool nextUtf8Row(Utf8Row &row);
    // Sheet row number, counted from 1, of the row nextRow() gave last.
    virtual int rowNumber() const = 0;
    // The last row number the sheet says it uses, or -1 when it does not say.
    virtual int rowCountHint() const = 0;

    // From now on a cell with a value right of `lastColumn` (counted from 1) refuses the sheet:
    // nextRow() throws Error naming the row and column. Rows read ahead already are not checked
    // again.
    virtual void limitColumns(int lastColumn) { m_columnLimit = lastColumn; }
    // Waits for what the reader reads beside the rows (a workbook's shared strings) and throws
    // the error that stopped it, if any: such an error is the file's first, before anything a
    // caller met in the rows given so far. nextRow() does so itself before it throws or ends.
    virtual void checkParts() {}
    // The refusal of a cell right of the limit.
    [[noreturn]] static void refuseColumnBeyondLimit(const QString &path, int row, int column, int lastColumn);

protected:
    int columnLimit() const { return m_columnLimit; }

private:
    QVector<CellValue> m_utf8Cells; // nextUtf8Row()'s, for a reader without a way of its own
    std::atomic<int> m_columnLimit{std::numeric_limits<int>::max()};
};

} // namespace granwise
