#pragma once

#include <QString>
#include <QStringList>

// The texts of "全部校验": the list's button, the window of failing projects, the summary.
namespace granwise::projects::texts {

inline const QString CheckAll = QStringLiteral("全部校验");
inline const QString CheckAllCaption = QStringLiteral("全部校验：未通过校验的项目");
inline const QString CheckAllHint = QStringLiteral("双击一行，打开该项目并定位到要改正的数据项。");
inline const QStringList CheckAllHeadings{QStringLiteral("序号"), QStringLiteral("企业名称"),
                                          QStringLiteral("项目名称"), QStringLiteral("规则"),
                                          QStringLiteral("校验信息")};
// Projects, passed, failed.
inline const QString CheckAllSummary = QStringLiteral("校验完成：共 %1 个项目，通过 %2 个，未通过 %3 个。");

} // namespace granwise::projects::texts
