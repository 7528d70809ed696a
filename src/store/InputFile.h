#pragma once

#include <QString>

namespace granwise {

// Why a file given to be read (an upload workbook, a backup) cannot be read, or empty when it
// can be opened: it must exist and be a regular file (a named pipe would block the program
// forever, a device never end). A name that is missing and holds the replacement character
// came from bytes that were not valid UTF-8, and is reported as such rather than as missing.
QString readableFileRefusal(const QString &path);

// Throws Error with readableFileRefusal's reason.
void requireReadableFile(const QString &path);

} // namespace granwise
