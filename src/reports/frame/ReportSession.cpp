#include "ReportSession.h"

#include "store/Error.h"

namespace granwise {

using namespace Qt::StringLiterals;

ReportSession::ReportSession(ReportDefinition definition, QString databasePath)
    : m_definition(std::move(definition)), m_databasePath(std::move(databasePath)), m_grid(blankGrid(m_definition))
{
}

void ReportSession::open()
{
    m_grid = blankGrid(m_definition);
    if (m_definition.kind == WindowKind::Immediate)
        computeWholeTable();
}

void ReportSession::computeWholeTable()
{
    if (!m_definition.wholeTable)
        throw Error(u"报表定义错误：%1 没有计算方法"_s.arg(m_definition.title));
    ReportGrid grid = blankGrid(m_definition, 0);
    m_definition.wholeTable(grid, m_databasePath);
    m_grid = std::move(grid);
}

ReportSession::Computed ReportSession::compute(const QString &province, const QString &prefecture)
{
    if (province.isEmpty() && prefecture.isEmpty()) {
        computeWholeTable();
        return Computed::WholeTable;
    }
    if (province.isEmpty() || !m_definition.hasListings())
        return Computed::Nothing;
    ReportGrid grid = blankGrid(m_definition, 0);
    if (prefecture.isEmpty()) {
        m_definition.prefectureListing(grid, m_databasePath, province.trimmed());
        m_grid = std::move(grid);
        return Computed::PrefectureListing;
    }
    m_definition.countyListing(grid, m_databasePath, province.trimmed(), prefecture.trimmed());
    m_grid = std::move(grid);
    return Computed::CountyListing;
}

} // namespace granwise
