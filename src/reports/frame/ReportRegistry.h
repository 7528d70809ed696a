#pragma once

#include "ReportDefinition.h"

#include <QVector>

namespace granwise {

// Every statistical table the program knows. Each report library adds its tables with one
// explicit call (registerRegionalReports(), and so on) before the menu, the command line or
// the template tool uses them; registering a title again replaces the earlier definition.
void registerReport(ReportDefinition definition);

// All tables, in the order they were registered.
QVector<const ReportDefinition *> reportDefinitions();
// A table by its full title or its number ("1-3"); nullptr when there is none.
const ReportDefinition *findReport(const QString &titleOrNumber);
// The tables a window class serves, in registration order (the plain table first).
QVector<const ReportDefinition *> reportsOfWindow(const QString &className);
// The table named by its full title, its number, or the window class of a class with one
// table; an Error for any other name, so that no caller silently shows another table.
const ReportDefinition &registeredReport(const QString &name);

} // namespace granwise
