#include "ModalScript.h"
#include "WindowTestSupport.h"
#include "projects/ProjectListModel.h"
#include "projects/ProjectListQuery.h"
#include "projects/windows/ProjectListWindow.h"
#include "projects/QueryDefinition.h"
#include "projects/windows/QueryDefinitionWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

using State = QueryDefinition::State;
using Added = QueryDefinition::Added;

const QVector<QueryIndicator> kIndicators{
    {u"项目名称"_s, true}, {u"建设_平房仓"_s, false}, {u"总_银行贷款"_s, false}, {u"不存在的列"_s, false}};
const QStringList kColumns{u"id"_s, u"项目名称"_s, u"建设_平房仓"_s, u"总_银行贷款"_s};
constexpr int kName = 0;
constexpr int kFlat = 1;
constexpr int kLoans = 2;
constexpr int kMissing = 3;

// One user step on the window: choose an indicator, add a condition with a value, or connect.
struct Step {
    enum Kind { Choose, Add, And, Or } kind;
    int indicator = -1;
    QString value;
};
Step choose(int indicator) { return {Step::Choose, indicator, {}}; }
Step add(const QString &value) { return {Step::Add, -1, value}; }
const Step kAnd{Step::And, -1, {}};
const Step kOr{Step::Or, -1, {}};

void run(QueryDefinition &d, const QVector<Step> &steps)
{
    for (const Step &s : steps) {
        switch (s.kind) {
        case Step::Choose: d.chooseIndicator(s.indicator); break;
        case Step::Add: d.addCondition(s.value); break;
        case Step::And: d.connect(Connective::And); break;
        case Step::Or: d.connect(Connective::Or); break;
        }
    }
}

// The controls each state leaves unlocked, step by step.
TEST(QueryDefinitionStates, FollowTheTable)
{
    struct Case {
        const char *name;
        QVector<Step> steps;
        State state;
        bool choosing, operators, ok, connectives;
    } cases[] = {
        {"at opening", {}, State::Choosing, true, true, true, false},
        {"a text indicator locks the operators", {choose(kName)}, State::Choosing, true, false, true, false},
        {"a numeric one unlocks them again", {choose(kName), choose(kFlat)}, State::Choosing, true, true, true, false},
        {"condition added", {choose(kFlat), add(u"5"_s)}, State::ConditionAdded, false, false, true, true},
        {"after a connective", {choose(kFlat), add(u"5"_s), kOr}, State::AfterConnective, true, true, false, false},
        {"value missing after a connective",
         {choose(kFlat), add(u"5"_s), kAnd, add(u"  "_s)}, State::ValueMissing, true, true, true, false},
        {"value missing at opening", {add({})}, State::ValueMissing, true, true, true, false},
        {"no indicator: nothing happens", {add(u"5"_s)}, State::Choosing, true, true, true, false},
        {"connectives are locked at opening", {kAnd}, State::Choosing, true, true, true, false},
        {"a second condition needs a connective first",
         {choose(kFlat), add(u"5"_s), add(u"6"_s)}, State::ConditionAdded, false, false, true, true},
        {"a refused indicator changes nothing", {choose(kMissing), add(u"5"_s)}, State::Choosing, true, true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QueryDefinition d(kIndicators, kColumns);
        run(d, c.steps);
        EXPECT_EQ(d.state(), c.state);
        EXPECT_EQ(d.choosingEnabled(), c.choosing);
        EXPECT_EQ(d.operatorsEnabled(), c.operators);
        EXPECT_EQ(d.okEnabled(), c.ok);
        EXPECT_EQ(d.connectivesEnabled(), c.connectives);
    }
}

TEST(QueryDefinitionCondition, ReadsAsDocumentedAndRunsWithBoundValues)
{
    QueryDefinition d(kIndicators, kColumns);
    d.chooseIndicator(kFlat);
    d.setOperator(u">="_s);
    ASSERT_EQ(d.addCondition(u"100"_s), Added::Condition);
    d.connect(Connective::Or);
    d.chooseIndicator(kName);
    ASSERT_EQ(d.addCondition(u"粮\"库"_s), Added::Condition);
    d.connect(Connective::And);
    d.chooseIndicator(kLoans);
    d.setOperator(u"<>"_s); // not an operator of the window: the last one stays
    ASSERT_EQ(d.addCondition(u"-1.5"_s), Added::Condition);

    EXPECT_EQ(d.conditionText(), u"建设_平房仓>=100 or 项目名称 like \"%粮\"库%\" and 总_银行贷款>=-1.5"_s);
    const QueryDefinition::Result r = d.result();
    EXPECT_EQ(r.kind, QueryDefinition::Result::Kind::Ready);
    EXPECT_EQ(r.sql, u"\"建设_平房仓\" >= ? or \"项目名称\" like ? escape '\\' and \"总_银行贷款\" >= ?"_s);
    EXPECT_EQ(r.values, (QVariantList{100.0, u"%粮\"库%"_s, -1.5}));
}

TEST(QueryDefinitionCondition, RefusesWhatCannotRun)
{
    QueryDefinition d(kIndicators, kColumns);
    EXPECT_EQ(d.result().kind, QueryDefinition::Result::Kind::Empty);

    // An indicator that is no column of the project table.
    d.chooseIndicator(kMissing);
    EXPECT_EQ(d.addCondition(u"1"_s), Added::NotAColumn);
    EXPECT_EQ(d.conditionText(), QString());

    // A number still being typed.
    d.chooseIndicator(kFlat);
    for (const QString &unfinished : {u"-"_s, u"1e"_s, u"."_s})
        EXPECT_EQ(d.addCondition(unfinished), Added::NotANumber) << unfinished.toStdString();
    EXPECT_EQ(d.conditionText(), QString());

    // A condition left ending with a connective.
    ASSERT_EQ(d.addCondition(u"1"_s), Added::Condition);
    d.connect(Connective::And);
    EXPECT_EQ(d.addCondition({}), Added::ValueMissing);
    EXPECT_TRUE(d.okEnabled());
    EXPECT_EQ(d.result().kind, QueryDefinition::Result::Kind::Incomplete);
}

TEST(QueryDefinitionCondition, FiltersNumbersOnlyForNumericIndicators)
{
    QueryDefinition d(kIndicators, kColumns);
    EXPECT_EQ(d.filterValue(u"12a"_s).text, u"12"_s); // numeric until an indicator is chosen
    d.chooseIndicator(kName);
    EXPECT_EQ(d.filterValue(u"12a"_s).text, u"12a"_s);
    d.chooseIndicator(kLoans);
    EXPECT_EQ(d.filterValue(u"1e"_s).text, u"1e"_s);
    EXPECT_EQ(d.filterValue(u"1x5"_s).text, u"15"_s);
}

class QueryDefinitionDbTest : public ::testing::Test {
protected:
    void add(const QString &name, double flat)
    {
        db.addProject({{u"项目名称"_s, name}, {u"企业详细名称"_s, u"某企业"_s}, {u"建设_平房仓"_s, flat},
                       {u"修改时间"_s, u"2013-01-%1 12:00:00"_s.arg(++m_day, 2, 10, QChar(u'0'))}});
    }
    QueryDefinition definition()
    {
        Connection c = db.connect();
        return QueryDefinition(readQueryIndicators(c), projectTableColumns(c));
    }
    static int indicatorIndex(const QueryDefinition &d, const QString &name)
    {
        for (int i = 0; i < d.indicators().size(); ++i)
            if (d.indicators().at(i).name == name)
                return i;
        return -1;
    }
    QStringList names(const QueryDefinition &d)
    {
        const QueryDefinition::Result r = d.result();
        Connection c = db.connect();
        QStringList shown;
        for (const ProjectListRow &row : fetchProjectList(c, conditionFilter(r.sql, r.values)))
            shown << row[kProjectNameColumn];
        return shown;
    }
    static QStringList shownNames(const TFrmList1 &list)
    {
        QStringList names;
        for (int row = 1; row <= list.model()->projectCount(); ++row)
            names << list.model()->cell(row, kProjectNameColumn);
        return names;
    }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
    int m_day = 0;
};

TEST_F(QueryDefinitionDbTest, TheIndicatorsComeFromTheTableInItsOrder)
{
    Connection c = db.connect();
    c.execute(u"delete from 查询指标"_s);
    c.execute(u"insert into 查询指标 (指标, 类型) values ('项目进展', '1'), ('总_银行贷款', '0'), ('省', '1')"_s);
    const QVector<QueryIndicator> indicators = readQueryIndicators(c);
    ASSERT_EQ(indicators.size(), 3);
    EXPECT_EQ(indicators.at(0).name, u"项目进展"_s);
    EXPECT_TRUE(indicators.at(0).isText);
    EXPECT_FALSE(indicators.at(1).isText);
    EXPECT_EQ(indicators.at(2).name, u"省"_s);
}

TEST_F(QueryDefinitionDbTest, ValuesAreMatchedLiterally)
{
    add(u"一号\"仓"_s, 0);
    add(u"二号仓"_s, 0);
    add(u"百分之50%仓"_s, 0);
    QueryDefinition quote = definition();
    quote.chooseIndicator(indicatorIndex(quote, u"项目名称"_s));
    ASSERT_EQ(quote.addCondition(u"号\"仓"_s), Added::Condition);
    EXPECT_EQ(names(quote), QStringList{u"一号\"仓"_s});

    // The wildcards a user types are characters like any other.
    for (const auto &[typed, expected] : {std::pair{u"%"_s, QStringList{u"百分之50%仓"_s}},
                                          std::pair{u"_"_s, QStringList{}}}) {
        QueryDefinition d = definition();
        d.chooseIndicator(indicatorIndex(d, u"项目名称"_s));
        ASSERT_EQ(d.addCondition(typed), Added::Condition);
        EXPECT_EQ(names(d), expected) << typed.toStdString();
    }
}

TEST_F(QueryDefinitionDbTest, AWindowRunBuildsTheConditionAndRefillsItsList)
{
    add(u"大仓"_s, 80);
    add(u"小仓"_s, 2);
    add(u"粮库扩建"_s, 1);
    add(u"油罐"_s, 0);
    TFrmList1 list(db.context());
    TFrmDefine window(list);
    EXPECT_EQ(window.objectName(), u"TFrmDefine"_s);
    EXPECT_EQ(window.windowTitle(), u"自定义查询器"_s);
    auto *indicators = window.findChild<QListWidget *>(u"ListBox1"_s);
    auto *value = window.findChild<QLineEdit *>(u"Edit1"_s);
    auto *addButton = window.findChild<QPushButton *>(u"BitBtn2"_s);
    auto *ok = window.findChild<QPushButton *>(u"BitBtn1"_s);
    auto *orButton = window.findChild<QRadioButton *>(u"RadioButton7"_s);
    auto *greater = window.findChild<QRadioButton *>(u"RadioButton2"_s);
    ASSERT_TRUE(indicators && value && addButton && ok && orButton && greater);
    EXPECT_EQ(ok->text(), u"确    定"_s);
    EXPECT_FALSE(orButton->isEnabled());
    // The list taking the focus as the window opens chooses no indicator.
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.definition()->chosenIndicator(), -1);
    EXPECT_TRUE(greater->isEnabled());

    const auto chooseIndicator = [&](const QString &name) {
        const QList<QListWidgetItem *> found = indicators->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        indicators->setCurrentItem(found.first());
    };
    chooseIndicator(u"项目名称"_s);
    EXPECT_FALSE(greater->isEnabled()); // a text indicator compares by substring only
    value->insert(u"粮库"_s);
    addButton->click();
    EXPECT_FALSE(indicators->isEnabled());
    EXPECT_TRUE(orButton->isEnabled());
    orButton->click();
    EXPECT_FALSE(ok->isEnabled());
    chooseIndicator(u"建设_平房仓"_s);
    greater->click();
    QTest::keyClicks(value, u"5x0"_s); // the stray letter is dropped as it is typed
    EXPECT_EQ(value->text(), u"50"_s);
    addButton->click();
    EXPECT_EQ(window.findChild<QPlainTextEdit *>(u"RichEdit1"_s)->toPlainText(),
              u"项目名称 like \"%粮库%\" or 建设_平房仓>50"_s);
    EXPECT_FALSE(orButton->isChecked());

    ok->click();
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_EQ(shownNames(list), (QStringList{u"粮库扩建"_s, u"大仓"_s}));
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(QueryDefinitionDbTest, TheWindowExplainsWhatItRefuses)
{
    add(u"大仓"_s, 80);
    {
        Connection c = db.connect();
        c.execute(u"insert into 查询指标 (指标, 类型) values ('建设_平房仓 or 1=1 --', '0')"_s);
    }
    TFrmList1 list(db.context());
    TFrmDefine window(list);
    auto *indicators = window.findChild<QListWidget *>(u"ListBox1"_s);
    auto *value = window.findChild<QLineEdit *>(u"Edit1"_s);
    auto *addButton = window.findChild<QPushButton *>(u"BitBtn2"_s);
    auto *ok = window.findChild<QPushButton *>(u"BitBtn1"_s);

    // An empty value.
    addButton->click();
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said.back().caption, u"提示！"_s);
    EXPECT_EQ(prompter.said.back().text, u"请填入条件！"_s);
    EXPECT_EQ(prompter.said.back().icon, Prompter::Icon::Information);

    // An indicator that is not a column.
    indicators->setCurrentRow(indicators->count() - 1);
    QTest::keyClicks(value, u"1"_s);
    addButton->click();
    EXPECT_EQ(prompter.lastText(), u"“建设_平房仓 or 1=1 --”不是项目表中的列，不能作为查询条件。"_s);
    EXPECT_EQ(window.definition()->conditionText(), QString());

    // A condition ending with a connective: the window stays open and the list keeps its rows.
    indicators->setCurrentItem(indicators->findItems(u"建设_平房仓"_s, Qt::MatchExactly).first());
    QTest::keyClicks(value, u"100"_s);
    addButton->click();
    window.findChild<QRadioButton *>(u"RadioButton6"_s)->click();
    addButton->click(); // empty value: "确    定" is unlocked again
    ASSERT_TRUE(ok->isEnabled());
    window.show();
    ok->click();
    EXPECT_EQ(prompter.lastText(),
              u"查询条件以“并且”或“或者”结尾，请再添加一个条件，或点“返    回”放弃。"_s);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownNames(list), QStringList{u"大仓"_s});
    window.hide();
}

TEST_F(QueryDefinitionDbTest, AnEmptyConditionLeavesTheListAsItWas)
{
    add(u"大仓"_s, 80);
    TFrmList1 list(db.context());
    list.applyCondition(u"建设_平房仓 > ?"_s, {100});
    EXPECT_EQ(shownNames(list), QStringList{});
    TFrmDefine window(list);
    window.findChild<QPushButton *>(u"BitBtn1"_s)->click();
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_EQ(shownNames(list), QStringList{});
}

TEST_F(QueryDefinitionDbTest, TheListButtonOpensTheWindowOnItself)
{
    add(u"大仓"_s, 80);
    add(u"小仓"_s, 2);
    TFrmList1 list(db.context());
    test::ModalScript script;
    script.then(u"TFrmDefine"_s, [](QWidget *window) {
        auto *indicators = window->findChild<QListWidget *>(u"ListBox1"_s);
        indicators->setCurrentItem(indicators->findItems(u"建设_平房仓"_s, Qt::MatchExactly).first());
        window->findChild<QRadioButton *>(u"RadioButton3"_s)->click(); // "<"
        QTest::keyClicks(window->findChild<QLineEdit *>(u"Edit1"_s), u"10"_s);
        window->findChild<QPushButton *>(u"BitBtn2"_s)->click();
        window->findChild<QPushButton *>(u"BitBtn1"_s)->click();
    });
    script.run([&] { list.findChild<QPushButton *>(u"BitBtndefine"_s)->click(); });
    EXPECT_EQ(shownNames(list), QStringList{u"小仓"_s});
}

} // namespace
} // namespace granwise
