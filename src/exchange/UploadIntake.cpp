#include "UploadIntake.h"

#include "ExchangeTexts.h"
#include "FileKeys.h"
#include "UploadImport.h"
#include "UploadPrint.h"
#include "projects/Validation.h"
#include "store/Database.h"
#include "store/Journal.h"
#include "store/JournalTexts.h"
#include "store/Error.h"
#include "store/InputFile.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString LocalLevels[] = {u"省级汇总"_s, u"地级汇总"_s, u"县级汇总"_s};
constexpr int LocalPrefixLength[] = {2, 4, 6};

// 修改时间 as the program stores it, or as older unit programs and spreadsheets write it.
std::optional<QDateTime> modifiedAt(const QString &text)
{
    static const QString formats[] = {u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-dd H:mm:ss"_s, u"yyyy-M-d H:mm:ss"_s,
                                      u"yyyy/M/d H:mm:ss"_s,    u"yyyy-M-d H:mm"_s,      u"yyyy/M/d H:mm"_s,
                                      u"yyyy-M-d"_s,            u"yyyy/M/d"_s};
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QString &format : formats) {
        const QDateTime at = QDateTime::fromString(trimmed, format);
        if (at.isValid())
            return at;
    }
    return std::nullopt;
}

bool isOlder(const QString &row, const QString &stored)
{
    const auto a = modifiedAt(row);
    const auto b = modifiedAt(stored);
    return a && b && *a < *b;
}

QString insertSql(const QVector<UploadColumn> &columns)
{
    QStringList names, marks;
    for (const UploadColumn &c : columns) {
        names << u'"' + c.name + u'"';
        marks << u"?"_s;
    }
    return u"insert into TZ_XIANGMU (%1) values (%2)"_s.arg(names.join(u','), marks.join(u','));
}

// The values of an upload row, in the order of the statement's parameters. The texts are bound
// where the row holds them: the row stays until the statement has run.
void bindValues(Statement &statement, const Utf8Row &values)
{
    for (int i = 0; i < values.size(); ++i) {
        switch (values.at(i).type) {
        case CellValue::Type::Empty:
            statement.bindNull(i + 1);
            break;
        case CellValue::Type::Text:
            statement.bindUtf8(i + 1, values.text(i));
            break;
        default:
            statement.bindDouble(i + 1, values.at(i).number);
        }
    }
}

} // namespace

OfficeRegion officeRegion(Connection &connection)
{
    const std::optional<TaskInfo> task = readTaskInfo(connection);
    OfficeRegion office;
    if (!task)
        return office;
    for (int i = 0; i < 3; ++i) {
        if (task->level != LocalLevels[i])
            continue;
        const QString code = task->regionCode.trimmed();
        const QString prefix = code.left(LocalPrefixLength[i]);
        // A region the window never set ("000000") limits nothing.
        if (prefix.size() == LocalPrefixLength[i] && prefix != QString(prefix.size(), u'0')) {
            office.codePrefix = prefix;
            const QString names[] = {task->province, task->prefecture, task->county};
            office.name = task->unitName.trimmed().isEmpty() ? names[i].trimmed() : task->unitName.trimmed();
        }
    }
    return office;
}

UploadIntake::UploadIntake(const QString &databasePath)
    : m_connection(std::make_unique<Connection>(databasePath))
{
    // 16 MB: the key index of a few hundred thousand projects stays in memory, and the import
    // stays well inside the memory of an office PC however large the file.
    m_connection->executeScript(u"pragma cache_size = -16384"_s);
    m_transaction = std::make_unique<Transaction>(*m_connection);
    m_connection->executeScript(
        u"create temp table if not exists upload_intake_codes (file integer, code text, primary key (file, code))"_s);
    m_connection->executeScript(u"delete from temp.upload_intake_codes"_s);
    m_office = officeRegion(*m_connection);
}

UploadIntake::~UploadIntake() = default;

FileIntake UploadIntake::take(const QString &path, Progress &progress)
{
    FileIntake intake;
    intake.path = path;
    intake.office = m_office;
    const qint64 lastId = m_connection->scalar(u"select coalesce(max(id), 0) from TZ_XIANGMU"_s).toLongLong();
    if (!hasUploadFileExtension(path)) {
        intake.refusal = exchange::WrongFileType;
    } else {
        m_connection->executeScript(u"savepoint upload_file"_s);
        try {
            takeRows(path, lastId, intake, progress);
            m_connection->executeScript(u"release upload_file"_s);
        } catch (const std::exception &e) { // memory that ran out included: the file is refused, the others go on
            m_connection->executeScript(u"rollback to upload_file; release upload_file"_s);
            FileIntake refused;
            refused.path = path;
            refused.office = m_office;
            const QString reason = failureText(e);
            refused.refusal = reason.isEmpty() ? exchange::ImportFailed : reason;
            intake = refused;
        }
    }
    m_files.append(intake);
    m_lastIdBefore.append(lastId);
    return intake;
}

void UploadIntake::takeRows(const QString &path, qint64 lastIdBefore, FileIntake &intake, Progress &progress)
{
    ProgressScope scope(progress);
    requireReadableFile(path); // a named pipe would block the import forever
    const QStringList names = uploadColumnNames();
    const int statusAt = int(names.indexOf(col::ValidationStatus));
    const int modifiedAtColumn = int(names.indexOf(col::ModifiedAt));
    const int regionAt = int(names.indexOf(col::RegionCode));
    // The rows are checked as `validate` will check them once stored: the same values, read
    // the same way. The check runs on the thread that reads the workbook.
    const StoredProjectReader figuresReader(names);
    // The journal's print of each added project is made from its values as they are read,
    // where the table stores them as they are bound; else it is read back from the table.
    const bool printsAsBound = UploadRowPrinter::printsAsBound(*m_connection);
    const UploadRowPrinter printer;
    UploadRows rows(
        path,
        [&figuresReader, figures = ProjectFigures()](const Utf8Row &values) mutable {
            return figuresReader.read(values, figures) || checkFigures(figures);
        },
        printsAsBound ? UploadRows::RowPrint([&printer](const Utf8Row &values) { return printer.print(values); })
                      : UploadRows::RowPrint());
    progress.start(rows.rowCountHint());

    Connection &db = *m_connection;
    JournalEntry entry(db, journal::texts::Import, QFileInfo(path).fileName(), JournalEntry::Undoable);
    intake.journalEntry = entry.id();
    Statement remove = db.prepare(u"delete from TZ_XIANGMU where 企业详细名称 = ? and 项目名称 = ? "
                                  u"returning 修改时间, 行政区划代码"_s);
    Statement insert = db.prepare(insertSql(rows.columns()));
    // Into an empty table (a first import) there is nothing to replace.
    const bool replacing = db.scalar(u"select exists (select 1 from TZ_XIANGMU)"_s).toInt() != 0;

    // A key met before in the file is one stored by an earlier row of it.
    Statement storedByFile = db.prepare(u"select exists (select 1 from TZ_XIANGMU where 企业详细名称 = ? "
                                        u"and 项目名称 = ? and id > ?)"_s);
    FileKeys keysSeen([&storedByFile, lastIdBefore](const ProjectKey &key) {
        storedByFile.bind(1, key.first).bind(2, key.second).bind(3, lastIdBefore);
        const bool stored = storedByFile.next() && storedByFile.value(0).toInt() != 0;
        storedByFile.reset();
        return stored;
    });
    QSet<QString> codes;
    while (rows.next(progress)) {
        const Utf8Row &values = rows.values();
        const QString code = values.qtext(regionAt);
        if (!intake.office.contains(code.trimmed()))
            ++intake.outsideOffice;
        if (!code.trimmed().isEmpty())
            codes.insert(code);

        const ProjectKey key = rows.key();
        if (keysSeen.seenBefore(key)) {
            ++intake.duplicateKeyRows;
        } else {
            if (replacing) {
                // The stored projects of a key go when the key first occurs in the file, before
                // any row with that key is added.
                entry.keepKey(key.first, key.second);
                remove.bind(1, key.first).bind(2, key.second);
                bool replaced = false, older = false, moved = false;
                const QString modified = values.qtext(modifiedAtColumn);
                while (remove.next()) {
                    replaced = true;
                    older = older || isOlder(modified, remove.text(0));
                    moved = moved || remove.text(1) != code;
                }
                remove.reset();
                if (replaced && intake.replacedKeyCount++ < FileIntake::kReplacedKeysKept)
                    intake.replacedKeys.append(key);
                intake.olderRows += older ? 1 : 0;
                intake.movedKeys += moved ? 1 : 0;
            }
        }

        // The file's 校验状态 stands only for a row that passes the rules.
        bindValues(insert, values);
        if (rows.failsCheck()) {
            ++intake.failingRows;
            if (values.qtext(statusAt).trimmed() == u"1"_s)
                ++intake.falselyPassed;
            insert.bind(statusAt + 1, u"0"_s);
        }
        insert.run();
        insert.reset();
        if (printsAsBound)
            entry.noteAdded(db.lastInsertRowId(), rows.print());
        ++intake.rows;
    }

    if (!printsAsBound)
        entry.noteAddedAfter(lastIdBefore);
    entry.setCounts(journal::texts::ImportCounts.arg(intake.rows).arg(intake.replacedProjects()));

    const int file = int(m_files.size());
    Statement addCode = db.prepare(u"insert or ignore into temp.upload_intake_codes (file, code) values (?, ?)"_s);
    for (const QString &code : std::as_const(codes)) {
        addCode.bind(1, file).bind(2, code);
        addCode.run();
        addCode.reset();
    }
    intake.regionLeftovers =
        db.scalar(u"select count(*) from TZ_XIANGMU where id <= ? and 行政区划代码 in "
                  u"(select code from temp.upload_intake_codes where file = ?)"_s,
                  {lastIdBefore, file})
            .toInt();
}

int UploadIntake::replaceRegions()
{
    int removed = 0;
    for (int file = 0; file < m_files.size(); ++file) {
        FileIntake &intake = m_files[file];
        if (intake.refused() || intake.regionReplaced)
            continue;
        const QString leftovers = u"id <= ? and 行政区划代码 in "
                                  u"(select code from temp.upload_intake_codes where file = ?)"_s;
        JournalEntry entry(*m_connection, intake.journalEntry);
        entry.keepWhere(leftovers, {m_lastIdBefore.at(file), file});
        intake.regionLeftovers =
            m_connection->execute(u"delete from TZ_XIANGMU where "_s + leftovers, {m_lastIdBefore.at(file), file});
        entry.setCounts(journal::texts::ImportRegionCounts.arg(intake.rows)
                            .arg(intake.replacedProjects())
                            .arg(intake.regionLeftovers));
        intake.regionReplaced = true;
        removed += intake.regionLeftovers;
    }
    return removed;
}

void UploadIntake::commit()
{
    m_transaction->commit();
}

} // namespace granwise
