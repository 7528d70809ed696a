#pragma once

#include "ProjectSheetLayout.h"
#include "ProjectValues.h"

#include <QStringList>

namespace granwise {

class TFrmInput1;

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

// "保存表格" of the entry form: asks where to save, copies the template there, writes the project
// as shown and says "保存成功！". Cancelling the dialog does nothing.
void exportProjectSheet(TFrmInput1 &form);

// Lets the entry form's "保存表格" run exportProjectSheet. The main window calls it once at start.
void installProjectSheetExport();

} // namespace granwise
