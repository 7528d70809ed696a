#pragma once

#include <QString>

// The fixed texts of the query definition window.
namespace granwise::projects::texts {

inline const QString DefineCaption = QStringLiteral("自定义查询器");
inline const QString DefineIndicators = QStringLiteral("查询指标");
inline const QString DefineValue = QStringLiteral("值");
inline const QString DefineAnd = QStringLiteral("并且");
inline const QString DefineOr = QStringLiteral("或者");
inline const QString DefineAdd = QStringLiteral("添加条件");
inline const QString DefineOk = QStringLiteral("确    定");
inline const QString DefineBack = QStringLiteral("返    回");

inline const QString DefineHintCaption = QStringLiteral("提示！");
inline const QString FillInCondition = QStringLiteral("请填入条件！");
inline const QString NotATableColumn = QStringLiteral("“%1”不是项目表中的列，不能作为查询条件。");
inline const QString NotANumberValue = QStringLiteral("“%1”不是完整的数字，请改正后再添加条件。");
inline const QString ConditionIncomplete =
    QStringLiteral("查询条件以“并且”或“或者”结尾，请再添加一个条件，或点“返    回”放弃。");

} // namespace granwise::projects::texts
