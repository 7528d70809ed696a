#pragma once

#include <QString>

namespace granwise {

// Copies a template (or any file) byte for byte: `destination` is created, or emptied and
// overwritten without asking. Throws Error "Cannot open file %s" when the source cannot be read
// and "Cannot create file %s" when the destination cannot be written.
void CopyTemplateFile(const QString &source, const QString &destination);

} // namespace granwise
