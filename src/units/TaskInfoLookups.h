#pragma once

#include "store/TaskInfo.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace granwise::taskinfo {

// The reference lookups of the task-information window. Each opens its own connection to the
// database file and closes it again; failures throw Error. Place names are read trimmed, rows in
// table order; every value is a bound parameter.
class TaskInfoLookups {
public:
    explicit TaskInfoLookups(QString databasePath);

    std::optional<TaskInfo> record() const;
    QStringList years() const;
    QStringList provinces() const;
    QStringList levels(const QString &affiliation) const;

    // 代码 of the province with this name; empty when there is none.
    QString provinceCode(const QString &province) const;
    // Prefectures whose code begins with the two-character province code.
    QStringList prefectures(const QString &provinceCode) const;
    // 代码 of the first prefecture with this name in this province; empty when there is none.
    QString prefectureCode(const QString &prefecture, const QString &province) const;
    // Counties whose code begins with the four-character prefecture code.
    QStringList counties(const QString &prefectureCode) const;
    // 代码 of the first county with these names; empty when there is none.
    QString countyCode(const QString &province, const QString &prefecture, const QString &county) const;

    // The rows of a branch-company table. The name comes from data (an enterprise text followed
    // by "分公司", or a level text): it must name one of the branch-company tables of the
    // database, otherwise this throws Error with a readable text and no SQL runs.
    QStringList branches(const QString &table) const;

    const QString &databasePath() const { return m_path; }

private:
    QString m_path;
};

} // namespace granwise::taskinfo
