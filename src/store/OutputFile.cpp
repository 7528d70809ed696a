#include "OutputFile.h"

#include "Error.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 8; ++i)
        suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return suffix;
}

// Flushes a file (or a folder's entries) to the disk; false when the disk refuses.
bool syncToDisk(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

OutputFile::OutputFile(const QString &target) : m_target(target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = target + u'.' + randomSuffix() + u".part"_s;
        QFile file(candidate);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            // A file written over an existing one keeps that one's permissions.
            if (QFileInfo(target).isFile())
                file.setPermissions(QFile(target).permissions());
            m_temporary = candidate;
            return;
        }
        if (!QFileInfo::exists(candidate))
            break; // not a name taken: the folder takes no file, and other names will not help
    }
    throw Error(u"Cannot create file %1"_s.arg(target));
}

OutputFile::~OutputFile()
{
    if (!m_done)
        discard();
}

void OutputFile::discard()
{
    removeWithJournal(m_temporary);
    m_done = true;
}

void OutputFile::commit()
{
    if (m_done)
        throw Error(u"Cannot create file %1"_s.arg(m_target));
    QString reason;
    if (!QFileInfo(m_temporary).isFile())
        reason = u"文件没有写成"_s;
    else if (!syncToDisk(m_temporary, O_RDONLY))
        reason = QString::fromLocal8Bit(std::strerror(errno));
    else if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        reason = QString::fromLocal8Bit(std::strerror(errno));
    if (!reason.isEmpty()) {
        discard();
        throw Error(u"文件无法写入：%1（%2）"_s.arg(m_target, reason));
    }
    m_done = true;
    removeWithJournal(m_temporary); // the journal a database writer may have left
    const QString folder = QFileInfo(m_target).absolutePath();
    syncToDisk(folder, O_RDONLY | O_DIRECTORY); // the rename itself; a folder that cannot be synced is no failure
}

void writeFileAtomically(const QString &target, const QByteArray &bytes)
{
    OutputFile out(target);
    {
        QFile file(out.path());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
            !file.flush())
            throw Error(u"文件无法写入：%1（%2）"_s.arg(target, file.errorString()));
    }
    out.commit();
}

void removeWithJournal(const QString &path)
{
    if (path.isEmpty())
        return;
    QFile::remove(path);
    QFile::remove(path + u"-journal"_s);
}

} // namespace granwise
