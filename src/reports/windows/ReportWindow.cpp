#include "ReportWindow.h"

#include "FrozenHeadGrid.h"
#include "GridTextFit.h"
#include "reports/frame/ProjectRegions.h"
#include "ReportChartView.h"
#include "reports/frame/ReportPrinter.h"
#include "reports/frame/ReportSave.h"
#include "reports/frame/ReportTexts.h"
#include "store/Clock.h"
#include "store/CommonTexts.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/PagePrinter.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QColor headerColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Highlight);
}

const QColor Yellow(Qt::yellow);
const QColor White(Qt::white);
const QColor Attention(255, 204, 204); // marked data rows

} // namespace

ReportWindow::ReportWindow(const ReportDefinition &definition, const AppContext &context, QWidget *parent)
    : QDialog(parent), m_locations(context.locations), m_session(definition, context.databasePath)
{
    setObjectName(definition.className);
    setModal(true);
    setWindowState(Qt::WindowMaximized);
    buildControls();
    FormCreate();
}

void ReportWindow::buildControls()
{
    const bool selectable = definition().kind == WindowKind::Selectable;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    connect(chrome::backMenu(this, layout, u"N2"_s), &QAction::triggered, this, &QDialog::close);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFixedHeight(1);
    layout->addWidget(line);

    auto *panel = new QWidget(this);
    panel->setObjectName(u"Panel1"_s);
    panel->setFixedHeight(41);
    panel->setAutoFillBackground(true);
    QPalette panelPalette = panel->palette();
    panelPalette.setColor(QPalette::Window, QColor(64, 64, 64));
    panel->setPalette(panelPalette);
    auto *tools = new QHBoxLayout(panel);
    tools->setContentsMargins(8, 4, 8, 4);

    m_saveButton = new QPushButton(texts::SaveSheet, panel);
    m_saveButton->setObjectName(u"BitBtn1"_s);
    m_closeButton = new QPushButton(texts::Close, panel);
    m_closeButton->setObjectName(u"BitBtn2"_s);
    m_printButton = new QPushButton(texts::Print, panel);
    m_printButton->setObjectName(u"BitBtnPrint"_s);
    m_pdfButton = new QPushButton(texts::ExportPdf, panel);
    m_pdfButton->setObjectName(u"BitBtnPdf"_s);
    tools->addWidget(m_saveButton);
    tools->addWidget(m_printButton);
    tools->addWidget(m_pdfButton);
    tools->addWidget(m_closeButton);
    connect(m_printButton, &QPushButton::clicked, this, [this] { BitBtnPrintClick(); });
    connect(m_pdfButton, &QPushButton::clicked, this, [this] { BitBtnPdfClick(); });
    connect(m_saveButton, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);

    m_titleBox = new QComboBox(panel);
    m_titleBox->setObjectName(u"ComboBox1"_s);
    m_titleBox->hide();

    if (selectable) {
        auto caption = [panel](const QString &text, const QString &name) {
            auto *label = new QLabel(text, panel);
            label->setObjectName(name);
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, Qt::yellow);
            label->setPalette(p);
            return label;
        };
        tools->addSpacing(24);
        tools->addWidget(caption(texts::ProvinceLabel, u"Label1"_s));
        m_provinceBox = new QComboBox(panel);
        m_provinceBox->setObjectName(u"ComboBox2"_s);
        m_provinceBox->setEditable(true);
        m_provinceBox->setInsertPolicy(QComboBox::NoInsert);
        m_provinceBox->setMinimumWidth(140);
        tools->addWidget(m_provinceBox);
        tools->addWidget(caption(texts::PrefectureLabel, u"Label2"_s));
        m_prefectureBox = new QComboBox(panel);
        m_prefectureBox->setObjectName(u"ComboBox3"_s);
        m_prefectureBox->setEditable(true);
        m_prefectureBox->setInsertPolicy(QComboBox::NoInsert);
        m_prefectureBox->setMinimumWidth(140);
        tools->addWidget(m_prefectureBox);
        m_computeButton = new QPushButton(texts::Compute, panel);
        m_computeButton->setObjectName(u"BitBtn3"_s);
        tools->addWidget(m_computeButton);
        connect(m_provinceBox, &QComboBox::currentTextChanged, this, [this] { ComboBox2Change(); });
        connect(m_computeButton, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    }
    if (chartKindOf(definition()) != ChartKind::None) {
        m_chartButton = new QPushButton(u"图表"_s, panel);
        m_chartButton->setObjectName(u"BitBtnChart"_s);
        m_chartButton->setCheckable(true);
        tools->addSpacing(24);
        tools->addWidget(m_chartButton);
        connect(m_chartButton, &QPushButton::clicked, this, [this] { BitBtnChartClick(); });
    }
    tools->addStretch(1);
    layout->addWidget(panel);

    m_grid = new FrozenHeadGrid(this);
    m_grid->setObjectName(u"AdvStringGrid1"_s);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setWordWrap(true);
    m_grid->horizontalHeader()->setMinimumSectionSize(4);
    m_grid->horizontalHeader()->setFixedHeight(6);
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->verticalHeader()->setFixedWidth(6);
    m_grid->verticalHeader()->setSectionsMovable(true);
    m_grid->verticalHeader()->setMinimumSectionSize(4);
    const QColor lines = headerColour(this);
    m_grid->setStyleSheet(u"QTableView { gridline-color: %1; }"_s.arg(lines.name())); // the heads too
    QPalette gridPalette = m_grid->palette();
    gridPalette.setColor(QPalette::Highlight, Yellow);
    gridPalette.setColor(QPalette::HighlightedText, Qt::black);
    m_grid->setPalette(gridPalette);
    // The chart stands beside the grid, hidden until "图表" shows it.
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(u"Splitter1"_s);
    split->addWidget(m_grid);
    if (m_chartButton) {
        m_chart = new ReportChartView(split);
        m_chart->hide();
        split->addWidget(m_chart);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 2);
    }
    layout->addWidget(split, 1);
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { highlightRow(row, true); });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int, int column) {
        // A click on a figure column charts that column.
        if (column >= 1 && column != m_chartColumn) {
            m_chartColumn = column;
            refreshChart();
        }
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { highlightRow(row, false); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { placeUnitCaption(); });
    connect(m_grid->verticalHeader(), &QHeaderView::sectionResized, this, [this] { placeUnitCaption(); });
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeUnitCaption(); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeUnitCaption(); });
    m_grid->viewport()->installEventFilter(this);
    m_grid->head()->viewport()->installEventFilter(this);

    // The caption and the patches stand over the heads, which stay in place.
    m_unitCaption = new QLabel(definition().unitCaption, m_grid->head()->viewport());
    m_unitCaption->setObjectName(u"Label3"_s);
    m_unitCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_unitCaption->setVisible(!definition().unitCaption.isEmpty());
    for (int i = 0; i < definition().headerPatches.size(); ++i) {
        auto *patch = new QWidget(m_grid->head()->viewport());
        patch->setObjectName(u"Patch%1"_s.arg(i + 1));
        // Painted by style sheet: under the grid's style sheet a palette colour is not drawn.
        patch->setAttribute(Qt::WA_StyledBackground);
        patch->setStyleSheet(u"background-color: %1;"_s.arg(lines.name()));
        patch->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_patches << patch;
    }
}

void ReportWindow::FormCreate()
{
    const ReportDefinition &def = definition();
    m_grid->setColumnCount(def.columnCount);
    for (int c = 0; c < def.columnCount && c < def.columnWidths.size(); ++c)
        m_grid->setColumnWidth(c, def.columnWidths.at(c));
    guarded(this, [this] {
        m_session.open();
        if (m_provinceBox) {
            const QSignalBlocker block(m_provinceBox);
            m_provinceBox->addItems(provincesPresent(m_session.databasePath()));
            m_provinceBox->setCurrentIndex(-1);
            m_provinceBox->setEditText(QString());
        }
    });
    showGrid();
}

void ReportWindow::showEvent(QShowEvent *event)
{
    setWindowTitle(definition().windowCaption());
    QDialog::showEvent(event);
    placeUnitCaption();
}

bool ReportWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_grid->viewport() || watched == m_grid->head()->viewport()) &&
        event->type() == QEvent::MouseButtonRelease)
        placeUnitCaption(); // AdvStringGrid1MouseUp
    return QDialog::eventFilter(watched, event);
}

void ReportWindow::showGrid()
{
    const ReportGrid &grid = m_session.grid();
    const ReportDefinition &def = definition();
    const QSignalBlocker block(m_grid);
    m_grid->clearSpans();
    m_grid->clearContents();
    m_grid->setRowCount(grid.rowCount());
    m_grid->setColumnCount(grid.columnCount());
    // The thin headers are handles for resizing rows and columns only: no numbers to clip.
    m_grid->setHorizontalHeaderLabels(QStringList(grid.columnCount(), QString()));
    m_grid->setVerticalHeaderLabels(QStringList(grid.rowCount(), QString()));

    const QColor heads = headerColour(this);
    QFont titleFont = font();
    titleFont.setPointSize(14);
    QFont dataFont(u"宋体"_s);
    dataFont.setPixelSize(14);
    for (int r = 0; r < grid.rowCount(); ++r) {
        const RowKind kind = grid.rowKind(r);
        for (int c = 0; c < grid.columnCount(); ++c) {
            auto *item = new QTableWidgetItem(grid.text(r, c));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            // AdvStringGrid1GetAlignment: figures and the heads centred, labels on the left.
            const Qt::Alignment horizontal = (c > 0 || r < 2) ? Qt::AlignHCenter : Qt::AlignLeft;
            item->setTextAlignment(horizontal | Qt::AlignVCenter);
            if (kind == RowKind::Title) {
                item->setBackground(White);
                item->setForeground(Qt::black);
                item->setFont(titleFont);
            } else if (kind == RowKind::Header) {
                item->setBackground(heads);
                item->setForeground(Qt::white);
            } else {
                item->setBackground(grid.isMarked(r) ? Attention : White);
                item->setForeground(Qt::black);
                item->setFont(dataFont);
            }
            m_grid->setItem(r, c, item);
        }
        const int height = r == 0 ? def.titleRowHeight : r < grid.firstDataRow() ? def.headerRowHeight : def.dataRowHeight;
        m_grid->setRowHeight(r, height);
    }
    for (const CellSpan &span : grid.spans())
        m_grid->setSpan(span.row, span.column, span.rowSpan, span.columnSpan);
    // Sums at province or national scale run longer than the designed columns.
    fitGridToText(*m_grid, grid.firstDataRow());
    m_grid->setFrozenRows(grid.firstDataRow());
    m_highlightedRow = 0;
    placeUnitCaption();
    refreshChart();
}

void ReportWindow::paintRow(int row, const QColor &color)
{
    for (int c = 0; c < m_grid->columnCount(); ++c)
        if (QTableWidgetItem *item = m_grid->item(row, c))
            item->setBackground(color);
}

void ReportWindow::highlightRow(int row, bool byClick)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    const int first = m_session.grid().firstDataRow();
    if (m_highlightedRow >= first && m_highlightedRow < m_grid->rowCount())
        paintRow(m_highlightedRow, m_session.grid().isMarked(m_highlightedRow) ? Attention : White);
    if (row >= first)
        paintRow(row, Yellow);
    m_highlightedRow = row;
    QPalette p = m_grid->palette();
    p.setColor(QPalette::Highlight, byClick && row < first ? White : Yellow);
    m_grid->setPalette(p);
}

void ReportWindow::placeUnitCaption()
{
    if (!m_grid || m_grid->columnCount() == 0)
        return;
    const ReportDefinition &def = definition();
    const int column = def.unitCaptionPlace.column < 0 ? m_grid->columnCount() - 1 : def.unitCaptionPlace.column;
    const QTableView *heads = m_grid->head();
    m_unitCaption->adjustSize();
    m_unitCaption->move(heads->columnViewportPosition(column) + def.unitCaptionPlace.left,
                        heads->rowViewportPosition(0) + def.unitCaptionPlace.top);
    for (int i = 0; i < m_patches.size() && m_grid->rowCount() > 1; ++i) {
        const int boundary = def.headerPatches.at(i) + 1;
        if (boundary >= m_grid->columnCount())
            continue;
        m_patches[i]->setGeometry(heads->columnViewportPosition(boundary) - 8, heads->rowViewportPosition(1) + 1, 17,
                                  heads->rowHeight(1) - 1);
        m_patches[i]->raise();
    }
}

void ReportWindow::ComboBox2Change()
{
    if (!m_prefectureBox)
        return;
    const QSignalBlocker block(m_prefectureBox);
    m_prefectureBox->clear();
    m_prefectureBox->setEditText(QString());
    fillPrefectureBox();
}

void ReportWindow::fillPrefectureBox()
{
    guarded(this, [this] {
        m_prefectureBox->addItems(prefecturesOf(m_session.databasePath(), m_provinceBox->currentText()));
        m_prefectureBox->setCurrentIndex(-1);
        m_prefectureBox->setEditText(QString());
    });
}

void ReportWindow::BitBtn3Click()
{
    const QString province = m_provinceBox ? m_provinceBox->currentText() : QString();
    const QString prefecture = m_prefectureBox ? m_prefectureBox->currentText() : QString();
    ReportSession::Computed computed = ReportSession::Computed::Nothing;
    guarded(this, [&] { computed = m_session.compute(province, prefecture); });
    if (computed == ReportSession::Computed::Nothing)
        return;
    showGrid();
    if (computed != ReportSession::Computed::WholeTable && m_provinceBox) {
        m_provinceBox->setCurrentIndex(-1);
        m_provinceBox->setEditText(QString());
        const QSignalBlocker block(m_prefectureBox);
        m_prefectureBox->clear();
        m_prefectureBox->setEditText(QString());
    }
}

void ReportWindow::BitBtn1Click()
{
    guarded(this, [this] {
        const ReportDefinition &def = definition();
        QVector<SheetCell> extra;
        if (def.save.extraCells)
            extra = def.save.extraCells(m_session.databasePath());
        const QString path = FileDialogs::current().saveFileName(
            this, texts::SaveTableTitle, proposedFileName(def, Clock::current().now().date()), texts::WorkbookFilter, texts::WorkbookSuffix);
        if (path.isEmpty())
            return;
        writeReportWorkbook(m_locations, def, m_session.grid(), path, extra);
        inform(this, texts::Hint, texts::SaveSucceeded);
    });
}

void ReportWindow::BitBtnPrintClick()
{
    guarded(this, [this] {
        const ReportPrinter printer(definition(), m_session.grid(), currentPageFooter(m_session.databasePath()));
        printWithPreview(this, m_session.grid().title(), printer.pageLayout(),
                         [&](QPagedPaintDevice &device) { printer.print(device); });
    });
}

void ReportWindow::BitBtnPdfClick()
{
    guarded(this, [this] {
        const ReportPrinter printer(definition(), m_session.grid(), currentPageFooter(m_session.databasePath()));
        exportPdf(this, proposedFileName(definition(), Clock::current().now().date()), m_session.grid().title(),
                  printer.pageLayout(), [&](QPagedPaintDevice &device) { printer.print(device); });
    });
}

void ReportWindow::BitBtnChartClick()
{
    if (!m_chart)
        return;
    m_chart->setVisible(m_chart->isHidden());
    m_chartButton->setChecked(!m_chart->isHidden());
    refreshChart();
}

void ReportWindow::refreshChart()
{
    if (!m_chart || m_chart->isHidden())
        return;
    m_chart->showChart(reportChartData(definition(), m_session.grid(), m_chartColumn));
}

} // namespace granwise
