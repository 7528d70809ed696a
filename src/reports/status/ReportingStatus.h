#pragma once

#include "store/TaskInfo.h"

#include <QString>
#include <QVector>
#include <optional>

namespace granwise {

class Connection;

// The units whose returns an office gathers: the prefectures of its province (level
// "省级汇总"; the districts and counties a municipality or province administers directly are
// listed one by one instead of their grouping row), the counties of its prefecture
// ("地级汇总"), the branch companies of a central enterprise, the provinces a branch company
// has projects in or, at any other level, the provinces.
struct ReportingScope {
    enum class Units { Provinces, Prefectures, Counties, Branches };
    Units units = Units::Provinces;
    QString province;   // the office's province (prefectures and counties), as the reference table names it
    QString prefecture; // the office's prefecture (counties)
    QString codePrefix; // what the codes of its units begin with: "41", "4106"; empty for the provinces
    QString company;    // the central enterprise (branches), or the branch company (its provinces)
    bool onlyWithProjects = false; // a branch company: the provinces it has projects in

    // A project belongs to the unit whose code begins with the same this many characters
    // of its 行政区划代码: 2 for a province, 4 for a prefecture, 6 for a county (a prefecture's
    // directly administered county is matched by its own code).
    int keyLength() const;
};

// The scope of the office the task information describes; nothing (no record) means the
// provinces. The office's province or prefecture is found by its name in the reference tables,
// else by its 行政区划码; one found neither way is an Error naming it.
ReportingScope reportingScope(Connection &connection, const std::optional<TaskInfo> &task);

// One unit of the scope with what its projects add up to.
struct ReportingUnit {
    QString name; // trimmed, as the reference table has it
    QString code; // its code in the reference table; empty for a branch company
    int projectCount = 0;
    double investment = 0; // 万元: 总_建筑安装工程 + 总_设备工器具购置 + 总_其他费用, added exactly
};

// A project whose 行政区划代码 begins like no unit of the scope (for branch companies: whose
// 分公司 names none of them).
struct UnmatchedProject {
    QString enterpriseName;
    QString projectName;
    QString regionCode; // as stored
};

struct ReportingStatus {
    ReportingScope scope;
    QVector<ReportingUnit> units;          // in the order of the reference table
    QVector<UnmatchedProject> unmatched;   // ordered by code, enterprise and project
};

// Who has reported: every unit of the office's scope (read from the task information) with
// the number and the investment of its projects, and the projects no unit takes.
ReportingStatus reportingStatus(const QString &databasePath);

} // namespace granwise
