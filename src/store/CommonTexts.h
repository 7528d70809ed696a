#pragma once

#include <QString>

// Texts that several parts of the program show alike: the caption of a message, the way back
// out of a window, the buttons of a sheet window, the file type of a workbook.
namespace granwise::texts {

inline const QString Hint = QStringLiteral("提示");
inline const QString Message = QStringLiteral("消息");
inline const QString Back = QStringLiteral("返回");
inline const QString SaveSucceeded = QStringLiteral("保存成功！");
inline const QString SaveSheet = QStringLiteral("保存表格");
inline const QString Print = QStringLiteral("打印");
inline const QString ExportPdf = QStringLiteral("导出PDF");
inline const QString WorkbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");
inline const QString PrinterUnavailable = QStringLiteral("无法打印：打印设备不可用");

} // namespace granwise::texts
