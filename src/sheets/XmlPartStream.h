#pragma once

#include "XmlScanner.h"
#include "ZipArchive.h"

#include <memory>
#include <string>

namespace granwise::sheets {

// Reads one part of an .xlsx package piece by piece with an XmlScanner; a large part can be
// unpacked ahead in a background thread while it is scanned. The part is bounded by the
// archive's part budget, and the scanner's buffer by limits::kMaxXmlParserBytes (a start tag
// longer than half of it is refused rather than buffered). A handler may suspend the scan
// (suspend()); feed() then returns and the next feed() goes on where it stopped.
class XmlPartStream {
public:
    enum class Unpacking { InLine, Ahead };
    XmlPartStream(const ZipReader &zip, const std::string &part, Unpacking unpacking = Unpacking::InLine);
    ~XmlPartStream();
    XmlPartStream(const XmlPartStream &) = delete;
    XmlPartStream &operator=(const XmlPartStream &) = delete;

    void setHandlers(void *user, XmlStartHandler start, XmlEndHandler end, XmlTextHandler text = nullptr);
    const ZipReader &zip() const { return m_zip; }
    const std::string &part() const { return m_part; }

    // Parses the next chunk, or the rest of a suspended one; false once the whole part has been
    // parsed. A malformed part throws Error naming the file, the part and the line.
    bool feed();
    // From inside a handler: stop after the current element; feed() returns true.
    void suspend();
    // From inside a handler: stop for good; feed() reports the error (the caller's own report
    // should win over the scanner's own).
    void abort();
    // Whether feed() failed because the part is no well-formed XML.
    bool malformed() const { return m_malformed; }

private:
    const ZipReader &m_zip;
    std::string m_part;
    std::unique_ptr<ZipEntryStream> m_entry;
    std::unique_ptr<ZipEntryPrefetch> m_ahead;
    XmlScanner m_scanner;
    bool m_malformed = false;
    [[noreturn]] void refuseLongContent() const;
};

} // namespace granwise::sheets
