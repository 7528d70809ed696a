#pragma once

#include "Progress.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <utility>

namespace granwise {

// A project's key: (企业详细名称, 项目名称).
using ProjectKey = std::pair<QString, QString>;

// What one imported upload file did to the database.
struct ImportResult {
    int rowsAdded = 0;
    int projectsReplaced = 0; // keys of the file that were held before, each counted once
};

// Whether a name is one of an upload file: it ends in ".xlsx" or ".xls" (lower case, as the
// unit programs write them).
bool hasUploadFileExtension(const QString &path);

// Takes one upload file into the database, as one transaction: every stored project whose
// key (企业详细名称, 项目名称) occurs in the file is deleted, then every row of the file is
// appended in file order. Columns are found by their header text in the first row of the
// sheet "数据信息" (a header "id" or an unknown header is ignored; a missing column refuses the
// file). Rows without any value are skipped. A numeric cell in a text column is stored in the
// program's number format; an empty cell stores an empty text, or NULL in a number column.
// Any failure (no such sheet, a missing column, a text that is no decimal number in a number
// column, a damaged file) throws Error naming the reason, row and column where there is one,
// and leaves the database exactly as it was. Reads .xlsx and legacy .xls workbooks.
ImportResult TransIn(const QString &databasePath, const QString &path, Progress &progress);

// One file of a multi-file import: what happened to it.
struct ImportOutcome {
    QString path;
    bool imported = false;
    ImportResult result;
    QString reason; // why it was refused
};

// Imports the files one after another, each in its own transaction; a refused file does not
// stop the others. A name without the upload file extension is refused unread.
QVector<ImportOutcome> importUploadFileList(const QString &databasePath, const QStringList &paths,
                                            Progress &progress);

// "文件名：新增 3 行，替换原有项目 1 个" or "文件名：未导入。{reason}"
QString importSummaryLine(const ImportOutcome &outcome);

// What taking one upload file in would do, found without writing anything.
struct ImportPreview {
    QString path;
    int rows = 0;                     // rows that would be added
    QVector<ProjectKey> replacedKeys; // held keys the file would replace, in file order
    int duplicateKeyRows = 0;         // rows whose key occurs on an earlier row of the file
    int failingRows = 0;              // rows that would not pass validation
    QString refusal;                  // why the file would be refused; empty when it would be taken in
    bool refused() const { return !refusal.isEmpty(); }
    int replacedProjects() const { return int(replacedKeys.size()); }
};

// Reads one upload file exactly as TransIn does (same header matching, same cell conversion)
// and tells what it would do, writing nothing. A file TransIn would refuse, or a name without
// the upload file extension, gives its reason in `refusal`; the counts are then 0.
ImportPreview previewUploadFile(const QString &databasePath, const QString &path, Progress &progress);
QVector<ImportPreview> previewUploadFileList(const QString &databasePath, const QStringList &paths,
                                             Progress &progress);

// "文件名：3 行，将替换原有项目 1 个（甲企业／一号库），文件内同键的行 1 行，未通过校验的行 1 行"
// or "文件名：不能导入。{reason}"
QString previewSummaryLine(const ImportPreview &preview);

} // namespace granwise
