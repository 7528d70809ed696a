#include "CopyTemplateFile.h"

#include "store/Error.h"
#include "store/OutputFile.h"

#include <QFile>
#include <QFileInfo>

namespace granwise {

using namespace Qt::StringLiterals;

void CopyTemplateFile(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(u"Cannot open file %1"_s.arg(source));
    // Copying a file onto itself would empty it before reading: there is nothing to do.
    const QString canonicalSource = QFileInfo(source).canonicalFilePath();
    if (!canonicalSource.isEmpty() && canonicalSource == QFileInfo(destination).canonicalFilePath())
        return;
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(u"Cannot create file %1"_s.arg(destination));
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            throw Error(u"Cannot open file %1"_s.arg(source));
        if (n == 0)
            break;
        if (out.write(buffer, n) != n)
            throw Error(u"Cannot create file %1"_s.arg(destination));
    }
    if (!out.flush())
        throw Error(u"Cannot create file %1"_s.arg(destination));
}

void writeFromTemplate(const QString &templatePath, const QString &target,
                       const std::function<void(const QString &copy)> &fill)
{
    OutputFile out(target);
    CopyTemplateFile(templatePath, out.path());
    fill(out.path());
    out.commit();
}

} // namespace granwise
