#include "TfrmRenwu.h"

#include "ChoiceBox.h"
#include "units/TaskInfoTexts.h"
#include "store/CommonTexts.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace granwise {

using namespace Qt::StringLiterals;
using taskinfo::Box;
using taskinfo::ChoiceBox;
using taskinfo::TaskInfoForm;
namespace text = taskinfo::text;

namespace {

// The boxes in tab order with their names, labels, places (row 1 to 4, left or right) and the
// form operation a choice runs.
struct BoxDefinition {
    Box box;
    const char16_t *objectName;
    const QString *label;
    int row;
    bool right;
    void (TaskInfoForm::*choose)(const QString &);
};
const std::array<BoxDefinition, taskinfo::BoxCount> kBoxes{{
    {Box::Year, u"ComboBox2", &text::YearLabel, 0, false, &TaskInfoForm::chooseYear},
    {Box::Affiliation, u"ComboBox1", &text::AffiliationLabel, 0, true, &TaskInfoForm::chooseAffiliation},
    {Box::Level, u"ComboBox4", &text::LevelLabel, 1, false, &TaskInfoForm::chooseLevel},
    {Box::Province, u"ComboBox01", &text::ProvinceLabel, 1, true, &TaskInfoForm::chooseProvince},
    {Box::Prefecture, u"ComboBox02", &text::PrefectureLabel, 2, false, &TaskInfoForm::choosePrefecture},
    {Box::County, u"ComboBox03", &text::CountyLabel, 2, true, &TaskInfoForm::chooseCounty},
    {Box::Company, u"ComboBox3", &text::CompanyLabel, 3, false, &TaskInfoForm::chooseCompany},
    {Box::Branch, u"ComboBox04", &text::BranchLabel, 3, true, &TaskInfoForm::chooseBranch},
}};

constexpr int ClientWidth = 567;
constexpr int ClientHeight = 335;
constexpr int FirstRowTop = 80;
constexpr int RowStep = 50;
constexpr int BoxHeight = 24;
constexpr int LabelWidth = 70;
constexpr int BoxWidth = 170;
constexpr int LeftColumn = 30;
constexpr int RightColumn = 300;

} // namespace

TfrmRenwu::TfrmRenwu(const QString &databasePath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_form(taskinfo::TaskInfoLookups(databasePath))
{
    setObjectName(u"TfrmRenwu"_s);
    setWindowTitle(text::Caption);
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    buildControls();
    guarded(this, [this] { m_form.open(); });
    showForm();
}

TfrmRenwu::~TfrmRenwu() = default;

void TfrmRenwu::buildControls()
{
    auto *heading = new QLabel(text::Heading, this);
    QFont headingFont = heading->font();
    headingFont.setPointSize(headingFont.pointSize() + 6);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);
    heading->setGeometry(0, 20, ClientWidth, 36);

    QWidget *previous = nullptr;
    for (const BoxDefinition &d : kBoxes) {
        const int left = d.right ? RightColumn : LeftColumn;
        const int top = FirstRowTop + d.row * RowStep;
        auto *label = new QLabel(*d.label, this);
        label->setGeometry(left, top, LabelWidth, BoxHeight);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *choiceBox = new ChoiceBox(this);
        choiceBox->setObjectName(QString::fromUtf16(d.objectName));
        choiceBox->setGeometry(left + LabelWidth + 8, top, BoxWidth, BoxHeight);
        label->setBuddy(choiceBox);
        const auto choose = d.choose;
        connect(choiceBox, &ChoiceBox::chosen, this, [this, choose](const QString &chosen) { run(choose, chosen); });
        m_boxes[static_cast<size_t>(d.box)] = choiceBox;
        if (previous)
            setTabOrder(previous, choiceBox);
        previous = choiceBox;
    }

    m_saveButton = chrome::button(u"BitBtn1"_s, text::SaveButton, this);
    m_saveButton->setGeometry(170, 280, 90, 30);
    m_exitButton = chrome::button(u"BitBtn2"_s, text::ExitButton, this);
    m_exitButton->setGeometry(310, 280, 90, 30);
    setTabOrder(previous, m_saveButton);
    setTabOrder(m_saveButton, m_exitButton);
    connect(m_saveButton, &QPushButton::clicked, this, &TfrmRenwu::save);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmRenwu::run(void (TaskInfoForm::*operation)(const QString &), const QString &chosen)
{
    guarded(this, [&] { (m_form.*operation)(chosen); });
    showForm();
}

void TfrmRenwu::showForm()
{
    for (const BoxDefinition &d : kBoxes) {
        ChoiceBox *b = box(d.box);
        b->setChoices(m_form.choices(d.box));
        b->setText(m_form.text(d.box));
        b->setState(m_form.state(d.box));
    }
}

void TfrmRenwu::save()
{
    if (const auto refusal = m_form.saveRefusal()) {
        inform(this, texts::Hint, refusal->message);
        box(refusal->box)->setFocus();
        return;
    }
    if (!guarded(this, [this] { m_form.save(); }))
        return;
    emit saved(m_form.text(Box::Level));
    accept();
}

void TfrmRenwu::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

} // namespace granwise
