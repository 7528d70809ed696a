#include "Glob.h"

#include <QDir>

namespace granwise::glob {

QString AppDir;
QString ConnectionString;
AppLocations Locations;
QString ReportTitle;
int UserFormMode = 0;

void setProgramDirectory(const QString &directory)
{
    AppDir = QDir(directory).absolutePath();
    if (!AppDir.endsWith(u'/'))
        AppDir += u'/';
    Locations = AppLocations::resolve(AppDir, AppLocations::userDataFolder());
    if (!Locations.besideProgram)
        QDir().mkpath(Locations.dataDir);
    ConnectionString = Locations.databasePath();
}

} // namespace granwise::glob
