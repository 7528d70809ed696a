#include "XmlPartStream.h"

#include "ReadLimits.h"
#include "store/Error.h"

namespace granwise::sheets {

using namespace Qt::StringLiterals;

XmlPartStream::XmlPartStream(const ZipReader &zip, const std::string &part, Unpacking unpacking)
    : m_zip(zip), m_part(part),
      m_scanner([this](char *buffer, qint64 size) { return m_ahead ? m_ahead->read(buffer, size) : m_entry->read(buffer, size); },
                limits::kMaxXmlParserBytes / 2) // the markup held, and as much again to grow it
{
    if (unpacking == Unpacking::Ahead)
        m_ahead = std::make_unique<ZipEntryPrefetch>(zip, part);
    else
        m_entry = std::make_unique<ZipEntryStream>(zip, part);
}

XmlPartStream::~XmlPartStream() = default;

void XmlPartStream::setHandlers(void *user, XmlStartHandler start, XmlEndHandler end, XmlTextHandler text)
{
    m_scanner.setHandlers(user, start, end, text);
}

void XmlPartStream::refuseLongContent() const
{
    limits::refuseBeyondLimit(m_zip.path(), u"部件 %1 中有长于 %2 的 XML 内容"_s.arg(
                                                QString::fromStdString(m_part), limits::byteSize(limits::kMaxXmlParserBytes)));
}

void XmlPartStream::suspend()
{
    m_scanner.suspend();
}

void XmlPartStream::abort()
{
    m_scanner.abort();
}

bool XmlPartStream::feed()
{
    try {
        return m_scanner.feed();
    } catch (const XmlScanner::MarkupTooLong &) {
        refuseLongContent();
    } catch (const XmlScanner::Aborted &) {
        throw Error(u"工作簿已损坏：%1（%2：读取中止）"_s.arg(m_zip.path(), QString::fromStdString(m_part)));
    } catch (const XmlScanner::Malformed &malformed) {
        m_malformed = true;
        throw Error(u"工作簿已损坏：%1（%2 第 %3 行：%4）"_s.arg(m_zip.path(), QString::fromStdString(m_part),
                                                             QString::number(malformed.line), malformed.reason));
    }
}

} // namespace granwise::sheets
