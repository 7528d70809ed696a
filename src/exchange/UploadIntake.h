#pragma once

#include "Progress.h"
#include "UploadRows.h"

#include <QString>
#include <QVector>
#include <memory>

namespace granwise {

class Connection;
class Transaction;

// The office's own region, from the task information: the beginning every 行政区划代码 of its
// area shares ("41" for a province, "4102" for a prefecture, a county's six characters) and
// the unit's name. Empty for the nation and the central enterprises, which take every region.
struct OfficeRegion {
    QString codePrefix;
    QString name;
    bool limits() const { return !codePrefix.isEmpty(); }
    bool contains(const QString &regionCode) const { return !limits() || regionCode.startsWith(codePrefix); }
};
OfficeRegion officeRegion(Connection &connection);

// What taking one upload file in does, counted while it is taken in.
struct FileIntake {
    QString path;
    QString refusal;                  // why the file is refused; empty when it is taken in
    int rows = 0;                     // rows added
    // The first held keys the file replaced, each once, in file order: enough to name them; a
    // file of a few hundred thousand projects must not hold every key it replaced in memory.
    static constexpr int kReplacedKeysKept = 5;
    QVector<ProjectKey> replacedKeys;
    int replacedKeyCount = 0; // all of them
    int duplicateKeyRows = 0;         // rows whose key occurs on an earlier row of the file
    int failingRows = 0;              // rows that do not pass the rules: stored as not validated
    // Stored projects, not replaced by key, whose 行政区划代码 occurs in the file: what a
    // complete return of those regions drops or renames.
    int regionLeftovers = 0;
    bool regionReplaced = false;      // the leftovers were removed

    // What the office should know before going on.
    OfficeRegion office;
    int outsideOffice = 0;  // rows whose 行政区划代码 lies outside the office's region
    int olderRows = 0;      // rows whose 修改时间 is earlier than that of the project they replace
    int movedKeys = 0;      // keys held under another 行政区划代码 than the file gives them
    int falselyPassed = 0;  // rows whose 校验状态 says passed but that fail the rules

    bool refused() const { return !refusal.isEmpty(); }
    qint64 journalEntry = -1; // the journal entry of the file's import
    int replacedProjects() const { return replacedKeyCount; }
};

// Upload files taken into the database inside one transaction, one savepoint per file: the
// file is read, converted and checked once, and the same work serves the preview (roll back)
// and the import (commit). Nothing is written to the file until commit(); a session ended
// without commit() leaves the database as it was.
//
// Each row replaces every project held under its key (企业详细名称, 项目名称) when the key first
// occurs in the file, so two rows of the file with one key are both kept. A row keeps the
// file's 校验状态 only when it passes the validation rules; a failing row is stored as "0".
class UploadIntake {
public:
    explicit UploadIntake(const QString &databasePath);
    ~UploadIntake();
    UploadIntake(const UploadIntake &) = delete;
    UploadIntake &operator=(const UploadIntake &) = delete;

    // Takes one file in. A file that cannot be taken in (wrong name, unreadable, a missing
    // column, a value its column does not accept) leaves nothing behind and comes back with
    // its reason in `refusal`.
    FileIntake take(const QString &path, Progress &progress);

    // Removes, for every file taken in so far, the stored projects that were there before it
    // and whose 行政区划代码 occurs in it (its regionLeftovers), so that each region holds the
    // file's rows only. Returns how many projects went.
    int replaceRegions();

    const QVector<FileIntake> &files() const { return m_files; }
    void commit();

private:
    void takeRows(const QString &path, qint64 lastIdBefore, FileIntake &intake, Progress &progress);

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Transaction> m_transaction;
    OfficeRegion m_office;
    QVector<FileIntake> m_files;
    QVector<qint64> m_lastIdBefore; // per file: the highest id held before it was taken in
};

} // namespace granwise
