#include "AppLocations.h"

#include "GranwiseVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString folder(const QString &path)
{
    QString result = QDir::cleanPath(QDir(path).absolutePath());
    if (!result.endsWith(u'/'))
        result += u'/';
    return result;
}

} // namespace

QString AppLocations::databasePath() const
{
    return dataDir + DatabaseFileName;
}

QString AppLocations::templatePath(const QString &fileName) const
{
    const QString own = dataDir + TemplateFolderName + fileName;
    if (besideProgram || QFileInfo(own).isFile())
        return own;
    return sharedDir + TemplateFolderName + fileName;
}

QString AppLocations::helpPath(const QString &fileName) const
{
    return sharedDir + HelpFolderName + fileName;
}

AppLocations AppLocations::resolve(const QString &programDir, const QString &userDataDir)
{
    AppLocations l;
    l.programDir = folder(programDir);
    // Installed: no templates beside the program, the shipped ones under <prefix>/share/granwise.
    const QString installed = folder(l.programDir + u"../share/granwise"_s);
    const bool installedLayout = !QFileInfo(l.programDir + TemplateFolderName).isDir()
                                 && QFileInfo(installed + TemplateFolderName).isDir();
    l.besideProgram = !installedLayout && QFileInfo(l.programDir).isWritable();
    l.sharedDir = installedLayout ? installed : l.programDir;
    l.dataDir = l.besideProgram ? l.programDir : folder(userDataDir);
    return l;
}

QString AppLocations::userDataFolder()
{
    // The same folder for both programs, whatever name each gives its application object.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/granwise"_s;
}

QString programVersion()
{
    return QStringLiteral(GRANWISE_VERSION);
}

} // namespace granwise
