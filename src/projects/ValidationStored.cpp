#include "Validation.h"
#include "ValidationFigures.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

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

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

// A stored number (REAL, INTEGER or NULL) as a double, without the general conversion.
double storedNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return *static_cast<const double *>(value.constData());
    case QMetaType::LongLong:
        return double(*static_cast<const qint64 *>(value.constData()));
    default:
        return value.toDouble(); // NULL reads as 0
    }
}

} // namespace

StoredProjectReader::StoredProjectReader(const Statement &rows)
    : m_postalCode(requireResultColumn(rows, validation::PostalCodeColumn))
{
    for (const validation::FigureColumn &column : validation::typedFigureColumns())
        m_numbers.append({requireResultColumn(rows, column.name), column.position, column.name});
}

std::optional<ValidationFailure> StoredProjectReader::read(const Statement &row, ProjectFigures &figures) const
{
    figures.postalCode = row.text(m_postalCode);
    double *numbers = figures.numbers.data();
    for (const Source &source : m_numbers) {
        const QVariant value = row.value(source.resultColumn);
        if (isText(value)) { // a number column holding text: only an import can leave that behind
            const QString text = value.toString();
            const std::optional<double> number = readFigure(text);
            if (!number)
                return notANumberFailure(source.name, text);
            numbers[source.position] = *number;
        } else {
            numbers[source.position] = storedNumber(value);
        }
    }
    validation::recomputeDerived(figures);
    return std::nullopt;
}

void StoredProjectReader::readAll(const Statement &row, ProjectFigures &figures, QVector<QString> &unreadable) const
{
    unreadable.fill(QString(), figures.numbers.size());
    figures.postalCode = row.text(m_postalCode);
    double *numbers = figures.numbers.data();
    bool anyUnreadable = false;
    for (const Source &source : m_numbers) {
        const QVariant value = row.value(source.resultColumn);
        if (!isText(value)) {
            numbers[source.position] = storedNumber(value);
            continue;
        }
        const QString text = value.toString();
        const std::optional<double> number = readFigure(text);
        numbers[source.position] = number.value_or(0.0);
        if (!number) {
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
        if (isText(value)) {
            const QString text = value.toString();
            const std::optional<double> number = readFigure(text);
            values.insert(c.name, number ? formatNumber(*number) : text);
        } else {
            values.insert(c.name, formatNumber(storedNumber(value)));
        }
    }
    return values;
}

} // namespace granwise
