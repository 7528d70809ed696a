#include "ChoiceBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace granwise::taskinfo {

namespace {
const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor Silver(0xC0, 0xC0, 0xC0);

// Keys that move the focus, open the list or close the window still work; every other key
// that would type something is discarded.
bool typesText(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return false;
    default:
        return !event->text().isEmpty();
    }
}
} // namespace

ChoiceBox::ChoiceBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    lineEdit()->setReadOnly(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(20);
    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this](int index) { emit chosen(itemText(index)); });
    setState(BoxState::On);
}

void ChoiceBox::setText(const QString &text)
{
    if (currentText() == text)
        return;
    const QSignalBlocker blocker(this);
    setCurrentIndex(findText(text, Qt::MatchExactly));
    setEditText(text);
}

QStringList ChoiceBox::choices() const
{
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void ChoiceBox::setChoices(const QStringList &choices)
{
    if (choices == this->choices())
        return;
    const QString shown = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(choices);
    setCurrentIndex(findText(shown, Qt::MatchExactly));
    setEditText(shown);
}

void ChoiceBox::setState(BoxState state)
{
    setEnabled(state == BoxState::On);
    QPalette colours = palette();
    const QColor &base = state == BoxState::Off ? Silver : Yellow;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, base);
        colours.setColor(group, QPalette::Button, base);
    }
    setPalette(colours);
    setProperty("boxState", static_cast<int>(state));
}

bool ChoiceBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && typesText(static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

} // namespace granwise::taskinfo
