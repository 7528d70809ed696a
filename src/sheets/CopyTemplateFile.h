#pragma once

#include <QString>
#include <functional>

namespace granwise {

// Copies a template (or any file) byte for byte: `destination` is created, or emptied and
// overwritten without asking. Throws Error "Cannot open file %s" when the source cannot be read
// and "Cannot create file %s" when the destination cannot be written.
// A file of the user's is never its destination directly: writeFromTemplate copies into a
// temporary.
void CopyTemplateFile(const QString &source, const QString &destination);

// Makes a workbook at `target` from a template: the template is copied under a temporary name
// beside the target (an OutputFile), `fill` writes into that copy (given its path), and only
// the finished workbook is renamed into place. When anything fails (or the program is killed)
// the target is left as it was, never a blank template or half a workbook, and the temporary
// is removed.
void writeFromTemplate(const QString &templatePath, const QString &target,
                       const std::function<void(const QString &copy)> &fill);

} // namespace granwise
