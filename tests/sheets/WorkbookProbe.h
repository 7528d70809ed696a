#pragma once

#include "sheets/CellValue.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <pugixml.hpp>
#include <string>

// Test helpers: workbooks made by an independent writer (libxlsxwriter), and a look inside
// the files our component writes.
namespace granwise::test {

// The raw bytes of one part of a zip container.
std::string zipPart(const QString &path, const std::string &entry);
bool zipHasPart(const QString &path, const std::string &entry);
// A part parsed as XML.
void loadPart(pugi::xml_document &doc, const QString &path, const std::string &entry);
// The <c> element of a cell ("B3") of a worksheet part, or an empty node.
pugi::xml_node cellNode(const pugi::xml_document &sheet, const char *reference);

// Every row of a sheet as texts (CellValue::toText), keyed by row number, read through
// SheetReader.
QMap<int, QStringList> readSheetTexts(const QString &path, const QString &sheetName);
QMap<int, QVector<CellValue>> readSheet(const QString &path, const QString &sheetName);

// A template like the ones the program fills: sheet "表一" with a merged, styled title row,
// column widths, a bordered cell, a number format, a formula; a second sheet "说明".
void makeStyledTemplate(const QString &path);

} // namespace granwise::test
