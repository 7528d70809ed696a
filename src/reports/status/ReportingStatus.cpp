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

namespace text = reporting::texts;

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

// The rows a prefecture table holds for the districts or counties that a municipality or a
// province administers directly: not a prefecture, its counties are listed instead.
bool isGroupingRow(const QString &name)
{
    return text::GroupingRows.contains(name);
}

// A unit with the beginning of the 行政区划代码 its projects share (or its branch name).
struct ScopeUnit {
    ReportingUnit unit;
    QString key;
};

void appendRows(QVector<ScopeUnit> &units, Connection &connection, const QString &sql, const QVariantList &values,
                int keyLength)
{
    Statement st = connection.prepare(sql);
    st.bindAll(values);
    while (st.next()) {
        const QString code = st.text(1);
        units.append({{st.text(0).trimmed(), code, 0, 0}, code.left(keyLength)});
    }
}

QVector<ScopeUnit> unitsOf(Connection &connection, const ReportingScope &scope)
{
    QVector<ScopeUnit> units;
    switch (scope.units) {
    case ReportingScope::Units::Provinces:
        if (scope.onlyWithProjects)
            appendRows(units, connection,
                       u"select 名称, 代码 from province where substr(代码, 1, 2) in "
                       u"(select substr(行政区划代码, 1, 2) from TZ_XIANGMU) order by rowid"_s,
                       {}, 2);
        else
            appendRows(units, connection, u"select 名称, 代码 from province order by rowid"_s, {}, 2);
        break;
    case ReportingScope::Units::Prefectures: {
        QVector<ScopeUnit> prefectures;
        appendRows(prefectures, connection, u"select 名称, 代码 from city where substr(代码, 1, 2) = ? order by rowid"_s,
                   {scope.codePrefix}, 4);
        for (const ScopeUnit &p : std::as_const(prefectures)) {
            if (isGroupingRow(p.unit.name))
                appendRows(units, connection,
                           u"select 名称, 代码 from county where substr(代码, 1, 4) = ? order by rowid"_s, {p.key}, 6);
            else
                units.append(p);
        }
        break;
    }
    case ReportingScope::Units::Counties:
        appendRows(units, connection, u"select 名称, 代码 from county where substr(代码, 1, 4) = ? order by rowid"_s,
                   {scope.codePrefix}, 6);
        break;
    case ReportingScope::Units::Branches: {
        // The table's name comes from the task information: only an enterprise of the list names one.
        const QString table = scope.company + text::BranchTableSuffix;
        if (!text::CentralEnterprises.contains(scope.company) || !connection.tableExists(table))
            throw Error(text::UnknownEnterprise.arg(scope.company));
        Statement st = connection.prepare(u"select 分公司 from \"%1\" order by rowid"_s.arg(table));
        while (st.next()) {
            const QString name = st.text(0).trimmed();
            units.append({{name, QString(), 0, 0}, name});
        }
        break;
    }
    }
    return units;
}

} // namespace

int ReportingScope::keyLength() const
{
    switch (units) {
    case Units::Provinces:
    case Units::Branches:
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
    if (task->affiliation == text::Central) {
        if (text::CentralEnterprises.contains(task->level)) {
            scope.units = ReportingScope::Units::Branches;
            scope.company = task->level;
        } else { // a branch company
            scope.onlyWithProjects = true;
            scope.company = task->branch.trimmed().isEmpty() ? task->unitName.trimmed() : task->branch.trimmed();
        }
        return scope;
    }
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
    const QVector<ScopeUnit> units = unitsOf(connection, status.scope);
    const bool byBranch = status.scope.units == ReportingScope::Units::Branches;
    QHash<QString, int> unitByKey;
    for (int i = int(units.size()) - 1; i >= 0; --i) { // the first unit of a key takes it
        unitByKey.insert(units.at(i).key, i);
        status.units.append(units.at(i).unit);
    }
    std::reverse(status.units.begin(), status.units.end());

    // A directly administered county is found by its own code before its province's or
    // prefecture's beginning.
    const auto unitOf = [&](const QString &code) -> int {
        for (const int length : {6, 4, 2}) {
            if (code.size() < length)
                continue;
            const auto unit = unitByKey.constFind(code.left(length));
            if (unit != unitByKey.cend())
                return *unit;
        }
        return -1;
    };

    QVector<ExactSum> investment(status.units.size());
    Statement projects = connection.prepare(
        u"select 行政区划代码, 企业详细名称, 项目名称, 总_建筑安装工程, 总_设备工器具购置, 总_其他费用, 分公司 "
        u"from TZ_XIANGMU order by id"_s);
    while (projects.next()) {
        const QString code = projects.text(0);
        const int unit = byBranch ? int(unitByKey.value(projects.text(6).trimmed(), -1)) : unitOf(code);
        if (unit < 0) {
            status.unmatched.append({projects.text(1), projects.text(2), code});
            continue;
        }
        ++status.units[unit].projectCount;
        for (int column = 3; column <= 5; ++column)
            investment[unit].add(projects.number(column));
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
