#pragma once

#include "projects/ProjectSheetLayout.h"
#include "sheets/SheetReader.h"
#include "sheets/SheetStreamFill.h"
#include "sheets/WorkbookFill.h"
#include "store/AppLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPair>
#include <QStringList>

namespace granwise::test {

using SheetCells = QMap<QPair<int, int>, CellValue>;

// The cells of the first worksheet that hold something, by (row, column) counted from 1.
inline SheetCells readFirstSheet(const QString &path)
{
    SheetCells cells;
    std::unique_ptr<SheetReader> reader = SheetReader::open(path, SheetReader::sheetNames(path).value(0));
    QVector<CellValue> row;
    while (reader->nextRow(row))
        for (int c = 0; c < row.size(); ++c)
            if (row.at(c).type != CellValue::Type::Empty)
                cells.insert({reader->rowNumber(), c + 1}, row.at(c));
    return cells;
}

// A plain template for a sheet in templet/ beside the program, with a few cells of its own.
inline void makeSheetTemplate(const AppLocations &locations, const QString &sheetTitle,
                              const QMap<QPair<int, int>, QString> &ownCells = {})
{
    const QString path = sheetTemplatePath(locations, sheetTitle);
    QDir().mkpath(QFileInfo(path).path());
    createBlankWorkbook(path, QStringLiteral("Sheet1"));
    WorkbookFill workbook(path);
    for (auto it = ownCells.cbegin(); it != ownCells.cend(); ++it)
        workbook.setText(it.key().first, it.key().second, it.value());
    workbook.save();
}

// The template the build made beside the test programs, or empty when it has not been made.
inline QString builtSheetTemplate(const QString &sheetTitle)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/templet/")
        + sheetTemplateFileName(sheetTitle);
    return QFileInfo::exists(path) ? path : QString();
}

} // namespace granwise::test
