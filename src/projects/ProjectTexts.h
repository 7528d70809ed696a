#pragma once

#include "store/CommonTexts.h" // the windows' message caption, texts::Hint

#include <QString>

// The fixed texts of the project list, the entry form and the save.
namespace granwise::projects::texts {

inline const QString InputError = QStringLiteral("输入错误提示");

// Project list
inline const QString ListCaption = QStringLiteral("粮食流通基础设施建设投资统计表维护");
inline const QString ChooseRowToDelete = QStringLiteral("请在列表中选择要删除的纪录！");
inline const QString ConfirmDelete = QStringLiteral("此操作将删除当前纪录，是否继续？");
inline const QString Deleted = QStringLiteral("删除成功！");
inline const QString Passed = QStringLiteral("通过");
inline const QString NotPassed = QStringLiteral("否");

// Entry form and save
inline const QString FormCaption = QStringLiteral("统计表输入");
inline const QString FormTitle = QStringLiteral("粮食流通基础设施建设投资统计基础报表");
inline const QString AskValidation = QStringLiteral("是否对数据进行校验？");
inline const QString Saved = QStringLiteral("数据保存成功！");
inline const QString NotANumber = QStringLiteral("“%1”中的“%2”不是数字，无法保存，请改正。");

} // namespace granwise::projects::texts
