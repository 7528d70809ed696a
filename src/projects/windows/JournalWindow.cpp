#include "JournalWindow.h"
#include "JournalWindowTexts.h"

#include "store/Clock.h"
#include "store/CommonTexts.h"
#include "store/Error.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;
using namespace journalwindow::texts;

JournalWindow::JournalWindow(QString databasePath, QWidget *parent)
    : QDialog(parent), m_databasePath(std::move(databasePath))
{
    setObjectName(u"JournalWindow"_s);
    setWindowTitle(Caption);
    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(u"grid"_s);
    chrome::setUpRowList(m_grid, Headings);
    layout->addWidget(m_grid, 1);

    m_undo = chrome::button(u"undo"_s, Undo, this);
    QPushButton *close = chrome::button(u"close"_s, texts::Back, this);
    layout->addLayout(chrome::buttonBar({m_undo, close}, chrome::Align::Right));
    connect(m_undo, &QPushButton::clicked, this, &JournalWindow::undoSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(1100, 560);
    reload();
}

void JournalWindow::reload()
{
    m_entries.clear();
    guarded(this, [this] { m_entries = journal::entries(m_databasePath); });
    std::reverse(m_entries.begin(), m_entries.end());
    m_grid->clearContents();
    m_grid->setRowCount(int(m_entries.size()));
    for (int r = 0; r < m_entries.size(); ++r) {
        const JournalEntryInfo &e = m_entries.at(r);
        const QStringList cells{QString::number(e.id), shownDateTime(e.time), e.user, e.operation, e.file, e.counts,
                                e.undoneBy >= 0 ? UndoneBy.arg(e.undoneBy) : QString()};
        for (int c = 0; c < cells.size(); ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
}

void JournalWindow::selectEntry(qint64 id)
{
    for (int r = 0; r < m_entries.size(); ++r)
        if (m_entries.at(r).id == id)
            m_grid->selectRow(r);
}

void JournalWindow::undoSelected()
{
    Prompter &prompter = Prompter::current();
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_entries.size() || m_grid->selectedItems().isEmpty()) {
        prompter.message(this, texts::Hint, ChooseEntry, Prompter::Icon::Information);
        return;
    }
    const JournalEntryInfo entry = m_entries.at(row);
    if (prompter.ask(this, texts::Hint, AskUndo.arg(entry.id).arg(entry.operation, entry.file), Prompter::Icon::Question,
                     Prompter::Buttons::YesNoSafe)
        != Prompter::Answer::Yes)
        return;
    try {
        journal::undo(m_databasePath, entry.id);
        prompter.message(this, texts::Hint, Undone.arg(entry.id), Prompter::Icon::Information);
    } catch (const Error &e) {
        prompter.message(this, texts::Hint, e.text(), Prompter::Icon::Warning);
    }
    reload();
}

void openJournalWindow(QWidget *parent, const QString &databasePath)
{
    JournalWindow window(databasePath, parent);
    window.exec();
}

} // namespace granwise
