#pragma once

#include "ZipArchive.h"

#include <QString>
#include <QVector>
#include <string>

namespace granwise::sheets {

// Where the parts of an .xlsx workbook are: the workbook part, its worksheets in tab order
// and the shared parts, found through the package relationships rather than assumed.
struct XlsxPackage {
    struct Sheet {
        QString name;
        std::string part; // zip entry of the worksheet XML
    };

    explicit XlsxPackage(const ZipReader &zip);

    std::string workbookPart;      // usually "xl/workbook.xml"
    std::string workbookRelsPart;  // usually "xl/_rels/workbook.xml.rels"
    QVector<Sheet> worksheets;     // worksheets only (no chart sheets), in tab order
    std::string sharedStringsPart; // empty when the workbook has none
    std::string stylesPart;        // empty when the workbook has none
    std::string calcChainPart;     // empty when the workbook has none
    bool date1904 = false;

    // The worksheet of that name (exact, else ignoring case as spreadsheet programs do), or
    // nullptr.
    const Sheet *findSheet(const QString &name) const;
    QStringList sheetNames() const;
};

// "rels" part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string relationshipsPartOf(const std::string &part);
// A relationship target resolved against the folder of the part it belongs to.
std::string resolvePartPath(const std::string &sourcePart, const std::string &target);
// Name of an element or attribute without its namespace prefix.
const char *localName(const char *name);

} // namespace granwise::sheets
