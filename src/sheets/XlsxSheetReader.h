#pragma once

#include "SheetReader.h"

namespace granwise::sheets {

// Opens a worksheet of an .xlsx workbook for streaming (internal; use SheetReader::open).
std::unique_ptr<SheetReader> openXlsxSheet(const QString &path, const QString &sheetName);
QStringList xlsxSheetNames(const QString &path);

// Opens a worksheet of a legacy .xls workbook (BIFF8, read by BiffWorkbook).
std::unique_ptr<SheetReader> openXlsSheet(const QString &path, const QString &sheetName);
QStringList xlsSheetNames(const QString &path);

// Whether a number format (a format code) shows a date or a time.
bool isDateFormat(int numFmtId, const QString &formatCode);

} // namespace granwise::sheets
