#include "Journal.h"
#include "JournalTexts.h"

#include "Clock.h"
#include "Database.h"
#include "ProjectColumns.h"
#include "ProjectPrint.h"

#include <QDate>
#include <cstring>
#include <sqlite3.h>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString EntriesTable = u"操作记录"_s;

// The project columns in table order, quoted for SQL.
QString projectColumnList(const QString &prefix = {})
{
    QStringList names;
    for (const ProjectColumn &c : projectColumns())
        names << prefix + u'"' + c.name + u'"';
    return names.join(u", "_s);
}

// The print of a project's content (see ProjectPrint.h) as SQL.
QString fingerprintSql(const QString &prefix)
{
    QStringList names;
    for (const QString &name : projectPrintColumns())
        names << prefix + u'"' + name + u'"';
    QStringList groups;
    for (qsizetype i = 0; i < names.size(); i += kProjectPrintGroup)
        groups << u"granwise_fingerprint(%1)"_s.arg(names.mid(i, kProjectPrintGroup).join(u", "_s));
    return u"granwise_fingerprint(%1)"_s.arg(groups.join(u", "_s));
}

static_assert(ValuePrint::kInteger == SQLITE_INTEGER && ValuePrint::kFloat == SQLITE_FLOAT &&
              ValuePrint::kText == SQLITE_TEXT && ValuePrint::kNull == SQLITE_NULL);

void fingerprint(sqlite3_context *context, int count, sqlite3_value **values)
{
    ValuePrint print;
    for (int i = 0; i < count; ++i) {
        const int type = sqlite3_value_type(values[i]);
        switch (type) {
        case SQLITE_INTEGER:
            print.addInteger(sqlite3_value_int64(values[i]));
            break;
        case SQLITE_FLOAT:
            print.addFloat(sqlite3_value_double(values[i]));
            break;
        case SQLITE_NULL:
            print.addNull();
            break;
        default: {
            const void *bytes = sqlite3_value_blob(values[i]);
            const int size = sqlite3_value_bytes(values[i]);
            print.addBytes(type, static_cast<const char *>(bytes), size);
        }
        }
    }
    sqlite3_result_int64(context, print.value());
}

void registerFingerprint(Connection &connection)
{
    sqlite3_create_function_v2(connection.handle(), "granwise_fingerprint", -1,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fingerprint, nullptr, nullptr, nullptr);
}

QString keptRowsTableSql()
{
    QStringList defs{u"记录 integer not null"_s};
    for (const ProjectColumn &c : projectColumns())
        defs << u'"' + c.name + u'"'
                    + (c.kind == ColumnKind::AutoNumber ? u" integer"_s
                       : c.isNumber()                  ? u" real"_s
                                                       : u" text"_s);
    return u"create table if not exists 操作记录_原行 (%1);"_s.arg(defs.join(u", "_s));
}

// The account's user name, or the system's when the database has no account.
QString currentUser(Connection &connection)
{
    const QVariant name = connection.scalar(u"select f2 from userinfo limit 1"_s);
    if (name.isValid() && !name.toString().isEmpty())
        return name.toString();
    return qEnvironmentVariable("USER");
}

QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

JournalEntryInfo entryFrom(const Statement &row)
{
    return {row.value(0).toLongLong(), row.text(1), row.text(2), row.text(3), row.text(4), row.text(5),
            row.value(6).toInt() != 0, row.isNull(7) ? -1 : row.value(7).toLongLong()};
}

const QString EntryColumns = u"id, 时间, 用户, 操作, 文件, 数量, 可撤销, 撤销"_s;

} // namespace

struct JournalEntry::Statements {
    Statements(Connection &connection)
        : keepId(connection.prepare(u"insert into 操作记录_原行 select ?, * from TZ_XIANGMU where id = ?"_s)),
          keepKey(connection.prepare(u"insert into 操作记录_原行 select ?, * from TZ_XIANGMU "
                                     u"where 企业详细名称 = ? and 项目名称 = ?"_s)),
          added(connection.prepare(u"insert or replace into 操作记录_新增 (记录, id, 指纹) select ?, id, %1 "
                                   u"from TZ_XIANGMU where id = ?"_s.arg(fingerprintSql({})))),
          addedPrinted(connection.prepare(u"insert or replace into 操作记录_新增 (记录, id, 指纹) values (?, ?, ?)"_s))
    {
    }
    Statement keepId;
    Statement keepKey;
    Statement added;
    Statement addedPrinted;
};

JournalEntry::JournalEntry(Connection &connection, const QString &operation, const QString &file, Undo undo)
    : m_connection(connection)
{
    journal::ensureTables(connection);
    registerFingerprint(connection);
    connection.execute(u"insert into 操作记录 (时间, 用户, 操作, 文件, 数量, 可撤销) values (?, ?, ?, ?, '', ?)"_s,
                       {storedDateTime(Clock::current().now()), currentUser(connection), operation, file,
                        undo == Undoable ? 1 : 0});
    m_id = connection.lastInsertRowId();
}

JournalEntry::JournalEntry(Connection &connection, qint64 existingId) : m_connection(connection), m_id(existingId)
{
    registerFingerprint(connection);
}

JournalEntry::~JournalEntry()
{
    delete m_statements;
}

void JournalEntry::keepRows(const QVector<qint64> &projectIds)
{
    if (!m_statements)
        m_statements = new Statements(m_connection);
    for (qint64 id : projectIds) {
        m_statements->keepId.reset();
        m_statements->keepId.bind(1, m_id).bind(2, id).run();
    }
}

void JournalEntry::keepKey(const QString &enterpriseName, const QString &projectName)
{
    if (!m_statements)
        m_statements = new Statements(m_connection);
    m_statements->keepKey.reset();
    m_statements->keepKey.bind(1, m_id).bind(2, enterpriseName).bind(3, projectName).run();
}

void JournalEntry::keepWhere(const QString &condition, const QVariantList &values)
{
    m_connection.execute(u"insert into 操作记录_原行 select ?, * from TZ_XIANGMU where "_s + condition,
                         QVariantList{m_id} + values);
}

void JournalEntry::noteAddedAfter(qint64 lastId)
{
    m_connection.execute(u"insert or replace into 操作记录_新增 (记录, id, 指纹) select ?, id, %1 "
                         u"from TZ_XIANGMU where id > ?"_s.arg(fingerprintSql({})),
                         {m_id, lastId});
}

void JournalEntry::noteAdded(qint64 projectId)
{
    if (!m_statements)
        m_statements = new Statements(m_connection);
    m_statements->added.reset();
    m_statements->added.bind(1, m_id).bind(2, projectId).run();
}

void JournalEntry::noteAdded(qint64 projectId, qint64 print)
{
    if (!m_statements)
        m_statements = new Statements(m_connection);
    Statement &added = m_statements->addedPrinted;
    added.reset();
    added.bind(1, m_id).bind(2, projectId).bind(3, print).run();
}

void JournalEntry::setCounts(const QString &counts)
{
    m_connection.execute(u"update 操作记录 set 数量 = ? where id = ?"_s, {counts, m_id});
}

qint64 JournalEntry::lastProjectId(Connection &connection)
{
    const QVariant seq = connection.scalar(u"select seq from sqlite_sequence where name = 'TZ_XIANGMU'"_s);
    const QVariant max = connection.scalar(u"select max(id) from TZ_XIANGMU"_s);
    return std::max(seq.toLongLong(), max.toLongLong());
}

namespace journal {

void ensureTables(Connection &connection)
{
    if (connection.tableExists(EntriesTable))
        return;
    connection.executeScript(u"create table if not exists 操作记录 ("
                             u"id integer primary key autoincrement, 时间 text not null, 用户 text, "
                             u"操作 text not null, 文件 text, 数量 text, 可撤销 integer not null default 0, "
                             u"撤销 integer);"
                             u"create table if not exists 操作记录_新增 ("
                             u"记录 integer not null, id integer not null, 指纹 integer not null, "
                             u"primary key (记录, id)) without rowid;"_s
                             + keptRowsTableSql()
                             + u"create index if not exists 操作记录_原行_记录 on 操作记录_原行 (记录);"
                               u"create index if not exists 操作记录_时间 on 操作记录 (时间);"_s);
}

qint64 record(Connection &connection, const QString &operation, const QString &file, const QString &counts,
              const QVector<qint64> &replacedRows)
{
    JournalEntry entry(connection, operation, file);
    entry.keepRows(replacedRows);
    entry.setCounts(counts);
    return entry.id();
}

QVector<JournalEntryInfo> entries(const QString &databasePath)
{
    Connection connection(databasePath);
    QVector<JournalEntryInfo> list;
    if (!connection.tableExists(EntriesTable))
        return list;
    Statement rows = connection.prepare(u"select %1 from 操作记录 order by id"_s.arg(EntryColumns));
    while (rows.next())
        list.append(entryFrom(rows));
    return list;
}

QString undoRefusal(Connection &connection, qint64 entryId)
{
    if (!connection.tableExists(EntriesTable))
        return texts::NoSuchEntry.arg(entryId);
    Statement row = connection.prepare(u"select %1 from 操作记录 where id = ?"_s.arg(EntryColumns));
    row.bind(1, entryId);
    if (!row.next())
        return texts::NoSuchEntry.arg(entryId);
    const JournalEntryInfo entry = entryFrom(row);
    if (!entry.undoable)
        return texts::NotAnImport.arg(entryId).arg(entry.operation);
    if (entry.undoneBy >= 0)
        return texts::AlreadyUndone.arg(entryId).arg(entry.undoneBy);

    registerFingerprint(connection);
    // Every row it added is still there exactly as it was added.
    const int changed = connection
                            .scalar(u"select count(*) from 操作记录_新增 a left join TZ_XIANGMU t on t.id = a.id "
                                    u"where a.记录 = ? and (t.id is null or %1 <> a.指纹)"_s.arg(fingerprintSql(u"t."_s)),
                                    {entryId})
                            .toInt();
    if (changed > 0)
        return texts::ChangedSince.arg(entryId).arg(changed);
    // No project with one of its keys has been stored since: putting the replaced rows back
    // would make two of one project.
    const int others =
        connection
            .scalar(u"with keys (e, p) as ("
                    u"  select 企业详细名称, 项目名称 from 操作记录_原行 where 记录 = ?1"
                    u"  union select t.企业详细名称, t.项目名称 from TZ_XIANGMU t join 操作记录_新增 a on a.id = t.id "
                    u"  where a.记录 = ?1) "
                    u"select count(*) from TZ_XIANGMU t join keys k on t.企业详细名称 = k.e and t.项目名称 = k.p "
                    u"where t.id not in (select id from 操作记录_新增 where 记录 = ?1)"_s,
                    {entryId})
            .toInt();
    if (others > 0)
        return texts::KeyTakenSince.arg(entryId).arg(others);
    return {};
}

qint64 undo(const QString &databasePath, qint64 entryId)
{
    Connection connection(databasePath);
    Transaction transaction(connection);
    const QString refusal = undoRefusal(connection, entryId);
    if (!refusal.isEmpty())
        throw Error(refusal);
    const QString file = connection.scalar(u"select 文件 from 操作记录 where id = ?"_s, {entryId}).toString();

    JournalEntry entry(connection, texts::Undo, file);
    entry.keepWhere(u"id in (select id from 操作记录_新增 where 记录 = ?)"_s, {entryId});
    const int removed =
        connection.execute(u"delete from TZ_XIANGMU where id in (select id from 操作记录_新增 where 记录 = ?)"_s, {entryId});
    const int putBack = connection.execute(u"insert into TZ_XIANGMU (%1) select %1 from 操作记录_原行 where 记录 = ? "
                                           u"order by id"_s.arg(projectColumnList()),
                                           {entryId});
    entry.setCounts(texts::UndoCounts.arg(entryId).arg(removed).arg(putBack));
    connection.execute(u"update 操作记录 set 撤销 = ? where id = ?"_s, {entry.id(), entryId});
    transaction.commit();
    return entry.id();
}

int clearBefore(const QString &databasePath, const QString &day)
{
    const QDate date = QDate::fromString(day, u"yyyy-MM-dd"_s);
    if (!date.isValid())
        throw Error(texts::BadDay.arg(day));
    Connection connection(databasePath);
    if (!connection.tableExists(EntriesTable))
        return 0;
    Transaction transaction(connection);
    const QString bound = date.toString(u"yyyy-MM-dd"_s);
    connection.execute(u"delete from 操作记录_原行 where 记录 in (select id from 操作记录 where 时间 < ?)"_s, {bound});
    connection.execute(u"delete from 操作记录_新增 where 记录 in (select id from 操作记录 where 时间 < ?)"_s, {bound});
    const int removed = connection.execute(u"delete from 操作记录 where 时间 < ?"_s, {bound});
    transaction.commit();
    return removed;
}

QString entryLine(const JournalEntryInfo &entry)
{
    return QStringList{QString::number(entry.id), entry.time, oneLine(entry.user), oneLine(entry.operation),
                       oneLine(entry.file), oneLine(entry.counts)}
        .join(u'\t');
}

void carryOverForRestore(Connection &target, const QString &fromPath, const QString &backupFile)
{
    ensureTables(target);
    if (fromPath.isEmpty()) { // nothing usable to carry over
        Transaction transaction(target);
        JournalEntry entry(target, texts::Restore, backupFile);
        entry.setCounts(texts::RestoreCounts.arg(0).arg(target.scalar(u"select count(*) from TZ_XIANGMU"_s).toInt()));
        transaction.commit();
        return;
    }
    target.execute(u"attach database ? as current_db"_s, {fromPath});
    try {
        Transaction transaction(target);
        const bool hasJournal =
            target.scalar(u"select count(*) from current_db.sqlite_master where name = '操作记录'"_s).toInt() > 0;
        if (hasJournal && target.scalar(u"select exists (select 1 from current_db.操作记录)"_s).toInt() != 0) {
            // The installation's journal goes on: the backup's is an older part of it.
            target.executeScript(u"delete from main.操作记录_原行; delete from main.操作记录_新增; delete from main.操作记录;"
                                 u"insert into main.操作记录 select * from current_db.操作记录;"
                                 u"insert into main.操作记录_新增 select * from current_db.操作记录_新增;"
                                 u"insert into main.操作记录_原行 select * from current_db.操作记录_原行;"
                                 u"delete from main.sqlite_sequence where name = '操作记录';"
                                 u"insert into main.sqlite_sequence (name, seq) "
                                 u"select name, seq from current_db.sqlite_sequence where name = '操作记录';"_s);
        }
        const int before = target.scalar(u"select count(*) from current_db.TZ_XIANGMU"_s).toInt();
        const int after = target.scalar(u"select count(*) from main.TZ_XIANGMU"_s).toInt();
        {
            JournalEntry entry(target, texts::Restore, backupFile);
            target.execute(u"insert into main.操作记录_原行 select ?, * from current_db.TZ_XIANGMU"_s, {entry.id()});
            entry.setCounts(texts::RestoreCounts.arg(before).arg(after));
        }
        transaction.commit();
    } catch (...) {
        target.execute(u"detach database current_db"_s);
        throw;
    }
    target.execute(u"detach database current_db"_s);
}

} // namespace journal

} // namespace granwise
