#pragma once

#include "Validation.h"

#include <QString>
#include <QVector>

namespace granwise {

// One rule one stored project breaks, with what the office needs to send it back.
struct RuleBreach {
    qint64 id = -1;
    QString enterpriseName; // 企业详细名称
    QString projectName;    // 项目名称
    QString province;
    QString prefecture;
    QString county;
    QString regionCode;
    int rule = 0;
    QString field;   // the column to correct
    QString message; // the rule's message, or "无法校验：..." when a value it reads is no number
};

// Every rule one project's figures break, in rule order. A rule that reads a column listed in
// `unreadable` (see StoredProjectReader::readAll) is not evaluated: it gets a breach whose
// message begins "无法校验" and whose field is that column. Only rule, field and message are set.
QVector<RuleBreach> brokenRules(const ProjectFigures &figures, const QVector<QString> &unreadable);

// Every rule every stored project breaks, ordered by province, prefecture, county, enterprise,
// project, id and rule. Reads only; the statuses are stored by validateAll.
QVector<RuleBreach> allBrokenRules(const QString &databasePath);

// The workbook sent back to the units: one sheet, one row per (project, rule), columns
// 企业详细名称, 项目名称, 省, 地市, 县, 行政区划代码, 规则, 字段, 说明.
void writeRuleReport(const QVector<RuleBreach> &breaches, const QString &path);

} // namespace granwise
