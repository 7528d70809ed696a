#pragma once

#include <QString>

// The texts every report window shares.
namespace granwise::reports::texts {

inline const QString Close = QStringLiteral("返  回");
inline const QString Compute = QStringLiteral("统计");
inline const QString ProvinceLabel = QStringLiteral("省份");
inline const QString PrefectureLabel = QStringLiteral("地市");
inline const QString Total = QStringLiteral("合计");
inline const QString Region = QStringLiteral("地区");
inline const QString TenThousandYuan = QStringLiteral("单位：万元");
inline const QString SaveTableTitle = QStringLiteral("保存统计表");
inline const QString WorkbookSuffix = QStringLiteral("xlsx");

} // namespace granwise::reports::texts
