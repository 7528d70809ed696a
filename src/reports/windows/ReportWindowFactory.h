#pragma once

#include "store/AppContext.h"

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace granwise {

// A window class that does not follow the generic report window: its own factory.
using ReportWindowFactory = std::function<QDialog *(const AppContext &context, QWidget *parent)>;
void registerReportWindow(const QString &className, ReportWindowFactory factory);

struct ReportDefinition;

// The window of a table (its objectName is the table's window class): the generic report window,
// or the window its library registered for the class.
QDialog *createReportWindow(const ReportDefinition &definition, const AppContext &context, QWidget *parent);

} // namespace granwise
