#pragma once

#include <QString>

// The texts of the lists of findings about projects.
namespace granwise::findings::texts {

inline const QString AllValues = QStringLiteral("（全部）");
inline const QString Save = QStringLiteral("保存");
inline const QString Close = QStringLiteral("返回");
inline const QString Hint = QStringLiteral("提示");
inline const QString WorkbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");
inline const QString SaveTitle = QStringLiteral("保存%1"); // the window's caption

} // namespace granwise::findings::texts
