#include "ProjectForm.h"

#include "projects/FormFigures.h"
#include "projects/LevelRule.h"
#include "projects/NumberInput.h"
#include "ProjectListWindow.h"
#include "ProjectSheetExport.h"
#include "projects/ProjectSave.h"
#include "projects/ProjectSelection.h"
#include "projects/ProjectSheetLayout.h"
#include "projects/ProjectSheetTexts.h"
#include "projects/ProjectStore.h"
#include "projects/ProjectTexts.h"
#include "projects/RegionLists.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/Glob.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"
#include "ui/ErrorBox.h"
#include "ui/PagePrinter.h"
#include "ui/Prompter.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QColor kHighlight = Qt::yellow;
const QColor kNormal = Qt::white;
constexpr int kWheelStep = 25;   // pixels per wheel notch
constexpr int kPreviousYearGroup = 1; // the investment row "二、上年累计完成投资"

void paint(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, color);
    if (qobject_cast<QAbstractButton *>(widget)) {
        widget->setAutoFillBackground(true);
        p.setColor(QPalette::Window, color);
    }
    widget->setPalette(p);
}

// Refills a box's list and keeps its text, as clearing a list never empties the box.
void replaceItems(QComboBox *box, const QStringList &items)
{
    const QSignalBlocker blocker(box);
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void setBoxText(QComboBox *box, const QString &text)
{
    const QSignalBlocker blocker(box);
    const int index = box->findText(text);
    box->setCurrentIndex(index);
    box->setEditText(text);
}

// Sets a field's text only when it differs, so that the cursor of the field being typed in stays.
void setFieldText(QLineEdit *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
}

bool isPostcodeKey(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return true;
    const QString text = key->text();
    return text.isEmpty() || (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9');
}

} // namespace

TFrmInput1::TFrmInput1(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TFrmInput1"_s);
    setWindowTitle(texts::FormCaption);
    buildWindow();

    auto *province = static_cast<QComboBox *>(controlOf(col::Province));
    auto *prefecture = static_cast<QComboBox *>(controlOf(col::Prefecture));
    auto *county = static_cast<QComboBox *>(controlOf(col::County));
    auto *company = static_cast<QComboBox *>(controlOf(col::Company));
    connect(province, &QComboBox::currentTextChanged, this, [this, prefecture, county] {
        // ComboBox2Change: a new province empties the prefecture and county first.
        setBoxText(prefecture, {});
        setBoxText(county, {});
        listcity();
    });
    connect(prefecture, &QComboBox::currentTextChanged, this, [this, county] {
        setBoxText(county, {});
        listcounty();
    });
    connect(county, &QComboBox::currentTextChanged, this, &TFrmInput1::ComboBox03Change);
    connect(company, &QComboBox::currentTextChanged, this, &TFrmInput1::ComboBox1Change);
    connect(m_central, &QRadioButton::toggled, this, &TFrmInput1::RadioButton01Click);
    connect(static_cast<QCheckBox *>(controlOf(col::StartedThisYear)), &QCheckBox::toggled, this,
            &TFrmInput1::CheckBox1Click);

    FormCreate();
}

QWidget *TFrmInput1::controlOf(const QString &column) const
{
    const ProjectColumn *c = findProjectColumn(column);
    return c && !c->control.isEmpty() ? m_controls.value(c->control) : nullptr;
}

QString TFrmInput1::columnText(const QString &column) const
{
    if (column == col::Affiliation)
        return m_central->isChecked() ? CentralEnterprise : LocalEnterprise;
    if (QButtonGroup *group = m_radioGroups.value(column)) {
        QAbstractButton *chosen = group->checkedButton();
        return chosen ? chosen->text() : QString();
    }
    QWidget *control = controlOf(column);
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text();
    if (auto *box = qobject_cast<QComboBox *>(control))
        return box->currentText();
    if (auto *check = qobject_cast<QCheckBox *>(control)) {
        const QStringList &yesNo = findProjectColumn(column)->choices;
        return check->isChecked() ? yesNo.value(0) : yesNo.value(1);
    }
    return {};
}

void TFrmInput1::setColumnText(const QString &column, const QString &text)
{
    if (column == col::Affiliation) {
        selectAffiliation(text == CentralEnterprise);
        return;
    }
    if (QButtonGroup *group = m_radioGroups.value(column)) {
        // A text that matches no button leaves the group as it is.
        for (QAbstractButton *button : group->buttons())
            if (button->text() == text)
                button->setChecked(true);
        return;
    }
    QWidget *control = controlOf(column);
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(text);
    else if (auto *box = qobject_cast<QComboBox *>(control))
        setBoxText(box, text);
    else if (auto *check = qobject_cast<QCheckBox *>(control))
        check->setChecked(text == findProjectColumn(column)->choices.value(0));
}

ProjectValues TFrmInput1::values() const
{
    ProjectValues values;
    for (const ProjectColumn &c : projectColumns()) {
        if (c.group == ColumnGroup::Bookkeeping)
            continue;
        values.insert(c.name, columnText(c.name));
    }
    values.insert(col::RegionCode, m_regionCode);
    return values;
}

QString TFrmInput1::totalText(int group) const
{
    auto *field = qobject_cast<QLineEdit *>(m_controls.value(investmentTotalControl(group)));
    return field ? field->text() : QString();
}

void TFrmInput1::FormCreate()
{
    m_editing = false;
    for (QLineEdit *field : std::as_const(m_numberFields))
        field->clear();

    std::optional<TaskInfo> task;
    guarded(this, [&] {
        Connection connection(glob::ConnectionString);
        replaceItems(static_cast<QComboBox *>(controlOf(col::Province)), provinceNames(connection));
        task = readTaskInfo(connection);
    });
    applyPreset(levelPreset(task.value_or(TaskInfo{})));

    if (!projectSelection().projectName.isEmpty())
        ini1();
    if (!columnText(col::Company).isEmpty())
        ComboBox1Change();
    m_editing = true;
}

void TFrmInput1::applyPreset(const FormPreset &preset)
{
    for (auto it = preset.texts.cbegin(); it != preset.texts.cend(); ++it)
        setColumnText(it.key(), it.value());
    if (preset.fillPrefectures)
        listcity();
    if (preset.fillCounties)
        listcounty();
    if (preset.lookupRegionCode)
        ComboBox03Change();
    for (const QString &column : preset.locked) {
        if (column == col::Affiliation) {
            m_central->setEnabled(false);
            m_local->setEnabled(false);
        } else if (QWidget *control = controlOf(column)) {
            control->setEnabled(false);
        }
    }
    {
        const QSignalBlocker blocker(m_central);
        (preset.central ? m_central : m_local)->setChecked(true);
    }
    setCompanyVisible(preset.companyVisible);
}

void TFrmInput1::selectAffiliation(bool central)
{
    // Checking a button by program has the effect of a click when the choice changes.
    (central ? m_central : m_local)->setChecked(true);
}

void TFrmInput1::RadioButton01Click(bool central)
{
    setCompanyVisible(central);
}

void TFrmInput1::setCompanyVisible(bool visible)
{
    for (QWidget *w : std::as_const(m_companyWidgets))
        w->setVisible(visible);
}

void TFrmInput1::CheckBox1Click(bool checked)
{
    for (int p = 0; p < investmentParts().size(); ++p)
        controlOf(investmentColumn(kPreviousYearGroup, p))->setEnabled(!checked);
}

void TFrmInput1::ini1()
{
    const bool editing = m_editing;
    m_editing = false;
    std::optional<ProjectValues> stored;
    guarded(this, [&] {
        Connection connection(glob::ConnectionString);
        const ProjectSelection &selection = projectSelection();
        stored = loadProject(connection, selection.projectName, selection.enterpriseName);
    });
    if (!stored) {
        m_editing = editing;
        return;
    }
    for (const ProjectColumn &c : projectColumns())
        if (c.group != ColumnGroup::Bookkeeping && c.name != col::RegionCode)
            setColumnText(c.name, stored->value(c.name));
    static_cast<QLineEdit *>(m_controls.value(u"Edit_ID"_s))->setText(stored->value(col::Id));
    m_regionCode = stored->value(col::RegionCode);

    if (!columnText(col::Province).isEmpty())
        listcity();
    if (!columnText(col::Prefecture).isEmpty())
        listcounty();
    if (!columnText(col::County).isEmpty())
        ComboBox03Change();
    ini();
}

void TFrmInput1::listcity()
{
    guarded(this, [&] {
        Connection connection(glob::ConnectionString);
        replaceItems(static_cast<QComboBox *>(controlOf(col::County)), {});
        replaceItems(static_cast<QComboBox *>(controlOf(col::Prefecture)),
                     prefectureNames(connection, columnText(col::Province)));
    });
}

void TFrmInput1::listcounty()
{
    guarded(this, [&] {
        Connection connection(glob::ConnectionString);
        const QStringList counties =
            countyNames(connection, columnText(col::Province), columnText(col::Prefecture));
        QWidget *county = controlOf(col::County);
        replaceItems(static_cast<QComboBox *>(county), counties);
        if (!counties.isEmpty())
            county->setEnabled(true);
    });
}

void TFrmInput1::ComboBox03Change()
{
    guarded(this, [&] {
        Connection connection(glob::ConnectionString);
        m_regionCode = granwise::regionCode(connection, columnText(col::Province), columnText(col::Prefecture),
                                  columnText(col::County));
    });
}

void TFrmInput1::ComboBox1Change()
{
    const QString company = columnText(col::Company);
    if (company.isEmpty())
        return;
    auto *branch = static_cast<QComboBox *>(controlOf(col::Branch));
    replaceItems(branch, {});
    guarded(this, [&] {
        Connection connection(glob::ConnectionString);
        replaceItems(branch, branchNames(connection, company));
    });
}

void TFrmInput1::numberEdited(QLineEdit *field)
{
    if (!m_editing)
        return;
    const FilteredInput filtered = filterNumberInput(field->text());
    if (filtered.removedAt >= 0) {
        m_editing = false;
        const int cursor = field->cursorPosition();
        field->setText(filtered.text);
        field->setCursorPosition(filtered.removedAt < cursor ? cursor - 1 : cursor);
        m_editing = true;
    }
    ini();
}

void TFrmInput1::ini()
{
    m_editing = false;
    zeroFillBlanks();
    const QHash<QString, QString> figures = recomputeFigures([this](const QString &control) {
        return static_cast<QLineEdit *>(m_controls.value(control))->text();
    });
    for (auto it = figures.cbegin(); it != figures.cend(); ++it)
        setFieldText(static_cast<QLineEdit *>(m_controls.value(it.key())), it.value());
    blankZeros();
    m_editing = true;
}

void TFrmInput1::zeroFillBlanks()
{
    for (QLineEdit *field : std::as_const(m_numberFields))
        if (field->text().isEmpty())
            field->setText(u"0"_s);
}

void TFrmInput1::blankZeros()
{
    for (QLineEdit *field : std::as_const(m_numberFields))
        if (field->text() == u"0"_s)
            field->clear();
}

void TFrmInput1::Edit5Enter(QWidget *focused)
{
    for (QWidget *input : std::as_const(m_inputs)) {
        // Locked figure and text fields keep their colour.
        const bool lockedField = !input->isEnabled() && input->objectName().startsWith(u"MaskEdit"_s);
        if (!lockedField)
            paint(input, kNormal);
    }
    paint(focused, kHighlight);
}

void TFrmInput1::focusColumn(const QString &column, bool paintYellow)
{
    QWidget *control = controlOf(column);
    if (!control)
        return;
    // The field to correct may lie anywhere on the long page: bring it into sight.
    m_scroll->ensureWidgetVisible(control);
    if (control->isEnabled() && control->isVisibleTo(this))
        control->setFocus(Qt::OtherFocusReason);
    if (paintYellow)
        paint(control, kHighlight);
}

void TFrmInput1::openForCorrection(QWidget *parent, const QString &enterpriseName, const QString &projectName,
                                   const QString &focusColumn)
{
    ProjectSelection &selection = projectSelection();
    selection.projectName = projectName;
    selection.enterpriseName = enterpriseName;
    selection.entryMode = EntryMode::Edit;
    TFrmInput1 form(parent);
    form.m_returnToCaller = true;
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    // Once the window is shown and laid out.
    QTimer::singleShot(0, &form, [&form, focusColumn] { form.focusColumn(focusColumn, true); });
    form.exec();
}

void TFrmInput1::scrollByWheel(int angleDelta)
{
    QScrollBar *bar = m_scroll->verticalScrollBar();
    bar->setValue(bar->value() - angleDelta * kWheelStep / QWheelEvent::DefaultDeltasPerStep);
}

bool TFrmInput1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && qobject_cast<QComboBox *>(widget->parentWidget()))
            widget = widget->parentWidget(); // the text part of a box
        if (widget && m_inputs.contains(widget))
            Edit5Enter(widget);
        break;
    }
    case QEvent::Wheel:
        if (watched == m_scroll->viewport() || qobject_cast<QComboBox *>(watched)) {
            scrollByWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        // A box that takes no typing opens its list wherever it is clicked.
        if (auto *edit = qobject_cast<QLineEdit *>(watched); edit && edit->isReadOnly()) {
            if (auto *box = qobject_cast<QComboBox *>(edit->parentWidget())) {
                box->showPopup();
                return true;
            }
        }
        break;
    case QEvent::KeyPress:
        if (watched == controlOf(u"邮政编码"_s) && !isPostcodeKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmInput1::BitBtn2Click()
{
    m_editing = false;
    zeroFillBlanks();
    const ProjectSelection &selection = projectSelection();
    const SaveTarget target{selection.entryMode, selection.projectName, selection.enterpriseName};
    SaveOutcome outcome;
    const auto askValidation = [this] {
        return Prompter::current().ask(this, texts::Hint, texts::AskValidation, Prompter::Icon::Information,
                                       Prompter::Buttons::OkCancel)
            == Prompter::Answer::Ok;
    };
    guarded(this, [&] {
        outcome = saveProject(glob::ConnectionString, values(), target, askValidation, Clock::current().now());
    });
    if (!outcome.message.isEmpty())
        Prompter::current().message(this, texts::InputError, outcome.message, Prompter::Icon::Information);
    if (!outcome.saved) {
        blankZeros();
        m_editing = true;
        if (!outcome.focusColumn.isEmpty())
            focusColumn(outcome.focusColumn, outcome.paintYellow);
        return;
    }
    blankZeros();
    inform(this, texts::Hint, texts::Saved);
    openFreshList();
}

void TFrmInput1::BitBtn6Click()
{
    exportProjectSheet(*this);
}

void TFrmInput1::BitBtnPrintClick()
{
    guarded(this, [this] {
        printWidgetWithPreview(this, *m_scroll->widget(), texts::ProjectSheetName, glob::ConnectionString);
    });
}

void TFrmInput1::BitBtnPdfClick()
{
    guarded(this, [this] {
        exportWidgetPdf(this, *m_scroll->widget(),
                        proposedSheetFileName(texts::ProjectSheetName, Clock::current().now().date()),
                        texts::ProjectSheetName, glob::ConnectionString);
    });
}

void TFrmInput1::BitBtn5Click()
{
    openFreshList();
}

void TFrmInput1::N2Click()
{
    reject();
}

void TFrmInput1::openFreshList()
{
    if (m_returnToCaller) {
        reject();
        return;
    }
    {
        TFrmList1 list(this);
        list.exec();
    }
    reject();
}

} // namespace granwise
