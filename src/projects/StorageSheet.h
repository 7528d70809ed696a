#pragma once

#include "ProjectSheetLayout.h"

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace granwise {

class Connection;

// The project columns the storage-facility sheet filters by, in filter order (省, 地市, 县,
// 隶属关系, 项目类别, 项目单位性质, 建设性质, 项目进展).
const QStringList &storageFilterColumns();

// A count line of the sheet: its heading, then one segment per value of the column that occurs
// among the selected projects ("新建（3）个    "), in the order of `values`.
struct StorageCountLine {
    QString control; // objectName of the label showing it
    QString heading; // "二、项目单位性质:"; empty for the second half of the categories
    QString column;
    QStringList values;
};
const QVector<StorageCountLine> &storageCountLines();
// The labels of the new-start count and of the land sum.
inline const QString NewStartsLabel = QStringLiteral("Label5");
inline const QString LandLabel = QStringLiteral("StaticText10");

// What the sheet shows.
struct StorageSheet {
    // Figure field (objectName) -> text: the sum of its column over the selected projects, empty
    // when none is selected; the three "投资合计" (empty when the first part's sum is).
    QHash<QString, QString> figures;
    // Label (objectName) -> text: the count lines, the new-start line and the land line.
    QHash<QString, QString> lines;
};

// The sheet before the first "统计": every figure "0", the lines with empty brackets.
StorageSheet designStorageSheet();

// "统计": the sums and counts over the projects that have a name and whose columns contain the
// filter texts (column, text; blank texts are left out, "%" and "_" are matched literally).
// The derived columns are summed as stored.
StorageSheet computeStorageSheet(Connection &connection, const QVector<QPair<QString, QString>> &filters);

// The cell of the saved sheet that shows the year ("2013年度").
inline constexpr int kStorageYearRow = 3;
inline constexpr int kStorageYearColumn = 8;

// Every cell the saved sheet receives: the year, the count and land lines, the figures.
QVector<SheetEntry> storageSheetEntries(const StorageSheet &sheet, const QString &year);

} // namespace granwise
