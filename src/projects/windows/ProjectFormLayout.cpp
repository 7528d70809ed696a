// Building the entry form's page from the column catalogue.
#include "projects/FormFigures.h"
#include "ProjectForm.h"
#include "projects/ProjectSheetLayout.h"
#include "projects/ProjectTexts.h"
#include "store/ProjectColumns.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// One place on a line of the enterprise block: a column's caption or its control.
struct Place {
    bool caption;
    const char16_t *column;
};
constexpr Place label(const char16_t *column)
{
    return {true, column};
}
constexpr Place field(const char16_t *column)
{
    return {false, column};
}
const QVector<QVector<Place>> &enterpriseLines()
{
    static const QVector<QVector<Place>> lines{
        {label(u"企业代码"), field(u"企业代码")},
        {label(u"企业详细名称"), field(u"企业详细名称")},
        {label(u"企业详细地址"), field(u"省"), field(u"地市"), field(u"县"), field(u"企业详细地址")},
        {label(u"邮政编码"), field(u"邮政编码")},
        {label(u"隶属关系"), field(u"隶属关系"), label(u"公司"), field(u"公司"), label(u"分公司"), field(u"分公司"),
         label(u"年度"), field(u"年度")},
    };
    return lines;
}

constexpr int kNumberFieldWidth = 96;
const QColor kDerivedShade(153, 180, 209);

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    l->setWordWrap(true);
    return l;
}

QLabel *blockTitle(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    l->setFont(f);
    return l;
}

// "其中中央财政" is headed "其中" over "中央财政".
constexpr QStringView kOfWhich = u"其中";

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

void fitFigureFields(const QList<QLineEdit *> &fields)
{
    int width = kNumberFieldWidth;
    for (QLineEdit *field : fields) {
        QStyleOptionFrame option;
        option.initFrom(field);
        option.rect = field->rect();
        option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
        const QMargins margins = field->textMargins();
        // The line edit keeps 2 pixels beside its text on either side, and room for the cursor.
        const int text = field->fontMetrics().horizontalAdvance(field->text()) + 2 * 2 + 1 + margins.left() +
                         margins.right();
        const QSize needed = field->style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                             QSize(text, field->fontMetrics().height()), field);
        width = std::max(width, needed.width());
    }
    for (QLineEdit *field : fields)
        field->setFixedWidth(width);
}

QLineEdit *styledFigureField(const QString &objectName, bool derived, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = edit->font();
    font.setPointSize(12);
    edit->setFixedWidth(kNumberFieldWidth);
    if (derived) {
        font.setBold(true);
        edit->setEnabled(false);
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, kDerivedShade);
        p.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
        edit->setPalette(p);
    }
    edit->setFont(font);
    return edit;
}

QWidget *investmentFigureTable(const FigureFieldMaker &makeField)
{
    auto *box = new QWidget;
    auto *outer = new QVBoxLayout(box);
    outer->addWidget(blockTitle(u"投资情况（万元）"_s, box));
    auto *grid = new QGridLayout;
    grid->setSpacing(0);
    outer->addLayout(grid);

    const QStringList &parts = investmentParts();
    constexpr int kComposition = 3;
    constexpr int kFirstPartColumn = 2;
    grid->addWidget(heading(u"投资类别"_s, box), 0, 0, 3, 1);
    grid->addWidget(heading(u"投资合计"_s, box), 0, 1, 3, 1);
    grid->addWidget(heading(u"按构成分"_s, box), 0, kFirstPartColumn, 1, kComposition);
    grid->addWidget(heading(u"按投资来源分"_s, box), 0, kFirstPartColumn + kComposition, 1,
                    int(parts.size()) - kComposition);
    for (int p = 0; p < parts.size();) {
        const int column = kFirstPartColumn + p;
        if (!parts.at(p).startsWith(kOfWhich)) {
            grid->addWidget(heading(parts.at(p), box), 1, column, 2, 1);
            ++p;
            continue;
        }
        // A run of "of which" parts shares one "其中" heading.
        int run = 0;
        while (p + run < parts.size() && parts.at(p + run).startsWith(kOfWhich)) {
            grid->addWidget(heading(parts.at(p + run).mid(kOfWhich.size()), box), 2, column + run);
            ++run;
        }
        grid->addWidget(heading(kOfWhich.toString(), box), 1, column, 1, run);
        p += run;
    }
    for (int g = 0; g < investmentPrefixes().size(); ++g) {
        const int row = 3 + g;
        grid->addWidget(plainLabel(investmentRowCaptions().at(g), box), row, 0);
        grid->addWidget(makeField(investmentTotalControl(g), true, box), row, 1);
        for (int p = 0; p < parts.size(); ++p) {
            const ProjectColumn *c = findProjectColumn(investmentColumn(g, p));
            grid->addWidget(makeField(c->control, false, box), row, kFirstPartColumn + p);
        }
    }
    return box;
}

QWidget *scaleFigureTable(const FigureFieldMaker &makeField)
{
    auto *box = new QWidget;
    auto *outer = new QVBoxLayout(box);
    outer->addWidget(blockTitle(u"建设内容及规模"_s, box));
    auto *halves = new QHBoxLayout;
    outer->addLayout(halves);
    QGridLayout *half[2] = {};
    const QStringList headings{u"建设内容"_s, u"计量单位"_s, u"建设规模"_s, u"年度完成规模"_s};
    for (QGridLayout *&grid : half) {
        grid = new QGridLayout;
        grid->setHorizontalSpacing(6);
        halves->addLayout(grid);
        for (int c = 0; c < headings.size(); ++c)
            grid->addWidget(heading(headings.at(c), box), 0, c);
    }
    // Grid row 0 holds the headings; line n of a half is grid row n + 1.
    for (const ScaleTableLine &line : scaleTableLines()) {
        QGridLayout *grid = half[line.half];
        const int row = line.line + 1;
        if (!line.item) {
            grid->addWidget(plainLabel(line.heading, box), row, 0);
            continue;
        }
        const ScaleItem &item = *line.item;
        grid->addWidget(plainLabel(item.caption, box), row, 0);
        grid->addWidget(plainLabel(item.unit, box), row, 1, Qt::AlignCenter);
        grid->addWidget(makeField(item.plannedControl, item.derived, box), row, 2);
        grid->addWidget(makeField(item.completedControl, item.derived, box), row, 3);
    }
    for (QGridLayout *grid : half)
        grid->setRowStretch(scaleTableLineCount() + 1, 1);
    return box;
}

QLabel *TFrmInput1::captionLabel(const QString &text, QWidget *parent, const QString &objectName)
{
    auto *l = new QLabel(text, parent);
    if (!objectName.isEmpty())
        l->setObjectName(objectName);
    return l;
}

void TFrmInput1::registerInput(QWidget *input)
{
    m_controls.insert(input->objectName(), input);
    m_inputs.append(input);
    input->installEventFilter(this);
    if (auto *combo = qobject_cast<QComboBox *>(input)) {
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
}

QLineEdit *TFrmInput1::createNumberField(const QString &objectName, bool derived, QWidget *parent)
{
    QLineEdit *edit = styledFigureField(objectName, derived, parent);
    if (derived)
        m_controls.insert(objectName, edit);
    else
        registerInput(edit);
    return edit;
}

QWidget *TFrmInput1::createControl(const QString &column, QWidget *parent)
{
    const ProjectColumn *c = findProjectColumn(column);
    const QString &name = c->control;
    QWidget *control = nullptr;
    if (name.startsWith(u"ComboBox"_s) || name.startsWith(u"Comb_"_s)) {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMinimumContentsLength(8);
        // Only the county may be typed; the other boxes take a choice from their list.
        combo->lineEdit()->setReadOnly(column != col::County);
        control = combo;
    } else if (name.startsWith(u"CheckBox"_s)) {
        control = new QCheckBox(c->caption, parent);
    } else {
        auto *edit = new QLineEdit(parent);
        if (c->isNumber())
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        control = edit;
    }
    control->setObjectName(name);
    registerInput(control);
    return control;
}

void TFrmInput1::addRadioGroup(const QString &column, QWidget *parent, QLayout *layout)
{
    const ProjectColumn *c = findProjectColumn(column);
    auto *group = new QButtonGroup(parent);
    group->setObjectName(column);
    // The affiliation buttons are RadioButton01/02; the groups of the project facts are numbered
    // in table order: RadioButton11 .. RadioButton17, RadioButton21 ..
    int groupNumber = 0;
    for (const ProjectColumn &other : projectColumns()) {
        if (other.group == ColumnGroup::ProjectFacts && other.control.isEmpty() && !other.choices.isEmpty())
            ++groupNumber;
        if (other.name == column)
            break;
    }
    for (int i = 0; i < c->choices.size(); ++i) {
        auto *button = new QRadioButton(c->choices.at(i), parent);
        button->setObjectName(column == col::Affiliation ? u"RadioButton0%1"_s.arg(i + 1)
                                                         : u"RadioButton%1%2"_s.arg(QString::number(groupNumber), QString::number(i + 1)));
        group->addButton(button, i);
        layout->addWidget(button);
        registerInput(button);
    }
    m_radioGroups.insert(column, group);
}

void TFrmInput1::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *menu = new QMenuBar(this);
    QMenu *back = menu->addMenu(u"返回"_s);
    back->setObjectName(u"N1"_s);
    QAction *backAction = back->addAction(u"返回"_s);
    backAction->setObjectName(u"N2"_s);
    connect(backAction, &QAction::triggered, this, &TFrmInput1::N2Click);
    layout->setMenuBar(menu);

    auto *buttons = new QHBoxLayout;
    const struct {
        const char16_t *name;
        const char16_t *text;
        void (TFrmInput1::*click)();
    } kButtons[] = {{u"BitBtn2", u"保存", &TFrmInput1::BitBtn2Click},
                    {u"BitBtn6", u"保存表格", &TFrmInput1::BitBtn6Click},
                    {u"BitBtnPrint", u"打印", &TFrmInput1::BitBtnPrintClick},
                    {u"BitBtnPdf", u"导出PDF", &TFrmInput1::BitBtnPdfClick},
                    {u"BitBtn5", u"返回", &TFrmInput1::BitBtn5Click}};
    for (const auto &b : kButtons) {
        auto *button = new QPushButton(QString::fromUtf16(b.text), this);
        button->setObjectName(QString::fromUtf16(b.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.click);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"ScrollBox1"_s);
    m_scroll->setWidgetResizable(true);
    auto *page = new QWidget;
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(buildTitle());
    pageLayout->addWidget(buildEnterpriseBlock());
    pageLayout->addWidget(buildFactsBlock());
    pageLayout->addWidget(buildInvestmentTable());
    pageLayout->addWidget(buildScaleTable());
    pageLayout->addWidget(buildFooter());
    pageLayout->addStretch();
    m_scroll->setWidget(page);
    m_scroll->viewport()->installEventFilter(this);
    layout->addWidget(m_scroll, 1);

    auto *id = new QLineEdit(this);
    id->setObjectName(u"Edit_ID"_s);
    id->hide();
    m_controls.insert(id->objectName(), id);
}

QWidget *TFrmInput1::buildTitle()
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    auto *title = new QLabel(texts::FormTitle, box);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 8);
    title->setFont(f);
    layout->addStretch();
    layout->addWidget(title);
    layout->addStretch();
    auto *identification = new QVBoxLayout;
    for (const QString &line : returnIdentificationLines())
        identification->addWidget(new QLabel(line, box));
    layout->addLayout(identification);
    return box;
}

QWidget *TFrmInput1::buildEnterpriseBlock()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    for (const QVector<Place> &line : enterpriseLines()) {
        auto *row = new QHBoxLayout;
        for (const Place &place : line) {
            const QString column = QString::fromUtf16(place.column);
            const ProjectColumn *c = findProjectColumn(column);
            if (place.caption) {
                QLabel *l = captionLabel(c->caption, box, c->control.isEmpty() ? QString() : u"Label"_s + c->control);
                row->addWidget(l);
                if (column == col::Company || column == col::Branch)
                    m_companyWidgets.append(l);
            } else if (c->control.isEmpty()) {
                addRadioGroup(column, box, row);
            } else {
                QWidget *control = createControl(column, box);
                row->addWidget(control, qobject_cast<QLineEdit *>(control) ? 1 : 0);
                if (column == col::Company || column == col::Branch)
                    m_companyWidgets.append(control);
            }
        }
        row->addStretch();
        layout->addLayout(row);
    }
    return box;
}

QWidget *TFrmInput1::buildFactsBlock()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(blockTitle(u"项目基本情况"_s, box));
    QHBoxLayout *row = nullptr;
    for (const ProjectColumn &c : projectColumns()) {
        if (c.group != ColumnGroup::ProjectFacts)
            continue;
        // The new-start box belongs to the line of the progress it qualifies.
        const bool joinsLine = c.control.startsWith(u"CheckBox"_s) && row;
        if (!joinsLine) {
            row = new QHBoxLayout;
            layout->addLayout(row);
            row->addWidget(captionLabel(c.caption, box));
        }
        if (c.control.isEmpty())
            addRadioGroup(c.name, box, row);
        else
            row->addWidget(createControl(c.name, box), c.isText() ? 1 : 0);
        if (!c.isText() || !c.choices.isEmpty())
            row->addStretch();
    }
    return box;
}

QWidget *TFrmInput1::buildInvestmentTable()
{
    return investmentFigureTable([this](const QString &name, bool derived, QWidget *parent) {
        return createNumberField(name, derived, parent);
    });
}

QWidget *TFrmInput1::buildScaleTable()
{
    return scaleFigureTable([this](const QString &name, bool derived, QWidget *parent) {
        return createNumberField(name, derived, parent);
    });
}

QWidget *TFrmInput1::buildFooter()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    for (const ProjectColumn &c : projectColumns()) {
        if (c.group != ColumnGroup::FilingPersons)
            continue;
        row->addWidget(captionLabel(c.caption, box));
        row->addWidget(createControl(c.name, box), 1);
    }
    return box;
}

} // namespace granwise
