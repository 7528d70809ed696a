#include "Clock.h"

namespace granwise {

namespace {
const Clock systemClock;
const Clock *installed = nullptr;
} // namespace

const Clock &Clock::current()
{
    return installed ? *installed : systemClock;
}

void Clock::install(const Clock *clock)
{
    installed = clock;
}

QString formatDate(const QDate &date)
{
    return date.toString(DateFormat);
}

QString formatDateTime(const QDateTime &at)
{
    return at.toString(DateFormat + u' ' + TimeFormat);
}

QString storedDateTime(const QDateTime &at)
{
    return at.toString(StoredDateTimeFormat);
}

QString shownDateTime(const QString &stored)
{
    const QDateTime at = QDateTime::fromString(stored, StoredDateTimeFormat);
    return at.isValid() ? formatDateTime(at) : stored;
}

} // namespace granwise
