#pragma once

#include <QString>
#include <stdexcept>

namespace granwise {

// The one exception type of the program: an unexpected failure of the database, a file or a
// workbook, carrying a text a user can read. Windows catch it at their boundary and show it.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

} // namespace granwise
