#include "AppContext.h"

#include <QDir>

namespace granwise {

AppContext AppContext::forProgramFolder(const QString &programFolder)
{
    QString folder = QDir(programFolder).absolutePath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    AppContext context;
    context.locations = AppLocations::resolve(folder, AppLocations::userDataFolder());
    if (!context.locations.besideProgram)
        QDir().mkpath(context.locations.dataDir);
    context.databasePath = context.locations.databasePath();
    return context;
}

} // namespace granwise
