#include "Maintenance.h"

#include "Database.h"
#include "Journal.h"
#include "JournalTexts.h"
#include "ProjectColumns.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace granwise::maintenance {

using namespace Qt::StringLiterals;

namespace {

// Tables of the schema besides TZ_XIANGMU that every database of the program has.
const QStringList &expectedTables()
{
    static const QStringList tables{u"userinfo"_s, u"任务信息"_s, u"汇总级别"_s, u"年度"_s, u"province"_s,
                                    u"city"_s, u"county"_s, u"中储粮分公司"_s, u"中粮分公司"_s, u"华粮分公司"_s,
                                    u"中纺分公司"_s, u"新疆兵团分公司"_s, u"查询指标"_s, u"基础情况统计表指标"_s,
                                    u"TZ_XIANGMU"_s};
    return tables;
}

// Copies a whole database file into a new file through the online backup API.
void copyDatabase(const QString &source, const QString &target)
{
    Connection from(source);
    QFile::remove(target);
    Connection to(target, Connection::Mode::CreateFile);
    sqlite3_backup *backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        to.fail(u"backup %1"_s.arg(target));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        to.fail(u"backup %1"_s.arg(target));
}

void replaceFile(const QString &temporary, const QString &target)
{
    // rename(2) replaces the target atomically.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        throw Error(u"Cannot create file %1"_s.arg(target));
    }
}

} // namespace

void resetDatabase(const QString &databasePath)
{
    Connection connection(databasePath);
    Transaction transaction(connection);
    {
        JournalEntry entry(connection, journal::texts::Reset);
        entry.keepWhere(u"1"_s);
        entry.setCounts(journal::texts::ProjectsRemoved.arg(
            connection.scalar(u"select count(*) from TZ_XIANGMU"_s).toInt()));
    }
    connection.execute(u"delete from userinfo"_s);
    connection.execute(u"delete from TZ_XIANGMU"_s);
    connection.execute(u"delete from 任务信息"_s);
    transaction.commit();
}

void backupDatabase(const QString &databasePath, const QString &target)
{
    const QString temporary = target + u".part"_s;
    try {
        copyDatabase(databasePath, temporary);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    replaceFile(temporary, target);
}

QString restoreRefusal(const QString &backupPath)
{
    QFile file(backupPath);
    if (!file.open(QIODevice::ReadOnly))
        return u"文件无法打开：%1"_s.arg(backupPath);
    if (file.read(16) != QByteArray("SQLite format 3\0", 16))
        return u"文件不是本系统的数据库备份"_s;
    file.close();
    try {
        Connection connection(backupPath);
        const QString integrity = connection.scalar(u"pragma integrity_check"_s).toString();
        if (integrity != u"ok"_s)
            return u"备份文件已损坏：%1"_s.arg(integrity);
        for (const QString &table : expectedTables())
            if (!connection.tableExists(table))
                return u"备份文件缺少数据表 %1"_s.arg(table);
        QStringList expected;
        for (const ProjectColumn &c : projectColumns())
            expected << c.name;
        if (connection.columnNames(u"TZ_XIANGMU"_s) != expected)
            return u"备份文件的项目表与本系统不一致"_s;
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

void restoreDatabase(const QString &backupPath, const QString &databasePath)
{
    const QString refusal = restoreRefusal(backupPath);
    if (!refusal.isEmpty())
        throw Error(refusal);
    const QString temporary = databasePath + u".restore"_s;
    try {
        copyDatabase(backupPath, temporary);
        Connection restored(temporary);
        // The installation's journal survives; a database that cannot be read has none to give.
        const bool readable = QFileInfo::exists(databasePath) && restoreRefusal(databasePath).isEmpty();
        journal::carryOverForRestore(restored, readable ? databasePath : QString(),
                                     QFileInfo(backupPath).fileName());
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    replaceFile(temporary, databasePath);
}

} // namespace granwise::maintenance
