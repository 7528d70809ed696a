#pragma once

#include "Error.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <span>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace granwise {

class Statement;

// One connection to the database file, opened for one operation and closed when it goes out
// of scope. It never creates the file: a missing database is an error. A read-only connection
// changes nothing in the file.
class Connection {
public:
    enum class Mode { ExistingFile, CreateFile, ReadOnly };
    explicit Connection(const QString &path, Mode mode = Mode::ExistingFile);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    Statement prepare(const QString &sql);
    // Runs one statement with its values bound in order; returns the number of changed rows.
    int execute(const QString &sql, const QVariantList &values = {});
    // Runs several statements without values (schema scripts).
    void executeScript(const QString &sql);
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {});

    // Attaches another database file under a schema name, for reading only.
    void attachReadOnly(const QString &path, const QString &schema);

    bool tableExists(const QString &table);
    QStringList columnNames(const QString &table);
    qint64 lastInsertRowId() const;

    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void fail(const QString &what) const;

private:
    sqlite3 *m_db = nullptr;
    QString m_path;
};

// A prepared statement. Values are always bound as parameters, never spliced into the text.
class Statement {
public:
    Statement(Connection &connection, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement &operator=(Statement &&) = delete;

    // Binds by position, counted from 1. A null QVariant binds NULL; a number binds a REAL or
    // INTEGER; everything else binds text.
    Statement &bind(int position, const QVariant &value);
    Statement &bind(const QString &name, const QVariant &value);
    Statement &bindAll(const QVariantList &values);
    // Binds without a QVariant, for statements run many times. The text is UTF-8 and is not
    // copied: it must stay as it is until the statement has run.
    Statement &bindNull(int position);
    Statement &bindDouble(int position, double value);
    Statement &bindUtf8(int position, std::string_view text);

    // Advances to the next row; false at the end of the result (or after a change statement).
    bool next();
    void reset();
    // Runs a change statement to its end.
    void run();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString &name) const; // -1 when the result has no such column
    bool isNull(int column) const;
    // What the column holds in this row; a blob counts as text, as value() and text() read it.
    enum class ValueType { Null, Integer, Real, Text };
    ValueType type(int column) const;
    // Every value read as text; NULL reads as the empty text. Numbers read in the program's
    // general number format (never "1.0").
    QString text(int column) const;
    QString text(const QString &name) const;
    double number(int column) const; // NULL or non-numeric text reads as 0
    double number(const QString &name) const;
    QVariant value(int column) const; // NULL -> invalid QVariant, numbers as double/qint64
    // The value's text as SQLite holds it (UTF-8), without a copy: for loops over many rows that
    // must not make a QString per cell. NULL reads as empty. Valid until the next call of next()
    // or reset().
    std::string_view utf8(int column) const;
    // The columns from `firstColumn` on, as many as `out` holds, each read as number() reads it:
    // one call for a row's figures.
    void numbers(int firstColumn, std::span<double> out) const;
    // The value into `number` when SQLite holds it as a number, without a QVariant: INTEGER and
    // REAL as a double (infinity and NaN as they are), NULL as 0. False for a text or a blob,
    // which the caller reads otherwise. For loops over many rows (an out-parameter, as an
    // optional returned through memory costs more than the read itself).
    bool storedNumber(int column, double &number) const;
    // The value as SQLite holds it, read with one call into the statement: its type, and its
    // number (INTEGER, REAL) or its UTF-8 (text and blob, valid as utf8() is). For loops over
    // every cell of many rows.
    struct Stored {
        ValueType type = ValueType::Null;
        double number = 0;
        std::string_view utf8;
    };
    Stored stored(int column) const;
    // Whether the value is held as text and is exactly these bytes (SQL's "is" against a text).
    bool holdsText(int column, std::string_view text) const;

private:
    int requireColumn(const QString &name) const;
    Connection *m_connection;
    sqlite3_stmt *m_stmt = nullptr;
    mutable QHash<QString, int> m_columns;
    // The UTF-8 of each text parameter, kept until it is bound again: a statement run for
    // many rows converts into the same buffers rather than allocating for every value.
    std::vector<QByteArray> m_texts;
    void bindText(int position, const QVariant &value);
};

// Runs the enclosed changes as one transaction: committed by commit(), rolled back when it
// goes out of scope without one (an exception on the way included). From its start nobody
// else can write ("begin immediate").
class Transaction {
public:
    explicit Transaction(Connection &connection);
    // Without waiting for somebody else who is writing: begun() tells whether it began (not
    // while somebody writes, nor where the database may not be written).
    enum NoWait { IfNobodyWrites };
    Transaction(Connection &connection, NoWait);
    bool begun() const { return m_open; }
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Connection &m_connection;
    bool m_open = true;
};

} // namespace granwise
