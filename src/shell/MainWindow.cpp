#include "MainWindow.h"

#include "Backdrop.h"
#include "LoginDialog.h"
#include "UsersDialog.h"
#include "reports/windows/ReportWindowFactory.h"
#include "store/CommonTexts.h"
#include "store/Database.h"
#include "store/TaskInfo.h"
#include "store/UserAccount.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"

#include <QDialog>
#include <QMenuBar>
#include <QProgressBar>
#include <memory>

namespace granwise {

using namespace Qt::StringLiterals;

void showNotAvailable(QWidget *parent, const QString &caption)
{
    inform(parent, texts::Hint, u"“%1”功能尚未提供。"_s.arg(caption));
}

TFrmmain::TFrmmain(AppContext context, QWidget *parent) : QMainWindow(parent), m_context(std::move(context))
{
    setObjectName(u"TFrmmain"_s);
    setWindowTitle(u"Granwise（汇总版）"_s);
    auto *backdrop = new Backdrop(this);
    backdrop->setObjectName(u"Image1"_s);
    setCentralWidget(backdrop);

    m_progress = new QProgressBar(backdrop);
    m_progress->setObjectName(u"ProgressBar1"_s);
    m_progress->setGeometry(496, 392, 345, 33);
    m_progress->setRange(0, 100);
    m_progress->hide();

    buildMenu();
}

void TFrmmain::buildMenu()
{
    QHash<QString, QMenu *> menus;
    auto menuOf = [&](const QString &name) { return menus.value(name); };
    const QVector<MenuEntry> &entries = menuEntries();
    for (const MenuEntry &entry : entries) {
        const bool hasChildren = std::any_of(entries.begin(), entries.end(),
                                             [&](const MenuEntry &e) { return e.parent == entry.name; });
        QAction *action = nullptr;
        if (hasChildren) {
            QMenu *menu = entry.parent.isEmpty() ? menuBar()->addMenu(entry.caption)
                                                 : menuOf(entry.parent)->addMenu(entry.caption);
            menu->setObjectName(entry.name + u"Menu"_s);
            menus.insert(entry.name, menu);
            action = menu->menuAction();
        } else if (entry.parent.isEmpty()) {
            action = menuBar()->addAction(entry.caption);
        } else {
            action = menuOf(entry.parent)->addAction(entry.caption);
        }
        action->setObjectName(entry.name);
        action->setVisible(entry.initiallyVisible);
        m_actions.insert(entry.name, action);
        if (!hasChildren) {
            const QString name = entry.name;
            connect(action, &QAction::triggered, this, [this, name] { choose(name); });
        }
    }
}

bool TFrmmain::FormCreate()
{
    bool goOn = true;
    const bool ok = guarded(this, [&] {
        goOn = authenticate();
        if (!goOn)
            return;
        Connection connection(m_context.databasePath);
        const std::optional<TaskInfo> info = readTaskInfo(connection);
        applyLevelRule(info ? std::optional<QString>(info->level) : std::nullopt, LevelRuleVariant::StartUp);
    });
    // A database error skips the rest of the start-up; the menu stays as designed.
    return ok ? goOn : true;
}

bool TFrmmain::authenticate()
{
    bool hasAccount = false;
    {
        Connection connection(m_context.databasePath);
        hasAccount = account::exists(connection);
    }
    if (hasAccount) {
        Tlogin login(m_context.databasePath, this);
        return login.exec() == QDialog::Accepted;
    }
    TFrmusers users(m_context.databasePath, TFrmusers::Mode::FirstAccount, this);
    users.exec();
    return !users.endsProgram();
}

void TFrmmain::applyLevelRule(const std::optional<QString> &level, LevelRuleVariant variant)
{
    const QHash<QString, bool> visible = menuVisibility(level, variant);
    for (auto it = visible.begin(); it != visible.end(); ++it)
        if (QAction *a = m_actions.value(it.key()))
            a->setVisible(it.value());
}

void TFrmmain::choose(const QString &entryName)
{
    const MenuEntry *entry = findMenuEntry(entryName);
    if (!entry)
        return;
    if (entry->setsReportTitle)
        m_reportTitle = entry->caption;
    open(*entry);
}

void TFrmmain::open(const MenuEntry &entry)
{
    if (entry.opens == u"N6"_s) {
        close();
        return;
    }
    if (entry.opens == u"TFrmusers"_s) {
        TFrmusers users(m_context.databasePath, TFrmusers::Mode::ChangeAccount, this);
        users.exec();
        return;
    }
    if (entry.report) {
        guarded(this, [&] {
            std::unique_ptr<QDialog> report(createReportWindow(*entry.report, m_context, this));
            report->exec();
        });
        return;
    }
    const std::optional<Opener> opener = openerFor(entry.opens);
    if (!opener) {
        showNotAvailable(this, entry.caption);
        return;
    }
    guarded(this, [&] { (*opener)(*this); });
}

} // namespace granwise
