#include "ProjectListWindow.h"

#include "ProjectForm.h"
#include "QueryDefinitionWindow.h"
#include "projects/ProjectListModel.h"
#include "projects/ProjectTexts.h"
#include "projects/ValidateAllTexts.h"
#include "ValidateAllWindow.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <numeric>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The grid: reports the row a key press moved to (a mouse click is reported by the view).
class ProjectGrid : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void(int row)> rowChosenByKey;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const QModelIndex before = currentIndex();
        QTableView::keyPressEvent(event);
        const QModelIndex after = currentIndex();
        if (after.isValid() && after.row() != before.row() && rowChosenByKey)
            rowChosenByKey(after.row());
    }
};

// Width of each grid column; the enterprise and project names are the widest.
constexpr int kColumnWidths[kListColumns] = {50, 90, 130, 260, 260, 130, 110, 80, 80, 50};
constexpr int kRowHeight = 30;

struct FilterInput {
    const char16_t *label;
    const char16_t *control;
    const char16_t *column;
};
// The filter panel, left to right; the filter is built in the order of filterOrder below.
constexpr FilterInput kFilterInputs[] = {
    {u"隶属关系：", u"ComboBox2", u"隶属关系"}, {u"省：", u"ComboBox1", u"省"},
    {u"项目类别：", u"ComboBox3", u"项目类别"}, {u"项目进展：", u"ComboBox4", u"项目进展"},
    {u"项目单位性质：", u"ComboBox5", u"项目单位性质"}, {u"建设性质：", u"ComboBox6", u"建设性质"},
    {u"项目名称：", u"Edit1", u"项目名称"},
};
constexpr const char16_t *kFilterOrder[] = {u"省", u"隶属关系", u"项目类别", u"项目进展",
                                             u"项目单位性质", u"建设性质", u"项目名称"};

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QString inputText(QWidget *input)
{
    if (auto *combo = qobject_cast<QComboBox *>(input))
        return combo->currentText();
    return static_cast<QLineEdit *>(input)->text();
}

void clearInput(QWidget *input)
{
    if (auto *combo = qobject_cast<QComboBox *>(input)) {
        combo->setCurrentIndex(-1);
        combo->clearEditText();
    } else {
        static_cast<QLineEdit *>(input)->clear();
    }
}

} // namespace

TFrmList1::TFrmList1(const AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(u"TFrmList1"_s);
    setWindowTitle(texts::ListCaption);
    buildWindow();
    FormCreate();
}

TFrmList1::~TFrmList1() = default;

void TFrmList1::buildWindow()
{
    auto *layout = new QVBoxLayout(this);

    auto *menu = new QMenuBar(this);
    QMenu *back = menu->addMenu(u"返回"_s);
    back->setObjectName(u"N1"_s);
    QAction *backAction = back->addAction(u"返回"_s);
    backAction->setObjectName(u"N3"_s);
    connect(backAction, &QAction::triggered, this, &QDialog::reject);
    layout->setMenuBar(menu);

    auto *buttons = new QHBoxLayout;
    QPushButton *add = button(u"BitBtn4"_s, u"添加"_s, this);
    QPushButton *edit = button(u"BitBtn1"_s, u"修改"_s, this);
    QPushButton *remove = button(u"BitBtn3"_s, u"删除"_s, this);
    QPushButton *checkAll = button(u"BitBtn6"_s, texts::CheckAll, this);
    QPushButton *close = button(u"BitBtn5"_s, u"返回"_s, this);
    for (QPushButton *b : {add, edit, remove, checkAll, close})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &TFrmList1::BitBtn4Click);
    connect(edit, &QPushButton::clicked, this, &TFrmList1::BitBtn1Click);
    connect(remove, &QPushButton::clicked, this, &TFrmList1::BitBtn3Click);
    connect(checkAll, &QPushButton::clicked, this, &TFrmList1::BitBtn6Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *filters = new QHBoxLayout;
    QHash<QString, QWidget *> inputs;
    for (const FilterInput &f : kFilterInputs) {
        const QString column = QString::fromUtf16(f.column);
        QWidget *input = nullptr;
        if (column == col::ProjectName) {
            input = new QLineEdit(this);
        } else {
            auto *combo = new QComboBox(this);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMinimumContentsLength(6);
            if (const ProjectColumn *c = findProjectColumn(column))
                combo->addItems(c->choices);
            combo->setCurrentIndex(-1);
            input = combo;
        }
        input->setObjectName(QString::fromUtf16(f.control));
        filters->addWidget(new QLabel(QString::fromUtf16(f.label), this));
        filters->addWidget(input);
        inputs.insert(column, input);
    }
    for (const char16_t *column : kFilterOrder)
        m_filterInputs.append({QString::fromUtf16(column), inputs.value(QString::fromUtf16(column))});
    m_province = static_cast<QComboBox *>(inputs.value(col::Province));
    QPushButton *query = button(u"BitBtn2"_s, u"查询"_s, this);
    QPushButton *define = button(u"BitBtndefine"_s, u"自定义查询"_s, this);
    filters->addWidget(query);
    filters->addWidget(define);
    filters->addStretch();
    layout->addLayout(filters);
    connect(query, &QPushButton::clicked, this, &TFrmList1::BitBtn2Click);
    connect(define, &QPushButton::clicked, this, &TFrmList1::BitBtndefineClick);

    auto *grid = new ProjectGrid(this);
    grid->setObjectName(u"AdvStringGrid1"_s);
    m_grid = grid;
    m_model = new ProjectListModel(this);
    grid->setModel(m_model);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->horizontalHeader()->setFixedHeight(kRowHeight);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setSortIndicatorShown(false);
    for (int c = 0; c < kListColumns; ++c)
        grid->setColumnWidth(c, kColumnWidths[c]);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::HighlightedText, Qt::black);
    grid->setPalette(palette);
    layout->addWidget(grid, 1);

    grid->rowChosenByKey = [this](int row) { AdvStringGrid1ClickCell(row + 1); };
    connect(grid, &QTableView::clicked, this, [this](const QModelIndex &index) {
        AdvStringGrid1ClickCell(index.row() + 1);
    });
    connect(grid, &QTableView::doubleClicked, this, [this] { BitBtn1Click(); });
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        AdvStringGrid1ClickCell(0);
        sortByHeading(column);
    });
    // Wide enough for every column, 校验 included, beside the grid's frame and scroll bar.
    const int columns = std::accumulate(std::begin(kColumnWidths), std::end(kColumnWidths), 0);
    resize(columns + 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width() +
               layout->contentsMargins().left() + layout->contentsMargins().right(),
           700);
}

void TFrmList1::FormCreate()
{
    for (const auto &input : std::as_const(m_filterInputs))
        clearInput(input.second);
    m_province->clear();
    guarded(this, [&] {
        Connection connection(m_context.databasePath);
        m_province->addItems(provincesPresent(connection));
        // Long names ("内蒙古自治区") show whole, in the box and in its list.
        int widest = 0;
        for (int i = 0; i < m_province->count(); ++i)
            widest = std::max(widest, m_province->fontMetrics().horizontalAdvance(m_province->itemText(i)));
        const int arrow = m_province->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_province);
        m_province->setMinimumWidth(widest + 2 * arrow + 8);
        m_province->setCurrentIndex(-1);
    });
    ini();
}

bool TFrmList1::ini(const ListFilter &filter)
{
    return guarded(this, [&] {
        QVector<ProjectListRow> rows;
        {
            Connection connection(m_context.databasePath);
            rows = fetchProjectList(connection, filter);
        }
        m_model->setRows(std::move(rows));
        m_sortColumn = -1;
        m_grid->horizontalHeader()->setSortIndicatorShown(false);
        m_model->setHighlightedRow(m_currentRow >= 1 && m_currentRow <= m_model->rowCount() ? m_currentRow : 0);
    });
}

bool TFrmList1::applyCondition(const QString &condition, const QVariantList &values)
{
    return ini(conditionFilter(condition, values));
}

void TFrmList1::AdvStringGrid1ClickCell(int gridRow)
{
    m_model->setHighlightedRow(gridRow);
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Highlight, gridRow != 0 ? QColor(Qt::yellow) : QColor(Qt::white));
    m_grid->setPalette(palette);
    m_currentRow = gridRow;
}

void TFrmList1::sortByHeading(int column)
{
    if (m_model->projectCount() < 2)
        return;
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                                : Qt::AscendingOrder;
    m_sortColumn = column;
    m_grid->clearSelection();
    m_model->sort(column, m_sortOrder);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, m_sortOrder);
}

void TFrmList1::BitBtn4Click()
{
    openEntryForm({EntryMode::Add, {}, {}});
}

void TFrmList1::BitBtn1Click()
{
    openEntryForm({EntryMode::Edit, m_model->cell(m_currentRow, kProjectNameColumn),
                   m_model->cell(m_currentRow, kEnterpriseNameColumn)});
}

void TFrmList1::openEntryForm(const SaveTarget &target)
{
    const EntryFormResult result = TFrmInput1::enter(this, m_context, target);
    if (!result.returned) {
        reject();
        return;
    }
    FormCreate();
    if (result.saved)
        selectProject(result.saved->projectName, result.saved->enterpriseName);
}

void TFrmList1::selectProject(const QString &projectName, const QString &enterpriseName)
{
    for (int row = 1; row <= m_model->projectCount(); ++row) {
        if (m_model->cell(row, kProjectNameColumn) == projectName &&
            m_model->cell(row, kEnterpriseNameColumn) == enterpriseName) {
            m_grid->selectRow(row - 1);
            AdvStringGrid1ClickCell(row);
            return;
        }
    }
}

void TFrmList1::BitBtn3Click()
{
    const int row = m_currentRow;
    // The heading row holds no project, whatever its texts say.
    const QString projectName = row == 0 ? QString() : m_model->cell(row, kProjectNameColumn);
    const QString enterpriseName = m_model->cell(row, kEnterpriseNameColumn);
    Prompter &prompter = Prompter::current();
    if (projectName.isEmpty()) {
        prompter.message(this, texts::Hint, texts::ChooseRowToDelete, Prompter::Icon::Information);
        return;
    }
    if (prompter.ask(this, texts::Hint, texts::ConfirmDelete, Prompter::Icon::Information,
                     Prompter::Buttons::OkCancel)
        != Prompter::Answer::Ok)
        return;
    const bool deleted = guarded(this, [&] {
        Connection connection(m_context.databasePath);
        deleteProject(connection, projectName, enterpriseName);
    });
    if (!deleted)
        return;
    prompter.message(this, texts::Hint, texts::Deleted, Prompter::Icon::Information);
    ini();
}

void TFrmList1::BitBtn2Click()
{
    QVector<QPair<QString, QString>> columnTexts;
    for (const auto &[column, input] : std::as_const(m_filterInputs))
        columnTexts.append({column, inputText(input)});
    ini(substringFilter(columnTexts));
    for (const auto &input : std::as_const(m_filterInputs))
        clearInput(input.second);
}

void TFrmList1::BitBtn6Click()
{
    std::optional<ValidateAllResult> result;
    if (!guarded(this, [&] { result = validateAll(m_context.databasePath); }))
        return;
    ini(); // the column "校验" shows the stored outcome
    if (result->failures.isEmpty()) {
        inform(this, texts::Hint, validateAllSummary(*result));
        return;
    }
    {
        TFrmCheckAll failures(m_context, std::move(*result), this);
        failures.exec();
    }
    ini(); // corrections made from the window of failures
}

void TFrmList1::BitBtndefineClick()
{
    TFrmDefine window(*this);
    window.exec();
}

} // namespace granwise
