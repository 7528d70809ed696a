#include "UploadImport.h"

#include "ExchangeTexts.h"
#include "projects/Validation.h"
#include "sheets/CellReference.h"
#include "sheets/SheetReader.h"
#include "store/Database.h"
#include "store/InputFile.h"
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
            throw Error(u"第 %1 行：列名“%2”出现了两次（%3 列和 %4 列）"_s.arg(
                QString::number(headerRow), text, QString::fromStdString(sheets::columnLetters(t.sheetColumn + 1)),
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
    throw Error(u"第 %1 行 %2：“%3”不是数字"_s.arg(QString::number(row), columnLabel(column), cell.toText()));
}

QVariant textValue(const CellValue &cell)
{
    return cell.toText(); // empty cells store an empty text
}

// The rows of an upload file as they are stored: the one reader of both the import and its
// preview. Opening reads the header; each row comes with its cells converted for their columns.
class UploadRows {
public:
    explicit UploadRows(const QString &path)
        : m_reader(SheetReader::readAhead(SheetReader::open(path, exchange::SheetName)))
    {
        if (!m_reader->nextRow(m_cells))
            throw Error(u"工作表“%1”是空的，没有列名"_s.arg(exchange::SheetName));
        m_headerRow = m_reader->rowNumber();
        m_columns = mapHeader(m_cells, m_headerRow);
        m_values.resize(m_columns.size());
    }

    const QVector<TargetColumn> &columns() const { return m_columns; }
    // Sheet rows below the header, as far as the workbook tells.
    int rowCountHint() const { return std::max(m_reader->rowCountHint() - m_headerRow, 0); }
    // Sheet row number of the row last read.
    int rowNumber() const { return m_reader->rowNumber(); }

    // Reads the next row with a value into values() (upload column order), advancing the
    // progress by each sheet row passed; false at the end. A cell that does not fit its column
    // throws Error naming the row and column.
    bool next(Progress &progress)
    {
        const CellValue missing; // a column the row does not reach
        while (m_reader->nextRow(m_cells)) {
            progress.advance();
            if (isBlankRow(m_cells))
                continue;
            const int row = m_reader->rowNumber();
            for (int k = 0; k < m_columns.size(); ++k) {
                const TargetColumn &c = m_columns.at(k);
                const CellValue &cell = c.sheetColumn < m_cells.size() ? m_cells.at(c.sheetColumn) : missing;
                m_values[k] = c.number ? numberValue(cell, row, c) : textValue(cell);
            }
            return true;
        }
        return false;
    }
    const QVariantList &values() const { return m_values; }

    // The project key (企业详细名称, 项目名称) of the row last read.
    ProjectKey key() const
    {
        static const int enterprise = int(uploadColumnNames().indexOf(col::EnterpriseName));
        static const int project = int(uploadColumnNames().indexOf(col::ProjectName));
        return {m_values.at(enterprise).toString(), m_values.at(project).toString()};
    }

private:
    std::unique_ptr<SheetReader> m_reader;
    int m_headerRow = 0;
    QVector<TargetColumn> m_columns;
    QVector<CellValue> m_cells;
    QVariantList m_values;
};

QString insertSql(const QVector<TargetColumn> &columns)
{
    QStringList names, marks;
    for (const TargetColumn &c : columns) {
        names << u'"' + c.name + u'"';
        marks << u"?"_s;
    }
    return u"insert into TZ_XIANGMU (%1) values (%2)"_s.arg(names.join(u','), marks.join(u','));
}

// The keys of the stored projects (a key with a NULL part is never replaced: the import
// compares with "=").
QSet<ProjectKey> storedKeys(const QString &databasePath)
{
    Connection connection(databasePath);
    Statement st = connection.prepare(u"select 企业详细名称, 项目名称 from TZ_XIANGMU "
                                      u"where 企业详细名称 is not null and 项目名称 is not null"_s);
    QSet<ProjectKey> keys;
    while (st.next())
        keys.insert({st.text(0), st.text(1)});
    return keys;
}

// The row as the entry form would show it once stored: texts as they are, numbers through
// formatNumber, an empty number blank.
void readFormValues(const QVector<TargetColumn> &columns, const QVariantList &values, ProjectValues &form)
{
    for (int k = 0; k < columns.size(); ++k) {
        const QVariant &v = values.at(k);
        QString &text = form[columns.at(k).name];
        if (v.isNull())
            text.clear();
        else
            text = columns.at(k).number ? formatNumber(v.toDouble()) : v.toString();
    }
}

} // namespace

bool hasUploadFileExtension(const QString &path)
{
    return path.endsWith(u".xlsx"_s) || path.endsWith(u".xls"_s);
}

ImportResult TransIn(const QString &databasePath, const QString &path, Progress &progress)
{
    ProgressScope scope(progress);
    requireReadableFile(path);
    // The workbook is parsed in the background while its rows are stored.
    UploadRows rows(path);
    progress.start(rows.rowCountHint());

    Connection connection(databasePath);
    connection.executeScript(u"pragma cache_size = -65536"_s); // 64 MB: index pages stay in memory
    Transaction transaction(connection);
    // A key's stored projects are deleted when the key first occurs in the file, before any
    // row with that key is added: two rows of the file with one key are both kept.
    Statement remove =
        connection.prepare(u"delete from TZ_XIANGMU where 企业详细名称 = ? and 项目名称 = ? returning id"_s);
    Statement insert = connection.prepare(insertSql(rows.columns()));
    // Into an empty table (a first import) there is nothing to replace.
    const bool replacing = connection.scalar(u"select exists (select 1 from TZ_XIANGMU)"_s).toInt() != 0;

    ImportResult result;
    QSet<ProjectKey> keysSeen;
    while (rows.next(progress)) {
        ProjectKey key = rows.key();
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
        insert.bindAll(rows.values());
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
            } catch (const std::exception &e) {
                outcome.reason = failureText(e);
            }
        }
        outcomes.append(outcome);
    }
    return outcomes;
}

ImportPreview previewUploadFile(const QString &databasePath, const QString &path, Progress &progress)
{
    ImportPreview preview;
    preview.path = path;
    if (!hasUploadFileExtension(path)) {
        preview.refusal = exchange::WrongFileType;
        return preview;
    }
    try {
        ProgressScope scope(progress);
        requireReadableFile(path);
        UploadRows rows(path);
        progress.start(rows.rowCountHint());
        const QSet<ProjectKey> stored = storedKeys(databasePath);
        QSet<ProjectKey> seen;
        ProjectValues form;
        ProjectFigures figures;
        while (rows.next(progress)) {
            ++preview.rows;
            ProjectKey key = rows.key();
            if (seen.contains(key)) {
                ++preview.duplicateKeyRows;
            } else {
                if (stored.contains(key))
                    preview.replacedKeys.append(key);
                seen.insert(std::move(key));
            }
            readFormValues(rows.columns(), rows.values(), form);
            if (readFigures(form, figures) || checkFigures(figures))
                ++preview.failingRows;
        }
    } catch (const std::exception &e) {
        ImportPreview refused;
        refused.path = path;
        const QString reason = failureText(e);
        refused.refusal = reason.isEmpty() ? exchange::ImportFailed : reason;
        return refused;
    }
    return preview;
}

QVector<ImportPreview> previewUploadFileList(const QString &databasePath, const QStringList &paths,
                                             Progress &progress)
{
    QVector<ImportPreview> previews;
    for (const QString &path : paths)
        previews.append(previewUploadFile(databasePath, path, progress));
    return previews;
}

QString previewSummaryLine(const ImportPreview &preview)
{
    const QString name = QFileInfo(preview.path).fileName();
    if (preview.refused())
        return name + u"：不能导入。"_s + preview.refusal;
    QString replaced = u"将替换原有项目 %1 个"_s.arg(preview.replacedProjects());
    if (!preview.replacedKeys.isEmpty()) {
        const int shown = 5;
        QStringList keys;
        for (const ProjectKey &k : preview.replacedKeys.mid(0, shown))
            keys << k.first + u'／' + k.second;
        replaced += u'（' + keys.join(u"、"_s) + (preview.replacedKeys.size() > shown ? u" 等"_s : QString()) + u'）';
    }
    // File names and keys are the user's text: they are joined, never passed through arg().
    return name + u"：%1 行，"_s.arg(preview.rows) + replaced +
           u"，文件内同键的行 %1 行，未通过校验的行 %2 行"_s.arg(QString::number(preview.duplicateKeyRows),
                                                          QString::number(preview.failingRows));
}

QString importSummaryLine(const ImportOutcome &outcome)
{
    const QString name = QFileInfo(outcome.path).fileName();
    if (!outcome.imported)
        return name + u"：未导入。"_s + outcome.reason;
    return name + u"：新增 %1 行，替换原有项目 %2 个"_s.arg(QString::number(outcome.result.rowsAdded),
                                                        QString::number(outcome.result.projectsReplaced));
}

} // namespace granwise
