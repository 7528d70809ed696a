#pragma once

#include <QString>

// The fixed texts of the project sheet and the storage-facility sheet exports.
namespace granwise::projects::texts {

inline const QString SaveProjectSheetTitle = QStringLiteral("保存项目基础报表");
inline const QString SaveStorageSheetTitle = QStringLiteral("保存粮油仓储设施项目基本情况表");
inline const QString SheetSuffix = QStringLiteral("xlsx");

// The proposed file names: title, a full-width opening bracket, "MM-dd" and an ASCII closing one.
inline const QString ProjectSheetName = QStringLiteral("粮食流通基础设施建设投资统计基础报表");
inline const QString StorageSheetName = QStringLiteral("粮食流通基础设施建设投资统计报表");
inline const QString SheetNameOpen = QStringLiteral("（");
inline const QString SheetNameClose = QStringLiteral(")");

// The project sheet's year cell: "年度：" and the year.
inline const QString YearCaption = QStringLiteral("年度：");

} // namespace granwise::projects::texts
