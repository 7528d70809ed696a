#include "WindowTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
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
    said.push_back({caption, text, icon, buttons});
    if (!m_answers.empty()) {
        const Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoSafe ? Answer::Yes : Answer::Ok;
}

QStringList RecordingPrompter::texts() const
{
    QStringList t;
    for (const Said &s : said)
        t << s.text;
    return t;
}

QString ScriptedFileDialogs::saveFileName(QWidget *, const QString &title, const QString &proposedPath, const QString &,
                                          const QString &)
{
    titles << title;
    proposed = proposedPath;
    if (m_paths.empty())
        return {};
    const QString p = m_paths.front().value(0);
    m_paths.pop_front();
    return p;
}

QString ScriptedFileDialogs::openFileName(QWidget *, const QString &title, const QString &)
{
    titles << title;
    if (m_paths.empty())
        return {};
    const QString p = m_paths.front().value(0);
    m_paths.pop_front();
    return p;
}

QStringList ScriptedFileDialogs::openFileNames(QWidget *, const QString &title, const QString &)
{
    titles << title;
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

bool showsWholeText(const QLineEdit &field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.rect = field.rect();
    option.lineWidth = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field);
    const QRect contents = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field)
                               .marginsRemoved(field.textMargins());
    // QLineEdit keeps two pixels free on either side of its text.
    return field.fontMetrics().horizontalAdvance(field.text()) <= contents.width() - 2 * 2;
}

} // namespace granwise::test
