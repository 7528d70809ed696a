#pragma once

#include <QString>
#include <QStringList>

// The texts of the journal window ("操作记录").
namespace granwise::journalwindow::texts {

inline const QString Caption = QStringLiteral("操作记录");
inline const QStringList Headings{QStringLiteral("编号"), QStringLiteral("时间"), QStringLiteral("用户"),
                                  QStringLiteral("操作"), QStringLiteral("文件"), QStringLiteral("数量"),
                                  QStringLiteral("状态")};
// The entry that undid it.
inline const QString UndoneBy = QStringLiteral("已撤销（操作记录 %1）");
inline const QString Undo = QStringLiteral("撤销");
// Entry, operation, file.
inline const QString AskUndo =
    QStringLiteral("撤销操作记录 %1（%2 %3）：删除它新增的项目，恢复它替换的项目。确定要撤销吗？");
inline const QString Undone = QStringLiteral("已撤销操作记录 %1。");
inline const QString ChooseEntry = QStringLiteral("请先选择一条导入记录。");

} // namespace granwise::journalwindow::texts
