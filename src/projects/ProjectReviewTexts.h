#pragma once

#include <QString>
#include <QStringList>

// The texts of the review of unlikely values ("疑似异常").
namespace granwise::review::texts {

inline const QString Caption = QStringLiteral("疑似异常");
inline const QString SheetName = QStringLiteral("疑似异常");
inline const QStringList Headings{QStringLiteral("企业详细名称"), QStringLiteral("项目名称"), QStringLiteral("省"),
                                  QStringLiteral("地市"),       QStringLiteral("县"),       QStringLiteral("行政区划代码"),
                                  QStringLiteral("指标"),       QStringLiteral("数值"),     QStringLiteral("参照值"),
                                  QStringLiteral("倍数"),       QStringLiteral("原因")};
inline const QString DefaultFileName = QStringLiteral("疑似异常.xlsx");

// Enterprise and project of the other copy.
inline const QString Duplicate =
    QStringLiteral("与“%1／%2”的企业代码相同、各项数据完全相同，疑为同一项目重复填报");
// The 总 column.
inline const QString CurrentAboveTotal = QStringLiteral("本年完成投资大于项目总投资（%1）");
// Ratio to the peers' median, peers.
inline const QString InvestmentTooLarge =
    QStringLiteral("约为同类项目中位数的 %1 倍（同类项目 %2 个），疑为以元代替万元填报");
inline const QString InvestmentTooSmall =
    QStringLiteral("约为同类项目中位数的 %1 分之一（同类项目 %2 个），疑为计量单位填错");
inline const QString ScaleOutOfRange =
    QStringLiteral("约为同类项目中位数的 %1 倍（同类项目 %2 个），疑为计量单位填错");
// Capacity item, its unit, robust deviations, peers.
inline const QString UnitCost =
    QStringLiteral("每%2%1的总投资（万元）远离同类项目（偏离 %3 个稳健标准差，同类项目 %4 个）");
inline const QString UnitCostIndicator = QStringLiteral("总投资/%1");

inline const QString Summary = QStringLiteral("共 %1 条疑似异常（%2 个项目）。");
inline const QString Shown = QStringLiteral("显示 %1 条，共 %2 条。双击一行，打开该项目。");
inline const QString Saved = QStringLiteral("疑似异常已保存：%1");

} // namespace granwise::review::texts
