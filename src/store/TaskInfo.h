#pragma once

#include <QString>
#include <optional>

namespace granwise {

class Connection;

// The task-information record: who this installation is and at which level it summarises.
// One row of 任务信息; readers take the first row.
struct TaskInfo {
    QString year;          // 年份
    QString affiliation;   // 隶属关系
    QString level;         // 汇总级别
    QString province;      // 省
    QString prefecture;    // 地市
    QString county;        // 县
    QString regionCode;    // 行政区划码
    QString company;       // 所属公司
    QString branch;        // 分公司
    QString unitName;      // 归属
    QString enterpriseCode; // 企业代码
    QString filingUnit;    // 填报单位
    QString address;       // 地址
    QString postcode;      // 邮政编码
    QString filledBy;      // 填表人
    QString telephone;     // 联系电话
    QString reviewer;      // 审核人
};

// The first row of 任务信息, or nothing when the installation is not set up.
std::optional<TaskInfo> readTaskInfo(Connection &connection);
std::optional<TaskInfo> readTaskInfo(const QString &databasePath);

// Replaces the record by this one, in one transaction.
void writeTaskInfo(Connection &connection, const TaskInfo &info);

} // namespace granwise
