#include "FindingsWindow.h"
#include "FindingsWindowTexts.h"

#include "ProjectForm.h"
#include "store/CommonTexts.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

using namespace findings::texts;

FindingsWindow::FindingsWindow(const AppContext &context, Setup setup, QWidget *parent)
    : QDialog(parent), m_context(context), m_setup(std::move(setup))
{
    setWindowTitle(m_setup.caption);
    auto *layout = new QVBoxLayout(this);

    auto *filters = new QHBoxLayout;
    for (int column : std::as_const(m_setup.filterColumns)) {
        filters->addWidget(new QLabel(m_setup.headings.at(column), this));
        auto *box = new QComboBox(this);
        box->setObjectName(u"filter_"_s + m_setup.headings.at(column));
        box->setMinimumContentsLength(8);
        filters->addWidget(box);
        m_filters.append(box);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { applyFilters(); });
    }
    filters->addStretch();
    layout->addLayout(filters);

    m_summary = new QLabel(this);
    m_summary->setObjectName(u"summary"_s);
    layout->addWidget(m_summary);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(u"grid"_s);
    chrome::setUpRowList(m_grid, m_setup.headings);
    layout->addWidget(m_grid, 1);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openLine(row); });

    QPushButton *save = chrome::button(u"save"_s, Save, this);
    QPushButton *close = chrome::button(u"close"_s, texts::Back, this);
    layout->addLayout(chrome::buttonBar({save, close}, chrome::Align::Right));
    connect(save, &QPushButton::clicked, this, &FindingsWindow::saveShown);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(1280, 640);
    reload();
}

QComboBox *FindingsWindow::filter(int column) const
{
    const int index = int(m_setup.filterColumns.indexOf(column));
    return index >= 0 ? m_filters.at(index) : nullptr;
}

void FindingsWindow::reload()
{
    m_lines.clear();
    guarded(this, [this] { m_lines = m_setup.load(); });
    fillFilters();
    applyFilters();
}

void FindingsWindow::fillFilters()
{
    for (int f = 0; f < m_filters.size(); ++f) {
        QComboBox *box = m_filters.at(f);
        const QString chosen = box->currentIndex() > 0 ? box->currentText() : QString();
        const int column = m_setup.filterColumns.at(f);
        QStringList values;
        QSet<QString> seen;
        for (const FindingLine &line : std::as_const(m_lines)) {
            const QString &value = line.cells.at(column);
            if (!seen.contains(value)) {
                seen.insert(value);
                values << value;
            }
        }
        values.sort();
        QSignalBlocker block(box);
        box->clear();
        box->addItem(AllValues);
        box->addItems(values);
        box->setCurrentIndex(std::max(0, int(box->findText(chosen))));
    }
}

void FindingsWindow::applyFilters()
{
    m_shown.clear();
    for (int i = 0; i < m_lines.size(); ++i) {
        bool pass = true;
        for (int f = 0; f < m_filters.size() && pass; ++f)
            pass = m_filters.at(f)->currentIndex() <= 0
                   || m_lines.at(i).cells.at(m_setup.filterColumns.at(f)) == m_filters.at(f)->currentText();
        if (pass)
            m_shown.append(i);
    }
    m_grid->clearContents();
    m_grid->setRowCount(int(m_shown.size()));
    for (int r = 0; r < m_shown.size(); ++r) {
        const QStringList &cells = m_lines.at(m_shown.at(r)).cells;
        for (int c = 0; c < cells.size(); ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
    m_summary->setText(m_setup.summary(int(m_shown.size()), int(m_lines.size())));
}

void FindingsWindow::openLine(int gridRow)
{
    if (gridRow < 0 || gridRow >= m_shown.size())
        return;
    const FindingLine line = m_lines.at(m_shown.at(gridRow));
    TFrmInput1::enter(this, m_context, {EntryMode::Edit, line.projectName, line.enterpriseName}, line.focusColumn);
    reload(); // the form may have saved the project: list what holds now
}

void FindingsWindow::saveShown()
{
    const QString path = FileDialogs::current().saveFileName(this, SaveTitle.arg(m_setup.caption),
                                                             QDir(m_context.locations.dataDir).filePath(m_setup.defaultFileName),
                                                             texts::WorkbookFilter, u"xlsx"_s);
    if (path.isEmpty())
        return;
    if (guarded(this, [&] { m_setup.save(path, m_shown); }))
        Prompter::current().message(this, texts::Hint, m_setup.savedMessage.arg(path), Prompter::Icon::Information);
}

} // namespace granwise
