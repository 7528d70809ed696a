#include "Glob.h"

#include <QDir>

namespace granwise::glob {

QString AppDir;
QString ConnectionString;
QString ReportTitle;
int UserFormMode = 0;

void setProgramDirectory(const QString &directory)
{
    AppDir = QDir(directory).absolutePath();
    if (!AppDir.endsWith(u'/'))
        AppDir += u'/';
    ConnectionString = AppDir + DatabaseFileName;
}

} // namespace granwise::glob
