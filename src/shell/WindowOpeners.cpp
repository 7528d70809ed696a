#include "MainWindow.h"
#include "Maintenance.h"
#include "projects/ProjectWindows.h"
#include "units/TfrmRenwu.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
void N22Click(TFrmmain &window)
{
    TfrmRenwu renwu(&window);
    QObject::connect(&renwu, &TfrmRenwu::saved, &window,
                     [&window](const QString &level) { window.applyLevelRule(level, LevelRuleVariant::Save); });
    renwu.exec();
}
} // namespace

const QHash<QString, TFrmmain::Opener> &windowOpeners()
{
    static const QHash<QString, TFrmmain::Opener> openers{
        {u"TfrmRenwu"_s, N22Click},
        {u"TFrmList1"_s, [](TFrmmain &window) { openProjectList(&window); }},
        {u"N10"_s, N10Click},
        {u"N17"_s, N17Click},
        {u"N15"_s, N15Click},
        {u"N18"_s, N18Click},
    };
    return openers;
}

} // namespace granwise
