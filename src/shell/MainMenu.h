#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

namespace granwise {

struct ReportDefinition;

// One entry of the main window's menu: its objectName, caption, the entry it sits under
// (empty for a top-level entry), whether it is shown when the program starts, whether it
// stores its own caption in ReportTitle, and what it opens (a window class such as
// "TFrmb1_3", or an operation of the main window such as "N11"). An entry of a statistical table
// carries the table's definition: its caption is the table's title.
struct MenuEntry {
    QString name;
    QString caption;
    QString parent;
    bool initiallyVisible = true;
    bool setsReportTitle = false;
    QString opens;
    const ReportDefinition *report = nullptr;
};

// Every entry in menu order (a parent before its children). The tables are registered first;
// an entry whose table is not registered is an Error.
const QVector<MenuEntry> &menuEntries();
const MenuEntry *findMenuEntry(const QString &name);

// When the level rule runs: at start-up (表1-23 hidden) or after the task information was
// saved (表1-23 shown).
enum class LevelRuleVariant { StartUp, Save };

// Visibility changes of the menu for a task-information record: without a record only
// "任务管理", "帮助" and "退出" remain; with one, the four other top-level entries are shown and
// the level rule decides the regional tables. Entries not in the result keep their state.
// The level is compared exactly as text ("县级汇总 " is not the county level).
QHash<QString, bool> menuVisibility(const std::optional<QString> &level, LevelRuleVariant variant);

} // namespace granwise
