#include "MainWindow.h"
#include "Maintenance.h"
#include "exchange/windows/UploadWindows.h"
#include "projects/windows/JournalWindow.h"
#include "projects/windows/ProjectCheckWindows.h"
#include "projects/windows/ProjectWindows.h"
#include "projects/windows/StorageSheetWindow.h"
#include "units/windows/TfrmRenwu.h"

#include <QDialog>
#include <memory>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

void N22Click(TFrmmain &window)
{
    TfrmRenwu renwu(window.context().databasePath, &window);
    QObject::connect(&renwu, &TfrmRenwu::saved, &window,
                     [&window](const QString &level) { window.applyLevelRule(level, LevelRuleVariant::Save); });
    renwu.exec();
}

const QHash<QString, TFrmmain::Opener> &fixedOpeners()
{
    static const QHash<QString, TFrmmain::Opener> openers{
        {u"TfrmRenwu"_s, N22Click},
        {u"TFrmList1"_s, [](TFrmmain &window) { openProjectList(&window, window.context()); }},
        {u"RuleReportWindow"_s, [](TFrmmain &window) { openRuleReportWindow(&window, window.context()); }},
        {u"ReviewWindow"_s, [](TFrmmain &window) { openReviewWindow(&window, window.context()); }},
        {u"JournalWindow"_s, [](TFrmmain &window) { openJournalWindow(&window, window.context().databasePath); }},
        {u"TFrmInput_Tj"_s, [](TFrmmain &window) { openStorageFacilitySheet(&window, window.context()); }},
        {u"N11"_s, [](TFrmmain &window) { makeUploadFile(&window, window.progressBar(), window.context()); }},
        {u"N20"_s, [](TFrmmain &window) { importUploadFiles(&window, window.progressBar(), window.context()); }},
        {u"N10"_s, N10Click},
        {u"N17"_s, N17Click},
        {u"N15"_s, N15Click},
        {u"N18"_s, N18Click},
    };
    return openers;
}

} // namespace

std::optional<TFrmmain::Opener> openerFor(const QString &opens)
{
    const auto fixed = fixedOpeners().constFind(opens);
    if (fixed != fixedOpeners().constEnd())
        return *fixed;
    return std::nullopt;
}

} // namespace granwise
