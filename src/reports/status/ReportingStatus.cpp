#include "ReportingStatus.h"

#include "ReportingStatusTexts.h"
#include "store/ExactSum.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QHash>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

namespace text = texts::reporting;

struct NamedCode {
    QString name;
    QString code;
};

std::optional<NamedCode> firstRow(Connection &connection, const QString &sql, const QVariantList &values)
{
    Statement st = connection.prepare(sql);
    st.bindAll(values);
    if (!st.next())
        return std::nullopt;
    return NamedCode{st.text(0).trimmed(), st.text(1)};
}

// The office's province: by its name, else by the first two characters of its region code.
NamedCode officeProvince(Connection &connection, const TaskInfo &task)
{
    if (auto byName = firstRow(connection, u"select 名称, 代码 from province where 名称 = ? order by rowid limit 1"_s,
                               {task.province.trimmed()}))
        return *byName;
    if (task.regionCode.size() >= 2) {
        if (auto byCode = firstRow(
                connection, u"select 名称, 代码 from province where substr(代码, 1, 2) = ? order by rowid limit 1"_s,
                {task.regionCode.left(2)}))
            return *byCode;
    }
    throw Error(text::UnknownProvince.arg(task.province, task.regionCode));
}

// The office's prefecture and its province: by the names, else by the first four characters of
// the region code.
std::pair<NamedCode, QString> officePrefecture(Connection &connection, const TaskInfo &task)
{
    if (auto byName =
            firstRow(connection, u"select 名称, 代码 from city where 名称 = ? and 省 = ? order by rowid limit 1"_s,
                     {task.prefecture.trimmed(), task.province.trimmed()}))
        return {*byName, task.province.trimmed()};
    if (task.regionCode.size() >= 4) {
        Statement st = connection.prepare(
            u"select 名称, 代码, 省 from city where substr(代码, 1, 4) = ? order by rowid limit 1"_s);
        st.bind(1, task.regionCode.left(4));
        if (st.next())
            return {NamedCode{st.text(0).trimmed(), st.text(1)}, st.text(2).trimmed()};
    }
    throw Error(text::UnknownPrefecture.arg(task.province, task.prefecture, task.regionCode));
}

QVector<ReportingUnit> unitsOf(Connection &connection, const ReportingScope &scope)
{
    QString sql;
    QVariantList values;
    switch (scope.units) {
    case ReportingScope::Units::Provinces:
        sql = u"select 名称, 代码 from province order by rowid"_s;
        break;
    case ReportingScope::Units::Prefectures:
        sql = u"select 名称, 代码 from city where substr(代码, 1, 2) = ? order by rowid"_s;
        values = {scope.codePrefix};
        break;
    case ReportingScope::Units::Counties:
        sql = u"select 名称, 代码 from county where substr(代码, 1, 4) = ? order by rowid"_s;
        values = {scope.codePrefix};
        break;
    }
    QVector<ReportingUnit> units;
    Statement st = connection.prepare(sql);
    st.bindAll(values);
    while (st.next())
        units.append({st.text(0).trimmed(), st.text(1), 0, 0});
    return units;
}

} // namespace

int ReportingScope::keyLength() const
{
    switch (units) {
    case Units::Provinces:
        return 2;
    case Units::Prefectures:
        return 4;
    case Units::Counties:
        return 6;
    }
    return 2;
}

ReportingScope reportingScope(Connection &connection, const std::optional<TaskInfo> &task)
{
    ReportingScope scope;
    if (!task)
        return scope;
    if (task->level == text::ProvinceLevel) {
        const NamedCode province = officeProvince(connection, *task);
        scope.units = ReportingScope::Units::Prefectures;
        scope.province = province.name;
        scope.codePrefix = province.code.left(2);
    } else if (task->level == text::PrefectureLevel) {
        const auto [prefecture, province] = officePrefecture(connection, *task);
        scope.units = ReportingScope::Units::Counties;
        scope.province = province;
        scope.prefecture = prefecture.name;
        scope.codePrefix = prefecture.code.left(4);
    }
    return scope;
}

ReportingStatus reportingStatus(const QString &databasePath)
{
    Connection connection(databasePath);
    ReportingStatus status;
    status.scope = reportingScope(connection, readTaskInfo(connection));
    status.units = unitsOf(connection, status.scope);

    const int keyLength = status.scope.keyLength();
    QHash<QString, int> unitByKey;
    for (int i = int(status.units.size()) - 1; i >= 0; --i) // the first unit of a code takes it
        unitByKey.insert(status.units.at(i).code.left(keyLength), i);

    QVector<ExactSum> investment(status.units.size());
    Statement projects = connection.prepare(
        u"select 行政区划代码, 企业详细名称, 项目名称, 总_建筑安装工程, 总_设备工器具购置, 总_其他费用 "
        u"from TZ_XIANGMU order by id"_s);
    while (projects.next()) {
        const QString code = projects.text(0);
        const auto unit = code.size() >= keyLength ? unitByKey.constFind(code.left(keyLength)) : unitByKey.cend();
        if (unit == unitByKey.cend()) {
            status.unmatched.append({projects.text(1), projects.text(2), code});
            continue;
        }
        ++status.units[*unit].projectCount;
        for (int column = 3; column <= 5; ++column)
            investment[*unit].add(projects.number(column));
    }
    for (int i = 0; i < status.units.size(); ++i)
        status.units[i].investment = investment.at(i).value();

    std::stable_sort(status.unmatched.begin(), status.unmatched.end(),
                     [](const UnmatchedProject &a, const UnmatchedProject &b) {
                         if (a.regionCode != b.regionCode)
                             return a.regionCode < b.regionCode;
                         if (a.enterpriseName != b.enterpriseName)
                             return a.enterpriseName < b.enterpriseName;
                         return a.projectName < b.projectName;
                     });
    return status;
}

} // namespace granwise
