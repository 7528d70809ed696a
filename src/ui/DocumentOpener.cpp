#include "DocumentOpener.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace granwise {

using namespace Qt::StringLiterals;

QString &DocumentOpener::program()
{
    static QString opener = u"xdg-open"_s;
    return opener;
}

void DocumentOpener::open(QObject *owner, const QString &path, const std::function<void()> &fallback)
{
    const QString opener = QStandardPaths::findExecutable(program());
    if (opener.isEmpty()) {
        QTimer::singleShot(0, owner, fallback);
        return;
    }
    auto *process = new QProcess(owner);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    // The opener may keep running while the viewer it started is open; it ends in failure
    // when it found nothing to open the document with.
    QObject::connect(process, &QProcess::finished, process,
                     [process, fallback](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             fallback();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, fallback](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash also ends in finished()
        process->deleteLater();
        fallback();
    });
    process->start(opener, {path});
}

} // namespace granwise
