#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace granwise::sheets {

// Bytes of a text from outside (a database may hold any) as QString::fromUtf8 reads them:
// valid UTF-8, sequences that are none as U+FFFD, a leading byte order mark dropped. Returns
// the bytes themselves when they are fine, else a view of `holder`, which then holds the text.
std::string_view utf8AsRead(std::string_view bytes, QByteArray &holder);
// Text of a cell, given as valid UTF-8, as it is written into sheet XML: &, < and > escaped,
// and the characters XML cannot carry (control characters, a carriage return, U+FFFE and
// U+FFFF) written in the workbook's own escape "_xHHHH_"; a literal "_xHHHH_" in the text is
// protected as "_x005F_xHHHH_", as spreadsheet programs do.
void appendCellText(std::string &out, std::string_view utf8);
// The same text with only the workbook's own escapes, for an XML library that escapes the
// markup characters itself.
std::string cellTextForDocument(std::string_view utf8);
// Whether the text needs xml:space="preserve" (leading or trailing blanks, tabs, line ends).
bool needsSpacePreserved(std::string_view utf8);
// Undoes the "_xHHHH_" escapes of a text read from a workbook.
QString decodeCellText(const QString &text);
// Escapes &, <, > and " for an attribute value or element text.
void appendEscaped(std::string &out, const char *utf8, size_t length);
// A number as sheet XML carries it: the shortest text that reads back as the same double.
void appendNumber(std::string &out, double value);

} // namespace granwise::sheets
