#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace granwise::sheets {

// Handlers of the elements and texts of a part. Names and attribute names and values are
// NUL-terminated, the attributes given as name, value, name, value, …, ending in a null.
// Names are as the part writes them, prefix included ("x:row").
using XmlStartHandler = void (*)(void *user, const char *name, const char **attributes);
using XmlEndHandler = void (*)(void *user, const char *name);
using XmlTextHandler = void (*)(void *user, const char *text, int length);

// A strict, streaming reader of the XML of a workbook part, built for sheet XML: millions of
// small elements, read at several times the speed of a general parser. It takes any
// well-formed XML 1.0 document without a document type declaration (a workbook part may not
// carry one) and refuses everything else, as a conforming parser does: tags that do not match,
// a second root, attributes written twice or without quotes, undefined entities, character
// references to characters XML cannot carry, control characters, malformed UTF-8, "]]>" in
// text, "--" in comments, a misplaced XML declaration.
//
// Texts are delivered with line ends normalised (CR LF and CR become LF) and references
// undone, possibly in several pieces; attribute values with line ends and tabs as blanks. The
// bytes are read as UTF-8 whatever the declaration says. Markup (a tag, a comment) longer
// than `maxMarkupBytes` is refused rather than buffered; text is never buffered.
class XmlScanner {
public:
    // Reads up to `size` more bytes of the part into `buffer`; 0 at its end.
    using Source = std::function<qint64(char *buffer, qint64 size)>;
    XmlScanner(Source source, qint64 maxMarkupBytes);
    ~XmlScanner();
    XmlScanner(const XmlScanner &) = delete;
    XmlScanner &operator=(const XmlScanner &) = delete;

    void setHandlers(void *user, XmlStartHandler start, XmlEndHandler end, XmlTextHandler text);

    // Reads and scans the next piece, or the rest of a suspended one; false once the whole part
    // is read. Throws Malformed for a part that is no well-formed XML, MarkupTooLong beyond the
    // limit, and Aborted after abort().
    bool feed();
    // From inside a handler: stop after the current element; feed() returns true and the next
    // feed() goes on where it stopped.
    void suspend() { m_suspendAsked = true; }
    // From inside a handler: stop for good.
    void abort() { m_aborted = true; }

    struct Malformed {
        QString reason;
        qint64 line; // counted from 1
    };
    struct MarkupTooLong {};
    struct Aborted {};

private:
    Source m_source;
    const qint64 m_maxMarkup;
    void *m_user = nullptr;
    XmlStartHandler m_start = nullptr;
    XmlEndHandler m_end = nullptr;
    XmlTextHandler m_text = nullptr;

    std::unique_ptr<char[]> m_buffer;
    qint64 m_capacity = 0;
    qint64 m_position = 0; // the first byte not yet scanned
    qint64 m_filled = 0;   // bytes the buffer holds
    qint64 m_linesBefore = 0; // line ends in the bytes already dropped from the buffer
    bool m_bomChecked = false;
    bool m_declarationAllowed = true; // nothing scanned yet
    bool m_sourceEnded = false;
    bool m_finished = false;
    bool m_suspendAsked = false;
    bool m_suspended = false;
    bool m_aborted = false;

    bool m_rootSeen = false;
    std::string m_open;              // the names of the open elements, one after another
    std::vector<quint32> m_openStart; // where each begins in m_open
    std::vector<const char *> m_attributes;
    struct Span {
        qint64 name, nameEnd, value, valueEnd;
        bool clean; // the value needs no decoding
    };
    std::vector<Span> m_spans;

    void refill();
    void scan();
    [[noreturn]] void malformed(const char *at, const QString &reason) const;

    // Each returns the bytes the construct takes from `p`, or 0 when the buffer ends first.
    qint64 markup(char *p, char *end);
    qint64 startTag(char *p, char *end);
    qint64 plainStartTag(char *p, char *end, char *nameEnd);
    // Ends the name of a start tag whose whole tag is read, opens the element (unless it is
    // empty, "<x/>") and hands it to the handlers.
    void deliverStart(char *name, qint64 nameLength, const char **attributes, bool empty);
    qint64 endTag(char *p, char *end);
    qint64 comment(char *p, char *end);
    qint64 processingInstruction(char *p, char *end);
    qint64 characterData(char *p, char *end);
    void text(char *p, char *end);

    // Checks and decodes text in place; returns its new end.
    char *decode(char *p, char *end, bool attribute);
    // Checks that the bytes are characters XML may carry, in UTF-8.
    void checkCharacters(const char *p, const char *end);
    const char *name(const char *p, const char *end) const;
};

} // namespace granwise::sheets
