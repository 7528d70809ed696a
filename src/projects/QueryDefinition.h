#pragma once

#include "NumberInput.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

namespace granwise {

class Connection;

// One row of 查询指标: a column of the project table offered for free conditions. A text
// indicator is compared by substring ("like"), any other with an operator.
struct QueryIndicator {
    QString name;
    bool isText = false;
};

// The indicators in table order.
QVector<QueryIndicator> readQueryIndicators(Connection &connection);
// The columns TZ_XIANGMU has in this database.
QStringList projectTableColumns(Connection &connection);

enum class Connective { And, Or };

// The free condition of the query definition window, built step by step: choose an indicator,
// type a value, add the condition, join the next with "并且" or "或者". It holds the condition as
// the user reads it ("建设_平房仓>=100 or 项目名称 like "%粮库%"") and as it runs: every value is
// a bound parameter, a text is matched as typed, and only columns of the project table are
// accepted. It also says which controls are unlocked; the window binds it to them.
class QueryDefinition {
public:
    enum class State {
        Choosing,        // at opening: choose an indicator and type a value
        ConditionAdded,  // a condition was appended: connect, or apply
        AfterConnective, // a connective was appended: the next condition is due
        ValueMissing,    // "添加条件" with an empty value
    };
    enum class Added {
        Condition,    // appended
        ValueMissing, // the value is blank: "请填入条件！"
        NoIndicator,  // nothing chosen: nothing appended, the value is cleared
        NotAColumn,   // the indicator is not a column of the project table: refused
        NotANumber,   // a numeric indicator with a value that is no complete number: refused
        Locked,       // a condition was just added and no connective followed: nothing happens
    };
    // What "确    定" does with the condition.
    struct Result {
        enum class Kind { Empty, Incomplete, Ready };
        Kind kind = Kind::Empty;
        QString sql;          // conditions joined by and/or, with "?" for each value
        QVariantList values;  // bound in order
    };

    static const QStringList &operators(); // "=" ">" "<" ">=" "<="

    QueryDefinition(QVector<QueryIndicator> indicators, const QStringList &tableColumns);

    const QVector<QueryIndicator> &indicators() const { return m_indicators; }

    // ListBox1Click: an indicator is chosen (-1: none). The value field is cleared.
    void chooseIndicator(int index);
    int chosenIndicator() const { return m_chosen; }
    // Text until chosen otherwise: numeric.
    bool chosenIsText() const;

    void setOperator(const QString &op); // one of operators(); anything else is ignored
    const QString &operatorText() const { return m_operator; }

    // The value field after a change: a numeric indicator (and no indicator) takes the input
    // filter of the entry form's number fields; a text indicator takes any text.
    FilteredInput filterValue(const QString &text) const;

    // "添加条件" with the value as typed.
    Added addCondition(const QString &value);
    // "并且" / "或者"; nothing happens while the connectives are locked.
    void connect(Connective connective);

    // The condition as shown in the condition box.
    const QString &conditionText() const { return m_shown; }
    Result result() const;

    State state() const { return m_state; }
    // Indicator list, value field and "添加条件".
    bool choosingEnabled() const { return m_choosing; }
    bool operatorsEnabled() const { return m_operatorsEnabled; }
    bool okEnabled() const { return m_ok; }
    bool connectivesEnabled() const { return m_connectives; }

private:
    QVector<QueryIndicator> m_indicators;
    QSet<QString> m_columns;
    int m_chosen = -1;
    QString m_operator;
    QString m_shown;
    QString m_sql;
    QVariantList m_values;
    bool m_endsWithConnective = false;

    State m_state = State::Choosing;
    bool m_choosing = true;
    bool m_operatorsEnabled = true;
    bool m_ok = true;
    bool m_connectives = false;
};

} // namespace granwise
