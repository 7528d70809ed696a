#include "WindowTestSupport.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace granwise::test {

void RecordingPrompter::message(QWidget *, const QString &caption, const QString &text, Icon icon)
{
    said.push_back({caption, text, icon});
}

Prompter::Answer RecordingPrompter::ask(QWidget *, const QString &caption, const QString &text, Icon icon,
                                        Buttons buttons)
{
    said.push_back({caption, text, icon});
    if (!m_answers.empty()) {
        const Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

QStringList RecordingPrompter::texts() const
{
    QStringList t;
    for (const Said &s : said)
        t << s.text;
    return t;
}

QString ScriptedFileDialogs::saveFileName(QWidget *, const QString &proposedPath, const QString &, const QString &)
{
    proposed = proposedPath;
    if (m_paths.empty())
        return {};
    const QString p = m_paths.front().value(0);
    m_paths.pop_front();
    return p;
}

QString ScriptedFileDialogs::openFileName(QWidget *, const QString &)
{
    if (m_paths.empty())
        return {};
    const QString p = m_paths.front().value(0);
    m_paths.pop_front();
    return p;
}

QStringList ScriptedFileDialogs::openFileNames(QWidget *, const QString &)
{
    if (m_paths.empty())
        return {};
    const QStringList p = m_paths.front();
    m_paths.pop_front();
    return p;
}

void whenModalOpens(std::function<void(QWidget &)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            ADD_FAILURE() << "no modal window opened";
            return;
        }
        act(*modal);
    });
}

} // namespace granwise::test
