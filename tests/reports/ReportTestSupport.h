#pragma once

#include "TestSupport.h"
#include "reports/frame/ReportDefinition.h"
#include "reports/frame/ReportGrid.h"

#include <QStringList>
#include <QVariantMap>

namespace granwise::test {

// A project of a local enterprise with the given division code and figures; every other
// number column 0.
QVariantMap localProject(const QString &code, const QVariantMap &figures = {});
QVariantMap centralProject(const QString &code, const QString &company, const QVariantMap &figures = {});

// Adds the projects of a CSV fixture (first line: column names) to the database.
void addFixtureProjects(const TempDatabase &db, const QString &fixtureName);

// A registered table by its number; the test fails when there is none.
const ReportDefinition &table(const QString &number);
// The whole-country table over the database.
ReportGrid wholeTable(const QString &number, const TempDatabase &db);

// The first data row with that label, -1 when there is none.
int rowOf(const ReportGrid &grid, const QString &label);
// The figure texts (columns 1 .. C-1) of the row with that label; empty when there is none.
QStringList figuresOf(const ReportGrid &grid, const QString &label);
// Column 0 of every data row.
QStringList labelsOf(const ReportGrid &grid);

// Copies the template workbooks the build made into the test's program directory.
void installTemplates(const TempDatabase &db);
// The cells of the first worksheet of a workbook: row (from 1) -> texts of columns A onward.
QMap<int, QStringList> readWorksheet(const QString &path);

} // namespace granwise::test
