#pragma once

#include <QString>
#include <pugixml.hpp>
#include <string>
#include <vector>

// Pieces of worksheet XML that both ways of filling a template need. Internal to sheets.
namespace granwise::sheets {

// The style a new cell takes in a column: the <cols> entries of the sheet.
class ColumnStyles {
public:
    explicit ColumnStyles(pugi::xml_node worksheet);
    // Style index as text, or empty for the default style.
    const std::string &styleOf(int column) const;

private:
    struct Range {
        int first, last;
        std::string style;
    };
    std::vector<Range> m_ranges;
    std::string m_none;
};

// The style of new cells in a row that carries its own format (customFormat="1"), or empty.
std::string rowStyle(pugi::xml_node row);

pugi::xml_node childNamed(pugi::xml_node parent, const char *localName);

// Parses worksheet XML; throws Error naming the workbook when it is no XML.
void loadSheetXml(pugi::xml_document &doc, const std::string &bytes, const QString &workbookPath);

// Serialises a document as compact UTF-8 with its declaration.
std::string serialise(const pugi::xml_document &doc);

} // namespace granwise::sheets
