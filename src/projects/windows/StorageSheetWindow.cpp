#include "StorageSheetWindow.h"

#include "ProjectForm.h"
#include "projects/ProjectSheetTexts.h"
#include "projects/ProjectTexts.h"
#include "projects/RegionLists.h"
#include "projects/StorageSheetTexts.h"
#include "store/Clock.h"
#include "store/CommonTexts.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/PagePrinter.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The filter boxes, left to right, in the order of storageFilterColumns().
constexpr const char16_t *kFilterCaptions[] = {u"省", u"市", u"县", u"隶属关系", u"项目类别", u"项目单位性质",
                                               u"建设性质", u"项目进展"};
constexpr int kProvince = 0;
constexpr int kPrefecture = 1;
constexpr int kCounty = 2;

// Refills a box's list; its text stays unless `clearText`.
void replaceItems(QComboBox *box, const QStringList &items, bool clearText)
{
    const QSignalBlocker blocker(box);
    const QString text = clearText ? QString() : box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

} // namespace

TFrmInput_Tj::TFrmInput_Tj(const AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(u"TFrmInput_Tj"_s);
    setWindowTitle(texts::StorageCaption);
    buildWindow();
    FormCreate();
}

void TFrmInput_Tj::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    connect(chrome::backMenu(this, layout, u"N2"_s), &QAction::triggered, this, &QDialog::reject);

    QPushButton *save = chrome::button(u"BitBtn2"_s, u"保存"_s, this);
    save->hide(); // this sheet never writes to the database
    QPushButton *saveSheet = chrome::button(u"BitBtn6"_s, texts::SaveSheet, this);
    QPushButton *print = chrome::button(u"BitBtnPrint"_s, texts::Print, this);
    QPushButton *pdf = chrome::button(u"BitBtnPdf"_s, texts::ExportPdf, this);
    QPushButton *close = chrome::button(u"BitBtn5"_s, texts::Back, this);
    layout->addLayout(chrome::buttonBar({save, saveSheet, print, pdf, close}, chrome::Align::Left));
    connect(saveSheet, &QPushButton::clicked, this, &TFrmInput_Tj::BitBtn6Click);
    connect(print, &QPushButton::clicked, this, &TFrmInput_Tj::BitBtnPrintClick);
    connect(pdf, &QPushButton::clicked, this, &TFrmInput_Tj::BitBtnPdfClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(u"ScrollBox1"_s);
    scroll->setWidgetResizable(true);
    auto *page = new QWidget;
    m_page = page;
    auto *pageLayout = new QVBoxLayout(page);

    m_title = new QLabel(texts::StorageCaption, page);
    m_title->setObjectName(u"Label1"_s);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 8);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setCursor(Qt::PointingHandCursor);
    m_title->installEventFilter(this);
    pageLayout->addWidget(m_title);
    pageLayout->addWidget(buildFilters());
    pageLayout->addWidget(buildCountLines());

    const FigureFieldMaker makeField = [this](const QString &name, bool derived, QWidget *parent) {
        QLineEdit *field = styledFigureField(name, derived, parent);
        m_figures.insert(name, field);
        return field;
    };
    pageLayout->addWidget(investmentFigureTable(makeField));
    pageLayout->addWidget(scaleFigureTable(makeField));
    pageLayout->addStretch();
    scroll->setWidget(page);
    layout->addWidget(scroll, 1);
    resize(1200, 800);
}

QWidget *TFrmInput_Tj::buildFilters()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    const QStringList &columns = storageFilterColumns();
    for (int i = 0; i < columns.size(); ++i) {
        auto *combo = new QComboBox(box);
        combo->setObjectName(u"ComboBox0%1"_s.arg(i + 1));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMinimumContentsLength(6);
        if (i > kCounty)
            combo->addItems(findProjectColumn(columns.at(i))->choices);
        combo->setCurrentIndex(-1);
        row->addWidget(new QLabel(QString::fromUtf16(kFilterCaptions[i]), box));
        row->addWidget(combo);
        m_filters.append(combo);
    }
    QPushButton *compute = chrome::button(u"BitBtn1"_s, texts::StorageCompute, box);
    row->addWidget(compute);
    row->addStretch();
    connect(compute, &QPushButton::clicked, this, &TFrmInput_Tj::BitBtn1Click);
    connect(m_filters.at(kProvince), &QComboBox::currentTextChanged, this, &TFrmInput_Tj::ComboBox2Change);
    connect(m_filters.at(kPrefecture), &QComboBox::currentTextChanged, this, &TFrmInput_Tj::ComboBox3Change);
    return box;
}

QWidget *TFrmInput_Tj::buildCountLines()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    const auto line = [&](const QString &name) {
        auto *label = new QLabel(box);
        label->setObjectName(name);
        m_lines.insert(name, label);
        return label;
    };
    // Lines sharing a row of the page share a cell of the saved sheet.
    const QVector<QStringList> rows{{u"Label3"_s},
                                    {u"Label4"_s},
                                    {u"StaticText7"_s, u"StaticText8"_s},
                                    {u"StaticText9"_s, NewStartsLabel},
                                    {LandLabel}};
    for (const QStringList &names : rows) {
        auto *row = new QHBoxLayout;
        for (const QString &name : names)
            row->addWidget(line(name));
        row->addStretch();
        layout->addLayout(row);
    }
    return box;
}

void TFrmInput_Tj::FormCreate()
{
    display(designStorageSheet());
    guarded(this, [&] {
        Connection connection(m_context.databasePath);
        replaceItems(m_filters.at(kProvince), provinceNames(connection), true);
        if (const auto task = readTaskInfo(connection))
            m_year = task->year.trimmed();
    });
}

void TFrmInput_Tj::display(const StorageSheet &sheet)
{
    for (auto it = m_figures.cbegin(); it != m_figures.cend(); ++it)
        it.value()->setText(sheet.figures.value(it.key()));
    fitFigureFields(m_figures.values());
    for (auto it = m_lines.cbegin(); it != m_lines.cend(); ++it)
        it.value()->setText(sheet.lines.value(it.key()));
}

StorageSheet TFrmInput_Tj::shown() const
{
    StorageSheet sheet;
    for (auto it = m_figures.cbegin(); it != m_figures.cend(); ++it)
        sheet.figures.insert(it.key(), it.value()->text());
    for (auto it = m_lines.cbegin(); it != m_lines.cend(); ++it)
        sheet.lines.insert(it.key(), it.value()->text());
    return sheet;
}

void TFrmInput_Tj::ComboBox2Change()
{
    guarded(this, [&] {
        Connection connection(m_context.databasePath);
        replaceItems(m_filters.at(kCounty), {}, true);
        replaceItems(m_filters.at(kPrefecture), prefectureNames(connection, m_filters.at(kProvince)->currentText()),
                     true);
    });
}

void TFrmInput_Tj::ComboBox3Change()
{
    guarded(this, [&] {
        Connection connection(m_context.databasePath);
        // The county text stays, even when it belongs to another prefecture.
        replaceItems(m_filters.at(kCounty),
                     countyNames(connection, m_filters.at(kProvince)->currentText(),
                                 m_filters.at(kPrefecture)->currentText()),
                     false);
    });
}

void TFrmInput_Tj::BitBtn1Click()
{
    QVector<QPair<QString, QString>> filters;
    for (int i = 0; i < m_filters.size(); ++i)
        filters.append({storageFilterColumns().at(i), m_filters.at(i)->currentText()});
    guarded(this, [&] {
        Connection connection(m_context.databasePath);
        display(computeStorageSheet(connection, filters));
    });
}

void TFrmInput_Tj::BitBtn6Click()
{
    guarded(this, [&] {
        const QString path = FileDialogs::current().saveFileName(
            this, texts::SaveStorageSheetTitle, proposedSheetFileName(texts::StorageSheetName, Clock::current().now().date()), texts::WorkbookFilter,
            texts::SheetSuffix);
        if (path.isEmpty())
            return;
        writeSheetWorkbook(sheetTemplatePath(m_context.locations, texts::StorageSheetName), path, storageSheetEntries(shown(), m_year));
        inform(this, texts::Hint, texts::SaveSucceeded);
    });
}

void TFrmInput_Tj::BitBtnPrintClick()
{
    guarded(this, [this] { printWidgetWithPreview(this, *m_page, texts::StorageCaption, m_context.databasePath); });
}

void TFrmInput_Tj::BitBtnPdfClick()
{
    guarded(this, [this] {
        exportWidgetPdf(this, *m_page, proposedSheetFileName(texts::StorageSheetName, Clock::current().now().date()),
                        texts::StorageCaption, m_context.databasePath);
    });
}

bool TFrmInput_Tj::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_title && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        BitBtn1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void openStorageFacilitySheet(QWidget *parent, const AppContext &context)
{
    TFrmInput_Tj sheet(context, parent);
    sheet.setWindowState(sheet.windowState() | Qt::WindowMaximized);
    sheet.exec();
}

} // namespace granwise
