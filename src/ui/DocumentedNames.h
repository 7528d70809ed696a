#pragma once

#include <QString>

// The names the program's documents give its windows, in one place. A window carries its name as
// its objectName (tests and templates find windows by it) and the menu names what an entry opens
// by it; the classes themselves have English names (README, "Documented names"). A table's
// window name comes with the table's definition (ReportDefinition::className), and a control's
// name is set where the window builds the control.
namespace granwise::documented {

inline const QString MainWindow = QStringLiteral("TFrmmain");
inline const QString LoginDialog = QStringLiteral("Tlogin");
inline const QString UsersDialog = QStringLiteral("TFrmusers");
inline const QString TaskInfoWindow = QStringLiteral("TfrmRenwu");
inline const QString ProjectListWindow = QStringLiteral("TFrmList1");
inline const QString ProjectForm = QStringLiteral("TFrmInput1");
inline const QString QueryDefinitionWindow = QStringLiteral("TFrmDefine");
inline const QString StorageSheetWindow = QStringLiteral("TFrmInput_Tj");
inline const QString ValidateAllWindow = QStringLiteral("TFrmCheckAll");
inline const QString RuleReportWindow = QStringLiteral("RuleReportWindow");
inline const QString ReviewWindow = QStringLiteral("ReviewWindow");
inline const QString JournalWindow = QStringLiteral("JournalWindow");
inline const QString HelpViewer = QStringLiteral("HelpViewer");

} // namespace granwise::documented
