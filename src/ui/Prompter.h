#pragma once

#include <QString>

class QWidget;

namespace granwise {

// Every message box and question of the program goes through the installed Prompter, so a test
// can answer them and read what was said.
class Prompter {
public:
    enum class Icon { Information, Warning, Error, Question };
    // The first button of each pair is the default (Enter), except in the Safe kinds, which ask
    // before data is removed or overwritten: there Enter answers Cancel or No.
    enum class Buttons { Ok, OkCancel, OkCancelSafe, YesNo, YesNoSafe };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;
    virtual void message(QWidget *parent, const QString &caption, const QString &text, Icon icon) = 0;
    virtual Answer ask(QWidget *parent, const QString &caption, const QString &text, Icon icon, Buttons buttons) = 0;

    static Prompter &current();
    // Installs a prompter (not owned); nullptr restores the message boxes.
    static void install(Prompter *prompter);
};

// The real one: modal message boxes.
class MessageBoxPrompter : public Prompter {
public:
    void message(QWidget *parent, const QString &caption, const QString &text, Icon icon) override;
    Answer ask(QWidget *parent, const QString &caption, const QString &text, Icon icon, Buttons buttons) override;
};

// Shorthands for the common boxes.
void inform(QWidget *parent, const QString &caption, const QString &text);
void warn(QWidget *parent, const QString &caption, const QString &text);

} // namespace granwise
