#pragma once

#include "Progress.h"
#include "store/AppLocations.h"

#include <QDate>
#include <QString>

namespace granwise {

class Connection;

// The upload file carries every project upward: worksheet "数据信息", row 1 the names of the
// project columns in table order (all but id), then one project per row in table order, each
// value in its column (numbers as numbers, texts as texts, an empty cell for a null or empty
// value). It is a copy of the template templet/out.xlsx filled in; cells the projects do not
// fill keep the template's content.

// Number of projects that have not passed validation (校验状态 other than "1").
int unvalidatedProjectCount(Connection &connection);

// Default name of the upload file: "(投资)上报文件-{归属}-MM-dd.xlsx" on the given day.
QString defaultUploadFileName(const QString &unitName, const QDate &day);

// Fills the workbook at `path` (a copy of the template) with the projects of the database,
// streaming them. Advances the progress 1 on opening the workbook, 1 after the column names,
// 1 per project, 1 after the rows and 1 after saving. Throws Error on failure; the workbook
// is then left as it was.
void TransOut(const QString &databasePath, const QString &path, Progress &progress);

// The whole making of an upload file: counts the projects (the progress maximum is their
// number + 5) and fills a copy of the template through writeFromTemplate, so nothing appears at
// `path` until the file is complete. On failure the Error goes on and `path` is as it was.
void makeUploadWorkbook(const QString &databasePath, const QString &templatePath, const QString &path,
                        Progress &progress);

// The upload template, out.xlsx: the office's own in its data folder first, the shipped one otherwise.
QString uploadTemplatePath(const AppLocations &locations);

} // namespace granwise
