#include "MainWindow.h"
#include "Maintenance.h"

namespace granwise {

using namespace Qt::StringLiterals;

const QHash<QString, TFrmmain::Opener> &windowOpeners()
{
    static const QHash<QString, TFrmmain::Opener> openers{
        {u"N10"_s, N10Click},
        {u"N17"_s, N17Click},
        {u"N15"_s, N15Click},
        {u"N18"_s, N18Click},
    };
    return openers;
}

} // namespace granwise
