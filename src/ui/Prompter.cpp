#include "Prompter.h"

#include <QMessageBox>

namespace granwise {

namespace {
Prompter *installed = nullptr;

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Prompter &Prompter::current()
{
    static MessageBoxPrompter boxes;
    return installed ? *installed : boxes;
}

void Prompter::install(Prompter *prompter)
{
    installed = prompter;
}

void MessageBoxPrompter::message(QWidget *parent, const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

Prompter::Answer MessageBoxPrompter::ask(QWidget *parent, const QString &caption, const QString &text, Icon icon,
                                         Buttons buttons)
{
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Buttons::Ok:
        standard = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
    case Buttons::OkCancelSafe:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
    case Buttons::YesNoSafe:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    }
    QMessageBox box(boxIcon(icon), caption, text, standard, parent);
    if (buttons == Buttons::OkCancelSafe)
        box.setDefaultButton(QMessageBox::Cancel);
    else if (buttons == Buttons::YesNoSafe)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void inform(QWidget *parent, const QString &caption, const QString &text)
{
    Prompter::current().message(parent, caption, text, Prompter::Icon::Information);
}

void warn(QWidget *parent, const QString &caption, const QString &text)
{
    Prompter::current().message(parent, caption, text, Prompter::Icon::Warning);
}

} // namespace granwise
