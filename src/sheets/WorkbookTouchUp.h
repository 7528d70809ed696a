#pragma once

#include "XlsxPackage.h"
#include "ZipArchive.h"

#include <list>
#include <string>

namespace granwise::sheets {

// What a filled worksheet asks of the rest of the workbook when it is saved: formulas that
// read the written cells are worked out afresh on opening, and a calculation chain that names
// cells whose formulas were overwritten is dropped (spreadsheet programs rebuild it).
struct WorkbookTouchUp {
    bool formulasInWorkbook = false; // the filled sheet holds formulas, or the workbook keeps a chain
    bool formulaOverwritten = false;

    // Adds the changed parts to the edit; their bytes are kept in `keepAlive` until commit.
    void apply(ZipEdit &edit, const ZipReader &zip, const XlsxPackage &package,
               std::list<std::string> &keepAlive) const;
};

} // namespace granwise::sheets
