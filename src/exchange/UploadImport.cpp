#include "UploadImport.h"

#include "ExchangeTexts.h"
#include "sheets/CellReference.h"
#include "sheets/SheetReader.h"
#include "store/Database.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QFileInfo>
#include <QSet>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

struct TargetColumn {
    QString name;
    bool number = false;
    int sheetColumn = -1; // index into the row's cells
};

QString columnLabel(const TargetColumn &c)
{
    return u"%1 列（%2）"_s.arg(QString::fromStdString(sheets::columnLetters(c.sheetColumn + 1)), c.name);
}

// Finds every upload column in the header row by its text.
QVector<TargetColumn> mapHeader(const QVector<CellValue> &header, int headerRow)
{
    QVector<TargetColumn> targets;
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
        TargetColumn &t = targets[found.value()];
        if (t.sheetColumn >= 0)
            throw Error(u"第 %1 行：列名“%2”出现了两次（%3 列和 %4 列）"_s.arg(headerRow)
                            .arg(text, QString::fromStdString(sheets::columnLetters(t.sheetColumn + 1)),
                                 QString::fromStdString(sheets::columnLetters(i + 1))));
        t.sheetColumn = i;
    }
    QStringList missing;
    for (const TargetColumn &t : targets)
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

QVariant numberValue(const CellValue &cell, int row, const TargetColumn &column)
{
    switch (cell.type) {
    case CellValue::Type::Empty:
        return {};
    case CellValue::Type::Number:
    case CellValue::Type::DateTime:
        return cell.number;
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
    throw Error(u"第 %1 行 %2：“%3”不是数字"_s.arg(row).arg(columnLabel(column), cell.toText()));
}

QVariant textValue(const CellValue &cell)
{
    return cell.toText(); // empty cells store an empty text
}

QString insertSql(const QVector<TargetColumn> &columns)
{
    QStringList names, marks;
    for (const TargetColumn &c : columns) {
        names << u'"' + c.name + u'"';
        marks << u"?"_s;
    }
    return u"insert into TZ_XIANGMU (%1) values (%2)"_s.arg(names.join(u','), marks.join(u','));
}

} // namespace

bool hasUploadFileExtension(const QString &path)
{
    return path.endsWith(u".xlsx"_s) || path.endsWith(u".xls"_s);
}

ImportResult TransIn(const QString &databasePath, const QString &path, Progress &progress)
{
    ProgressScope scope(progress);
    // The workbook is parsed in the background while its rows are stored.
    const auto reader = SheetReader::readAhead(SheetReader::open(path, exchange::SheetName));
    QVector<CellValue> cells;
    if (!reader->nextRow(cells))
        throw Error(u"工作表“%1”是空的，没有列名"_s.arg(exchange::SheetName));
    const int headerRow = reader->rowNumber();
    const QVector<TargetColumn> columns = mapHeader(cells, headerRow);
    const int enterprise = int(uploadColumnNames().indexOf(col::EnterpriseName));
    const int project = int(uploadColumnNames().indexOf(col::ProjectName));

    progress.start(std::max(reader->rowCountHint() - headerRow, 0));

    Connection connection(databasePath);
    connection.executeScript(u"pragma cache_size = -65536"_s); // 64 MB: index pages stay in memory
    Transaction transaction(connection);
    // A key's stored projects are deleted when the key first occurs in the file, before any
    // row with that key is added: two rows of the file with one key are both kept.
    Statement remove =
        connection.prepare(u"delete from TZ_XIANGMU where 企业详细名称 = ? and 项目名称 = ? returning id"_s);
    Statement insert = connection.prepare(insertSql(columns));
    // Into an empty table (a first import) there is nothing to replace.
    const bool replacing = connection.scalar(u"select exists (select 1 from TZ_XIANGMU)"_s).toInt() != 0;

    ImportResult result;
    QSet<std::pair<QString, QString>> keysSeen;
    QVariantList values(columns.size());
    const CellValue missing; // a column the row does not reach
    while (reader->nextRow(cells)) {
        progress.advance();
        if (isBlankRow(cells))
            continue;
        const int row = reader->rowNumber();
        for (int k = 0; k < columns.size(); ++k) {
            const TargetColumn &c = columns.at(k);
            const CellValue &cell = c.sheetColumn < cells.size() ? cells.at(c.sheetColumn) : missing;
            values[k] = c.number ? numberValue(cell, row, c) : textValue(cell);
        }
        std::pair<QString, QString> key{values.at(enterprise).toString(), values.at(project).toString()};
        if (replacing && !keysSeen.contains(key)) {
            remove.bind(1, key.first).bind(2, key.second);
            bool replaced = false;
            while (remove.next())
                replaced = true;
            remove.reset();
            if (replaced)
                ++result.projectsReplaced;
            keysSeen.insert(std::move(key));
        }
        insert.bindAll(values);
        insert.run();
        insert.reset();
        ++result.rowsAdded;
    }
    transaction.commit();
    return result;
}

QVector<ImportOutcome> importUploadFileList(const QString &databasePath, const QStringList &paths,
                                            Progress &progress)
{
    QVector<ImportOutcome> outcomes;
    for (const QString &path : paths) {
        ImportOutcome outcome;
        outcome.path = path;
        if (!hasUploadFileExtension(path)) {
            outcome.reason = exchange::WrongFileType;
        } else {
            try {
                outcome.result = TransIn(databasePath, path, progress);
                outcome.imported = true;
            } catch (const Error &e) {
                outcome.reason = e.text();
            }
        }
        outcomes.append(outcome);
    }
    return outcomes;
}

QString importSummaryLine(const ImportOutcome &outcome)
{
    const QString name = QFileInfo(outcome.path).fileName();
    if (!outcome.imported)
        return u"%1：未导入。%2"_s.arg(name, outcome.reason);
    return u"%1：新增 %2 行，替换原有项目 %3 个"_s.arg(name)
        .arg(outcome.result.rowsAdded)
        .arg(outcome.result.projectsReplaced);
}

} // namespace granwise
