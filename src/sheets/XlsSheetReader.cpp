#include "XlsxSheetReader.h"

#include "BiffWorkbook.h"
#include "store/Error.h"

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

// A worksheet of a legacy workbook. The workbook is read whole when it is opened (its records
// are checked as they are read); the rows are then given from its cells.
class XlsSheetReader final : public SheetReader {
public:
    XlsSheetReader(const QString &path, BiffSheet sheet) : m_path(path), m_sheet(std::move(sheet)) {}

    bool nextRow(QVector<CellValue> &cells) override
    {
        const std::vector<BiffSheet::Cell> &all = m_sheet.cells;
        if (m_next >= all.size())
            return false;
        const quint32 row = all[m_next].row;
        size_t end = m_next;
        while (end < all.size() && all[end].row == row)
            ++end;
        const int width = all[end - 1].column + 1; // cells of a row are in column order
        if (width > columnLimit())
            refuseColumnBeyondLimit(m_path, int(row) + 1, width, columnLimit());
        cells.clear();
        cells.resize(width);
        for (size_t i = m_next; i < end; ++i)
            cells[all[i].column] = m_sheet.valueOf(all[i]);
        m_next = end;
        m_rowNumber = int(row) + 1;
        return true;
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return m_sheet.cells.empty() ? -1 : int(m_sheet.cells.back().row) + 1; }

private:
    QString m_path;
    BiffSheet m_sheet;
    size_t m_next = 0;
    int m_rowNumber = 0;
};

} // namespace

std::unique_ptr<SheetReader> openXlsSheet(const QString &path, const QString &sheetName)
{
    const BiffWorkbook workbook(path);
    const QStringList names = workbook.sheetNames();
    qsizetype index = names.indexOf(sheetName);
    if (index < 0) {
        for (qsizetype i = 0; i < names.size() && index < 0; ++i)
            if (names.at(i).compare(sheetName, Qt::CaseInsensitive) == 0)
                index = i;
    }
    if (index < 0)
        throw Error(u"工作簿中没有工作表“%1”：%2"_s.arg(sheetName, path));
    return std::make_unique<XlsSheetReader>(path, workbook.readSheet(int(index)));
}

QStringList xlsSheetNames(const QString &path)
{
    return BiffWorkbook(path).sheetNames();
}

} // namespace granwise::sheets
