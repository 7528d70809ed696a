#include "XlsxPackage.h"

#include "ReadLimits.h"
#include "store/Error.h"

#include <algorithm>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

struct Relationship {
    std::string id;
    std::string type;
    std::string target; // resolved part path
};

bool endsWith(const std::string &text, const char *suffix)
{
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

pugi::xml_document parsePart(const ZipReader &zip, const std::string &part)
{
    const std::string bytes = zip.read(part, std::min(zip.partBudget(), limits::kMaxDocumentPartBytes));
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(bytes.data(), bytes.size());
    if (!result)
        throw Error(u"工作簿已损坏：%1（%2 不是正确的 XML：%3）"_s.arg(zip.path(), QString::fromStdString(part),
                                                                   QString::fromUtf8(result.description())));
    return doc;
}

std::vector<Relationship> readRelationships(const ZipReader &zip, const std::string &sourcePart)
{
    std::vector<Relationship> list;
    const std::string relsPart = relationshipsPartOf(sourcePart);
    if (!zip.contains(relsPart))
        return list;
    const pugi::xml_document doc = parsePart(zip, relsPart);
    for (pugi::xml_node n : doc.document_element().children()) {
        if (std::strcmp(localName(n.name()), "Relationship") != 0)
            continue;
        if (std::strcmp(n.attribute("TargetMode").value(), "External") == 0)
            continue;
        list.push_back({n.attribute("Id").value(), n.attribute("Type").value(),
                        resolvePartPath(sourcePart, n.attribute("Target").value())});
    }
    return list;
}

const char *relationshipId(pugi::xml_node sheet)
{
    for (pugi::xml_attribute a : sheet.attributes()) {
        const char *name = a.name();
        if (std::strchr(name, ':') && std::strcmp(localName(name), "id") == 0)
            return a.value();
    }
    return "";
}

pugi::xml_node childByLocalName(pugi::xml_node parent, const char *name)
{
    for (pugi::xml_node n : parent.children())
        if (std::strcmp(localName(n.name()), name) == 0)
            return n;
    return {};
}

bool isTrue(const char *value)
{
    return std::strcmp(value, "1") == 0 || std::strcmp(value, "true") == 0;
}

} // namespace

const char *localName(const char *name)
{
    const char *colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

std::string relationshipsPartOf(const std::string &part)
{
    const size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

std::string resolvePartPath(const std::string &sourcePart, const std::string &target)
{
    std::vector<std::string> segments;
    std::string path;
    if (!target.empty() && target.front() == '/') {
        path = target.substr(1);
    } else {
        const size_t slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1)) + target;
    }
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string &s : segments) {
        if (!out.empty())
            out += '/';
        out += s;
    }
    return out;
}

XlsxPackage::XlsxPackage(const ZipReader &zip)
{
    for (const Relationship &r : readRelationships(zip, std::string()))
        if (endsWith(r.type, "/officeDocument"))
            workbookPart = r.target;
    if (workbookPart.empty() && zip.contains("xl/workbook.xml"))
        workbookPart = "xl/workbook.xml";
    if (workbookPart.empty() || !zip.contains(workbookPart))
        throw Error(u"工作簿已损坏或不是 Excel 工作簿：%1（找不到工作簿部件）"_s.arg(zip.path()));
    workbookRelsPart = relationshipsPartOf(workbookPart);

    const std::vector<Relationship> rels = readRelationships(zip, workbookPart);
    for (const Relationship &r : rels) {
        if (endsWith(r.type, "/sharedStrings"))
            sharedStringsPart = r.target;
        else if (endsWith(r.type, "/styles"))
            stylesPart = r.target;
        else if (endsWith(r.type, "/calcChain"))
            calcChainPart = r.target;
    }

    const pugi::xml_document doc = parsePart(zip, workbookPart);
    const pugi::xml_node workbook = doc.document_element();
    date1904 = isTrue(childByLocalName(workbook, "workbookPr").attribute("date1904").value());
    for (pugi::xml_node sheet : childByLocalName(workbook, "sheets").children()) {
        if (std::strcmp(localName(sheet.name()), "sheet") != 0)
            continue;
        const std::string id = relationshipId(sheet);
        for (const Relationship &r : rels) {
            if (r.id == id && endsWith(r.type, "/worksheet")) {
                worksheets.append({QString::fromUtf8(sheet.attribute("name").value()), r.target});
                break;
            }
        }
    }
}

const XlsxPackage::Sheet *XlsxPackage::findSheet(const QString &name) const
{
    for (const Sheet &s : worksheets)
        if (s.name == name)
            return &s;
    for (const Sheet &s : worksheets)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QStringList XlsxPackage::sheetNames() const
{
    QStringList names;
    for (const Sheet &s : worksheets)
        names << s.name;
    return names;
}

} // namespace granwise::sheets
