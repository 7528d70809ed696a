#pragma once

#include <QString>
#include <QVector>
#include <optional>

namespace granwise {

// The thresholds of the review; the help document's section "疑似异常" explains them.
namespace review {
// Fewest projects of a category with a non-zero value in a column for a comparison.
inline constexpr int MinPeers = 5;
// A figure at least this many times (or this fraction of) its peers' median: a figure in 元
// instead of 万元 is 10 000 times the others, and honest figures rarely stray a thousandfold.
inline constexpr double UnitSlipRatio = 1000.0;
// Investment per unit of new capacity: how many robust standard deviations (1.4826 times the
// median absolute deviation of the logarithms) from the category's median is "far outside"...
inline constexpr double UnitCostDeviations = 3.5;
// ...and how many times the median (or what fraction of it) it must be besides.
inline constexpr double UnitCostMinRatio = 3.0;
} // namespace review

enum class ReviewReason { Duplicate, CurrentAboveTotal, UnitSlip, UnitCost };

// One unlikely value of one project.
struct ReviewFinding {
    qint64 id = -1;
    QString enterpriseName;
    QString projectName;
    QString province;
    QString prefecture;
    QString county;
    QString regionCode;
    ReviewReason reason = ReviewReason::UnitSlip;
    QString indicator;                // the column (or "总投资/新建仓容")
    std::optional<double> value;
    std::optional<double> reference;  // the peers' median, or the 总 figure
    std::optional<double> ratio;      // value / reference
    QString explanation;              // the reason in words
    bool certain() const { return reason == ReviewReason::Duplicate || reason == ReviewReason::CurrentAboveTotal; }
};

// Every unlikely value of the stored projects that the rules let pass: duplicates, 本年 above
// 总, figures a thousandfold off their peers, unit costs far outside their category. Peers are
// the projects of the same 项目类别 with a non-zero value in the same column. Certain findings
// come first (duplicates, then 本年 above 总), then the others by how far they are from their
// peers (the logarithm of the ratio), each group in a stable order.
QVector<ReviewFinding> reviewProjects(const QString &databasePath);

// "共 N 条疑似异常（P 个项目）。…"
QString reviewSummary(const QVector<ReviewFinding> &findings);

// The review as a workbook: identity columns, 指标, 数值, 参照值, 倍数, 原因.
void writeReview(const QVector<ReviewFinding> &findings, const QString &path);

} // namespace granwise
