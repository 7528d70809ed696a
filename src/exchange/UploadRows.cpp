#include "UploadRows.h"

#include "ExchangeTexts.h"
#include "sheets/CellReference.h"
#include "sheets/ReadAhead.h"
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

// The value of a number column: a finite number, or NULL for an empty cell.
void setNumberValue(const Utf8Row &cells, int sheetColumn, Utf8Row &values, int k, int row,
                    const UploadColumn &column)
{
    using Type = CellValue::Type;
    if (sheetColumn >= cells.size()) {
        values.setEmpty(k);
        return;
    }
    const Utf8Row::Cell &cell = cells.at(sheetColumn);
    switch (cell.type) {
    case Type::Empty:
        values.setEmpty(k);
        return;
    case Type::Number:
    case Type::DateTime:
        if (std::isfinite(cell.number)) {
            values.setNumber(k, cell.number);
            return;
        }
        break;
    case Type::Text: {
        const QString text = cells.qtext(sheetColumn);
        if (text.trimmed().isEmpty()) {
            values.setEmpty(k);
            return;
        }
        if (const auto n = parseNumber(text)) {
            values.setNumber(k, *n);
            return;
        }
        break;
    }
    case Type::Boolean:
    case Type::Error:
        break;
    }
    throw Error(u"第 %1 行 %2：“%3”不是数字"_s.arg(QString::number(row), columnLabel(column), cells.qtext(sheetColumn)));
}

// The value of a text column: the cell as text; an empty cell stores an empty text.
void setTextValue(const Utf8Row &cells, int sheetColumn, Utf8Row &values, int k)
{
    if (sheetColumn >= cells.size() || cells.at(sheetColumn).type == CellValue::Type::Empty)
        values.setText(k, std::string_view());
    else if (cells.at(sheetColumn).type == CellValue::Type::Text)
        values.setText(k, cells.text(sheetColumn));
    else
        values.setText(k, cells.qtext(sheetColumn));
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

UploadRows::UploadRows(const QString &path, RowCheck check, RowPrint print)
    : m_path(path), m_check(std::move(check)), m_print(std::move(print))
{
    m_reader = SheetReader::open(path, exchange::SheetName);
    try {
        QVector<CellValue> header;
        if (!m_reader->nextRow(header))
            throw Error(u"工作表“%1”是空的，没有列名"_s.arg(exchange::SheetName));
        m_headerRow = m_reader->rowNumber();
        m_rowCountHint = std::max(m_reader->rowCountHint() - m_headerRow, 0);
        m_columns = mapHeader(header, m_headerRow);
        m_derived = derivedTargets(m_columns);
        // Cells far right of the last column of ours are no data of the file: they are refused
        // before they are read.
        int lastColumn = 0;
        for (const UploadColumn &c : std::as_const(m_columns))
            lastColumn = std::max(lastColumn, c.sheetColumn + 1);
        m_lastColumn = lastColumn + sheets::limits::kColumnsPastHeader;
        m_reader->limitColumns(m_lastColumn);
    } catch (...) {
        m_reader->checkParts(); // an error of the workbook comes before one of its header
        throw;
    }
    m_ahead = std::make_unique<ReadAhead<Row>>([this](Row &row) { return produce(row); },
                                               [this](const Row &) { return qsizetype(m_columns.size()); },
                                               sheets::limits::kMaxQueuedCells / 8);
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
    return m_rowCountHint;
}

int UploadRows::rowNumber() const
{
    return m_row.number;
}

bool UploadRows::next(Progress &progress)
{
    if (!m_ahead->next(m_row)) {
        progress.advance(m_trailingRows); // the reading thread has ended
        m_trailingRows = 0;
        return false;
    }
    progress.advance(m_row.sheetRows);
    return true;
}

// On the reading thread: the next row with a value, converted and checked.
bool UploadRows::produce(Row &row)
{
    int passed = 0;
    while (m_reader->nextUtf8Row(m_cells)) {
        ++passed;
        if (m_cells.isBlank())
            continue;
        row.number = m_reader->rowNumber();
        row.sheetRows = passed;
        try {
            if (m_cells.size() > m_lastColumn) // a row read before the limit was set
                SheetReader::refuseColumnBeyondLimit(m_path, row.number, int(m_cells.size()), m_lastColumn);
            convert(row.number, row);
            row.failing = m_check && m_check(row.values);
            row.print = m_print ? m_print(row.values) : 0;
        } catch (...) {
            m_reader->checkParts(); // an error of the workbook comes before one of its rows
            throw;
        }
        return true;
    }
    m_trailingRows = passed;
    return false;
}

void UploadRows::convert(int rowNumber, Row &row) const
{
    row.values.clear();
    row.values.resize(int(m_columns.size()));
    for (int k = 0; k < m_columns.size(); ++k) {
        const UploadColumn &c = m_columns.at(k);
        if (c.number)
            setNumberValue(m_cells, c.sheetColumn, row.values, k, rowNumber, c);
        else
            setTextValue(m_cells, c.sheetColumn, row.values, k);
    }
    correctDerived(rowNumber, row.values);
}

void UploadRows::correctDerived(int rowNumber, Utf8Row &values) const
{
    // Number columns hold numbers or NULL, which adds 0.
    for (const DerivedTarget &d : std::as_const(m_derived)) {
        double sum = 0;
        for (const int part : d.parts)
            sum += values.at(part).number;
        const std::optional<double> corrected = correctedDerivedValue(values.at(d.column).number, sum);
        if (!corrected)
            continue;
        if (!std::isfinite(*corrected))
            throw Error(u"第 %1 行 %2：各项之和超出了数字的范围"_s.arg(QString::number(rowNumber),
                                                                   columnLabel(m_columns.at(d.column))));
        values.setNumber(d.column, *corrected);
    }
}

ProjectKey UploadRows::key() const
{
    static const int enterprise = int(uploadColumnNames().indexOf(col::EnterpriseName));
    static const int project = int(uploadColumnNames().indexOf(col::ProjectName));
    return {m_row.values.qtext(enterprise), m_row.values.qtext(project)};
}

} // namespace granwise
