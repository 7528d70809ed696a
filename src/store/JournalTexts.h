#pragma once

#include <QString>

// The journal's texts: operation names, counts and refusals.
namespace granwise::journal::texts {

inline const QString Import = QStringLiteral("导入");
inline const QString Save = QStringLiteral("保存");
inline const QString ValidateAll = QStringLiteral("全部校验");
inline const QString Restore = QStringLiteral("数据恢复");
inline const QString Reset = QStringLiteral("系统复位");
inline const QString Undo = QStringLiteral("撤销");
inline const QString Delete = QStringLiteral("删除");

// Added rows, replaced projects.
inline const QString ImportCounts = QStringLiteral("新增 %1 行，替换原有项目 %2 个");
inline const QString SaveAdded = QStringLiteral("新增 1 个项目");
inline const QString SaveReplaced = QStringLiteral("修改 1 个项目");
// Projects whose status changed, to "1", to "0".
inline const QString ValidateCounts = QStringLiteral("校验状态改变 %1 个：通过 %2 个，未通过 %3 个");
// Enterprise, project, rows removed.
inline const QString DeleteCounts = QStringLiteral("%1／%2：删除 %3 行");
// Region code prefix, rows removed.
inline const QString DeleteRegionCounts = QStringLiteral("行政区划代码 %1：删除 %2 行");
// Added rows, replaced projects, projects of the file's regions removed besides.
inline const QString ImportRegionCounts = QStringLiteral("新增 %1 行，替换原有项目 %2 个，按地区整体替换删除 %3 个");
inline const QString ProjectsRemoved = QStringLiteral("清除项目 %1 个");
inline const QString RestoreCounts = QStringLiteral("原有项目 %1 个，恢复后项目 %2 个");
// Undone entry, rows removed, rows put back.
inline const QString UndoCounts = QStringLiteral("撤销记录 %1：删除 %2 行，恢复 %3 行");

inline const QString NoSuchEntry = QStringLiteral("操作记录 %1 不存在");
inline const QString NotAnImport = QStringLiteral("操作记录 %1 是“%2”，只有导入可以撤销");
inline const QString AlreadyUndone = QStringLiteral("操作记录 %1 已经撤销过（见操作记录 %2），不能再次撤销");
// Entry, count of projects changed since.
inline const QString ChangedSince =
    QStringLiteral("操作记录 %1 之后，它导入的项目中有 %2 个已被修改、删除或替换，不能撤销");
inline const QString KeyTakenSince =
    QStringLiteral("操作记录 %1 之后，又有 %2 个同名项目（企业详细名称和项目名称相同）存入，不能撤销");
inline const QString BadDay = QStringLiteral("日期应为 YYYY-MM-DD：%1");

} // namespace granwise::journal::texts
