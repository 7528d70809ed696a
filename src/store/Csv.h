#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace granwise::csv {

// Parses UTF-8 CSV text (RFC 4180: quoted fields, doubled quotes, CRLF or LF).
QVector<QStringList> parse(const QByteArray &utf8);

// One CSV line (without line break), quoting fields that need it.
QString line(const QStringList &fields);

} // namespace granwise::csv
