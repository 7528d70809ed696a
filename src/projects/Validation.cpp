#include "Validation.h"
#include "ValidationFigures.h"

#include "store/Error.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <charconv>
#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace validation {
namespace {

struct DerivedSum {
    int position;
    QVector<int> parts;
};

const QVector<DerivedSum> &derivedSums()
{
    static const QVector<DerivedSum> sums = [] {
        QVector<DerivedSum> list;
        for (const DerivedColumn &derived : derivedScaleColumns())
            list.append({positionsOf(derived.column).constFirst(), positionsOf(derived.parts.join(u'+'))});
        return list;
    }();
    return sums;
}

int positionOf(QStringView name)
{
    const int position = projectColumnIndex(name.toString());
    if (position < 0)
        throw Error(u"校验规则中的列不存在：%1"_s.arg(name));
    return position;
}

} // namespace

QVector<int> positionsOf(QStringView joinedNames)
{
    QVector<int> positions;
    for (QStringView name : joinedNames.split(u'+'))
        positions.append(positionOf(name));
    return positions;
}

const QVector<FigureColumn> &typedFigureColumns()
{
    static const QVector<FigureColumn> columns = [] {
        QVector<FigureColumn> list;
        const QVector<ProjectColumn> &catalogue = projectColumns();
        for (int i = 0; i < catalogue.size(); ++i) {
            const ProjectColumn &c = catalogue.at(i);
            const bool figure = c.group == ColumnGroup::Investment || c.group == ColumnGroup::Scale;
            if (figure && c.isNumber() && !c.derived)
                list.append({i, c.name});
        }
        return list;
    }();
    return columns;
}

void recomputeDerived(ProjectFigures &figures)
{
    double *numbers = figures.numbers.data();
    for (const DerivedSum &derived : derivedSums()) {
        double sum = 0;
        for (int part : derived.parts)
            sum += numbers[part];
        numbers[derived.position] = sum;
    }
}

double roundLikeTheForm(double value)
{
    // roundTo15Digits, several times faster: both conversions are correctly rounded, so the
    // digits and the value read back are the same.
    if (value == 0 || !std::isfinite(value))
        return value;
    char buffer[32];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    double rounded = value;
    if (std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific).ec != std::errc())
        return roundTo15Digits(value); // out of range after rounding: near the largest double
    return rounded;
}

} // namespace validation

namespace {

// The field as the user finds it on the form: "一、项目总投资（银行贷款）", "1、平房仓（建设规模）".
QString fieldCaption(const QString &column)
{
    const ProjectColumn *c = findProjectColumn(column);
    if (!c)
        return column;
    if (c->group == ColumnGroup::Investment) {
        const QStringList &prefixes = investmentPrefixes();
        for (int g = 0; g < prefixes.size(); ++g)
            if (column.startsWith(prefixes.at(g)))
                return u"%1（%2）"_s.arg(investmentRowCaptions().at(g), column.mid(prefixes.at(g).size()));
    }
    if (c->group == ColumnGroup::Scale)
        return u"%1（%2）"_s.arg(c->caption, column.startsWith(u"建设_"_s) ? u"建设规模"_s : u"年度完成规模"_s);
    return c->caption.isEmpty() ? column : c->caption;
}

} // namespace

ProjectFigures::ProjectFigures() : numbers(projectColumns().size(), 0.0)
{
}

std::optional<double> readFigure(const QString &text)
{
    if (QStringView(text).trimmed().isEmpty())
        return 0.0;
    const std::optional<double> value = parseNumber(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

ValidationFailure notANumberFailure(const QString &column, const QString &text)
{
    return {-1, u"要求：\"%1\"必须填写数字，\"%2\"不是数字"_s.arg(fieldCaption(column), text), column};
}

std::optional<ValidationFailure> readFigures(const ProjectValues &values, ProjectFigures &figures)
{
    figures.postalCode = values.value(validation::PostalCodeColumn);
    double *numbers = figures.numbers.data();
    for (const validation::FigureColumn &column : validation::typedFigureColumns()) {
        const QString text = values.value(column.name);
        const std::optional<double> value = readFigure(text);
        if (!value)
            return notANumberFailure(column.name, text);
        numbers[column.position] = *value;
    }
    validation::recomputeDerived(figures);
    return std::nullopt;
}

void recomputeDerivedFigures(ProjectFigures &figures)
{
    validation::recomputeDerived(figures);
}

std::optional<ValidationFailure> check(const ProjectValues &values)
{
    ProjectFigures figures;
    if (std::optional<ValidationFailure> failure = readFigures(values, figures))
        return failure;
    return checkFigures(figures);
}

} // namespace granwise
