#include "ValidateAll.h"
#include "ValidateAllTexts.h"
#include "ValidationFigures.h"

#include "store/Database.h"
#include "store/Journal.h"
#include "store/JournalTexts.h"
#include "store/ProjectColumns.h"
#include "store/TableHalves.h"

#include <QTextStream>
#include <algorithm>
#include <string>
#include <utility>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// 校验状态 of a project that passes and of one that fails.
const QString Passed = u"1"_s;
const QString NotPassed = u"0"_s;

// The columns the check reads, besides the key and the stored status: no more, so that a
// hundred thousand projects are read quickly.
QString projectsToCheckSql()
{
    QStringList columns{col::Id, col::EnterpriseName, col::ProjectName, col::ValidationStatus,
                        validation::PostalCodeColumn};
    for (const validation::FigureColumn &column : validation::typedFigureColumns())
        columns << column.name;
    return u"select %1 from TZ_XIANGMU"_s.arg(columns.join(u", "_s));
}

// How many stored statuses the outcome changes, counted as the projects are read.
struct StatusChanges {
    int toNotPassed = 0;
    int toPassed = 0;

    int total() const { return toNotPassed + toPassed; }
};

// Sets 校验状态 to "0" for the failing projects and to "1" for every other one, writing only the
// rows whose status changes. Two statements over the table are much quicker than one per
// project when most statuses change (a first check of many imported projects).
void storeStatuses(Connection &connection, const QVector<FailedProject> &failing, const StatusChanges &changes)
{
    connection.execute(u"create temp table validate_all_failing (id integer primary key)"_s);
    {
        Statement insert = connection.prepare(u"insert or ignore into temp.validate_all_failing (id) values (?)"_s);
        for (const FailedProject &row : failing) {
            insert.reset();
            insert.bind(1, row.id);
            insert.run();
        }
    }
    const QString toNotPassed = u"校验状态 is not ? and id in (select id from temp.validate_all_failing)"_s;
    const QString toPassed = u"校验状态 is not ? and id not in (select id from temp.validate_all_failing)"_s;
    JournalEntry entry(connection, journal::texts::ValidateAll);
    entry.keepWhere(u"("_s + toNotPassed + u") or ("_s + toPassed + u")"_s, {NotPassed, Passed});
    entry.setCounts(journal::texts::ValidateCounts.arg(changes.total()).arg(changes.toPassed).arg(changes.toNotPassed));
    connection.execute(u"update TZ_XIANGMU set 校验状态 = ? where "_s + toNotPassed, {NotPassed, NotPassed});
    connection.execute(u"update TZ_XIANGMU set 校验状态 = ? where "_s + toPassed, {Passed, Passed});
    connection.execute(u"drop table temp.validate_all_failing"_s);
}

// A name on one line of the command's output: tabs and line breaks become blanks.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

// The outcome of checking some of the projects, and how many stored statuses it changes.
struct CheckedProjects {
    ValidateAllResult result;
    StatusChanges changes;

    void add(CheckedProjects &&other)
    {
        result.projectCount += other.result.projectCount;
        result.passedCount += other.result.passedCount;
        result.failures += std::move(other.result.failures);
        changes.toNotPassed += other.changes.toNotPassed;
        changes.toPassed += other.changes.toPassed;
    }
};

// Checks the projects of a range of rowids.
CheckedProjects checkProjects(Connection &connection, RowidRange rowids)
{
    CheckedProjects checked;
    ValidateAllResult &result = checked.result;
    const std::string passed = Passed.toStdString(), notPassed = NotPassed.toStdString();
    Statement rows = connection.prepare(projectsToCheckSql() + u" where rowid between ? and ?"_s);
    rows.bind(1, rowids.first);
    rows.bind(2, rowids.last);
    const StoredProjectReader reader(rows);
    const int idColumn = rows.columnIndex(col::Id);
    const int enterpriseColumn = rows.columnIndex(col::EnterpriseName);
    const int projectColumn = rows.columnIndex(col::ProjectName);
    const int statusColumn = rows.columnIndex(col::ValidationStatus);
    ProjectFigures figures;
    while (rows.next()) {
        ++result.projectCount;
        std::optional<ValidationFailure> failure = reader.read(rows, figures);
        if (!failure)
            failure = checkFigures(figures);
        if (failure) {
            result.failures.append({rows.value(idColumn).toLongLong(), rows.text(enterpriseColumn),
                                    rows.text(projectColumn), *failure});
            if (!rows.holdsText(statusColumn, notPassed))
                ++checked.changes.toNotPassed;
        } else {
            ++result.passedCount;
            if (!rows.holdsText(statusColumn, passed))
                ++checked.changes.toPassed;
        }
    }
    return checked;
}

} // namespace

ValidateAllResult validateAll(const QString &databasePath)
{
    Connection connection(databasePath);
    // Taken before anything is read: until the transaction ends nobody else can write.
    Transaction transaction(connection);
    // A large table is checked in two halves at once.
    std::vector<CheckedProjects> halves = readInHalves(connection, databasePath, u"TZ_XIANGMU"_s, checkProjects);
    CheckedProjects checked = std::move(halves.front());
    for (size_t i = 1; i < halves.size(); ++i)
        checked.add(std::move(halves[i]));
    if (checked.changes.total() > 0) // a check that changes nothing writes nothing and leaves no entry
        storeStatuses(connection, checked.result.failures, checked.changes);
    transaction.commit();

    ValidateAllResult result = std::move(checked.result);
    std::sort(result.failures.begin(), result.failures.end(), [](const FailedProject &a, const FailedProject &b) {
        if (a.enterpriseName != b.enterpriseName)
            return a.enterpriseName < b.enterpriseName;
        if (a.projectName != b.projectName)
            return a.projectName < b.projectName;
        return a.id < b.id;
    });
    return result;
}

QString ruleText(const ValidationFailure &failure)
{
    return failure.rule >= 0 ? QString::number(failure.rule) : u"-"_s;
}

QString validateAllSummary(const ValidateAllResult &result)
{
    return projects::texts::CheckAllSummary.arg(QString::number(result.projectCount), QString::number(result.passedCount),
                                     QString::number(result.failedCount()));
}

int printValidateAll(const ValidateAllResult &result, QTextStream &out, QTextStream &err)
{
    for (const FailedProject &project : result.failures)
        out << oneLine(project.enterpriseName) << u'\t' << oneLine(project.projectName) << u'\t'
            << ruleText(project.failure) << u'\t' << oneLine(project.failure.message) << u'\n';
    if (result.failures.isEmpty()) {
        out << validateAllSummary(result) << u'\n';
        return 0;
    }
    err << validateAllSummary(result) << u'\n';
    return 1;
}

} // namespace granwise
