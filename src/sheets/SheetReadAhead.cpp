#include "ReadAhead.h"
#include "ReadLimits.h"
#include "SheetReader.h"

namespace granwise {

namespace {

class ReadAheadReader final : public SheetReader {
public:
    explicit ReadAheadReader(std::unique_ptr<SheetReader> reader)
        : m_reader(std::move(reader)), m_hint(m_reader->rowCountHint()),
          m_ahead(
              [this](Row &row) {
                  if (!m_reader->nextRow(row.cells))
                      return false;
                  row.number = m_reader->rowNumber();
                  return true;
              },
              [](const Row &row) { return row.cells.capacity(); }, kBatchCells)
    {
    }

    bool nextRow(QVector<CellValue> &cells) override
    {
        std::swap(m_row.cells, cells);
        const bool more = m_ahead.next(m_row);
        std::swap(m_row.cells, cells);
        m_rowNumber = m_row.number;
        return more;
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return m_hint; }
    // The reader being read ahead checks the cells it has not read yet.
    void limitColumns(int lastColumn) override { m_reader->limitColumns(lastColumn); }

private:
    struct Row {
        int number = 0;
        QVector<CellValue> cells;
    };
    // A batch ends at so many cells when its rows are wide.
    static constexpr qsizetype kBatchCells = sheets::limits::kMaxQueuedCells / 8;

    std::unique_ptr<SheetReader> m_reader;
    const int m_hint;
    ReadAhead<Row> m_ahead;
    Row m_row;
    int m_rowNumber = 0;
};

} // namespace

std::unique_ptr<SheetReader> SheetReader::readAhead(std::unique_ptr<SheetReader> reader)
{
    return std::make_unique<ReadAheadReader>(std::move(reader));
}

} // namespace granwise
