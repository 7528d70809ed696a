#pragma once

#include <QString>
#include <new>
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

// The text a user reads for any exception that ends an operation: an Error's own text, a
// plain sentence for memory that ran out, and anything else as a fault of the program.
inline QString failureText(const std::exception &e)
{
    if (const auto *error = dynamic_cast<const Error *>(&e))
        return error->text();
    if (dynamic_cast<const std::bad_alloc *>(&e))
        return QStringLiteral("内存不足，操作没有完成");
    return QStringLiteral("程序内部错误，操作没有完成（%1）").arg(QString::fromLocal8Bit(e.what()));
}

// For an exception that is no std::exception at all.
inline QString unknownFailureText()
{
    return QStringLiteral("程序内部错误，操作没有完成");
}

} // namespace granwise
