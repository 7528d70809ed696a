#pragma once

#include "ReportDefinition.h"

#include <QVector>
#include <functional>

class QDialog;
class QWidget;

namespace granwise {

// Every statistical table the program knows. Each report library adds its tables with one
// explicit call (registerRegionalReports(), and so on) before the menu, the command line or
// the template tool uses them; registering a title again replaces the earlier definition.
void registerReport(ReportDefinition definition);

// A window class that does not follow the generic report window: its own factory.
using ReportWindowFactory = std::function<QDialog *(QWidget *parent)>;
void registerReportWindow(const QString &className, ReportWindowFactory factory);

// All tables, in the order they were registered.
QVector<const ReportDefinition *> reportDefinitions();
// A table by its full title or its number ("1-3"); nullptr when there is none.
const ReportDefinition *findReport(const QString &titleOrNumber);
// The tables a window class serves, in registration order (the plain table first).
QVector<const ReportDefinition *> reportsOfWindow(const QString &className);
// The table a window of that class shows: the one whose title equals ReportTitle, else the
// class's first (a class with one fixed title ignores ReportTitle); nullptr for unknown classes.
const ReportDefinition *reportForWindow(const QString &className, const QString &reportTitle);

// The window the main menu opens for a class name (its objectName is the class name), showing
// the table chosen by glob::ReportTitle; nullptr for a class no library registered.
QDialog *createReportWindow(const QString &className, QWidget *parent);

} // namespace granwise
