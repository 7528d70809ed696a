#pragma once

#include "Progress.h"
#include "sheets/CellValue.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <memory>
#include <utility>

namespace granwise {

class SheetReader;

// A project's key: (企业详细名称, 项目名称).
using ProjectKey = std::pair<QString, QString>;

// One upload column found in the header row.
struct UploadColumn {
    QString name;
    bool number = false;
    int sheetColumn = -1; // index into the row's cells
};

// The rows of an upload file as they are stored: the one reader of the import and its
// preview. Opening reads the header of the sheet "数据信息" and finds every upload column by
// its text (a header "id" or an unknown header is ignored; a missing or doubled column
// refuses the file with Error). Each row comes with its cells converted for their columns.
class UploadRows {
public:
    explicit UploadRows(const QString &path);
    ~UploadRows();

    // In uploadColumnNames() order.
    const QVector<UploadColumn> &columns() const { return m_columns; }
    QStringList columnNames() const;
    // Sheet rows below the header, as far as the workbook tells.
    int rowCountHint() const;
    // Sheet row number of the row last read.
    int rowNumber() const;

    // Reads the next row with a value into values() (upload column order), advancing the
    // progress by each sheet row passed; false at the end. A cell that does not fit its column
    // throws Error naming the row and column. A numeric cell in a text column gives the
    // program's number format; an empty cell an empty text, or NULL in a number column. A
    // derived column (新建仓容, 机械设备) that disagrees with its parts comes as they add up, as
    // the entry form stores it; one that agrees is kept as the file has it.
    bool next(Progress &progress);
    const QVariantList &values() const { return m_values; }

    // The project key (企业详细名称, 项目名称) of the row last read.
    ProjectKey key() const;

    // A derived column of the upload file and its parts, by index into the upload columns.
    struct DerivedTarget {
        int column;
        QVector<int> parts;
    };

private:
    QString m_path;
    std::unique_ptr<SheetReader> m_reader;
    int m_headerRow = 0;
    int m_lastColumn = 0;
    QVector<UploadColumn> m_columns;
    QVector<DerivedTarget> m_derived;
    QVector<CellValue> m_cells;
    QVariantList m_values;

    void correctDerived(int row);
};

} // namespace granwise
