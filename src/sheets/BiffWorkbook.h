#pragma once

#include "CellValue.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

namespace granwise::sheets {

// The cells of one worksheet of a legacy workbook that hold a value, in row and column order,
// kept compact (a sixteen-byte cell, texts by index) so that memory follows the cells the file
// really holds.
struct BiffSheet {
    enum class Kind : quint8 { Number, Date, SharedText, Text, Boolean, Error };
    struct Cell {
        quint32 row = 0;    // from 0
        quint16 column = 0; // from 0
        Kind kind = Kind::Number;
        union {
            double number;
            quint32 index; // SharedText: into strings; Text: into texts; Boolean 0/1; Error its code
        };
    };
    std::vector<Cell> cells;
    QVector<QString> strings; // the workbook's shared strings
    QVector<QString> texts;   // texts of the sheet's own cells and formula results

    CellValue valueOf(const Cell &cell) const;
};

// A legacy Excel 97-2003 workbook: the BIFF8 records of the stream "Workbook" of a compound
// file, read by the program itself and checked record by record against the stream's real size
// and the format's limits (65 536 rows, 256 columns, texts no longer than a cell holds, tables
// no longer than their records). Texts that go on in CONTINUE records are read across them.
// A damaged, encrypted or older (Excel 95) workbook is refused with Error naming the file.
class BiffWorkbook {
public:
    explicit BiffWorkbook(const QString &path);

    // Names of the worksheets, in tab order (chart and macro sheets left out).
    QStringList sheetNames() const;
    BiffSheet readSheet(int index) const;

    struct Sheet {
        QString name;
        quint32 offset = 0; // of its BOF record in the stream
    };
    // What a record reader needs to refuse: the file and its size.
    const QString &path() const { return m_path; }

private:
    QString m_path;
    qint64 m_fileSize = 0;
    QByteArray m_stream;
    bool m_date1904 = false;
    QVector<QString> m_strings;      // the shared strings (SST)
    std::vector<bool> m_dateFormats; // per cell format (XF): whether it shows a date
    QVector<Sheet> m_sheets;

    void readGlobals();
    bool isDate(quint16 format) const { return format < m_dateFormats.size() && m_dateFormats[format]; }
};

} // namespace granwise::sheets
