#pragma once

#include <QByteArray>
#include <QString>

namespace granwise {

// Every file the program writes goes through here: it is written under a temporary name beside
// its target ("<target>.<random>.part") and renamed over the target only when it is complete,
// so the target is always either what it was before or the whole new file, whether the writing
// fails, the disk fills up or the program is killed. A temporary that is not committed is
// removed (with a database journal beside it) when the object goes.
//
//     OutputFile out(target);
//     write(out.path());   // anything that makes the file at that path
//     out.commit();
class OutputFile {
public:
    // Reserves the temporary: an empty file the writer may replace or overwrite. Throws Error
    // "Cannot create file <target>" when the folder takes no file.
    explicit OutputFile(const QString &target);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    const QString &path() const { return m_temporary; }
    const QString &target() const { return m_target; }

    // Puts the finished file on the disk and renames it over the target (atomically: a reader
    // sees the old file or the new one). Throws Error and removes the temporary on failure.
    void commit();

private:
    void discard();
    QString m_target;
    QString m_temporary;
    bool m_done = false;
};

// Writes the bytes to `target` through an OutputFile.
void writeFileAtomically(const QString &target, const QByteArray &bytes);

// Removes a file together with the journal SQLite may have left beside it.
void removeWithJournal(const QString &path);

} // namespace granwise
