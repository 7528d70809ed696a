#include "QueryDefinition.h"

#include "ProjectListQuery.h"
#include "store/Database.h"
#include "store/NumberFormat.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The text 查询指标 marks a text indicator with.
const QString kTextKind = u"1"_s;

QString quotedIdentifier(QString name)
{
    return u'"' + name.replace(u'"', u"\"\""_s) + u'"';
}

} // namespace

QVector<QueryIndicator> readQueryIndicators(Connection &connection)
{
    QVector<QueryIndicator> indicators;
    Statement st = connection.prepare(u"select 指标, 类型 from 查询指标 order by rowid"_s);
    while (st.next())
        indicators.append({st.text(0), st.text(1) == kTextKind});
    return indicators;
}

QStringList projectTableColumns(Connection &connection)
{
    return connection.columnNames(u"TZ_XIANGMU"_s);
}

const QStringList &QueryDefinition::operators()
{
    static const QStringList ops{u"="_s, u">"_s, u"<"_s, u">="_s, u"<="_s};
    return ops;
}

QueryDefinition::QueryDefinition(QVector<QueryIndicator> indicators, const QStringList &tableColumns)
    : m_indicators(std::move(indicators)), m_columns(tableColumns.cbegin(), tableColumns.cend()),
      m_operator(operators().first())
{
}

void QueryDefinition::chooseIndicator(int index)
{
    m_chosen = index >= 0 && index < m_indicators.size() ? index : -1;
    m_operatorsEnabled = !chosenIsText();
}

bool QueryDefinition::chosenIsText() const
{
    return m_chosen >= 0 && m_indicators.at(m_chosen).isText;
}

void QueryDefinition::setOperator(const QString &op)
{
    if (operators().contains(op))
        m_operator = op;
}

FilteredInput QueryDefinition::filterValue(const QString &text) const
{
    if (chosenIsText())
        return {text, -1};
    return filterNumberInput(text);
}

QueryDefinition::Added QueryDefinition::addCondition(const QString &value)
{
    if (!m_choosing)
        return Added::Locked;
    if (value.trimmed().isEmpty()) {
        m_state = State::ValueMissing;
        m_ok = true;
        m_connectives = false;
        return Added::ValueMissing;
    }
    if (m_chosen < 0)
        return Added::NoIndicator;
    const QueryIndicator &indicator = m_indicators.at(m_chosen);
    if (!m_columns.contains(indicator.name))
        return Added::NotAColumn;
    if (indicator.isText) {
        m_shown += indicator.name + u" like \"%"_s + value + u"%\""_s;
        m_sql += quotedIdentifier(indicator.name) + u" like ? escape '\\'"_s;
        m_values << containsPattern(value);
    } else {
        const std::optional<double> number = parseNumber(value);
        if (!number)
            return Added::NotANumber;
        m_shown += indicator.name + m_operator + value;
        m_sql += quotedIdentifier(indicator.name) + u' ' + m_operator + u" ?"_s;
        m_values << *number;
    }
    m_endsWithConnective = false;
    m_state = State::ConditionAdded;
    m_choosing = false;
    m_operatorsEnabled = false;
    m_ok = true;
    m_connectives = true;
    return Added::Condition;
}

void QueryDefinition::connect(Connective connective)
{
    if (!m_connectives)
        return;
    const QString word = connective == Connective::And ? u" and "_s : u" or "_s;
    m_shown += word;
    m_sql += word;
    m_endsWithConnective = true;
    m_state = State::AfterConnective;
    m_choosing = true;
    m_operatorsEnabled = true;
    m_ok = false;
    m_connectives = false;
}

QueryDefinition::Result QueryDefinition::result() const
{
    if (m_shown.trimmed().isEmpty())
        return {};
    if (m_endsWithConnective)
        return {Result::Kind::Incomplete, {}, {}};
    return {Result::Kind::Ready, m_sql, m_values};
}

} // namespace granwise
