#include "ValidateAllWindow.h"

#include "ProjectForm.h"
#include "projects/ValidateAllTexts.h"
#include "store/CommonTexts.h"
#include "ui/ErrorBox.h"
#include "ui/WindowChrome.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

constexpr int kRowHeight = 30;

} // namespace

TFrmCheckAll::TFrmCheckAll(const AppContext &context, ValidateAllResult result, QWidget *parent)
    : QDialog(parent), m_context(context), m_result(std::move(result))
{
    setObjectName(u"TFrmCheckAll"_s);
    setWindowTitle(texts::CheckAllCaption);
    buildWindow();
    showResult();
}

void TFrmCheckAll::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(u"Label1"_s);
    layout->addWidget(m_summary);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(u"AdvStringGrid1"_s);
    chrome::setUpRowList(m_grid, texts::CheckAllHeadings, {60, 260, 260, 50, 520});
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    layout->addWidget(m_grid, 1);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { AdvStringGrid1DblClick(row); });

    QPushButton *close = chrome::button(u"BitBtn1"_s, texts::Back, this);
    layout->addLayout(chrome::buttonBar({close}, chrome::Align::Right));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(1200, 600);
}

void TFrmCheckAll::showResult()
{
    m_summary->setText(validateAllSummary(m_result) + u"  "_s + texts::CheckAllHint);
    m_grid->clearContents();
    m_grid->setRowCount(int(m_result.failures.size()));
    for (int r = 0; r < m_result.failures.size(); ++r) {
        const FailedProject &project = m_result.failures.at(r);
        const QStringList cells{QString::number(r + 1), project.enterpriseName, project.projectName,
                                ruleText(project.failure), project.failure.message};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setTextAlignment((c == 0 || c == 3 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
}

void TFrmCheckAll::AdvStringGrid1DblClick(int row)
{
    if (row < 0 || row >= m_result.failures.size())
        return;
    const FailedProject project = m_result.failures.at(row);
    TFrmInput1::enter(this, m_context, {EntryMode::Edit, project.projectName, project.enterpriseName}, project.failure.focusColumn);
    // The form may have saved the project (or anything else): the list tells what fails now.
    guarded(this, [this] { m_result = validateAll(m_context.databasePath); });
    showResult();
    if (row < m_grid->rowCount())
        m_grid->selectRow(row);
}

} // namespace granwise
