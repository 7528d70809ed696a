#pragma once

#include "TestSupport.h"
#include "reports/frame/ReportDefinition.h"
#include "reports/frame/ReportGrid.h"

#include <QMap>
#include <QStringList>
#include <QVariantMap>

// Helpers of the tests of tables 1-1, 1-24 .. 1-27 and 2-1 .. 2-9.
namespace granwise::summarytest {

// A registered table by its number; throws when there is none.
const ReportDefinition &table(const QString &number);
// The table as its window opens it over the database.
ReportGrid opened(const QString &number, const test::TempDatabase &db);

// A project with a name of its own and the given columns; every other number column 0 and
// every other text column empty (NULL).
QVariantMap project(const QVariantMap &values);

// Column 0 of every data row; the texts of the figure columns (1 .. C-1) of one row.
QStringList labelsOf(const ReportGrid &grid);
QStringList figuresOf(const ReportGrid &grid, int row);

// The cells of the first worksheet of a workbook: row (from 1) -> texts of columns A onward.
QMap<int, QStringList> readWorksheet(const QString &path);

} // namespace granwise::summarytest
