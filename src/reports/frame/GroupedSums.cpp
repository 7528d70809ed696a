#include "GroupedSums.h"

#include "store/ExactSum.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"

#include <algorithm>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString checkedColumn(const QString &name, bool mustBeNumber)
{
    const ProjectColumn *column = findProjectColumn(name);
    if (!column)
        throw Error(u"报表定义错误：TZ_XIANGMU 没有列 %1"_s.arg(name));
    if (mustBeNumber && !column->isNumber())
        throw Error(u"报表定义错误：%1 不是数字列，不能求和"_s.arg(name));
    return u'"' + name + u'"';
}

QString keySql(const GroupKey &key)
{
    const QString column = checkedColumn(key.column, false);
    return key.prefixLength > 0 ? u"substr(%1,1,%2)"_s.arg(column, QString::number(key.prefixLength)) : column;
}

// Prepared statement of our own, so the hot loop reads raw bytes without making a QString
// per row.
class RawStatement {
public:
    RawStatement(Connection &connection, const QString &sql) : m_connection(connection)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(connection.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK)
            connection.fail(sql);
    }
    ~RawStatement() { sqlite3_finalize(m_stmt); }
    RawStatement(const RawStatement &) = delete;
    RawStatement &operator=(const RawStatement &) = delete;

    void bindText(int position, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        if (sqlite3_bind_text(m_stmt, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            m_connection.fail(u"bind %1"_s.arg(position));
    }
    bool next()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            m_connection.fail(QString::fromUtf8(sqlite3_sql(m_stmt)));
        return false;
    }
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    Connection &m_connection;
    sqlite3_stmt *m_stmt = nullptr;
};

void appendText(std::string &out, sqlite3_stmt *stmt, int column)
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    const int size = sqlite3_column_bytes(stmt, column);
    const auto length = static_cast<quint32>(size);
    out.append(reinterpret_cast<const char *>(&length), sizeof length);
    if (data)
        out.append(data, size);
}

struct Accumulated {
    std::string key;
    std::string order;
    bool ordered = false;
    QVector<ExactSum> sums;
};

QStringList splitKey(const std::string &key, int count)
{
    QStringList keys;
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) {
        quint32 length = 0;
        std::copy_n(key.data() + at, sizeof length, reinterpret_cast<char *>(&length));
        at += sizeof length;
        keys << QString::fromUtf8(key.data() + at, qsizetype(length));
        at += length;
    }
    return keys;
}

} // namespace

QString groupedSumsSql(const GroupedQuery &query)
{
    QStringList select;
    for (const GroupKey &k : query.keys)
        select << keySql(k);
    if (!query.orderColumn.isEmpty())
        select << checkedColumn(query.orderColumn, false);
    for (const Measure &m : query.measures)
        if (m.kind == Measure::Kind::Sum)
            select << checkedColumn(m.column, true);
    if (select.isEmpty())
        select << u"1"_s;
    QString sql = u"select "_s + select.join(u',') + u" from TZ_XIANGMU"_s;
    QStringList conditions;
    for (const auto &[column, value] : query.equal) {
        Q_UNUSED(value);
        conditions << checkedColumn(column, false) + u" = ?"_s;
    }
    if (!conditions.isEmpty())
        sql += u" where "_s + conditions.join(u" and "_s);
    return sql;
}

QVector<GroupedRow> runGroupedSums(Connection &connection, const GroupedQuery &query)
{
    RawStatement statement(connection, groupedSumsSql(query));
    for (int i = 0; i < query.equal.size(); ++i)
        statement.bindText(i + 1, query.equal.at(i).second);

    const int keyCount = int(query.keys.size());
    const bool ordered = !query.orderColumn.isEmpty();
    const int firstMeasureColumn = keyCount + (ordered ? 1 : 0);
    QVector<int> measureColumns;
    int next = firstMeasureColumn;
    for (const Measure &m : query.measures)
        measureColumns << (m.kind == Measure::Kind::Sum ? next++ : -1);

    std::vector<Accumulated> groups;
    std::unordered_map<std::string, std::size_t> index;
    std::string key;
    sqlite3_stmt *stmt = statement.handle();
    while (statement.next()) {
        key.clear();
        for (int k = 0; k < keyCount; ++k)
            appendText(key, stmt, k);
        auto found = index.find(key);
        if (found == index.end()) {
            found = index.emplace(key, groups.size()).first;
            groups.push_back({key, {}, false, QVector<ExactSum>(query.measures.size())});
        }
        Accumulated &group = groups[found->second];
        if (ordered) {
            const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, keyCount));
            const std::string value = data ? std::string(data, sqlite3_column_bytes(stmt, keyCount)) : std::string();
            if (!group.ordered || value < group.order) {
                group.order = value;
                group.ordered = true;
            }
        }
        for (int m = 0; m < measureColumns.size(); ++m) {
            const int column = measureColumns.at(m);
            if (column < 0)
                group.sums[m].add(1);
            else if (sqlite3_column_type(stmt, column) != SQLITE_NULL)
                group.sums[m].add(sqlite3_column_double(stmt, column));
        }
    }

    if (ordered) {
        std::stable_sort(groups.begin(), groups.end(), [](const Accumulated &a, const Accumulated &b) {
            return a.order != b.order ? a.order < b.order : a.key < b.key;
        });
    }
    QVector<GroupedRow> rows;
    rows.reserve(qsizetype(groups.size()));
    for (const Accumulated &g : groups) {
        GroupedRow row{splitKey(g.key, keyCount), {}};
        for (const ExactSum &s : g.sums)
            row.values << s.value();
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace granwise
