#include "ProjectReview.h"
#include "ProjectReviewTexts.h"
#include "Validation.h"
#include "ValidationFigures.h"

#include "sheets/TableWorkbook.h"
#include "store/Database.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The capacities investment is set against: investment per unit of each.
const QStringList &capacityColumns()
{
    static const QStringList columns{u"建设_新建仓容"_s, u"建设_新建油罐"_s, u"建设_维修改造仓容"_s,
                                     u"建设_铁路专用线"_s, u"建设_罩棚"_s};
    return columns;
}

struct Project {
    qint64 id;
    QString enterpriseName, projectName, province, prefecture, county, regionCode, enterpriseCode;
    int category;
};

// Every stored project with its figures: one row of `width` figures per project.
struct Loaded {
    QVector<Project> projects;
    QVector<int> columns; // catalogue positions of the figures kept
    std::vector<double> figures;
    int categories = 0;
    int width() const { return int(columns.size()); }
    double at(int project, int figure) const { return figures[size_t(project) * size_t(columns.size()) + size_t(figure)]; }
    int figureOf(const QString &column) const { return int(columns.indexOf(projectColumnIndex(column))); }
};

Loaded load(const QString &databasePath)
{
    Loaded loaded;
    const QVector<ProjectColumn> &catalogue = projectColumns();
    for (int i = 0; i < catalogue.size(); ++i) {
        const ProjectColumn &c = catalogue.at(i);
        if (c.isNumber() && (c.group == ColumnGroup::Investment || c.group == ColumnGroup::Scale))
            loaded.columns.append(i);
    }
    QStringList select{col::Id,     col::EnterpriseName, col::ProjectName, col::Province,       col::Prefecture,
                       col::County, col::RegionCode,     col::Category,    col::EnterpriseCode, validation::PostalCodeColumn};
    for (const validation::FigureColumn &column : validation::typedFigureColumns())
        select << column.name;

    Connection connection(databasePath);
    Statement rows = connection.prepare(u"select %1 from TZ_XIANGMU order by id"_s.arg(select.join(u", "_s)));
    const StoredProjectReader reader(rows);
    ProjectFigures figures;
    QVector<QString> unreadable; // a figure that is no number counts as 0 here; the rules report it
    QHash<QString, int> categories;
    while (rows.next()) {
        reader.readAll(rows, figures, unreadable);
        const QString category = rows.text(7);
        auto found = categories.constFind(category);
        if (found == categories.constEnd())
            found = categories.insert(category, int(categories.size()));
        loaded.projects.append({rows.value(0).toLongLong(), rows.text(1), rows.text(2), rows.text(3), rows.text(4),
                                rows.text(5), rows.text(6), rows.text(8).trimmed(), *found});
        for (int position : std::as_const(loaded.columns))
            loaded.figures.push_back(figures.numbers.at(position));
    }
    loaded.categories = int(categories.size());
    return loaded;
}

double median(std::vector<double> &values)
{
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + ptrdiff_t(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1)
        return upper;
    return (*std::max_element(values.begin(), values.begin() + ptrdiff_t(middle)) + upper) / 2;
}

// A ratio in words: three significant digits.
QString approximately(double value)
{
    if (value == 0 || !std::isfinite(value))
        return formatNumber(value);
    const double scale = std::pow(10.0, 2 - std::floor(std::log10(std::abs(value))));
    return formatNumber(std::round(value * scale) / scale);
}

class Reviewer {
public:
    explicit Reviewer(const Loaded &loaded) : m(loaded) {}

    void duplicates();
    void currentAboveTotal();
    void unitSlips();
    void unitCosts();
    QVector<ReviewFinding> findings;

private:
    ReviewFinding finding(int project, ReviewReason reason, const QString &indicator) const
    {
        const Project &p = m.projects.at(project);
        ReviewFinding f;
        f.id = p.id;
        f.enterpriseName = p.enterpriseName;
        f.projectName = p.projectName;
        f.province = p.province;
        f.prefecture = p.prefecture;
        f.county = p.county;
        f.regionCode = p.regionCode;
        f.reason = reason;
        f.indicator = indicator;
        return f;
    }
    const Loaded &m;
};

void Reviewer::duplicates()
{
    // Same enterprise code and every figure the same (some not zero).
    QHash<QByteArray, QVector<int>> groups;
    const int width = m.width();
    for (int p = 0; p < m.projects.size(); ++p) {
        const Project &project = m.projects.at(p);
        if (project.enterpriseCode.isEmpty())
            continue;
        bool anyFigure = false;
        for (int f = 0; f < width && !anyFigure; ++f)
            anyFigure = m.at(p, f) != 0;
        if (!anyFigure)
            continue;
        QByteArray key = project.enterpriseCode.toUtf8();
        key.append('\0');
        for (int f = 0; f < width; ++f) {
            const double v = m.at(p, f) + 0.0; // -0 and 0 alike
            key.append(reinterpret_cast<const char *>(&v), sizeof v);
        }
        groups[key].append(p);
    }
    for (const QVector<int> &group : std::as_const(groups)) {
        if (group.size() < 2)
            continue;
        for (int i = 0; i < group.size(); ++i) {
            const Project &other = m.projects.at(group.at(i == 0 ? 1 : 0));
            ReviewFinding f = finding(group.at(i), ReviewReason::Duplicate, col::EnterpriseCode);
            f.explanation = review::texts::Duplicate.arg(other.enterpriseName, other.projectName);
            findings.append(f);
        }
    }
}

void Reviewer::currentAboveTotal()
{
    const QStringList &parts = investmentParts();
    for (int part = 0; part < parts.size(); ++part) {
        const QString totalColumn = investmentColumn(0, part);
        const QString currentColumn = investmentColumn(2, part);
        const int total = m.figureOf(totalColumn);
        const int current = m.figureOf(currentColumn);
        for (int p = 0; p < m.projects.size(); ++p) {
            const double t = m.at(p, total), c = m.at(p, current);
            if (c <= t)
                continue;
            ReviewFinding f = finding(p, ReviewReason::CurrentAboveTotal, currentColumn);
            f.value = c;
            f.reference = t;
            if (t != 0)
                f.ratio = c / t;
            f.explanation = review::texts::CurrentAboveTotal.arg(totalColumn);
            findings.append(f);
        }
    }
}

void Reviewer::unitSlips()
{
    std::vector<std::vector<int>> members(size_t(m.categories));
    std::vector<double> values;
    for (int figure = 0; figure < m.width(); ++figure) {
        const ProjectColumn &column = projectColumns().at(m.columns.at(figure));
        for (auto &list : members)
            list.clear();
        for (int p = 0; p < m.projects.size(); ++p)
            if (m.at(p, figure) != 0)
                members[size_t(m.projects.at(p).category)].push_back(p);
        for (const std::vector<int> &peers : members) {
            if (int(peers.size()) < review::MinPeers)
                continue;
            values.clear();
            for (int p : peers)
                values.push_back(std::abs(m.at(p, figure)));
            const double middle = median(values);
            for (int p : peers) {
                const double ratio = std::abs(m.at(p, figure)) / middle;
                const bool large = ratio >= review::UnitSlipRatio;
                if (!large && ratio > 1 / review::UnitSlipRatio)
                    continue;
                ReviewFinding f = finding(p, ReviewReason::UnitSlip, column.name);
                f.value = m.at(p, figure);
                f.reference = middle;
                f.ratio = ratio;
                const QString peersText = QString::number(peers.size());
                if (column.group == ColumnGroup::Investment)
                    f.explanation = large ? review::texts::InvestmentTooLarge.arg(approximately(ratio), peersText)
                                          : review::texts::InvestmentTooSmall.arg(approximately(1 / ratio), peersText);
                else
                    f.explanation = review::texts::ScaleOutOfRange.arg(approximately(ratio), peersText);
                findings.append(f);
            }
        }
    }
}

void Reviewer::unitCosts()
{
    QVector<int> totalParts;
    for (int part = 0; part < 3; ++part) // the composition: 建筑安装工程, 设备工器具购置, 其他费用
        totalParts.append(m.figureOf(investmentColumn(0, part)));
    std::vector<std::vector<std::pair<int, double>>> members(size_t(m.categories));
    std::vector<double> logs, deviations;
    for (const QString &capacityColumn : capacityColumns()) {
        const int capacity = m.figureOf(capacityColumn);
        const ProjectColumn *column = findProjectColumn(capacityColumn);
        const QString item = capacityColumn.mid(3);
        for (auto &list : members)
            list.clear();
        for (int p = 0; p < m.projects.size(); ++p) {
            double total = 0;
            for (int part : std::as_const(totalParts))
                total += m.at(p, part);
            const double amount = m.at(p, capacity);
            if (total > 0 && amount > 0)
                members[size_t(m.projects.at(p).category)].push_back({p, std::log(total / amount)});
        }
        for (const auto &peers : members) {
            if (int(peers.size()) < review::MinPeers)
                continue;
            logs.clear();
            for (const auto &[p, logCost] : peers)
                logs.push_back(logCost);
            const double center = median(logs);
            deviations.clear();
            for (const auto &[p, logCost] : peers)
                deviations.push_back(std::abs(logCost - center));
            const double spread = 1.4826 * median(deviations);
            for (const auto &[p, logCost] : peers) {
                const double distance = std::abs(logCost - center);
                if (distance < std::log(review::UnitCostMinRatio))
                    continue;
                const double deviationsOff = spread > 0 ? distance / spread : HUGE_VAL;
                if (deviationsOff <= review::UnitCostDeviations)
                    continue;
                ReviewFinding f = finding(p, ReviewReason::UnitCost, review::texts::UnitCostIndicator.arg(item));
                f.value = std::exp(logCost);
                f.reference = std::exp(center);
                f.ratio = std::exp(logCost - center);
                f.explanation = review::texts::UnitCost.arg(item, column ? column->unit : QString(),
                                                             std::isfinite(deviationsOff) ? approximately(deviationsOff)
                                                                                          : u"∞"_s,
                                                             QString::number(peers.size()));
                findings.append(f);
            }
        }
    }
}

int certaintyRank(const ReviewFinding &f)
{
    switch (f.reason) {
    case ReviewReason::Duplicate:
        return 0;
    case ReviewReason::CurrentAboveTotal:
        return 1;
    default:
        return 2;
    }
}

double distance(const ReviewFinding &f)
{
    return f.ratio && *f.ratio > 0 ? std::abs(std::log10(*f.ratio)) : 0;
}

std::optional<QVariant> cell(const std::optional<double> &value)
{
    return value ? std::optional<QVariant>(*value) : std::nullopt;
}

} // namespace

QVector<ReviewFinding> reviewProjects(const QString &databasePath)
{
    const Loaded loaded = load(databasePath);
    Reviewer reviewer(loaded);
    reviewer.duplicates();
    reviewer.currentAboveTotal();
    reviewer.unitSlips();
    reviewer.unitCosts();
    QVector<ReviewFinding> findings = std::move(reviewer.findings);
    std::stable_sort(findings.begin(), findings.end(), [](const ReviewFinding &a, const ReviewFinding &b) {
        const int ra = certaintyRank(a), rb = certaintyRank(b);
        if (ra != rb)
            return ra < rb;
        if (ra < 2)
            return a.id < b.id;
        return distance(a) > distance(b);
    });
    return findings;
}

QString reviewSummary(const QVector<ReviewFinding> &findings)
{
    QSet<qint64> projects;
    for (const ReviewFinding &f : findings)
        projects.insert(f.id);
    return review::texts::Summary.arg(findings.size()).arg(projects.size());
}

void writeReview(const QVector<ReviewFinding> &findings, const QString &path)
{
    QVector<QVector<QVariant>> rows;
    rows.reserve(findings.size());
    for (const ReviewFinding &f : findings)
        rows.append({f.enterpriseName, f.projectName, f.province, f.prefecture, f.county, f.regionCode, f.indicator,
                     cell(f.value).value_or(QVariant()), cell(f.reference).value_or(QVariant()),
                     cell(f.ratio).value_or(QVariant()), f.explanation});
    writeTableWorkbook(path, review::texts::SheetName, review::texts::Headings, rows);
}

} // namespace granwise
