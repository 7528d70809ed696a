#include "WorkbookTouchUp.h"

#include "SheetXml.h"

#include <cstring>

namespace granwise::sheets {

namespace {

template<typename Change>
std::string editedPart(const ZipReader &zip, const std::string &part, Change change)
{
    pugi::xml_document doc;
    loadSheetXml(doc, zip.read(part), zip.path());
    change(doc.document_element());
    return serialise(doc);
}

bool endsWith(const std::string &text, const char *suffix)
{
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

void setFullCalculationOnLoad(pugi::xml_node workbook)
{
    pugi::xml_node calcPr = childNamed(workbook, "calcPr");
    if (!calcPr) {
        // calcPr follows these elements in a workbook part.
        pugi::xml_node after;
        for (const char *name : {"sheets", "functionGroups", "externalReferences", "definedNames"})
            if (pugi::xml_node n = childNamed(workbook, name))
                after = n;
        calcPr = after ? workbook.insert_child_after("calcPr", after) : workbook.append_child("calcPr");
    }
    if (!calcPr.attribute("fullCalcOnLoad"))
        calcPr.append_attribute("fullCalcOnLoad");
    calcPr.attribute("fullCalcOnLoad") = "1";
}

} // namespace

void WorkbookTouchUp::apply(ZipEdit &edit, const ZipReader &zip, const XlsxPackage &package,
                            std::list<std::string> &keepAlive) const
{
    if (formulasInWorkbook) {
        keepAlive.push_back(editedPart(zip, package.workbookPart, setFullCalculationOnLoad));
        edit.replace(package.workbookPart, keepAlive.back());
    }
    if (!formulaOverwritten || package.calcChainPart.empty())
        return;
    keepAlive.push_back(editedPart(zip, package.workbookRelsPart, [](pugi::xml_node relationships) {
        for (pugi::xml_node r = relationships.first_child(); r;) {
            const pugi::xml_node next = r.next_sibling();
            if (endsWith(r.attribute("Type").value(), "/calcChain"))
                relationships.remove_child(r);
            r = next;
        }
    }));
    edit.replace(package.workbookRelsPart, keepAlive.back());
    const std::string partName = '/' + package.calcChainPart;
    if (zip.contains("[Content_Types].xml")) {
        keepAlive.push_back(editedPart(zip, "[Content_Types].xml", [&](pugi::xml_node types) {
            for (pugi::xml_node o = types.first_child(); o;) {
                const pugi::xml_node next = o.next_sibling();
                if (partName == o.attribute("PartName").value())
                    types.remove_child(o);
                o = next;
            }
        }));
        edit.replace("[Content_Types].xml", keepAlive.back());
    }
    edit.remove(package.calcChainPart);
}

} // namespace granwise::sheets
