#include "ProjectForm.h"

#include "ProjectSheetExport.h"
#include "projects/FormFigures.h"
#include "projects/ProjectSheetLayout.h"
#include "projects/ProjectSheetTexts.h"
#include "projects/ProjectTexts.h"
#include "store/Clock.h"
#include "store/ProjectColumns.h"
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
constexpr int kWheelStep = 25; // pixels per wheel notch

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

// Shows a box's list and text; the current item is the one whose text shows.
void showBox(QComboBox *box, const QStringList &items, const QString &text)
{
    const QSignalBlocker blocker(box);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    } else if (box->currentText() == text) {
        return;
    }
    box->setCurrentIndex(box->findText(text));
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

TFrmInput1::TFrmInput1(const AppContext &context, const SaveTarget &target, QWidget *parent)
    : QDialog(parent), m_context(context), m_model(context.databasePath, target)
{
    setObjectName(u"TFrmInput1"_s);
    setWindowTitle(texts::FormCaption);
    buildWindow();
    bindControls();
    // Each failure of the opening in the error box, in the order met.
    for (const std::exception_ptr &failure : m_model.open())
        guarded(this, [&] { std::rethrow_exception(failure); });
    showModel();
}

QWidget *TFrmInput1::controlOf(const QString &column) const
{
    const ProjectColumn *c = findProjectColumn(column);
    return c && !c->control.isEmpty() ? m_controls.value(c->control) : nullptr;
}

void TFrmInput1::bindControls()
{
    for (const ProjectColumn &c : projectColumns()) {
        const QString column = c.name;
        if (QButtonGroup *group = m_radioGroups.value(column)) {
            connect(group, &QButtonGroup::buttonToggled, this, [this, column](QAbstractButton *button, bool checked) {
                if (checked)
                    edit([&] { m_model.setText(column, button->text()); });
            });
            continue;
        }
        QWidget *control = controlOf(column);
        if (!control || c.derived)
            continue;
        if (auto *box = qobject_cast<QComboBox *>(control)) {
            bindBox(box, column);
        } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
            const QStringList yesNo = c.choices;
            connect(check, &QCheckBox::toggled, this, [this, column, yesNo](bool checked) {
                edit([&] { m_model.setText(column, checked ? yesNo.value(0) : yesNo.value(1)); });
            });
        } else if (auto *field = qobject_cast<QLineEdit *>(control)) {
            if (c.isNumber())
                connect(field, &QLineEdit::textChanged, this, [this, field, column] { numberTyped(field, column); });
            else
                connect(field, &QLineEdit::textChanged, this, [this, column](const QString &text) {
                    edit([&] { m_model.setText(column, text); });
                });
        }
    }
}

void TFrmInput1::bindBox(QComboBox *box, const QString &column)
{
    // The region and company boxes refill the lists below them; the others only keep a text.
    using Choose = void (ProjectFormModel::*)(const QString &);
    static const QHash<QString, Choose> cascades{{col::Province, &ProjectFormModel::chooseProvince},
                                                 {col::Prefecture, &ProjectFormModel::choosePrefecture},
                                                 {col::County, &ProjectFormModel::chooseCounty},
                                                 {col::Company, &ProjectFormModel::chooseCompany}};
    const Choose choose = cascades.value(column);
    connect(box, &QComboBox::currentTextChanged, this, [this, column, choose](const QString &text) {
        edit([&] {
            if (choose)
                (m_model.*choose)(text);
            else
                m_model.setText(column, text);
        });
    });
}

void TFrmInput1::edit(const std::function<void()> &operation)
{
    if (m_showing)
        return;
    guarded(this, operation);
    showModel();
}

void TFrmInput1::numberTyped(QLineEdit *field, const QString &column)
{
    if (m_showing)
        return;
    const int cursor = field->cursorPosition();
    const FilteredInput filtered = m_model.typeNumber(column, field->text());
    showModel();
    // The character taken out: the cursor stays where it was in the text that is left.
    if (filtered.removedAt >= 0)
        field->setCursorPosition(filtered.removedAt < cursor ? cursor - 1 : cursor);
}

void TFrmInput1::showModel()
{
    m_showing = true;
    for (const ProjectColumn &c : projectColumns())
        showColumn(c);
    for (int g = 0; g < investmentPrefixes().size(); ++g)
        setFieldText(static_cast<QLineEdit *>(m_controls.value(investmentTotalControl(g))), m_model.totalText(g));
    setFieldText(static_cast<QLineEdit *>(m_controls.value(u"Edit_ID"_s)), m_model.id());
    for (QWidget *w : std::as_const(m_companyWidgets))
        w->setVisible(m_model.companyVisible());
    m_showing = false;
}

void TFrmInput1::showColumn(const ProjectColumn &c)
{
    const QString text = m_model.text(c.name);
    const bool enabled = m_model.isEnabled(c.name);
    if (QButtonGroup *group = m_radioGroups.value(c.name)) {
        for (QAbstractButton *button : group->buttons()) {
            if (button->text() == text)
                button->setChecked(true);
            button->setEnabled(enabled);
        }
        return;
    }
    QWidget *control = controlOf(c.name);
    if (auto *field = qobject_cast<QLineEdit *>(control))
        setFieldText(field, text);
    else if (auto *box = qobject_cast<QComboBox *>(control))
        showBox(box, m_model.choices(c.name), text);
    else if (auto *check = qobject_cast<QCheckBox *>(control))
        check->setChecked(text == c.choices.value(0));
    // A derived figure is never typed in: it stays locked.
    if (control && !c.derived)
        control->setEnabled(enabled);
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

EntryFormResult TFrmInput1::enter(QWidget *parent, const AppContext &context, const SaveTarget &target,
                                  const QString &focusColumn)
{
    TFrmInput1 form(context, target, parent);
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    if (!focusColumn.isEmpty()) {
        // Once the window is shown and laid out.
        QTimer::singleShot(0, &form, [&form, focusColumn] { form.focusColumn(focusColumn, true); });
    }
    form.exec();
    return form.result();
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
    SaveOutcome outcome;
    const auto askValidation = [this] {
        return Prompter::current().ask(this, texts::Hint, texts::AskValidation, Prompter::Icon::Information,
                                       Prompter::Buttons::OkCancel)
            == Prompter::Answer::Ok;
    };
    guarded(this, [&] { outcome = m_model.save(askValidation, Clock::current().now()); });
    if (!outcome.message.isEmpty())
        Prompter::current().message(this, texts::InputError, outcome.message, Prompter::Icon::Information);
    if (!outcome.saved) {
        if (!outcome.focusColumn.isEmpty())
            focusColumn(outcome.focusColumn, outcome.paintYellow);
        return;
    }
    inform(this, texts::Hint, texts::Saved);
    m_result.saved = m_model.saved();
    leave(true);
}

void TFrmInput1::BitBtn6Click()
{
    exportProjectSheet(*this);
}

void TFrmInput1::BitBtnPrintClick()
{
    guarded(this, [this] {
        printWidgetWithPreview(this, *m_scroll->widget(), texts::ProjectSheetName, m_context.databasePath);
    });
}

void TFrmInput1::BitBtnPdfClick()
{
    guarded(this, [this] {
        exportWidgetPdf(this, *m_scroll->widget(),
                        proposedSheetFileName(texts::ProjectSheetName, Clock::current().now().date()),
                        texts::ProjectSheetName, m_context.databasePath);
    });
}

void TFrmInput1::BitBtn5Click()
{
    leave(true);
}

void TFrmInput1::N2Click()
{
    leave(false);
}

void TFrmInput1::leave(bool returned)
{
    m_result.returned = returned;
    if (m_result.saved)
        accept();
    else
        reject();
}

} // namespace granwise
