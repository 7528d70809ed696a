#pragma once

#include "ZipArchive.h"

#include <QString>
#include <QVector>
#include <string>
#include <vector>

namespace granwise::sheets {

// The shared strings of a workbook, read whole (the sheet refers to them by index), phonetic
// runs left out and the workbook's "_xHHHH_" escapes undone. A string longer than a cell holds
// (limits::kMaxCellTextLength) or a table taking more memory than limits::sharedStringsBudget
// of the file is refused.
QVector<QString> loadSharedStrings(const ZipReader &zip, const std::string &part);

// For each cell format (cellXfs) of the styles part, in order, whether it shows a date. Only
// the number formats and cell formats are read, streamed; more of them than a spreadsheet
// program allows is refused. A styles part that is no well-formed XML gives no dates.
std::vector<bool> loadDateStyles(const ZipReader &zip, const std::string &part);

} // namespace granwise::sheets
