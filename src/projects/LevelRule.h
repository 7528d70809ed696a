#pragma once

#include "store/TaskInfo.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace granwise {

// What the installation's summarising level fixes on a fresh entry form, in terms of project
// columns (the form maps them to its controls). `隶属关系` stands for both affiliation buttons.
struct FormPreset {
    QHash<QString, QString> texts; // column -> prefilled text
    QSet<QString> locked;          // columns whose controls are disabled
    bool central = false;          // "中央企业" selected (otherwise "地方企业")
    bool companyVisible = true;    // company and branch boxes with their labels shown
    bool fillPrefectures = false;  // the prefecture list is filled from the preset province
    bool fillCounties = false;     // the county list is filled from the preset prefecture
    bool lookupRegionCode = false; // the region code of the preset county is looked up
};

// The summarising levels with a rule of their own on the entry form.
namespace level {
inline const QString Enterprise = QStringLiteral("企业汇总");
inline const QString National = QStringLiteral("国家级汇总");
inline const QString Corps = QStringLiteral("新疆兵团");
inline const QString CorpsBranch = QStringLiteral("新疆兵团分公司");
inline const QString Province = QStringLiteral("省级汇总");
inline const QString Prefecture = QStringLiteral("地级汇总");
inline const QString County = QStringLiteral("县级汇总");
} // namespace level

inline const QString CentralEnterprise = QStringLiteral("中央企业");
inline const QString LocalEnterprise = QStringLiteral("地方企业");

// The level rule of the entry form, then the central-enterprise rule and the fixed year. The
// form starts with "地方企业" selected and the company boxes shown; choosing an affiliation shows
// (中央企业) or hides (地方企业) the company boxes only when the choice changes.
FormPreset levelPreset(const TaskInfo &task);

} // namespace granwise
