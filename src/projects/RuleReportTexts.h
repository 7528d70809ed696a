#pragma once

#include <QString>
#include <QStringList>

// The texts of the list of every broken rule ("校验结果") and its workbook.
namespace granwise::rulereport::texts {

inline const QString Caption = QStringLiteral("校验结果");
inline const QString SheetName = QStringLiteral("校验结果");
inline const QStringList Headings{QStringLiteral("企业详细名称"), QStringLiteral("项目名称"), QStringLiteral("省"),
                                  QStringLiteral("地市"), QStringLiteral("县"), QStringLiteral("行政区划代码"),
                                  QStringLiteral("规则"), QStringLiteral("字段"), QStringLiteral("说明")};
// Field, its text, the rule's own message.
inline const QString Unreadable = QStringLiteral("无法校验：\"%1\"的值\"%2\"不是数字（%3）");
inline const QString DefaultFileName = QStringLiteral("校验结果.xlsx");
// Rows shown, rows in all, projects.
inline const QString Summary = QStringLiteral("显示 %1 条，共 %2 条。双击一行，打开该项目进行修改。");
inline const QString Saved = QStringLiteral("校验结果已保存：%1");

} // namespace granwise::rulereport::texts
