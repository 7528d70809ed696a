#pragma once

#include <QString>
#include <QStringList>

namespace granwise {

class Connection;

// The reference lists behind the entry form's boxes. Names are trimmed and in table order.
QStringList provinceNames(Connection &connection);
// Prefectures whose code starts with the two-digit code of the province; empty for an unknown
// province.
QStringList prefectureNames(Connection &connection, const QString &province);
// Counties whose code starts with the four-digit code of the prefecture of that province.
QStringList countyNames(Connection &connection, const QString &province, const QString &prefecture);
// The administrative division code of a county (first match in table order); empty when none.
QString regionCode(Connection &connection, const QString &province, const QString &prefecture,
                   const QString &county);
// The branch companies of a group company, from the table named after it with "分公司" added.
// A company without such a table is an Error.
QStringList branchNames(Connection &connection, const QString &company);

} // namespace granwise
