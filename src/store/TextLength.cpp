#include "TextLength.h"

#include <QList>

namespace granwise {

int gbkByteLength(const QString &text)
{
    int bytes = 0;
    for (char32_t c : text.toUcs4())
        bytes += c < 0x80 ? 1 : 2;
    return bytes;
}

} // namespace granwise
