#pragma once

#include "MainMenu.h"
#include "store/AppContext.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QProgressBar;

namespace granwise {

// TFrmmain: the main window, its menu and the start-up of the program.
class TFrmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmmain(AppContext context, QWidget *parent = nullptr);

    // Start-up: the login (or the first account) and the menu by the
    // task-information record. False when the program is to end (login failed or cancelled).
    bool FormCreate();

    // Applies the level rule of a task-information level to the running menu.
    void applyLevelRule(const std::optional<QString> &level, LevelRuleVariant variant);

    // Chooses a menu entry as the user would.
    void choose(const QString &entryName);

    QAction *menuAction(const QString &entryName) const { return m_actions.value(entryName); }
    // The title the last table entry that stores its caption stored (ReportTitle).
    const QString &reportTitle() const { return m_reportTitle; }
    QProgressBar *progressBar() const { return m_progress; }
    // Where the program's files are and which database it keeps; what every window opened from
    // the menu works on.
    const AppContext &context() const { return m_context; }

    // What a menu entry opens: a window class or an operation, given the main window.
    using Opener = std::function<void(TFrmmain &)>;

private:
    void buildMenu();
    void open(const MenuEntry &entry);
    bool authenticate();

    AppContext m_context;
    QHash<QString, QAction *> m_actions;
    QProgressBar *m_progress;
    QString m_reportTitle;
};

// Shows that a function is not available in this version yet.
void showNotAvailable(QWidget *parent, const QString &caption);

// The one place where menu entries meet the windows and operations of the other libraries:
// what the "opens" value of an entry does, or nothing for a window this version lacks.
std::optional<TFrmmain::Opener> openerFor(const QString &opens);

} // namespace granwise
