#pragma once

#include <QString>

// The fixed texts of the storage-facility sheet.
namespace granwise::projects::texts {

inline const QString StorageCaption = QStringLiteral("粮油仓储设施项目基本情况表");
inline const QString StorageCompute = QStringLiteral("统计");

// A count segment: the value, "（", the count and "）个" with four blanks; before the first
// "统计" the brackets stand empty.
inline const QString SegmentOpen = QStringLiteral("（");
inline const QString SegmentClose = QStringLiteral("）个    ");
inline const QString DesignSegmentEnd = QStringLiteral("（  ）个");

inline const QString NewStartsOpen = QStringLiteral("其中：本年度新开工项目（");
inline const QString NewStartsDesign = QStringLiteral("其中：本年度新开工项目（  ）个");
inline const QString LandOpen = QStringLiteral("五、可用建设用地（ ");
inline const QString LandClose = QStringLiteral("）亩");
inline const QString LandDesign = QStringLiteral("五、可用建设用地（  ）亩");

// Between two count lines that share a cell of the saved sheet.
inline const QString LineGap = QStringLiteral("    ");
// After the year in the saved sheet.
inline const QString YearSuffix = QStringLiteral("年度");

} // namespace granwise::projects::texts
