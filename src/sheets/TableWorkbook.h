#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace granwise {

// Writes a plain workbook of one sheet: the headings in row 1, then one row per entry. The
// file is written under a temporary name beside `path` and renamed into place when complete.
void writeTableWorkbook(const QString &path, const QString &sheetName, const QStringList &headings,
                        const QVector<QVector<QVariant>> &rows);

} // namespace granwise
