#pragma once

#include "TestSupport.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

class QLineEdit;
class QWidget;

namespace granwise::test {

// Records every message and answers questions from a script (Ok/Yes when the script is empty).
class RecordingPrompter : public Prompter {
public:
    struct Said {
        QString caption;
        QString text;
        Icon icon;
        std::optional<Buttons> buttons; // a question's buttons; none for a message
    };
    RecordingPrompter() { install(this); }
    ~RecordingPrompter() override { install(nullptr); }
    void message(QWidget *, const QString &caption, const QString &text, Icon icon) override;
    Answer ask(QWidget *, const QString &caption, const QString &text, Icon icon, Buttons buttons) override;
    void answerNext(Answer answer) { m_answers.push_back(answer); }
    QStringList texts() const;
    QString lastText() const { return said.empty() ? QString() : said.back().text; }

    std::vector<Said> said;

private:
    std::deque<Answer> m_answers;
};

// File dialogs that return scripted paths (empty = cancelled) and remember what was proposed.
class ScriptedFileDialogs : public FileDialogs {
public:
    ScriptedFileDialogs() { install(this); }
    ~ScriptedFileDialogs() override { install(nullptr); }
    QString saveFileName(QWidget *, const QString &title, const QString &proposedPath, const QString &,
                         const QString &) override;
    QString openFileName(QWidget *, const QString &title, const QString &) override;
    QStringList openFileNames(QWidget *, const QString &title, const QString &) override;
    void next(const QString &path) { m_paths.push_back({path}); }
    void nextMany(const QStringList &paths) { m_paths.push_back(paths); }
    QString proposed;
    QStringList titles; // of every dialog shown, in order

private:
    std::deque<QStringList> m_paths;
};

// Runs `act` on the modal window that the next exec() opens (for windows opened modally by the
// code under test).
void whenModalOpens(std::function<void(QWidget &)> act);

// Whether a line edit shows its whole text, measured with its font in the text area its style
// gives it (no part scrolled out of view).
bool showsWholeText(const QLineEdit &field);

} // namespace granwise::test
