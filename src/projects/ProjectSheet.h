#pragma once

#include "ProjectSheetLayout.h"
#include "ProjectValues.h"

#include <QStringList>

namespace granwise {

// A header cell of the project sheet and the project column it shows.
struct ProjectSheetField {
    enum class Kind {
        Plain,    // the column's text
        Address,  // province, prefecture, county and address run together
        Year,     // "年度：" and the year
        NewStart, // "是" when the project started this year; not written otherwise
    };
    int row = 1;
    int column = 1;
    QString projectColumn;
    Kind kind = Kind::Plain;
    // The column's caption stands in the cell to the left (or in the cells before the first
    // value of the line); the year's value carries its own caption.
    bool labelled = true;
};
const QVector<ProjectSheetField> &projectSheetHeader();

// Every cell the project sheet writes for a project as the entry form shows it (texts as
// shown, the three "投资合计" in investment group order).
QVector<SheetEntry> projectSheetEntries(const ProjectValues &values, const QStringList &totals);

} // namespace granwise
