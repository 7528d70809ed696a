#pragma once

#include "Progress.h"
#include "sheets/CellValue.h"
#include "sheets/Utf8Row.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <functional>
#include <memory>
#include <utility>

namespace granwise {

class SheetReader;
template<typename Row>
class ReadAhead;

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
//
// The workbook is read, and its rows converted and checked, on a thread of their own a few
// rows ahead of next(), so that reading the file and storing its rows take two cores.
class UploadRows {
public:
    // A check of a row's values (upload column order) run as the row is read: true when the
    // row fails it. It runs on the reading thread.
    using RowCheck = std::function<bool(const Utf8Row &values)>;
    // A print of a row's values, made on the reading thread too.
    using RowPrint = std::function<qint64(const Utf8Row &values)>;
    explicit UploadRows(const QString &path, RowCheck check = {}, RowPrint print = {});
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
    // throws Error naming the row and column. A value is a text (UTF-8), a number or empty
    // (NULL): a numeric cell in a text column gives the program's number format; an empty cell
    // an empty text, or NULL in a number column. A
    // derived column (新建仓容, 机械设备) that disagrees with its parts comes as they add up, as
    // the entry form stores it; one that agrees is kept as the file has it.
    bool next(Progress &progress);
    const Utf8Row &values() const { return m_row.values; }
    // Whether the row last read fails the check given at opening.
    bool failsCheck() const { return m_row.failing; }
    // The print given at opening of the row last read (0 without one).
    qint64 print() const { return m_row.print; }

    // The project key (企业详细名称, 项目名称) of the row last read.
    ProjectKey key() const;

    // A derived column of the upload file and its parts, by index into the upload columns.
    struct DerivedTarget {
        int column;
        QVector<int> parts;
    };

    struct Row {
        int number = 0;
        int sheetRows = 0; // sheet rows passed to reach it, blank ones included
        bool failing = false;
        qint64 print = 0;
        Utf8Row values;
    };

private:
    QString m_path;
    std::unique_ptr<SheetReader> m_reader; // used by the reading thread once rows are read
    int m_headerRow = 0;
    int m_rowCountHint = 0;
    int m_lastColumn = 0;
    QVector<UploadColumn> m_columns;
    QVector<DerivedTarget> m_derived;
    RowCheck m_check;
    RowPrint m_print;
    Utf8Row m_cells; // the reading thread's
    int m_trailingRows = 0;     // blank sheet rows after the last row, once the end is reached
    std::unique_ptr<ReadAhead<Row>> m_ahead;
    Row m_row;

    bool produce(Row &row);
    void convert(int rowNumber, Row &row) const;
    void correctDerived(int rowNumber, Utf8Row &values) const;
};

} // namespace granwise
