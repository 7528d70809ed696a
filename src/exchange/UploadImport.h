#pragma once

#include "Progress.h"
#include "UploadIntake.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace granwise {

// What one imported upload file did to the database.
struct ImportResult {
    int rowsAdded = 0;
    int projectsReplaced = 0; // keys of the file that were held before, each counted once
};

// Whether a name is one of an upload file: it ends in ".xlsx" or ".xls" (lower case, as the
// unit programs write them).
bool hasUploadFileExtension(const QString &path);

// How upload files are taken in.
struct ImportOptions {
    // Each file is the complete return of the regions (行政区划代码) it names: the stored projects
    // of those regions that it does not hold go.
    bool replaceRegion = false;
};

// Takes one upload file into the database, as one transaction (see UploadIntake): every
// stored project whose key (企业详细名称, 项目名称) occurs in the file is deleted, then every row
// of the file is appended in file order. Columns are found by their header text in the first
// row of the sheet "数据信息". Rows without any value are skipped. Any failure (no such sheet, a
// missing column, a text that is no decimal number in a number column, a damaged file) throws
// Error naming the reason, row and column where there is one, and leaves the database exactly
// as it was. Reads .xlsx and legacy .xls workbooks.
ImportResult TransIn(const QString &databasePath, const QString &path, Progress &progress);

// One file of a multi-file import: what happened to it.
struct ImportOutcome {
    QString path;
    bool imported = false;
    ImportResult result;
    QString reason; // why it was refused
    FileIntake intake;
};

// Imports the files one after another, each in its own transaction; a refused file does not
// stop the others. A name without the upload file extension is refused unread.
QVector<ImportOutcome> importUploadFileList(const QString &databasePath, const QStringList &paths,
                                            Progress &progress, ImportOptions options = {});

// The outcome of a file taken in by an UploadIntake.
ImportOutcome importOutcome(const FileIntake &intake);

// "文件名：新增 3 行，替换原有项目 1 个" (with what else the file did) or "文件名：未导入。{reason}"
QString importSummaryLine(const ImportOutcome &outcome);

// What taking an upload file in would do: the import itself, rolled back.
using ImportPreview = FileIntake;

// Takes the files in one after another as the import would, tells what each did and writes
// nothing: every file sees the ones before it. A file the import would refuse, or a name
// without the upload file extension, gives its reason in `refusal`; the counts are then 0.
ImportPreview previewUploadFile(const QString &databasePath, const QString &path, Progress &progress,
                                ImportOptions options = {});
QVector<ImportPreview> previewUploadFileList(const QString &databasePath, const QStringList &paths,
                                             Progress &progress, ImportOptions options = {});

// "文件名：3 行，将替换原有项目 1 个（甲企业／一号库），文件内同键的行 1 行，未通过校验的行 1 行"
// or "文件名：不能导入。{reason}"
QString previewSummaryLine(const ImportPreview &preview);

// What the office should know before it goes on, one line each: "文件名：警告：…".
QStringList importWarningLines(const FileIntake &intake);

// The preview of files taken in: each file's summary line followed by its warnings.
QStringList previewLines(const QVector<FileIntake> &files);

// The question asked when files' regions hold stored projects the files do not list; empty
// when there are none.
QString regionReplacementQuestion(const QVector<FileIntake> &files);

} // namespace granwise
