#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace granwise {

enum class ColumnKind { AutoNumber, DateTime, Text, Number };

enum class ColumnGroup { Bookkeeping, Enterprise, ProjectFacts, Investment, Scale, FilingPersons };

// One column of the project table TZ_XIANGMU. The catalogue below is the only list of
// project columns in the program: the schema, the entry form, the save, the upload file,
// the validation and the query indicators all read it.
struct ProjectColumn {
    QString name;
    ColumnKind kind = ColumnKind::Text;
    ColumnGroup group = ColumnGroup::Bookkeeping;
    QString control;     // objectName of the entry-form control; empty for derived/bookkeeping
    QString caption;     // caption beside the control on the form
    QString unit;        // unit of measure of a number column
    QStringList choices; // the allowed values of a choice column (radio group)
    bool derived = false; // computed by the form, never typed

    bool isNumber() const { return kind == ColumnKind::Number; }
    bool isText() const { return kind == ColumnKind::Text; }
};

// One construction-scale item: a planned (建设_) and a completed (完成_) column.
struct ScaleItem {
    int number = 0;          // 1 .. 37 in form order
    QString item;            // item name as used in the planned column
    QString plannedColumn;
    QString completedColumn;
    QString unit;
    QString caption;
    QString plannedControl;
    QString completedControl;
    bool derived = false;
};

// The 137 columns in table order.
const QVector<ProjectColumn> &projectColumns();
// Index in table order, or -1.
int projectColumnIndex(const QString &name);
const ProjectColumn *findProjectColumn(const QString &name);
// Names of all columns except `id`, in table order: the columns of the upload file.
QStringList uploadColumnNames();

// Investment: three groups of eleven parts.
const QStringList &investmentPrefixes(); // 总_, 累计_, 本年_
const QStringList &investmentParts();    // 建筑安装工程 ... 其他投资
const QStringList &investmentRowCaptions(); // "一、项目总投资" ...
QString investmentColumn(int group, int part); // group 0..2, part 0..10

const QVector<ScaleItem> &scaleItems();

// A scale column the entry form computes as the sum of others (新建仓容 and 机械设备, planned
// and completed); the "of which" items are not added.
struct DerivedColumn {
    QString column;
    QStringList parts;
};
const QVector<DerivedColumn> &derivedScaleColumns();
// What a derived column stores, given the sum of its parts: nothing when `stored` agrees with
// the sum (both the same to 15 significant digits, as the form shows them), else the sum so
// rounded (not finite when the parts add up beyond the range of a double). The import and the
// save store a derived column only as its parts add up.
std::optional<double> correctedDerivedValue(double stored, double partsSum);

// Names of the project facts' choice columns.
namespace col {
inline const QString Id = QStringLiteral("id");
inline const QString ModifiedAt = QStringLiteral("修改时间");
inline const QString ValidationStatus = QStringLiteral("校验状态");
inline const QString EnterpriseCode = QStringLiteral("企业代码");
inline const QString EnterpriseName = QStringLiteral("企业详细名称");
inline const QString Province = QStringLiteral("省");
inline const QString Prefecture = QStringLiteral("地市");
inline const QString County = QStringLiteral("县");
inline const QString RegionCode = QStringLiteral("行政区划代码");
inline const QString Affiliation = QStringLiteral("隶属关系");
inline const QString Company = QStringLiteral("公司");
inline const QString Branch = QStringLiteral("分公司");
inline const QString Year = QStringLiteral("年度");
inline const QString Category = QStringLiteral("项目类别");
inline const QString ProjectName = QStringLiteral("项目名称");
inline const QString Ownership = QStringLiteral("项目单位性质");
inline const QString ConstructionNature = QStringLiteral("建设性质");
inline const QString Progress = QStringLiteral("项目进展");
inline const QString StartedThisYear = QStringLiteral("本年度开工项目");
inline const QString Land = QStringLiteral("可用建设用地");
} // namespace col

} // namespace granwise
