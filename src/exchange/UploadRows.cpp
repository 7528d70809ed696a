#include "UploadRows.h"

#include "ExchangeTexts.h"
#include "sheets/CellReference.h"
#include "sheets/ReadLimits.h"
#include "sheets/SheetReader.h"
#include "store/Error.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QHash>
#include <QStringList>
#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString columnLabel(const UploadColumn &c)
{
    return u"%1 列（%2）"_s.arg(QString::fromStdString(sheets::columnLetters(c.sheetColumn + 1)), c.name);
}

QVector<UploadColumn> mapHeader(const QVector<CellValue> &header, int headerRow)
{
    QVector<UploadColumn> targets;
    QHash<QString, int> position;
    for (const QString &name : uploadColumnNames()) {
        position.insert(name, int(targets.size()));
        targets.append({name, findProjectColumn(name)->isNumber(), -1});
    }
    for (int i = 0; i < header.size(); ++i) {
        const QString text = header.at(i).toText().trimmed();
        const auto found = position.constFind(text);
        if (found == position.constEnd())
            continue; // "id", notes and other columns are not ours
        UploadColumn &t = targets[found.value()];
        if (t.sheetColumn >= 0)
            throw Error(u"第 %1 行：列名“%2”出现了两次（%3 列和 %4 列）"_s.arg(
                QString::number(headerRow), text, QString::fromStdString(sheets::columnLetters(t.sheetColumn + 1)),
                QString::fromStdString(sheets::columnLetters(i + 1))));
        t.sheetColumn = i;
    }
    QStringList missing;
    for (const UploadColumn &t : targets)
        if (t.sheetColumn < 0)
            missing << t.name;
    if (!missing.isEmpty()) {
        const int shown = 10;
        QString list = missing.mid(0, shown).join(u"、"_s);
        if (missing.size() > shown)
            list += u" 等 %1 列"_s.arg(missing.size());
        throw Error(u"工作表“%1”缺少列：%2"_s.arg(exchange::SheetName, list));
    }
    return targets;
}

bool isBlankRow(const QVector<CellValue> &cells)
{
    for (const CellValue &c : cells)
        if (!c.isBlank())
            return false;
    return true;
}

QVariant numberValue(const CellValue &cell, int row, const UploadColumn &column)
{
    switch (cell.type) {
    case CellValue::Type::Empty:
        return {};
    case CellValue::Type::Number:
    case CellValue::Type::DateTime:
        if (std::isfinite(cell.number))
            return cell.number;
        break;
    case CellValue::Type::Text: {
        if (cell.text.trimmed().isEmpty())
            return {};
        if (const auto n = parseNumber(cell.text))
            return *n;
        break;
    }
    case CellValue::Type::Boolean:
    case CellValue::Type::Error:
        break;
    }
    throw Error(u"第 %1 行 %2：“%3”不是数字"_s.arg(QString::number(row), columnLabel(column), cell.toText()));
}

QVariant textValue(const CellValue &cell)
{
    return cell.toText(); // empty cells store an empty text
}

QVector<UploadRows::DerivedTarget> derivedTargets(const QVector<UploadColumn> &columns)
{
    const auto indexOf = [&columns](const QString &name) {
        for (int k = 0; k < columns.size(); ++k)
            if (columns.at(k).name == name)
                return k;
        throw Error(u"上报文件中没有列 %1"_s.arg(name));
    };
    QVector<UploadRows::DerivedTarget> targets;
    for (const DerivedColumn &derived : derivedScaleColumns()) {
        UploadRows::DerivedTarget target{indexOf(derived.column), {}};
        for (const QString &part : derived.parts)
            target.parts << indexOf(part);
        targets << target;
    }
    return targets;
}

} // namespace

UploadRows::UploadRows(const QString &path) : m_path(path)
{
    std::unique_ptr<SheetReader> reader = SheetReader::open(path, exchange::SheetName);
    if (!reader->nextRow(m_cells))
        throw Error(u"工作表“%1”是空的，没有列名"_s.arg(exchange::SheetName));
    m_headerRow = reader->rowNumber();
    m_columns = mapHeader(m_cells, m_headerRow);
    m_derived = derivedTargets(m_columns);
    // Cells far right of the last column of ours are no data of the file: they are refused
    // before they are read ahead.
    int lastColumn = 0;
    for (const UploadColumn &c : std::as_const(m_columns))
        lastColumn = std::max(lastColumn, c.sheetColumn + 1);
    m_lastColumn = lastColumn + sheets::limits::kColumnsPastHeader;
    reader->limitColumns(m_lastColumn);
    m_reader = SheetReader::readAhead(std::move(reader));
    m_values.resize(m_columns.size());
}

QStringList UploadRows::columnNames() const
{
    QStringList names;
    for (const UploadColumn &c : m_columns)
        names << c.name;
    return names;
}

UploadRows::~UploadRows() = default;

int UploadRows::rowCountHint() const
{
    return std::max(m_reader->rowCountHint() - m_headerRow, 0);
}

int UploadRows::rowNumber() const
{
    return m_reader->rowNumber();
}

bool UploadRows::next(Progress &progress)
{
    const CellValue missing; // a column the row does not reach
    while (m_reader->nextRow(m_cells)) {
        progress.advance();
        if (isBlankRow(m_cells))
            continue;
        const int row = m_reader->rowNumber();
        if (m_cells.size() > m_lastColumn) // a row read before the limit was set
            SheetReader::refuseColumnBeyondLimit(m_path, row, int(m_cells.size()), m_lastColumn);
        for (int k = 0; k < m_columns.size(); ++k) {
            const UploadColumn &c = m_columns.at(k);
            const CellValue &cell = c.sheetColumn < m_cells.size() ? m_cells.at(c.sheetColumn) : missing;
            m_values[k] = c.number ? numberValue(cell, row, c) : textValue(cell);
        }
        correctDerived(row);
        return true;
    }
    return false;
}

void UploadRows::correctDerived(int row)
{
    for (const DerivedTarget &d : std::as_const(m_derived)) {
        double sum = 0;
        for (const int part : d.parts)
            sum += m_values.at(part).toDouble(); // NULL adds 0
        const std::optional<double> corrected = correctedDerivedValue(m_values.at(d.column).toDouble(), sum);
        if (!corrected)
            continue;
        if (!std::isfinite(*corrected))
            throw Error(u"第 %1 行 %2：各项之和超出了数字的范围"_s.arg(QString::number(row),
                                                                   columnLabel(m_columns.at(d.column))));
        m_values[d.column] = *corrected;
    }
}

ProjectKey UploadRows::key() const
{
    static const int enterprise = int(uploadColumnNames().indexOf(col::EnterpriseName));
    static const int project = int(uploadColumnNames().indexOf(col::ProjectName));
    return {m_values.at(enterprise).toString(), m_values.at(project).toString()};
}

} // namespace granwise
