#pragma once

#include <QString>

namespace granwise {

// Length of a text in GBK bytes, as the return's length rules count it: one byte per ASCII
// character, two per Chinese (any other) character.
int gbkByteLength(const QString &text);

} // namespace granwise
