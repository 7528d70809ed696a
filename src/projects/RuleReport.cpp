#include "RuleReport.h"
#include "RuleReportTexts.h"
#include "ValidationFigures.h"

#include "sheets/TableWorkbook.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"

#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString breachesSql()
{
    QStringList columns{col::Id,     col::EnterpriseName, col::ProjectName, col::Province,
                        col::Prefecture, col::County,     col::RegionCode,  validation::PostalCodeColumn};
    for (const validation::FigureColumn &column : validation::typedFigureColumns())
        columns << column.name;
    return u"select %1 from TZ_XIANGMU"_s.arg(columns.join(u", "_s));
}

// The first column the rule reads that holds no number, or -1.
int firstUnreadable(const ValidationRule &rule, const QVector<QString> &unreadable)
{
    for (const QVector<int> *side : {&rule.leftPositions, &rule.rightPositions})
        for (int position : *side)
            if (position < unreadable.size() && !unreadable.at(position).isNull())
                return position;
    return -1;
}

} // namespace

QVector<RuleBreach> brokenRules(const ProjectFigures &figures, const QVector<QString> &unreadable)
{
    QVector<RuleBreach> breaches;
    for (const ValidationRule &rule : validationRules()) {
        const int bad = rule.test == RuleTest::PostalCodeSixDigits ? -1 : firstUnreadable(rule, unreadable);
        if (bad >= 0) {
            const QString column = projectColumns().at(bad).name;
            RuleBreach breach;
            breach.rule = rule.number;
            breach.field = column;
            breach.message = rulereport::texts::Unreadable.arg(column, unreadable.at(bad), rule.message);
            breaches.append(breach);
        } else if (!rulePasses(rule, figures)) {
            RuleBreach breach;
            breach.rule = rule.number;
            breach.field = rule.focusColumn;
            breach.message = rule.message;
            breaches.append(breach);
        }
    }
    return breaches;
}

QVector<RuleBreach> allBrokenRules(const QString &databasePath)
{
    QVector<RuleBreach> all;
    Connection connection(databasePath);
    Statement rows = connection.prepare(breachesSql());
    const StoredProjectReader reader(rows);
    ProjectFigures figures;
    QVector<QString> unreadable;
    while (rows.next()) {
        reader.readAll(rows, figures, unreadable);
        QVector<RuleBreach> breaches = brokenRules(figures, unreadable);
        if (breaches.isEmpty())
            continue;
        const qint64 id = rows.value(0).toLongLong();
        const QString enterprise = rows.text(1), project = rows.text(2), province = rows.text(3),
                      prefecture = rows.text(4), county = rows.text(5), code = rows.text(6);
        for (RuleBreach &breach : breaches) {
            breach.id = id;
            breach.enterpriseName = enterprise;
            breach.projectName = project;
            breach.province = province;
            breach.prefecture = prefecture;
            breach.county = county;
            breach.regionCode = code;
            all.append(std::move(breach));
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const RuleBreach &a, const RuleBreach &b) {
        return std::tie(a.province, a.prefecture, a.county, a.enterpriseName, a.projectName, a.id, a.rule)
               < std::tie(b.province, b.prefecture, b.county, b.enterpriseName, b.projectName, b.id, b.rule);
    });
    return all;
}

void writeRuleReport(const QVector<RuleBreach> &breaches, const QString &path)
{
    QVector<QVector<QVariant>> rows;
    rows.reserve(breaches.size());
    for (const RuleBreach &b : breaches)
        rows.append({b.enterpriseName, b.projectName, b.province, b.prefecture, b.county, b.regionCode,
                     double(b.rule), b.field, b.message});
    writeTableWorkbook(path, rulereport::texts::SheetName, rulereport::texts::Headings, rows);
}

} // namespace granwise
