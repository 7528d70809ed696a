#pragma once

#include "sheets/Utf8Row.h"

#include <QVector>

namespace granwise {

class Connection;

// The journal's print (see ProjectPrint.h) of an upload row, made from the values about to be
// stored rather than read back from the table: on the thread that reads the file, and without
// a pass over the stored rows. It holds only where the table stores the values as they are
// bound, so that SQLite gives them back as they were: see printsAsBound().
class UploadRowPrinter {
public:
    // For rows of upload values in uploadColumnNames() order.
    UploadRowPrinter();
    qint64 print(const Utf8Row &values) const;

    // Whether the project table keeps the values of an upload row as bound: texts in columns of
    // TEXT affinity in a UTF-8 database, numbers in columns of REAL affinity, no trigger. A
    // database made elsewhere may be otherwise (NUMERIC would turn 3.0 into 3); its prints are
    // then read back from the table.
    static bool printsAsBound(Connection &connection);

private:
    QVector<QVector<int>> m_groups; // upload column positions, group by group
};

} // namespace granwise
