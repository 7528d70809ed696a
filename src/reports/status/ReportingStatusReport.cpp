#include "ReportingStatusReport.h"

#include "ReportingStatusTexts.h"
#include "store/ExactSum.h"
#include "reports/frame/ReportRegistry.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

namespace text = reporting::texts;

enum Column { RegionColumn, CodeColumn, CountColumn, InvestmentColumn, StatusColumn, ColumnCount };
constexpr int FirstDataRow = 2;

QString titleOf(const ReportingScope &scope)
{
    switch (scope.units) {
    case ReportingScope::Units::Provinces:
        if (scope.onlyWithProjects)
            return text::BranchProvincesTitle.arg(scope.company);
        break;
    case ReportingScope::Units::Branches:
        return text::BranchesTitle.arg(scope.company);
    case ReportingScope::Units::Prefectures:
        return text::ProvinceTitle.arg(scope.province);
    case ReportingScope::Units::Counties:
        return text::PrefectureTitle.arg(scope.province, scope.prefecture);
    }
    return text::NationTitle;
}

void writeUnmatched(ReportGrid &grid, const QVector<UnmatchedProject> &unmatched)
{
    const int heading = grid.appendRow(RowKind::Section, text::UnmatchedHeading.arg(unmatched.size()));
    grid.addSpan({heading, 0, 1, ColumnCount});
    const int heads = grid.appendRow(RowKind::Section, text::EnterpriseHead);
    grid.setText(heads, CodeColumn, text::CodeHead);
    grid.setText(heads, CountColumn, text::ProjectHead);
    grid.addSpan({heads, CountColumn, 1, ColumnCount - CountColumn});
    for (const UnmatchedProject &project : unmatched) {
        const int row = grid.appendRow(RowKind::Item, project.enterpriseName);
        grid.setText(row, CodeColumn, project.regionCode);
        grid.setText(row, CountColumn, project.projectName);
        grid.addSpan({row, CountColumn, 1, ColumnCount - CountColumn});
    }
}

} // namespace

void writeReportingStatus(ReportGrid &grid, const ReportingStatus &status)
{
    grid.clearData();
    grid.setText(0, 0, titleOf(status.scope));

    const int total = grid.appendRow(RowKind::GrandTotal, text::Total);
    int projects = 0;
    int reporting = 0;
    ExactSum investment;
    for (const ReportingUnit &unit : status.units) {
        const int row = grid.appendRow(RowKind::Listed, unit.name);
        grid.setText(row, CodeColumn, unit.code);
        grid.setNumber(row, CountColumn, unit.projectCount);
        grid.setNumber(row, InvestmentColumn, unit.investment);
        grid.setText(row, StatusColumn, unit.projectCount > 0 ? text::Reported : text::Silent);
        grid.setMarked(row, unit.projectCount == 0);
        projects += unit.projectCount;
        reporting += unit.projectCount > 0 ? 1 : 0;
        investment.add(unit.investment);
    }
    grid.setNumber(total, CountColumn, projects);
    grid.setNumber(total, InvestmentColumn, investment.value());
    grid.setText(total, StatusColumn, text::TotalStatus.arg(QString::number(reporting), QString::number(status.units.size() - reporting)));

    if (!status.unmatched.isEmpty())
        writeUnmatched(grid, status.unmatched);
}

void registerReportingStatus()
{
    ReportDefinition d;
    d.className = text::ClassName;
    d.title = text::Title;
    d.kind = WindowKind::Immediate;
    d.columnCount = ColumnCount;
    d.firstDataRow = FirstDataRow;
    d.heads = {{1, RegionColumn, text::RegionHead},
               {1, CodeColumn, text::CodeHead},
               {1, CountColumn, text::CountHead},
               {1, InvestmentColumn, text::InvestmentHead},
               {1, StatusColumn, text::StatusHead}};
    d.columnWidths = {260, 120, 100, 160, 220};
    // The title row names the office's region; the template's title cell takes it.
    d.save.titleIntoSheet = true;
    d.wholeTable = [](ReportGrid &grid, const QString &databasePath) {
        writeReportingStatus(grid, reportingStatus(databasePath));
    };
    registerReport(std::move(d));
}

} // namespace granwise
