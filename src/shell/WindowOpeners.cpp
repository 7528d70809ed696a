#include "MainWindow.h"
#include "ui/DocumentedNames.h"
#include "MaintenanceMenu.h"
#include "exchange/windows/UploadWindows.h"
#include "projects/windows/JournalWindow.h"
#include "projects/windows/ProjectCheckWindows.h"
#include "projects/windows/ProjectWindows.h"
#include "projects/windows/StorageSheetWindow.h"
#include "units/windows/TaskInfoWindow.h"

#include <QDialog>
#include <memory>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

void openTaskInformation(MainWindow &window)
{
    TaskInfoWindow renwu(window.context().databasePath, &window);
    QObject::connect(&renwu, &TaskInfoWindow::saved, &window,
                     [&window](const QString &level) { window.applyLevelRule(level, LevelRuleVariant::Save); });
    renwu.exec();
}

const QHash<QString, MainWindow::Opener> &fixedOpeners()
{
    static const QHash<QString, MainWindow::Opener> openers{
        {documented::TaskInfoWindow, openTaskInformation},
        {documented::ProjectListWindow, [](MainWindow &window) { openProjectList(&window, window.context()); }},
        {documented::RuleReportWindow, [](MainWindow &window) { openRuleReportWindow(&window, window.context()); }},
        {documented::ReviewWindow, [](MainWindow &window) { openReviewWindow(&window, window.context()); }},
        {documented::JournalWindow, [](MainWindow &window) { openJournalWindow(&window, window.context().databasePath); }},
        {documented::StorageSheetWindow, [](MainWindow &window) { openStorageFacilitySheet(&window, window.context()); }},
        {u"N11"_s, [](MainWindow &window) { makeUploadFile(&window, window.progressBar(), window.context()); }},
        {u"N20"_s, [](MainWindow &window) { importUploadFiles(&window, window.progressBar(), window.context()); }},
        {u"N10"_s, resetSystem},
        {u"N17"_s, backUpDatabase},
        {u"N15"_s, restoreFromBackup},
        {u"N18"_s, openHelp},
    };
    return openers;
}

} // namespace

std::optional<MainWindow::Opener> openerFor(const QString &opens)
{
    const auto fixed = fixedOpeners().constFind(opens);
    if (fixed != fixedOpeners().constEnd())
        return *fixed;
    return std::nullopt;
}

} // namespace granwise
