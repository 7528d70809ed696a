#include "SheetXml.h"

#include "XlsxPackage.h"
#include "store/Error.h"

#include <QString>
#include <cstdlib>
#include <cstring>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

ColumnStyles::ColumnStyles(pugi::xml_node worksheet)
{
    for (pugi::xml_node cols : worksheet.children()) {
        if (std::strcmp(localName(cols.name()), "cols") != 0)
            continue;
        for (pugi::xml_node col : cols.children()) {
            const char *style = col.attribute("style").value();
            if (*style == 0 || std::strcmp(style, "0") == 0)
                continue;
            m_ranges.push_back({col.attribute("min").as_int(), col.attribute("max").as_int(), style});
        }
    }
}

const std::string &ColumnStyles::styleOf(int column) const
{
    for (const Range &r : m_ranges)
        if (column >= r.first && column <= r.last)
            return r.style;
    return m_none;
}

std::string rowStyle(pugi::xml_node row)
{
    const char *custom = row.attribute("customFormat").value();
    if (std::strcmp(custom, "1") == 0 || std::strcmp(custom, "true") == 0)
        return row.attribute("s").value();
    return {};
}

pugi::xml_node childNamed(pugi::xml_node parent, const char *name)
{
    for (pugi::xml_node n : parent.children())
        if (std::strcmp(localName(n.name()), name) == 0)
            return n;
    return {};
}

void loadSheetXml(pugi::xml_document &doc, const std::string &bytes, const QString &workbookPath)
{
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result result = doc.load_buffer(bytes.data(), bytes.size(), options);
    if (!result)
        throw Error(u"工作簿已损坏：%1（工作表不是正确的 XML：%2）"_s.arg(workbookPath,
                                                                       QString::fromUtf8(result.description())));
}

std::string serialise(const pugi::xml_document &doc)
{
    struct Writer : pugi::xml_writer {
        std::string out;
        void write(const void *data, size_t size) override { out.append(static_cast<const char *>(data), size); }
    } writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(writer.out);
}

} // namespace granwise::sheets
