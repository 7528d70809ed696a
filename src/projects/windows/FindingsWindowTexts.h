#pragma once

#include <QString>

// The texts of the lists of findings about projects.
namespace granwise::findings::texts {

inline const QString AllValues = QStringLiteral("（全部）");
inline const QString Save = QStringLiteral("保存");
inline const QString SaveTitle = QStringLiteral("保存%1"); // the window's caption

} // namespace granwise::findings::texts
