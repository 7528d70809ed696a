#pragma once

#include <QString>

// The template workbooks beside the program (templet/) are made at build time by this tool,
// from the same definitions the program fills them from. Each family of templates has one
// writer; each writes its .xlsx files into the given directory.
namespace granwise::templets {

void writeExchangeTemplates(const QString &directory); // upload file
void writeReportTemplates(const QString &directory);   // one per statistical table
void writeSheetTemplates(const QString &directory);    // project sheet, storage-facility sheet

} // namespace granwise::templets
