#include "DatabaseInstall.h"

#include "Error.h"
#include "OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// How long to wait for a reader to finish before the database counts as in use.
constexpr int kLockWaitMs = 250;

QString inUse(const QString &path)
{
    return u"数据库正在被另一个程序使用（可能正在导入数据），现在不能替换，请等它完成后再试：%1"_s.arg(path);
}

// The live database, opened to be overwritten: closed when it goes out of scope, which also
// gives up its lock.
class LockedDatabase {
public:
    explicit LockedDatabase(const QString &path) : m_path(path)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
        sqlite3_busy_timeout(m_db, kLockWaitMs);
        sqlite3_extended_result_codes(m_db, 1);
    }
    ~LockedDatabase() { sqlite3_close_v2(m_db); }
    LockedDatabase(const LockedDatabase &) = delete;
    LockedDatabase &operator=(const LockedDatabase &) = delete;

    // Takes the file for this connection alone and keeps it until the connection closes. Taking
    // it rolls back a journal a killed writer left. False when the file is no database at all,
    // or one too damaged to be opened.
    bool lock()
    {
        // The lock is kept after each transaction; a database in WAL mode goes back to a rollback
        // journal, the only mode the backup below can change the page size in.
        for (const char *sql : {"pragma locking_mode = exclusive", "pragma journal_mode = delete",
                                "begin exclusive", "commit"}) {
            const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
            if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT)
                return false;
            if (rc != SQLITE_OK)
                fail(rc);
        }
        return true;
    }

    // Overwrites the whole database with the pages of another.
    void overwriteFrom(const QString &sourcePath)
    {
        sqlite3 *source = nullptr;
        int rc = sqlite3_open_v2(QFile::encodeName(sourcePath).constData(), &source,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_backup *backup = sqlite3_backup_init(m_db, "main", source, "main");
            if (!backup) {
                rc = sqlite3_extended_errcode(m_db);
            } else {
                rc = sqlite3_backup_step(backup, -1);
                const int finished = sqlite3_backup_finish(backup);
                rc = rc == SQLITE_DONE ? finished : rc;
            }
        }
        sqlite3_close_v2(source);
        if (rc != SQLITE_OK)
            fail(rc);
    }

    bool intact()
    {
        sqlite3_stmt *check = nullptr;
        bool ok = sqlite3_prepare_v2(m_db, "pragma quick_check", -1, &check, nullptr) == SQLITE_OK &&
                  sqlite3_step(check) == SQLITE_ROW &&
                  qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)), "ok") == 0;
        sqlite3_finalize(check);
        return ok;
    }

private:
    [[noreturn]] void fail(int rc) const
    {
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            throw Error(inUse(m_path));
        const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        throw Error(u"数据库文件无法替换：%1（%2）"_s.arg(m_path, reason));
    }

    sqlite3 *m_db = nullptr;
    QString m_path;
};

} // namespace

void installDatabase(OutputFile &built)
{
    const QString &target = built.target();
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        throw Error(u"数据库文件不是普通文件：%1"_s.arg(target));
    if (info.exists()) {
        LockedDatabase live(target);
        if (live.lock()) {
            live.overwriteFrom(built.path());
            if (!live.intact())
                throw Error(u"数据库文件替换后检查未通过：%1"_s.arg(target));
            return;
        }
        // No database, or a wreck: nobody can be using it, and any journal beside it was rolled
        // back by the attempt to lock it.
    }
    // A journal without its database belongs to a file that is gone; left there, it would be
    // played into the new one.
    QFile::remove(target + u"-journal"_s);
    built.commit();
}

void requireDatabaseFree(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return;
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kLockWaitMs);
        rc = sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db);
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw Error(inUse(path));
}

} // namespace granwise
