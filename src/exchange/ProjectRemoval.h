#pragma once

#include <QString>
#include <optional>

namespace granwise {

// Deletes every stored project with this key (企业详细名称, 项目名称) in one transaction;
// returns how many went.
int deleteProjectsByKey(const QString &databasePath, const QString &enterprise, const QString &project);

// What a region code given by the office stands for: the beginning the 行政区划代码 of every
// project in it shares. "410000" is a province ("41"), "410200" a prefecture ("4102"), any
// other six digits a county. Nothing for a text that is not six digits or names no province.
std::optional<QString> regionCodePrefix(const QString &code);

// Deletes every stored project whose 行政区划代码 lies in the region, in one transaction;
// returns how many went. `prefix` comes from regionCodePrefix.
int deleteProjectsInRegion(const QString &databasePath, const QString &prefix);

} // namespace granwise
