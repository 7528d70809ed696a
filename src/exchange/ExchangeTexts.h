#pragma once

#include <QString>

// The texts of the upload file, in one place.
namespace granwise::exchange {

inline const QString SheetName = QStringLiteral("数据信息");
inline const QString TemplateFileName = QStringLiteral("out.xlsx");
inline const QString DefaultNamePrefix = QStringLiteral("(投资)上报文件-");
inline const QString ImportFilter = QStringLiteral("Excel 工作簿 (*.xlsx *.xls)");
inline const QString SaveDialogTitle = QStringLiteral("保存上报文件");
inline const QString OpenDialogTitle = QStringLiteral("选择上报文件");

inline const QString NotValidated = QStringLiteral("数据库中存在未校验记录，不能制作上报文件!");
inline const QString Exported = QStringLiteral("文件导出成功!");
inline const QString WrongFileType = QStringLiteral("文件类型错误，导入取消!");
inline const QString Imported = QStringLiteral("文件导入成功!");
inline const QString ImportFailed = QStringLiteral("文件导入出现错误，导入中断，请修改后重新导入!");

// The preview shown before upload files are taken in.
inline const QString PreviewCaption = QStringLiteral("上报数据入库");
inline const QString PreviewQuestion = QStringLiteral("将导入以下文件，是否继续？");
inline const QString NothingToImport = QStringLiteral("所选文件都不能导入，数据库未作任何改动。");
// Asked after the preview when a file's regions hold stored projects the file does not list.
inline const QString RegionQuestion = QStringLiteral(
    "数据库中以下文件所列地区还有文件中没有的原有项目：\n\n%1\n\n"
    "如果文件是这些地区完整的（更正后的）报表，选“是”删除这些原有项目；选“否”保留它们。");
inline const QString RegionLeftoverLine = QStringLiteral("%1：%2 个");

} // namespace granwise::exchange
