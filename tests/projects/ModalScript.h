#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace granwise::test {

// Drives stacked modal windows: each step waits until a window with the given objectName that
// was not seen before is the active modal window, then acts on it. The action runs from its own
// timer event, so it may open further modal windows.
class ModalScript {
public:
    using Action = std::function<void(QWidget *window)>;

    ModalScript &then(const QString &objectName, Action action)
    {
        m_steps.push_back({objectName, std::move(action), false});
        return *this;
    }
    // A step on a window seen before that is the active modal window again once the window of
    // the step before has closed (a list the form it opened went back to).
    ModalScript &thenAgain(const QString &objectName, Action action)
    {
        m_steps.push_back({objectName, std::move(action), true});
        return *this;
    }

    // Runs `open` (which returns when every window it opened has closed). Steps left over, or
    // windows still open after the time limit, fail the test; the windows are then closed.
    void run(const std::function<void()> &open, int limitMs = 30000)
    {
        QTimer poll;
        poll.setInterval(5);
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (clock.elapsed() > limitMs) {
                m_timedOut = true;
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    dialog->reject();
                return;
            }
            if (m_steps.empty() || m_acting)
                return;
            QWidget *window = QApplication::activeModalWidget();
            if (!window || window->objectName() != m_steps.front().objectName)
                return;
            if (m_steps.front().again ? !seen(window) || (m_last && m_last->isVisible()) : seen(window))
                return;
            m_seen.append(window);
            m_last = window;
            Action action = std::move(m_steps.front().action);
            m_steps.pop_front();
            m_acting = true;
            QTimer::singleShot(0, window, [this, window, action] {
                m_acting = false;
                action(window);
            });
        });
        poll.start();
        open();
        poll.stop();
        EXPECT_FALSE(m_timedOut) << "modal windows did not close in time";
        EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " steps did not run; next: "
                                     << m_steps.front().objectName.toStdString();
    }

private:
    struct Step {
        QString objectName;
        Action action;
        bool again;
    };
    bool seen(QWidget *window) const
    {
        for (const QPointer<QWidget> &w : m_seen)
            if (w == window)
                return true;
        return false;
    }
    std::deque<Step> m_steps;
    QList<QPointer<QWidget>> m_seen;
    QPointer<QWidget> m_last; // the window of the last step taken
    bool m_acting = false;
    bool m_timedOut = false;
};

} // namespace granwise::test
