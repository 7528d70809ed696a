#include "CellValue.h"

#include "store/NumberFormat.h"

#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
const QDateTime &epoch()
{
    static const QDateTime e(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return e;
}
} // namespace

double dateTimeToSerial(const QDateTime &value)
{
    const QDateTime utc(value.date(), value.time(), Qt::UTC);
    double serial = double(epoch().msecsTo(utc)) / 86400000.0;
    if (serial < 61)
        serial -= 1; // before the phantom 1900-02-29 the count is one day behind
    return serial;
}

QDateTime serialToDateTime(double serial)
{
    if (serial < 61)
        serial += 1;
    const qint64 seconds = std::llround(serial * 86400.0);
    return epoch().addSecs(seconds);
}

CellValue CellValue::ofDateTime(const QDateTime &value)
{
    return {Type::DateTime, dateTimeToSerial(value), {}};
}

bool CellValue::isBlank() const
{
    return type == Type::Empty || (type == Type::Text && text.trimmed().isEmpty());
}

QDateTime CellValue::toDateTime() const
{
    return serialToDateTime(number);
}

QString CellValue::toText() const
{
    switch (type) {
    case Type::Empty:
        return {};
    case Type::Number:
        return formatNumber(number);
    case Type::Boolean:
        return number != 0 ? u"TRUE"_s : u"FALSE"_s;
    case Type::DateTime: {
        const QDateTime at = toDateTime();
        if (at.time() == QTime(0, 0))
            return at.toString(u"yyyy-MM-dd"_s);
        return at.toString(u"yyyy-MM-dd HH:mm:ss"_s);
    }
    case Type::Text:
    case Type::Error:
        return text;
    }
    return {};
}

} // namespace granwise
