#pragma once

#include "TestSupport.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportSession.h"
#include "reports/summary/SummaryReports.h"
#include "store/Error.h"

#include <QStringList>
#include <QVariantMap>

// Helpers of the facility, corridor and basic statistics table tests.
namespace granwise::test {

using namespace Qt::StringLiterals;

// A table registered by registerFacilityTables(), by title or number; throws when missing.
inline const ReportDefinition &facilityTable(const QString &titleOrNumber)
{
    registerFacilityTables();
    const ReportDefinition *d = findReport(titleOrNumber);
    if (!d)
        throw Error(u"no table "_s + titleOrNumber);
    return *d;
}

inline ReportGrid computeWhole(const QString &titleOrNumber, const TempDatabase &db)
{
    ReportSession session(facilityTable(titleOrNumber), db.path());
    session.computeWholeTable();
    return session.grid();
}

inline ReportGrid computeListing(const QString &number, const TempDatabase &db, const QString &province,
                                 const QString &prefecture = {})
{
    ReportSession session(facilityTable(number), db.path());
    session.compute(province, prefecture);
    return session.grid();
}

// A project at a place: division code, province, prefecture and county; local by default.
inline QVariantMap projectAt(const QString &code, const QVariantMap &figures = {})
{
    static int serial = 0;
    QVariantMap p = figures;
    p.insert(u"行政区划代码"_s, code);
    if (!p.contains(u"隶属关系"_s))
        p.insert(u"隶属关系"_s, u"地方企业"_s);
    p.insert(u"项目名称"_s, u"项目%1"_s.arg(++serial));
    return p;
}

inline QVariantMap centralAt(const QString &code, const QString &company, QVariantMap figures = {})
{
    figures.insert(u"隶属关系"_s, u"中央企业"_s);
    figures.insert(u"公司"_s, company);
    return projectAt(code, figures);
}

inline QVariantMap placed(QVariantMap project, const QString &province, const QString &prefecture,
                          const QString &county = {})
{
    project.insert(u"省"_s, province);
    project.insert(u"地市"_s, prefecture);
    project.insert(u"县"_s, county);
    return project;
}

inline int rowLabelled(const ReportGrid &grid, const QString &label)
{
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.text(r, 0) == label)
            return r;
    return -1;
}

// Columns 1 .. C-1 of the row with that label; empty when there is none.
inline QStringList figuresOf(const ReportGrid &grid, const QString &label)
{
    const int row = rowLabelled(grid, label);
    return row < 0 ? QStringList() : grid.rowTexts(row).mid(1);
}

inline QStringList labelsOf(const ReportGrid &grid)
{
    QStringList labels;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        labels << grid.text(r, 0);
    return labels;
}

inline QStringList split(const char *commaSeparated)
{
    return QString::fromUtf8(commaSeparated).split(u',');
}

inline QStringList zeros(int count)
{
    return QStringList(count, u"0"_s);
}

} // namespace granwise::test
