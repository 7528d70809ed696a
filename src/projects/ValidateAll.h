#pragma once

#include "Validation.h"

#include <QString>
#include <QVector>

class QTextStream;

namespace granwise {

// A stored project that breaks a rule: its key and the first rule it breaks.
struct FailedProject {
    qint64 id = -1;
    QString enterpriseName; // 企业详细名称
    QString projectName;    // 项目名称
    ValidationFailure failure;
};

struct ValidateAllResult {
    int projectCount = 0;
    int passedCount = 0;
    // Every project that fails, ordered by enterprise, project and id.
    QVector<FailedProject> failures;

    int failedCount() const { return int(failures.size()); }
};

// "全部校验": runs the rules of the entry form's check over the stored values of every project
// and stores the outcome in 校验状态, all in one transaction: "1" for a project that passes (the
// user asked for the check, as the save does), "0" for one that fails, whatever it said before.
// A number column holding text that is no number fails the project (rule -1). A database
// failure is an Error and changes nothing.
ValidateAllResult validateAll(const QString &databasePath);

// The rule of a failure as the lists show it: its number, "-" for a figure that is no number.
QString ruleText(const ValidationFailure &failure);

// What granwise-cli validate prints: one line per failing project on `out` (enterprise, project,
// rule and message separated by tabs; tabs and line breaks inside them printed as blanks), then
// the summary line, on `out` when every project passes and on `err` when some fail. Returns the
// exit status: 0 when every project passes, 1 otherwise.
int printValidateAll(const ValidateAllResult &result, QTextStream &out, QTextStream &err);

// The summary line: "校验完成：共 N 个项目，通过 P 个，未通过 F 个。"
QString validateAllSummary(const ValidateAllResult &result);

} // namespace granwise
