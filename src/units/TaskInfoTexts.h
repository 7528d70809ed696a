#pragma once

#include <QString>
#include <QStringList>

// Every text of the task-information window in one place: captions, labels, messages and the
// level, affiliation and enterprise texts the rules compare with.
namespace granwise::taskinfo::text {

using namespace Qt::StringLiterals;

// The window.
inline const QString Caption = u"任务信息"_s;
inline const QString Heading = u"填报单位信息维护"_s;
inline const QString YearLabel = u"填报年份"_s;
inline const QString AffiliationLabel = u"隶属关系"_s;
inline const QString LevelLabel = u"汇总级别"_s;
inline const QString ProvinceLabel = u"省"_s;
inline const QString PrefectureLabel = u"地市"_s;
inline const QString CountyLabel = u"县"_s;
inline const QString CompanyLabel = u"所属公司"_s;
inline const QString BranchLabel = u"分公司"_s;
inline const QString SaveButton = u"确定"_s;
inline const QString ExitButton = u"退出"_s;

// Messages of the save checks (caption "提示", information icon). The province message
// begins with a blank.
inline const QString YearMissing = u"填报年份不能为空！"_s;
inline const QString LevelMissing = u"汇总级别不能为空！"_s;
inline const QString ProvinceMissing = u" 请选择省！"_s;
inline const QString PrefectureMissing = u"请选择地市！"_s;
inline const QString CountyMissing = u"请选择县！"_s;
inline const QString CompanyMissing = u"请选择所属公司！"_s;
inline const QString BranchMissing = u"请选择分公司！"_s;

// A branch list named by data that the database does not hold (%1: the table name).
inline const QString NoBranchTable = u"数据库中没有分公司表“%1”。"_s;

// Values.
inline const QString DefaultYear = u"2013"_s;
inline const QString Central = u"中央企业"_s;
inline const QString Local = u"地方企业"_s;
inline const QStringList Affiliations{Central, Local};
inline const QStringList Companies{u"中储粮"_s, u"中粮"_s, u"华粮"_s, u"中纺"_s, u"新疆兵团"_s};
inline const QString BranchTableSuffix = u"分公司"_s;

// Level texts with a meaning of their own.
inline const QString National = u"国家级汇总"_s;
inline const QString ProvinceLevel = u"省级汇总"_s;
inline const QString PrefectureLevel = u"地级汇总"_s;
inline const QString CountyLevel = u"县级汇总"_s;
inline const QString Corps = u"新疆兵团"_s;
inline const QString CorpsBranch = u"新疆兵团分公司"_s;
inline const QString GrainReserveBranch = u"中储粮分公司"_s;
inline const QString GrainReserve = u"中储粮"_s;
inline const QString Cofco = u"中粮"_s;
inline const QString Hualiang = u"华粮"_s;
inline const QString Textiles = u"中纺"_s;

// Region codes.
inline const QString NoRegionCode = u"000000"_s;
inline const QString CentralEnterpriseCode = u"111111"_s;
inline const QString GrainReserveBranchCode = u"222222"_s;
inline const QString CorpsCode = u"333333"_s;

} // namespace granwise::taskinfo::text
