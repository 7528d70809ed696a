#pragma once

#include "ReportDefinition.h"

namespace granwise {

// What a report window holds between its operations, without the window: the table it shows
// and the rules of "统计". Every computation rebuilds the grid from the database; a
// computation that fails leaves the grid as it was.
class ReportSession {
public:
    ReportSession(ReportDefinition definition, QString databasePath);

    enum class Computed { WholeTable, PrefectureListing, CountyListing, Nothing };

    // Opening: a selectable table shows its title, heads and one blank data row; an immediate
    // table is computed at once.
    void open();
    // "统计" (BitBtn3Click): both texts empty computes the whole table; a province alone lists
    // its prefectures, a province and a prefecture list the prefecture's counties; a prefecture
    // without a province computes nothing. A text of blanks counts as given and is used
    // trimmed. After a listing the window empties its boxes.
    Computed compute(const QString &province, const QString &prefecture);
    // The whole table, whatever the boxes say (immediate windows, the command line).
    void computeWholeTable();

    const ReportGrid &grid() const { return m_grid; }
    const ReportDefinition &definition() const { return m_definition; }
    const QString &databasePath() const { return m_databasePath; }

private:
    ReportDefinition m_definition;
    QString m_databasePath;
    ReportGrid m_grid;
};

} // namespace granwise
