#include "Maintenance.h"

#include "Database.h"
#include "DatabaseInstall.h"
#include "DatabaseSetup.h"
#include "InputFile.h"
#include "Journal.h"
#include "JournalTexts.h"
#include "OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <sqlite3.h>

namespace granwise::maintenance {

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

QStringList columnsOf(Connection &connection, const QString &schema, const QString &table)
{
    QStringList names;
    Statement st = connection.prepare(u"select name from pragma_table_info(?, ?)"_s);
    st.bind(1, table).bind(2, schema);
    while (st.next())
        names << st.text(0);
    return names;
}

QStringList tablesOf(Connection &connection, const QString &schema)
{
    QStringList names;
    Statement st = connection.prepare(u"select name from "_s + schema +
                                      u".sqlite_master where type = 'table' and name not like 'sqlite\\_%' escape '\\'"_s);
    while (st.next())
        names << st.text(0);
    return names;
}

// The journal's tables, which backups made before the journal existed do not have.
bool isJournalTable(const QString &table)
{
    return table.startsWith(u"操作记录"_s);
}

// The tables of the program's database and their columns, in schema order.
const QVector<std::pair<QString, QStringList>> &ourTables()
{
    static const QVector<std::pair<QString, QStringList>> tables = [] {
        Connection schema(u":memory:"_s, Connection::Mode::CreateFile);
        createSchema(schema);
        QVector<std::pair<QString, QStringList>> list;
        for (const QString &table : tablesOf(schema, u"main"_s))
            list.append({table, columnsOf(schema, u"main"_s, table)});
        return list;
    }();
    return tables;
}

// Copies a whole database file into another (an empty one) through the online backup API.
void copyDatabase(const QString &source, const QString &target)
{
    Connection from(source);
    Connection to(target, Connection::Mode::CreateFile);
    sqlite3_backup *backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        to.fail(u"backup "_s + target);
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        to.fail(u"backup "_s + target);
}

const QString BackupSchema = u"backup"_s;

// Rows of every table of ours, and only the columns of ours, from the attached backup into the
// fresh schema of the connection; the row ids come along, so the order of the rows is kept.
void copyRows(Connection &connection)
{
    for (const auto &[table, columns] : ourTables()) {
        // An older backup has no journal yet; every other table the backup check has required.
        if (connection.scalar(u"select count(*) from %1.sqlite_master where type = 'table' and name = ?"_s.arg(BackupSchema),
                              {table}).toInt() == 0)
            continue;
        // TZ_XIANGMU's id is its row id; the journal's tables keep their own keys.
        const bool hasOwnRowId = table == u"TZ_XIANGMU"_s || isJournalTable(table);
        QStringList names;
        for (const QString &c : columns)
            names << quoted(c);
        const QString list = (hasOwnRowId ? QString() : u"rowid, "_s) + names.join(u", "_s);
        connection.execute(u"insert into main.%1 (%2) select %2 from %3.%1"_s.arg(quoted(table), list, BackupSchema));
        const QString counts = u"select (select count(*) from main.%1) = (select count(*) from %2.%1)"_s;
        if (connection.scalar(counts.arg(quoted(table), BackupSchema)).toInt() != 1)
            throw Error(u"备份文件的数据表 %1 没能完整恢复"_s.arg(table));
    }
    // The next project number goes on from where the backup left it, as the file copy did.
    if (connection.scalar(u"select count(*) from %1.sqlite_master where name = 'sqlite_sequence'"_s.arg(BackupSchema))
            .toInt() > 0) {
        connection.execute(u"delete from main.sqlite_sequence where name = 'TZ_XIANGMU'"_s);
        connection.execute(u"insert into main.sqlite_sequence (name, seq) select 'TZ_XIANGMU', max("
                           u"coalesce((select max(id) from main.TZ_XIANGMU), 0), "
                           u"coalesce((select max(seq) from %1.sqlite_sequence "
                           u"where name = 'TZ_XIANGMU' and typeof(seq) = 'integer'), 0))"_s.arg(BackupSchema));
    }
}

// What the attached backup holds besides the program's tables, columns and indexes.
QStringList foreignObjects(Connection &connection)
{
    static const QHash<QString, QString> kinds{{u"table"_s, u"数据表"_s},
                                               {u"index"_s, u"索引"_s},
                                               {u"view"_s, u"视图"_s},
                                               {u"trigger"_s, u"触发器"_s}};
    QStringList found;
    Statement objects = connection.prepare(
        u"select type, name from %1.sqlite_master b where name not like 'sqlite\\_%' escape '\\' "
        u"and not (type = 'table' and name in (select name from main.sqlite_master where type = 'table')) "
        u"and not exists (select 1 from main.sqlite_master m where m.type = b.type and m.name = b.name "
        u"and m.sql is b.sql) order by rowid"_s.arg(BackupSchema));
    while (objects.next())
        found << kinds.value(objects.text(0), objects.text(0)) + u' ' + objects.text(1);
    for (const auto &[table, columns] : ourTables())
        for (const QString &column : columnsOf(connection, BackupSchema, table))
            if (!columns.contains(column))
                found << u"数据表 "_s + table + u" 的列 "_s + column;
    return found;
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
    const QString database = QFileInfo(databasePath).canonicalFilePath();
    if (!database.isEmpty() && database == QFileInfo(target).canonicalFilePath())
        throw Error(u"备份文件不能是数据库文件本身："_s + target);
    OutputFile out(target);
    copyDatabase(databasePath, out.path());
    out.commit();
}

QString restoreRefusal(const QString &backupPath)
{
    if (const QString refusal = readableFileRefusal(backupPath); !refusal.isEmpty())
        return refusal;
    QFile file(backupPath);
    if (!file.open(QIODevice::ReadOnly))
        return u"文件无法打开：%1"_s.arg(backupPath);
    if (file.read(16) != QByteArray("SQLite format 3\0", 16))
        return u"文件不是本系统的数据库备份"_s;
    file.close();
    try {
        Connection connection(backupPath, Connection::Mode::ReadOnly);
        const QString integrity = connection.scalar(u"pragma integrity_check"_s).toString();
        if (integrity != u"ok"_s)
            return u"备份文件已损坏："_s + integrity;
        for (const auto &[table, columns] : ourTables()) {
            if (!connection.tableExists(table)) {
                if (isJournalTable(table)) // older backups have none
                    continue;
                return u"备份文件缺少数据表 "_s + table;
            }
            const QStringList held = columnsOf(connection, u"main"_s, table);
            if (table == u"TZ_XIANGMU"_s && held != columns)
                return u"备份文件的项目表与本系统不一致"_s;
            for (const QString &column : columns)
                if (!held.contains(column))
                    return u"备份文件的数据表 "_s + table + u" 缺少列 "_s + column;
        }
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

QStringList restoreDatabase(const QString &backupPath, const QString &databasePath)
{
    const QString refusal = restoreRefusal(backupPath);
    if (!refusal.isEmpty())
        throw Error(refusal);
    // The backup's rows are copied into a fresh database of the program's own schema: whatever
    // else the file holds (a trigger, a view, an index) is no part of it and is only reported.
    OutputFile restored(databasePath);
    QStringList foreign;
    {
        Connection connection(restored.path(), Connection::Mode::CreateFile);
        connection.executeScript(u"pragma trusted_schema = off"_s);
        createSchema(connection);
        connection.attachReadOnly(backupPath, BackupSchema);
        {
            Transaction transaction(connection);
            copyRows(connection);
            transaction.commit();
        }
        foreign = foreignObjects(connection);
        connection.execute(u"detach database "_s + BackupSchema);
        const QString integrity = connection.scalar(u"pragma integrity_check"_s).toString();
        if (integrity != u"ok"_s)
            throw Error(u"恢复的数据库检查未通过："_s + integrity);
        // The installation's journal survives; a database that cannot be read has none to give.
        requireDatabaseFree(databasePath);
        const bool readable = QFileInfo::exists(databasePath) && restoreRefusal(databasePath).isEmpty();
        journal::carryOverForRestore(connection, readable ? databasePath : QString(),
                                     QFileInfo(backupPath).fileName());
    }
    installDatabase(restored);
    return foreign;
}

QString notRestoredText(const QStringList &foreign)
{
    if (foreign.isEmpty())
        return {};
    return u"备份文件中有不属于本系统的内容，没有恢复："_s + foreign.join(u"、"_s);
}

} // namespace granwise::maintenance
