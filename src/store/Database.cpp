#include "Database.h"

#include "NumberFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <mutex>
#include <sqlite3.h>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// How long a statement waits for a lock somebody else holds.
constexpr int kBusyTimeoutMs = 5000;

// The UTF-8 of a text exactly as QString::toUtf8() writes it (an unpaired surrogate as '?'),
// into a buffer whose room is used again.
void writeUtf8(QByteArray &out, QStringView text)
{
    out.resize(3 * text.size()); // no UTF-16 unit takes more than three bytes
    char *o = out.data();
    const char16_t *p = text.utf16();
    const char16_t *end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        if (c < 0x80) {
            *o++ = char(c);
        } else if (c < 0x800) {
            *o++ = char(0xC0 | (c >> 6));
            *o++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
            const char32_t u = QChar::surrogateToUcs4(c, *p++);
            *o++ = char(0xF0 | (u >> 18));
            *o++ = char(0x80 | ((u >> 12) & 0x3F));
            *o++ = char(0x80 | ((u >> 6) & 0x3F));
            *o++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            *o++ = '?';
        } else {
            *o++ = char(0xE0 | (c >> 12));
            *o++ = char(0x80 | ((c >> 6) & 0x3F));
            *o++ = char(0x80 | (c & 0x3F));
        }
    }
    out.truncate(o - out.constData());
}

QString sqliteText(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : u"out of memory"_s;
}

// SQLite counts the memory it takes, under a mutex of the whole process, unless told before
// it starts; nothing here asks it how much it took.
void configureSqliteOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK)
            sqlite3_initialize();
    });
}
} // namespace

Connection::Connection(const QString &path, Mode mode) : m_path(path)
{
    configureSqliteOnce();
    if (mode != Mode::CreateFile) {
        const QFileInfo file(path);
        if (file.exists() && !file.isFile())
            throw Error(u"数据库文件不是普通文件：%1"_s.arg(path));
        if (!file.isFile())
            throw Error(u"数据库文件不存在：%1"_s.arg(path));
    }
    // A connection belongs to one operation on one thread, so it needs no mutex of its own. URI
    // names are understood (attachReadOnly uses them); a plain name that happens to begin with
    // "file:" is kept a plain name.
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX |
                      SQLITE_OPEN_URI | (mode == Mode::CreateFile ? SQLITE_OPEN_CREATE : 0);
    const QString name = path.startsWith(u"file:"_s) ? u"./"_s + path : path;
    const int rc = sqlite3_open_v2(QFile::encodeName(name).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = sqliteText(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error(u"数据库文件打不开：%1（%2）"_s.arg(path, reason));
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
}

Connection::~Connection()
{
    sqlite3_close_v2(m_db);
}

void Connection::fail(const QString &what) const
{
    throw Error(u"数据库错误：%1\n%2"_s.arg(sqliteText(m_db), what));
}

Statement Connection::prepare(const QString &sql)
{
    return Statement(*this, sql);
}

int Connection::execute(const QString &sql, const QVariantList &values)
{
    Statement st(*this, sql);
    st.bindAll(values);
    st.run();
    return sqlite3_changes(m_db);
}

void Connection::executeScript(const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "");
        sqlite3_free(message);
        throw Error(u"数据库错误：%1"_s.arg(text));
    }
}

QVariant Connection::scalar(const QString &sql, const QVariantList &values)
{
    Statement st(*this, sql);
    st.bindAll(values);
    return st.next() ? st.value(0) : QVariant();
}

void Connection::attachReadOnly(const QString &path, const QString &schema)
{
    const QByteArray uri =
        "file:" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/") + "?mode=ro";
    execute(u"attach database ? as "_s + schema, {QString::fromUtf8(uri)});
}

bool Connection::tableExists(const QString &table)
{
    return scalar(u"select count(*) from sqlite_master where type = 'table' and name = ?"_s, {table}).toInt() > 0;
}

QStringList Connection::columnNames(const QString &table)
{
    QStringList names;
    Statement st(*this, u"select name from pragma_table_info(?)"_s);
    st.bind(1, table);
    while (st.next())
        names << st.text(0);
    return names;
}

qint64 Connection::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

Statement::Statement(Connection &connection, const QString &sql) : m_connection(&connection)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK)
        connection.fail(sql);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_connection(other.m_connection), m_stmt(other.m_stmt), m_columns(std::move(other.m_columns)),
      m_texts(std::move(other.m_texts))
{
    other.m_stmt = nullptr;
}

Statement &Statement::bind(int position, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, position, value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, position, value.toLongLong());
            break;
        default:
            bindText(position, value);
            return *this;
        }
    }
    if (rc != SQLITE_OK)
        m_connection->fail(u"bind %1"_s.arg(position));
    return *this;
}

void Statement::bindText(int position, const QVariant &value)
{
    if (position < 1 || position > sqlite3_bind_parameter_count(m_stmt))
        m_connection->fail(u"bind %1"_s.arg(position));
    if (m_texts.size() < size_t(position))
        m_texts.resize(size_t(position));
    QByteArray &utf8 = m_texts[size_t(position - 1)];
    if (value.typeId() == QMetaType::QString)
        writeUtf8(utf8, *static_cast<const QString *>(value.constData()));
    else
        utf8 = value.toString().toUtf8();
    // The buffer stays as it is until this parameter is bound again or the statement ends.
    if (sqlite3_bind_text(m_stmt, position, utf8.constData(), int(utf8.size()), SQLITE_STATIC) != SQLITE_OK)
        m_connection->fail(u"bind %1"_s.arg(position));
}

Statement &Statement::bind(const QString &name, const QVariant &value)
{
    const int position = sqlite3_bind_parameter_index(m_stmt, name.toUtf8().constData());
    if (position == 0)
        throw Error(u"数据库错误：语句没有参数 %1"_s.arg(name));
    return bind(position, value);
}

Statement &Statement::bindNull(int position)
{
    if (sqlite3_bind_null(m_stmt, position) != SQLITE_OK)
        m_connection->fail(u"bind %1"_s.arg(position));
    return *this;
}

Statement &Statement::bindDouble(int position, double value)
{
    if (sqlite3_bind_double(m_stmt, position, value) != SQLITE_OK)
        m_connection->fail(u"bind %1"_s.arg(position));
    return *this;
}

Statement &Statement::bindUtf8(int position, std::string_view text)
{
    // A null pointer would bind NULL: an empty text binds an empty text.
    const char *bytes = text.empty() ? "" : text.data();
    if (sqlite3_bind_text(m_stmt, position, bytes, int(text.size()), SQLITE_STATIC) != SQLITE_OK)
        m_connection->fail(u"bind %1"_s.arg(position));
    return *this;
}

Statement &Statement::bindAll(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
    return *this;
}

bool Statement::next()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_connection->fail(QString::fromUtf8(sqlite3_sql(m_stmt)));
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::run()
{
    while (next()) {
    }
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

int Statement::columnIndex(const QString &name) const
{
    if (m_columns.isEmpty()) {
        const int n = columnCount();
        for (int i = n - 1; i >= 0; --i) // the first of equal names wins
            m_columns.insert(columnName(i), i);
    }
    return m_columns.value(name, -1);
}

int Statement::requireColumn(const QString &name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw Error(u"数据库错误：结果中没有列 %1"_s.arg(name));
    return i;
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Statement::ValueType Statement::type(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return ValueType::Null;
    case SQLITE_INTEGER:
        return ValueType::Integer;
    case SQLITE_FLOAT:
        return ValueType::Real;
    default:
        return ValueType::Text;
    }
}

QString Statement::text(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_stmt, column));
    case SQLITE_FLOAT:
        return formatNumber(sqlite3_column_double(m_stmt, column));
    default: {
        const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
    }
    }
}

QString Statement::text(const QString &name) const
{
    return text(requireColumn(name));
}

double Statement::number(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, column);
    default:
        return parseNumber(text(column)).value_or(0);
    }
}

double Statement::number(const QString &name) const
{
    return number(requireColumn(name));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant::fromValue<qint64>(sqlite3_column_int64(m_stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, column);
    default:
        return text(column);
    }
}

std::string_view Statement::utf8(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (!data)
        return {};
    return {data, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column))};
}

void Statement::numbers(int firstColumn, std::span<double> out) const
{
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int column = firstColumn + int(i);
        if (!storedNumber(column, out[i]))
            out[i] = number(column);
    }
}

Statement::Stored Statement::stored(int column) const
{
    // One call into the statement per cell: the value's own accessors take no lock.
    sqlite3_value *value = sqlite3_column_value(m_stmt, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return {ValueType::Integer, sqlite3_value_double(value), {}};
    case SQLITE_FLOAT:
        return {ValueType::Real, sqlite3_value_double(value), {}};
    default: {
        const auto *data = reinterpret_cast<const char *>(sqlite3_value_text(value));
        if (!data)
            return {ValueType::Text, 0, {}};
        return {ValueType::Text, 0, {data, static_cast<std::size_t>(sqlite3_value_bytes(value))}};
    }
    }
}

bool Statement::storedNumber(int column, double &number) const
{
    // One call into the statement per cell: the value's own accessors take no lock.
    sqlite3_value *value = sqlite3_column_value(m_stmt, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        number = 0;
        return true;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        number = sqlite3_value_double(value);
        return true;
    default:
        return false;
    }
}

bool Statement::holdsText(int column, std::string_view text) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_TEXT && utf8(column) == text;
}

Transaction::Transaction(Connection &connection) : m_connection(connection)
{
    m_connection.executeScript(u"begin immediate"_s);
}

Transaction::Transaction(Connection &connection, NoWait) : m_connection(connection)
{
    sqlite3 *db = m_connection.handle();
    sqlite3_busy_timeout(db, 0);
    m_open = sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
}

Transaction::~Transaction()
{
    if (m_open) {
        char *ignored = nullptr;
        sqlite3_exec(m_connection.handle(), "rollback", nullptr, nullptr, &ignored);
        sqlite3_free(ignored);
    }
}

void Transaction::commit()
{
    m_connection.executeScript(u"commit"_s);
    m_open = false;
}

} // namespace granwise
