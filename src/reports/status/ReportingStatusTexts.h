#pragma once

#include <QString>
#include <QStringList>

// The texts of the window "报送情况".
namespace granwise::reporting::texts {

inline const QString Title = QStringLiteral("报送情况");
inline const QString ClassName = QStringLiteral("TFrmReported");

// The title row, by the office's level: the nation, a province, a prefecture (with its province).
inline const QString NationTitle = QStringLiteral("全国各省（区、市）报送情况");
inline const QString ProvinceTitle = QStringLiteral("%1各地市报送情况");
inline const QString PrefectureTitle = QStringLiteral("%1%2各县（市、区）报送情况");
inline const QString BranchesTitle = QStringLiteral("%1各分公司报送情况");
inline const QString BranchProvincesTitle = QStringLiteral("%1各省（区、市）报送情况");

inline const QString RegionHead = QStringLiteral("地区");
inline const QString CodeHead = QStringLiteral("行政区划代码");
inline const QString CountHead = QStringLiteral("项目个数");
inline const QString InvestmentHead = QStringLiteral("总投资（万元）");
inline const QString StatusHead = QStringLiteral("报送情况");

inline const QString Total = QStringLiteral("合计");
inline const QString Reported = QStringLiteral("已报送");
inline const QString Silent = QStringLiteral("未报送");
// Units that reported, units that did not.
inline const QString TotalStatus = QStringLiteral("已报送%1个，未报送%2个");

// The projects no unit of the table takes, listed below it.
inline const QString UnmatchedHeading = QStringLiteral("行政区划代码不属于上列地区的项目：%1个");
inline const QString EnterpriseHead = QStringLiteral("企业名称");
inline const QString ProjectHead = QStringLiteral("项目名称");

// The levels with units of their own; every other level lists the provinces.
inline const QString ProvinceLevel = QStringLiteral("省级汇总");
inline const QString PrefectureLevel = QStringLiteral("地级汇总");

// A central enterprise lists its branch companies (the table "{enterprise}分公司"); any other
// central level is a branch company, which lists the provinces it has projects in.
inline const QString Central = QStringLiteral("中央企业");
inline const QStringList CentralEnterprises{QStringLiteral("中储粮"), QStringLiteral("中粮"), QStringLiteral("华粮"),
                                            QStringLiteral("中纺"), QStringLiteral("新疆兵团")};
inline const QString BranchTableSuffix = QStringLiteral("分公司");

// Rows of the prefecture table that group what a municipality or province administers
// directly; their counties are listed one by one.
inline const QStringList GroupingRows{QStringLiteral("市辖区"), QStringLiteral("县"),
                                      QStringLiteral("省直辖县级行政区划"), QStringLiteral("自治区直辖县级行政区划")};

inline const QString UnknownProvince = QStringLiteral("任务信息中的省“%1”（行政区划码“%2”）在行政区划表中找不到");
inline const QString UnknownEnterprise = QStringLiteral("任务信息中的中央企业“%1”在数据库中没有分公司表");
inline const QString UnknownPrefecture =
    QStringLiteral("任务信息中的地市“%1%2”（行政区划码“%3”）在行政区划表中找不到");

} // namespace granwise::reporting::texts
