#pragma once

#include <QDateTime>

namespace granwise {

// "Now" for the whole program. Tests install a fixed clock; the program uses the system one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }

    static const Clock &current();
    // Installs a clock (not owned); nullptr restores the system clock.
    static void install(const Clock *clock);
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }

private:
    QDateTime m_at;
};

// The program's own date and time formats; the desktop's settings are never touched.
inline const QString DateFormat = QStringLiteral("yyyy-MM-dd");
inline const QString TimeFormat = QStringLiteral("H:mm:ss");
// How 修改时间 is stored: sortable as text.
inline const QString StoredDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString formatDate(const QDate &date);
QString formatDateTime(const QDateTime &at); // "yyyy-MM-dd H:mm:ss", as shown
QString storedDateTime(const QDateTime &at);
// A stored 修改时间 as shown ("2013-05-02 9:05:00"); other text is shown unchanged.
QString shownDateTime(const QString &stored);

} // namespace granwise
