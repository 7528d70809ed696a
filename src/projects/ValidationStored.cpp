#include "Validation.h"
#include "ValidationFigures.h"

#include "sheets/Utf8Row.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

int requireResultColumn(const Statement &rows, const QString &name)
{
    const int column = rows.columnIndex(name);
    if (column < 0)
        throw Error(u"数据库错误：结果中没有列 %1"_s.arg(name));
    return column;
}

int requireColumn(const QStringList &columns, const QString &name)
{
    const int column = int(columns.indexOf(name));
    if (column < 0)
        throw Error(u"缺少列 %1"_s.arg(name));
    return column;
}

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

QVariant valueAt(const Statement &row, int column)
{
    return row.value(column);
}

QVariant valueAt(const Utf8Row &values, int column)
{
    return values.variant(column);
}

} // namespace

std::optional<double> figureOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double: {
        const double number = *static_cast<const double *>(value.constData());
        if (!std::isfinite(number))
            return std::nullopt;
        return number;
    }
    case QMetaType::LongLong:
        return double(*static_cast<const qint64 *>(value.constData()));
    case QMetaType::QString: // a number column holding text: only an import can leave that behind
        return readFigure(*static_cast<const QString *>(value.constData()));
    default:
        if (value.isNull())
            return 0.0;
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            return std::nullopt;
        return number;
    }
}

QString figureValueText(const QVariant &value)
{
    return isText(value) ? value.toString() : formatNumber(value.toDouble());
}

namespace {

// A figure of a row as figureOf reads it into `number`; false for a value that is no finite
// number. From a statement, a number is read as it is stored, without a QVariant (only a text,
// which only an import leaves behind, goes through figureOf).
bool figureAt(const Statement &row, int column, double &number)
{
    if (row.storedNumber(column, number))
        return std::isfinite(number);
    const std::optional<double> figure = figureOf(row.value(column));
    number = figure.value_or(0.0);
    return figure.has_value();
}

bool figureAt(const Utf8Row &values, int column, double &number)
{
    switch (values.at(column).type) {
    case CellValue::Type::Empty:
        number = 0;
        return true;
    case CellValue::Type::Number:
        number = values.at(column).number;
        return std::isfinite(number);
    default:
        break;
    }
    const std::optional<double> figure = figureOf(values.variant(column));
    number = figure.value_or(0.0);
    return figure.has_value();
}

} // namespace

StoredProjectReader::StoredProjectReader(const Statement &rows)
    : m_postalCode(requireResultColumn(rows, validation::PostalCodeColumn))
{
    for (const validation::FigureColumn &column : validation::typedFigureColumns())
        m_numbers.append({requireResultColumn(rows, column.name), column.position, column.name});
}

StoredProjectReader::StoredProjectReader(const QStringList &columns)
    : m_postalCode(requireColumn(columns, validation::PostalCodeColumn))
{
    for (const validation::FigureColumn &column : validation::typedFigureColumns())
        m_numbers.append({requireColumn(columns, column.name), column.position, column.name});
}

template<typename Row>
std::optional<ValidationFailure> StoredProjectReader::readWith(const Row &row, ProjectFigures &figures) const
{
    double *numbers = figures.numbers.data();
    for (const Source &source : m_numbers) {
        if (!figureAt(row, source.resultColumn, numbers[source.position]))
            return notANumberFailure(source.name, figureValueText(valueAt(row, source.resultColumn)));
    }
    validation::recomputeDerived(figures);
    return std::nullopt;
}

std::optional<ValidationFailure> StoredProjectReader::read(const Statement &row, ProjectFigures &figures) const
{
    figures.postalCode = row.text(m_postalCode);
    return readWith(row, figures);
}

std::optional<ValidationFailure> StoredProjectReader::read(const Utf8Row &values, ProjectFigures &figures) const
{
    figures.postalCode = values.qtext(m_postalCode);
    return readWith(values, figures);
}

void StoredProjectReader::readAll(const Statement &row, ProjectFigures &figures, QVector<QString> &unreadable) const
{
    unreadable.fill(QString(), figures.numbers.size());
    figures.postalCode = row.text(m_postalCode);
    double *numbers = figures.numbers.data();
    bool anyUnreadable = false;
    for (const Source &source : m_numbers) {
        if (!figureAt(row, source.resultColumn, numbers[source.position])) {
            numbers[source.position] = 0;
            const QString text = figureValueText(row.value(source.resultColumn));
            unreadable[source.position] = text.isNull() ? u""_s : text;
            anyUnreadable = true;
        }
    }
    validation::recomputeDerived(figures);
    if (!anyUnreadable)
        return;
    for (const DerivedColumn &derived : derivedScaleColumns()) {
        const int position = projectColumnIndex(derived.column);
        for (const QString &part : derived.parts) {
            const QString &text = unreadable.at(projectColumnIndex(part));
            if (!text.isNull()) {
                unreadable[position] = text;
                break;
            }
        }
    }
}

ProjectValues projectValuesFromRow(const Statement &row)
{
    ProjectValues values;
    for (const ProjectColumn &c : projectColumns()) {
        const int column = row.columnIndex(c.name);
        if (column < 0)
            continue;
        if (!c.isNumber()) {
            values.insert(c.name, row.text(column));
            continue;
        }
        const QVariant value = row.value(column);
        const std::optional<double> number = figureOf(value);
        values.insert(c.name, number ? formatNumber(*number) : figureValueText(value));
    }
    return values;
}

} // namespace granwise
