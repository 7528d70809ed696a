#pragma once

#include <QString>

namespace granwise {

// How the entry form opens: edit the selected project or add a new one.
enum class EntryMode { Edit = 1, Add = 2 };

// What the project list and the entry form share for the whole run of the program.
struct ProjectSelection {
    // Grid row last clicked or selected in any list window, counted with the heading as row 0;
    // 0 means none.
    int currentRow = 0;
    QString projectName;    // the project the entry form opens; empty for a new project
    QString enterpriseName;
    EntryMode entryMode = EntryMode::Add;
};

ProjectSelection &projectSelection();

} // namespace granwise
