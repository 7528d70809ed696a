#include "QueryDefinitionWindow.h"

#include "ProjectListWindow.h"
#include "projects/ProjectTexts.h"
#include "projects/QueryDefinitionTexts.h"
#include "store/Database.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// A connective is a radio button whose choice can be cleared again by the program.
QRadioButton *connectiveButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QRadioButton(text, parent);
    b->setObjectName(name);
    b->setAutoExclusive(false);
    return b;
}

} // namespace

TFrmDefine::TFrmDefine(TFrmList1 &list) : QDialog(&list), m_list(list)
{
    setObjectName(u"TFrmDefine"_s);
    setWindowTitle(texts::DefineCaption);
    buildWindow();
    FormCreate();
}

TFrmDefine::~TFrmDefine() = default;

void TFrmDefine::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    layout->addLayout(top, 1);

    auto *indicatorBox = new QGroupBox(texts::DefineIndicators, this);
    auto *indicatorLayout = new QVBoxLayout(indicatorBox);
    m_indicators = new QListWidget(indicatorBox);
    m_indicators->setObjectName(u"ListBox1"_s);
    m_indicators->setSelectionMode(QAbstractItemView::SingleSelection);
    indicatorLayout->addWidget(m_indicators);
    top->addWidget(indicatorBox, 1);

    auto *conditionBox = new QWidget(this);
    auto *conditionLayout = new QVBoxLayout(conditionBox);
    auto *operatorRow = new QHBoxLayout;
    m_operators = new QButtonGroup(this);
    const QStringList &ops = QueryDefinition::operators();
    for (int i = 0; i < ops.size(); ++i) {
        auto *op = new QRadioButton(ops.at(i), conditionBox);
        op->setObjectName(u"RadioButton%1"_s.arg(i + 1));
        op->setChecked(i == 0);
        m_operators->addButton(op, i);
        operatorRow->addWidget(op);
    }
    operatorRow->addStretch();
    conditionLayout->addLayout(operatorRow);

    auto *valueRow = new QHBoxLayout;
    valueRow->addWidget(new QLabel(texts::DefineValue, conditionBox));
    m_value = new QLineEdit(conditionBox);
    m_value->setObjectName(u"Edit1"_s);
    valueRow->addWidget(m_value, 1);
    conditionLayout->addLayout(valueRow);

    auto *connectiveRow = new QHBoxLayout;
    m_and = connectiveButton(u"RadioButton6"_s, texts::DefineAnd, conditionBox);
    m_or = connectiveButton(u"RadioButton7"_s, texts::DefineOr, conditionBox);
    connectiveRow->addWidget(m_and);
    connectiveRow->addWidget(m_or);
    connectiveRow->addStretch();
    m_add = chrome::button(u"BitBtn2"_s, texts::DefineAdd, conditionBox);
    connectiveRow->addWidget(m_add);
    conditionLayout->addLayout(connectiveRow);
    conditionLayout->addStretch();
    top->addWidget(conditionBox, 1);

    m_condition = new QPlainTextEdit(this);
    m_condition->setObjectName(u"RichEdit1"_s);
    m_condition->setReadOnly(true);
    layout->addWidget(m_condition);

    m_ok = chrome::button(u"BitBtn1"_s, texts::DefineOk, this);
    QPushButton *back = chrome::button(u"BitBtn3"_s, texts::DefineBack, this);
    layout->addLayout(chrome::buttonBar({m_ok, back}, chrome::Align::Right));

    // An indicator is chosen by selecting it (mouse or keys); a click on the one already chosen
    // chooses it again. The list taking the focus chooses nothing.
    connect(m_indicators, &QListWidget::itemSelectionChanged, this, &TFrmDefine::ListBox1Click);
    connect(m_indicators, &QListWidget::itemClicked, this, &TFrmDefine::ListBox1Click);
    connect(m_value, &QLineEdit::textChanged, this, &TFrmDefine::Edit1Change);
    connect(m_add, &QPushButton::clicked, this, &TFrmDefine::BitBtn2Click);
    connect(m_and, &QRadioButton::clicked, this, [this] { connectiveClick(Connective::And); });
    connect(m_or, &QRadioButton::clicked, this, [this] { connectiveClick(Connective::Or); });
    connect(m_ok, &QPushButton::clicked, this, &TFrmDefine::BitBtn1Click);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 480);
}

void TFrmDefine::FormCreate()
{
    QVector<QueryIndicator> indicators;
    QStringList columns;
    guarded(this, [&] {
        Connection connection(m_list.context().databasePath);
        indicators = readQueryIndicators(connection);
        columns = projectTableColumns(connection);
    });
    m_definition = std::make_unique<QueryDefinition>(indicators, columns);
    for (const QueryIndicator &indicator : std::as_const(indicators))
        m_indicators->addItem(indicator.name);
    showState();
}

void TFrmDefine::showState()
{
    const QueryDefinition &d = *m_definition;
    m_indicators->setEnabled(d.choosingEnabled());
    m_value->setEnabled(d.choosingEnabled());
    m_add->setEnabled(d.choosingEnabled());
    for (QAbstractButton *op : m_operators->buttons())
        op->setEnabled(d.operatorsEnabled());
    m_ok->setEnabled(d.okEnabled());
    m_and->setEnabled(d.connectivesEnabled());
    m_or->setEnabled(d.connectivesEnabled());
    m_condition->setPlainText(d.conditionText());
}

void TFrmDefine::ListBox1Click()
{
    const QList<QListWidgetItem *> selected = m_indicators->selectedItems();
    if (selected.isEmpty())
        return;
    m_definition->chooseIndicator(m_indicators->row(selected.first()));
    showState();
    m_value->clear();
    m_value->setFocus(Qt::OtherFocusReason);
}

void TFrmDefine::Edit1Change()
{
    if (m_filtering)
        return;
    const FilteredInput filtered = m_definition->filterValue(m_value->text());
    if (filtered.removedAt < 0)
        return;
    m_filtering = true;
    const int cursor = m_value->cursorPosition();
    m_value->setText(filtered.text);
    m_value->setCursorPosition(filtered.removedAt < cursor ? cursor - 1 : cursor);
    m_filtering = false;
}

void TFrmDefine::BitBtn2Click()
{
    if (QAbstractButton *op = m_operators->checkedButton())
        m_definition->setOperator(op->text());
    const QString value = m_value->text();
    Prompter &prompter = Prompter::current();
    switch (m_definition->addCondition(value)) {
    case QueryDefinition::Added::ValueMissing:
        prompter.message(this, texts::DefineHintCaption, texts::FillInCondition, Prompter::Icon::Information);
        for (QRadioButton *c : {m_and, m_or})
            c->setChecked(false);
        showState();
        m_value->setFocus(Qt::OtherFocusReason);
        m_value->clear();
        return;
    case QueryDefinition::Added::NoIndicator:
        m_value->clear();
        return;
    case QueryDefinition::Added::NotAColumn:
        prompter.message(this, texts::Hint,
                         texts::NotATableColumn.arg(m_definition->indicators().at(m_definition->chosenIndicator()).name),
                         Prompter::Icon::Warning);
        return;
    case QueryDefinition::Added::NotANumber:
        prompter.message(this, texts::Hint, texts::NotANumberValue.arg(value), Prompter::Icon::Warning);
        m_value->setFocus(Qt::OtherFocusReason);
        return;
    case QueryDefinition::Added::Locked:
        return;
    case QueryDefinition::Added::Condition:
        break;
    }
    for (QRadioButton *c : {m_and, m_or})
        c->setChecked(false);
    m_value->clear();
    showState();
}

void TFrmDefine::connectiveClick(Connective connective)
{
    m_definition->connect(connective);
    showState();
}

void TFrmDefine::BitBtn1Click()
{
    const QueryDefinition::Result result = m_definition->result();
    switch (result.kind) {
    case QueryDefinition::Result::Kind::Empty:
        accept();
        return;
    case QueryDefinition::Result::Kind::Incomplete:
        Prompter::current().message(this, texts::Hint, texts::ConditionIncomplete, Prompter::Icon::Information);
        return;
    case QueryDefinition::Result::Kind::Ready:
        break;
    }
    // A list that could not run the condition has shown why; the condition stays to be changed.
    if (!m_list.applyCondition(result.sql, result.values))
        return;
    accept();
}

} // namespace granwise
