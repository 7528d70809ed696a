#pragma once

#include "store/TaskInfo.h"

#include <QString>
#include <optional>

// The rules of the task-information window, free of widgets and of the database: which boxes
// a level and an affiliation switch on, off or fix, what the save checks refuse, and the
// record a save writes.
namespace granwise::taskinfo {

// The eight boxes of the window, in tab order.
enum class Box { Year, Affiliation, Level, Province, Prefecture, County, Company, Branch };
inline constexpr int BoxCount = 8;

// On: enabled, yellow. Off: disabled, silver grey. Fixed: disabled but yellow (the enterprise
// box showing the value the level implies).
enum class BoxState { On, Off, Fixed };

// The boxes the rules switch; year, affiliation and level are always on.
struct BoxStates {
    BoxState province = BoxState::On;
    BoxState prefecture = BoxState::On;
    BoxState county = BoxState::On;
    BoxState company = BoxState::On;
    BoxState branch = BoxState::On;
    bool operator==(const BoxStates &) const = default;

    BoxState of(Box box) const;
    void setRegion(BoxState province, BoxState prefecture, BoxState county);
};

// What a level does to the boxes.
struct LevelEffect {
    BoxStates states;
    // The enterprise box's new text; set only when a level is chosen.
    std::optional<QString> company;
    // The branch text is emptied; only when a level is chosen.
    bool emptyBranch = false;
    // The branch list is refilled from this branch-company table; empty: the list stays.
    QString branchTable;
};

// Box states on opening the window with a stored affiliation and level (rules 1 to 9, each later
// rule overriding the earlier). With no affiliation and no level every box is on.
LevelEffect statesOnOpening(const QString &affiliation, const QString &level);

// The affiliation just chosen: "中央企业" switches the region boxes off and the enterprise and
// branch boxes on, "地方企业" the other way round; any other text changes nothing.
BoxStates statesForAffiliation(const QString &affiliation, const BoxStates &current);

// The level just chosen, under the current affiliation. Boxes that no rule touches keep their
// state. Like on opening, a central-enterprise level of four Chinese characters ("新疆兵团")
// names no branch table: its own rule fixes the enterprise and switches the branch off.
LevelEffect levelChosen(const QString &affiliation, const QString &level, const BoxStates &current);

// The first save check that fails: its message and the box that gets the focus.
struct SaveRefusal {
    Box box;
    QString message;
    bool operator==(const SaveRefusal &) const = default;
};
std::optional<SaveRefusal> firstFailingCheck(const TaskInfo &shown, const BoxStates &states);

// 行政区划码 of the record: the working region code unless the level carries a fixed code.
QString storedRegionCode(const QString &level, const QString &workingCode);

// 归属 of the record: the unit's own name by its level; empty for levels without one.
QString unitName(const TaskInfo &shown);

// The record a save writes: the eight texts as shown (blanks included), the region code and the
// unit name; every column the window does not set is empty.
TaskInfo recordToWrite(const TaskInfo &shown, const QString &workingCode);

} // namespace granwise::taskinfo
