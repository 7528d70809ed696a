#pragma once

#include <QString>
#include <QVector>

namespace granwise {

class Connection;

// One entry of the journal as it is listed.
struct JournalEntryInfo {
    qint64 id = -1;
    QString time; // yyyy-MM-dd HH:mm:ss
    QString user;
    QString operation;
    QString file;
    QString counts;
    bool undoable = false; // the operation can be undone (an import)
    qint64 undoneBy = -1;  // the entry that undid it, -1 when none
};

// One entry of the journal being written, inside the transaction of the operation it records.
// The operation keeps the stored rows it is about to delete or replace (before it does), notes
// the rows it adds, and sets its counts before it commits:
//
//     Transaction transaction(connection);
//     JournalEntry entry(connection, u"导入"_s, file, JournalEntry::Undoable);
//     const qint64 lastId = JournalEntry::lastProjectId(connection);
//     entry.keepKey(enterprise, project);       // before the delete
//     ...                                       // the change itself
//     entry.noteAddedAfter(lastId);
//     entry.setCounts(u"新增 3 行"_s);
//     transaction.commit();
//
// The journal's tables are created when missing, so a database or backup made before the
// journal existed works as it is.
class JournalEntry {
public:
    enum Undo { NotUndoable, Undoable };
    JournalEntry(Connection &connection, const QString &operation, const QString &file = {}, Undo undo = NotUndoable);
    // An entry written earlier in the same transaction, to add to.
    JournalEntry(Connection &connection, qint64 existingId);
    ~JournalEntry();
    JournalEntry(const JournalEntry &) = delete;
    JournalEntry &operator=(const JournalEntry &) = delete;

    qint64 id() const { return m_id; }

    // Copies stored projects, whole, before they are deleted or replaced.
    void keepRows(const QVector<qint64> &projectIds);
    void keepKey(const QString &enterpriseName, const QString &projectName);
    void keepWhere(const QString &condition, const QVariantList &values = {});
    // Notes the projects added after `lastId` (see lastProjectId), or one added or rewritten.
    void noteAddedAfter(qint64 lastId);
    void noteAdded(qint64 projectId);
    // Notes a project just added whose print (see ProjectPrint.h) the caller made of the values
    // it stored, as SQLite gives them back.
    void noteAdded(qint64 projectId, qint64 print);
    void setCounts(const QString &counts);

    // The highest project id ever given (ids are never reused).
    static qint64 lastProjectId(Connection &connection);

private:
    struct Statements;
    Connection &m_connection;
    qint64 m_id = -1;
    Statements *m_statements = nullptr;
};

namespace journal {

// Creates the journal's tables when the database has none (an older database or backup).
void ensureTables(Connection &connection);

// The one-call form for an operation whose counts are known and whose replaced rows are
// given by id; returns the entry's id. Call it inside the operation's transaction, before the
// rows are deleted or replaced.
qint64 record(Connection &connection, const QString &operation, const QString &file, const QString &counts,
              const QVector<qint64> &replacedRows = {});

// Every entry, oldest first; none for a database without a journal.
QVector<JournalEntryInfo> entries(const QString &databasePath);

// Why the entry cannot be undone now, or empty when it can.
QString undoRefusal(Connection &connection, qint64 entryId);

// Undoes an import in one transaction: the rows it added are removed and the rows it replaced
// put back, as they were stored; the undo is an entry of its own. Refused (Error with the
// reason) when the entry is no import, was undone already, or a later change touched its
// projects. Returns the undo's entry.
qint64 undo(const QString &databasePath, qint64 entryId);

// Removes the entries (and the rows they kept) written before that day; returns how many.
int clearBefore(const QString &databasePath, const QString &day);

// "ID\t时间\t用户\t操作\t文件\t数量", tabs and line breaks inside the fields as blanks.
QString entryLine(const JournalEntryInfo &entry);

// Carries the journal of `fromPath` into the database being restored (already open on
// `target`), then records the restore there with every project `fromPath` held; an empty
// journal in `fromPath` leaves the restored one as it came. Used by restore before the
// restored file takes the database's place.
void carryOverForRestore(Connection &target, const QString &fromPath, const QString &backupFile);

} // namespace journal

} // namespace granwise
