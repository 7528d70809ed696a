#pragma once

#include <QString>

// The texts every report window shares.
namespace granwise::texts {

inline const QString SaveTable = QStringLiteral("保存表格");
inline const QString Close = QStringLiteral("返  回");
inline const QString CloseMenu = QStringLiteral("返回");
inline const QString Compute = QStringLiteral("统计");
inline const QString ProvinceLabel = QStringLiteral("省份");
inline const QString PrefectureLabel = QStringLiteral("地市");
inline const QString Total = QStringLiteral("合计");
inline const QString Notice = QStringLiteral("提示");
inline const QString TableSaved = QStringLiteral("保存成功！");
inline const QString Region = QStringLiteral("地区");
inline const QString TenThousandYuan = QStringLiteral("单位：万元");
inline const QString WorkbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");
inline const QString SaveTableTitle = QStringLiteral("保存统计表");
inline const QString WorkbookSuffix = QStringLiteral("xlsx");

} // namespace granwise::texts
