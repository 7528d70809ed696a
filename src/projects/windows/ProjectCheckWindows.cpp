#include "ProjectCheckWindows.h"

#include "FindingsWindow.h"
#include "projects/ProjectReview.h"
#include "projects/ProjectReviewTexts.h"
#include "projects/RuleReport.h"
#include "projects/RuleReportTexts.h"
#include "store/NumberFormat.h"

#include <memory>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString figureText(const std::optional<double> &value)
{
    return value ? formatNumber(*value) : QString();
}

} // namespace

void openRuleReportWindow(QWidget *parent, const AppContext &context)
{
    // The lines stay beside the window so that "保存" writes what it shows.
    auto breaches = std::make_shared<QVector<RuleBreach>>();
    FindingsWindow::Setup setup;
    setup.caption = rulereport::texts::Caption;
    setup.headings = rulereport::texts::Headings;
    setup.filterColumns = {2, 3, 4, 6}; // 省, 地市, 县, 规则
    setup.load = [breaches, databasePath = context.databasePath] {
        *breaches = allBrokenRules(databasePath);
        QVector<FindingLine> lines;
        for (const RuleBreach &b : std::as_const(*breaches))
            lines.append({{b.enterpriseName, b.projectName, b.province, b.prefecture, b.county, b.regionCode,
                           QString::number(b.rule), b.field, b.message},
                          b.enterpriseName,
                          b.projectName,
                          b.field});
        return lines;
    };
    setup.save = [breaches](const QString &path, const QVector<int> &shown) {
        QVector<RuleBreach> chosen;
        for (int i : shown)
            chosen.append(breaches->at(i));
        writeRuleReport(chosen, path);
    };
    setup.summary = [](int shown, int all) { return rulereport::texts::Summary.arg(shown).arg(all); };
    setup.defaultFileName = rulereport::texts::DefaultFileName;
    setup.savedMessage = rulereport::texts::Saved;
    FindingsWindow window(context, setup, parent);
    window.setObjectName(u"RuleReportWindow"_s);
    window.exec();
}

void openReviewWindow(QWidget *parent, const AppContext &context)
{
    auto findings = std::make_shared<QVector<ReviewFinding>>();
    FindingsWindow::Setup setup;
    setup.caption = review::texts::Caption;
    setup.headings = review::texts::Headings;
    setup.filterColumns = {2, 3, 4}; // 省, 地市, 县
    setup.load = [findings, databasePath = context.databasePath] {
        *findings = reviewProjects(databasePath);
        QVector<FindingLine> lines;
        for (const ReviewFinding &f : std::as_const(*findings)) {
            const bool column = !f.indicator.contains(u'/');
            lines.append({{f.enterpriseName, f.projectName, f.province, f.prefecture, f.county, f.regionCode,
                           f.indicator, figureText(f.value), figureText(f.reference), figureText(f.ratio),
                           f.explanation},
                          f.enterpriseName,
                          f.projectName,
                          column ? f.indicator : QString()});
        }
        return lines;
    };
    setup.save = [findings](const QString &path, const QVector<int> &shown) {
        QVector<ReviewFinding> chosen;
        for (int i : shown)
            chosen.append(findings->at(i));
        writeReview(chosen, path);
    };
    setup.summary = [findings](int shown, int all) {
        return reviewSummary(*findings) + review::texts::Shown.arg(shown).arg(all);
    };
    setup.defaultFileName = review::texts::DefaultFileName;
    setup.savedMessage = review::texts::Saved;
    FindingsWindow window(context, setup, parent);
    window.setObjectName(u"ReviewWindow"_s);
    window.exec();
}

} // namespace granwise
