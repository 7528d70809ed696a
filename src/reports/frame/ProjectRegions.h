#pragma once

#include <QString>
#include <QStringList>

namespace granwise {

// The entries of a report window's province box: every 省 of the projects, once per stored
// text, trimmed, in the order of the grouping.
QStringList provincesPresent(const QString &databasePath);

// The entries of the prefecture box for the province box's text, compared as typed (not
// trimmed): every 地市 of that province's projects, trimmed.
QStringList prefecturesOf(const QString &databasePath, const QString &province);

} // namespace granwise
