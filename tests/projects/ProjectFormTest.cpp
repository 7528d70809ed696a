#include "ProjectTestData.h"
#include "WindowTestSupport.h"
#include "projects/FormFigures.h"
#include "projects/windows/ProjectForm.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

class ProjectFormTest : public ::testing::Test {
protected:
    void setTask(const QString &level, const QString &affiliation = u"地方企业"_s)
    {
        TaskInfo task;
        task.year = u"2013"_s;
        task.level = level;
        task.affiliation = affiliation;
        task.province = u"河南省"_s;
        task.prefecture = u"郑州市"_s;
        task.county = u"中原区"_s;
        task.company = u"中储粮"_s;
        task.branch = u"中储粮河南分公司"_s;
        Connection c = db.connect();
        writeTaskInfo(c, task);
    }

    static QLineEdit *field(TFrmInput1 &form, const QString &name) { return form.findChild<QLineEdit *>(name); }
    static QComboBox *box(TFrmInput1 &form, const QString &name) { return form.findChild<QComboBox *>(name); }
    static QColor colour(QWidget *w)
    {
        return w->palette().color(qobject_cast<QAbstractButton *>(w) ? QPalette::Window : QPalette::Base);
    }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
};

TEST_F(ProjectFormTest, EveryColumnHasItsNamedControl)
{
    TFrmInput1 form(db.context());
    EXPECT_EQ(form.objectName(), u"TFrmInput1"_s);
    EXPECT_EQ(form.windowTitle(), u"统计表输入"_s);
    for (const ProjectColumn &c : projectColumns()) {
        if (c.control.isEmpty())
            continue;
        const QList<QWidget *> found = form.findChildren<QWidget *>(c.control);
        EXPECT_EQ(found.size(), 1) << c.control.toStdString();
        EXPECT_EQ(form.controlOf(c.name), found.value(0)) << c.name.toStdString();
    }
    for (const QString &name : numericControls())
        EXPECT_TRUE(field(form, name)) << name.toStdString();
    for (const QString &name : {u"RadioButton01"_s, u"RadioButton02"_s, u"BitBtn2"_s, u"BitBtn5"_s, u"BitBtn6"_s,
                                u"Edit_ID"_s, u"ScrollBox1"_s})
        EXPECT_TRUE(form.findChild<QWidget *>(name)) << name.toStdString();
    // Defaults of a new project.
    const ProjectValues values = form.values();
    EXPECT_EQ(values.value(u"项目类别"_s), u"粮油仓储设施项目"_s);
    EXPECT_EQ(values.value(u"项目单位性质"_s), u"国有及国有控股"_s);
    EXPECT_EQ(values.value(u"建设性质"_s), u"新建"_s);
    EXPECT_EQ(values.value(u"项目进展"_s), u"前期项目"_s);
    EXPECT_EQ(values.value(u"隶属关系"_s), u"地方企业"_s);
    EXPECT_EQ(values.value(u"本年度开工项目"_s), u"否"_s);
    for (const DerivedFigure &figure : derivedFigures())
        EXPECT_FALSE(field(form, figure.control)->isEnabled());
    EXPECT_TRUE(form.isEditing());
}

TEST_F(ProjectFormTest, TypingFiltersTheInputAndRecomputesTheTotals)
{
    TFrmInput1 form(db.context());
    QLineEdit *construction = field(form, u"MaskEdit001"_s);
    QTest::keyClicks(construction, u"12a"_s);
    EXPECT_EQ(construction->text(), u"12"_s);
    QTest::keyClicks(field(form, u"MaskEdit002"_s), u".5"_s);
    QTest::keyClicks(field(form, u"MaskEdit003"_s), u"-"_s);
    EXPECT_EQ(field(form, u"MaskEdit003"_s)->text(), u"-"_s);
    EXPECT_EQ(form.totalText(0), u"12.5"_s);
    QTest::keyClicks(field(form, u"MaskEdit003"_s), u"0.1e"_s);
    EXPECT_EQ(field(form, u"MaskEdit003"_s)->text(), u"-0.1e"_s);
    EXPECT_EQ(form.totalText(0), u"12.4"_s);

    // A zero shows blank at once, in a typed field and in a total.
    QTest::keyClicks(field(form, u"MaskEdit036"_s), u"0"_s);
    EXPECT_EQ(field(form, u"MaskEdit036"_s)->text(), QString());
    EXPECT_EQ(field(form, u"MaskEdit034"_s)->text(), QString());
    QTest::keyClicks(field(form, u"MaskEdit037"_s), u"3"_s);
    QTest::keyClicks(field(form, u"MaskEdit040"_s), u"4"_s);
    QTest::keyClicks(field(form, u"MaskEdit038"_s), u"100"_s); // steel silos: "of which", not added
    EXPECT_EQ(field(form, u"MaskEdit034"_s)->text(), u"7"_s);
    EXPECT_EQ(form.totalText(1), QString());

    // A typo in the middle loses that character and keeps the cursor where it was.
    QLineEdit *land = field(form, u"MaskEditS10"_s);
    QTest::keyClicks(land, u"15"_s);
    land->setCursorPosition(1);
    QTest::keyClicks(land, u"x"_s);
    EXPECT_EQ(land->text(), u"15"_s);
    EXPECT_EQ(land->cursorPosition(), 1);
}

TEST_F(ProjectFormTest, TheNewStartBoxLocksThePreviousYearRow)
{
    TFrmInput1 form(db.context());
    QTest::keyClicks(field(form, u"MaskEdit012"_s), u"5"_s);
    auto *newStart = form.findChild<QCheckBox *>(u"CheckBox1"_s);
    newStart->setChecked(true);
    for (int n = 12; n <= 22; ++n)
        EXPECT_FALSE(field(form, u"MaskEdit%1"_s.arg(n, 3, 10, QChar(u'0')))->isEnabled()) << n;
    EXPECT_TRUE(field(form, u"MaskEdit011"_s)->isEnabled());
    EXPECT_TRUE(field(form, u"MaskEdit023"_s)->isEnabled());
    EXPECT_EQ(field(form, u"MaskEdit012"_s)->text(), u"5"_s);
    EXPECT_EQ(form.values().value(u"本年度开工项目"_s), u"是"_s);
    newStart->setChecked(false);
    EXPECT_TRUE(field(form, u"MaskEdit022"_s)->isEnabled());
}

TEST_F(ProjectFormTest, LoadingShowsTheStoredProject)
{
    setTask(u"县级汇总"_s);
    QVariantMap stored{{u"项目名称"_s, u"二号\"仓\""_s}, {u"企业详细名称"_s, u"二七粮库"_s},
                       {u"省"_s, u"河南省"_s}, {u"地市"_s, u"郑州市"_s}, {u"县"_s, u"二七区"_s},
                       {u"隶属关系"_s, u"中央企业"_s}, {u"公司"_s, u"中粮"_s}, {u"项目类别"_s, u"信息化建设项目"_s},
                       {u"项目进展"_s, u"未知的进展"_s}, {u"本年度开工项目"_s, u"是"_s},
                       {u"累计_银行贷款"_s, 2.5}, {u"总_建筑安装工程"_s, 1.0}, {u"总_其他费用"_s, 0.25},
                       {u"建设_新建仓容"_s, 99.0}, {u"建设_平房仓"_s, 3.0}};
    db.addProject(stored);
    TFrmInput1 form(db.context(), {EntryMode::Edit, u"二号\"仓\""_s, u"二七粮库"_s});
    const ProjectValues values = form.values();
    EXPECT_EQ(values.value(u"项目名称"_s), u"二号\"仓\""_s);
    EXPECT_EQ(values.value(u"县"_s), u"二七区"_s);
    EXPECT_EQ(values.value(u"项目类别"_s), u"信息化建设项目"_s);
    EXPECT_EQ(values.value(u"项目进展"_s), u"前期项目"_s); // no such button: the default stays
    EXPECT_EQ(values.value(u"隶属关系"_s), u"中央企业"_s);
    EXPECT_EQ(values.value(u"公司"_s), u"中粮"_s);
    EXPECT_EQ(form.regionCode(), u"410103"_s);
    EXPECT_EQ(field(form, u"MaskEdit018"_s)->text(), u"2.5"_s);
    EXPECT_FALSE(field(form, u"MaskEdit018"_s)->isEnabled()); // new start: previous year locked
    EXPECT_EQ(field(form, u"MaskEdit002"_s)->text(), QString()); // zero shows blank
    EXPECT_EQ(form.totalText(0), u"1.25"_s);
    EXPECT_EQ(field(form, u"MaskEdit034"_s)->text(), u"3"_s); // recomputed, not the stored 99
    EXPECT_FALSE(field(form, u"Edit_ID"_s)->text().isEmpty());
    // The county level locked the county box; filling its list on loading opens it again.
    EXPECT_TRUE(box(form, u"ComboBox03"_s)->isEnabled());
    EXPECT_FALSE(box(form, u"ComboBox02"_s)->isEnabled());
    EXPECT_TRUE(box(form, u"ComboBox1"_s)->isVisibleTo(&form));
    EXPECT_GT(box(form, u"ComboBox2"_s)->count(), 0); // the branches of the loaded company
}

TEST_F(ProjectFormTest, TheCountyLevelFixesTheRegion)
{
    setTask(u"县级汇总"_s);
    TFrmInput1 form(db.context());
    EXPECT_EQ(box(form, u"ComboBox01"_s)->currentText(), u"河南省"_s);
    EXPECT_EQ(box(form, u"ComboBox02"_s)->currentText(), u"郑州市"_s);
    EXPECT_EQ(box(form, u"ComboBox03"_s)->currentText(), u"中原区"_s);
    for (const QString &name : {u"ComboBox01"_s, u"ComboBox02"_s, u"ComboBox03"_s, u"Comb_niandu"_s})
        EXPECT_FALSE(box(form, name)->isEnabled()) << name.toStdString();
    EXPECT_FALSE(form.findChild<QRadioButton *>(u"RadioButton01"_s)->isEnabled());
    EXPECT_EQ(form.regionCode(), u"410102"_s);
    EXPECT_GE(box(form, u"ComboBox02"_s)->findText(u"开封市"_s), 0);
    EXPECT_GE(box(form, u"ComboBox03"_s)->findText(u"二七区"_s), 0);
    EXPECT_FALSE(box(form, u"ComboBox1"_s)->isVisibleTo(&form));
    EXPECT_FALSE(form.findChild<QLabel *>(u"LabelComboBox1"_s)->isVisibleTo(&form));
    EXPECT_EQ(box(form, u"Comb_niandu"_s)->currentText(), u"2013"_s);
}

TEST_F(ProjectFormTest, ChoosingRegionCompanyAndAffiliation)
{
    setTask(u"国家级汇总"_s);
    TFrmInput1 form(db.context());
    QComboBox *company = box(form, u"ComboBox1"_s);
    EXPECT_FALSE(company->isVisibleTo(&form));
    auto *central = form.findChild<QRadioButton *>(u"RadioButton01"_s);
    auto *local = form.findChild<QRadioButton *>(u"RadioButton02"_s);
    central->click();
    EXPECT_TRUE(company->isVisibleTo(&form));
    company->setCurrentIndex(company->findText(u"中纺"_s));
    EXPECT_GT(box(form, u"ComboBox2"_s)->count(), 0);
    local->click();
    EXPECT_FALSE(company->isVisibleTo(&form));
    EXPECT_EQ(form.values().value(u"公司"_s), u"中纺"_s); // a hidden company is still saved

    QComboBox *province = box(form, u"ComboBox01"_s);
    QComboBox *prefecture = box(form, u"ComboBox02"_s);
    QComboBox *county = box(form, u"ComboBox03"_s);
    province->setCurrentIndex(province->findText(u"河南省"_s));
    prefecture->setCurrentIndex(prefecture->findText(u"郑州市"_s));
    county->setCurrentIndex(county->findText(u"二七区"_s));
    EXPECT_EQ(form.regionCode(), u"410103"_s);
    // Another province empties the prefecture and county and lists its own prefectures.
    province->setCurrentIndex(province->findText(u"河北省"_s));
    EXPECT_EQ(prefecture->currentText(), QString());
    EXPECT_EQ(county->currentText(), QString());
    EXPECT_GE(prefecture->findText(u"石家庄市"_s), 0);
    EXPECT_EQ(county->count(), 0);
    // The county may be typed, the province may not.
    QTest::keyClicks(county, u"x"_s);
    EXPECT_EQ(county->currentText(), u"x"_s);
    QTest::keyClicks(province, u"x"_s);
    EXPECT_EQ(province->currentText(), u"河北省"_s);
}

TEST_F(ProjectFormTest, PostalCodeTakesDigitsOnly)
{
    TFrmInput1 form(db.context());
    QLineEdit *postcode = field(form, u"Edit9"_s);
    QTest::keyClicks(postcode, u"45a0 0-1"_s);
    EXPECT_EQ(postcode->text(), u"45001"_s);
    QTest::keyClick(postcode, Qt::Key_Backspace);
    EXPECT_EQ(postcode->text(), u"4500"_s);
}

TEST_F(ProjectFormTest, FocusPaintsTheFieldYellowAndTheOthersWhite)
{
    TFrmInput1 form(db.context());
    QLineEdit *name = field(form, u"MaskEditS1"_s);
    QLineEdit *figure = field(form, u"MaskEdit010"_s);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(name, &focusIn);
    EXPECT_EQ(colour(name), QColor(Qt::yellow));
    QApplication::sendEvent(figure, &focusIn);
    EXPECT_EQ(colour(figure), QColor(Qt::yellow));
    EXPECT_EQ(colour(name), QColor(Qt::white));
    auto *radio = form.findChild<QRadioButton *>(u"RadioButton02"_s);
    QApplication::sendEvent(radio, &focusIn);
    EXPECT_EQ(colour(radio), QColor(Qt::yellow));
    EXPECT_EQ(colour(figure), QColor(Qt::white));
    QLineEdit *total = field(form, u"MaskEdit13"_s);
    EXPECT_NE(colour(total), QColor(Qt::white)); // derived fields keep their shade
}

TEST_F(ProjectFormTest, TheWheelScrollsThePageAndNeverChangesABox)
{
    TFrmInput1 form(db.context());
    form.resize(900, 400);
    form.show();
    auto *scroll = form.findChild<QScrollArea *>(u"ScrollBox1"_s);
    QScrollBar *bar = scroll->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    const auto wheel = [&](QWidget *target, int notches) {
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    wheel(scroll->viewport(), -2);
    EXPECT_EQ(bar->value(), 50);
    wheel(scroll->viewport(), 1);
    EXPECT_EQ(bar->value(), 25);
    QComboBox *year = box(form, u"Comb_niandu"_s);
    year->setCurrentIndex(2);
    wheel(year, -1);
    EXPECT_EQ(year->currentIndex(), 2);
    EXPECT_EQ(bar->value(), 50);
}

TEST_F(ProjectFormTest, ARefusedSaveMarksTheFieldAndKeepsEditing)
{
    TFrmInput1 form(db.context());
    QTest::keyClicks(field(form, u"MaskEdit001"_s), u"3"_s);
    form.findChild<QPushButton *>(u"BitBtn2"_s)->click();
    EXPECT_EQ(prompter.lastText(), u"请输入企业代码"_s);
    EXPECT_EQ(colour(field(form, u"Edit5"_s)), QColor(Qt::yellow));
    EXPECT_TRUE(form.isEditing());
    EXPECT_EQ(field(form, u"MaskEdit002"_s)->text(), QString()); // zeros blank again
    EXPECT_EQ(form.totalText(0), u"3"_s);
    QTest::keyClicks(field(form, u"MaskEdit002"_s), u"4"_s);
    EXPECT_EQ(form.totalText(0), u"7"_s);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectFormTest, ARefusedSaveBringsTheFieldToCorrectIntoSight)
{
    // A short window, so most of the page is out of view; the page stands at the other end.
    const struct {
        QVariantMap change;
        bool fromBottom;
        QString message;
        QString column;
        bool painted; // the filing persons' fields are focused but not painted
    } cases[] = {
        {{{u"企业代码"_s, QString()}}, true, u"请输入企业代码"_s, u"企业代码"_s, true},
        {{{u"审核人"_s, QString()}}, false, u"请输入审核人"_s, u"审核人"_s, false},
        {{{u"建设_平房仓"_s, 1.0}, {u"完成_平房仓"_s, 2.0}, {u"建设_新建仓容"_s, 1.0}, {u"完成_新建仓容"_s, 2.0}},
         false, u"要求：\"度度完成规模\"不得大于\"建设规模\""_s, u"建设_平房仓"_s, true},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"仓%1"_s.arg(++n);
        QVariantMap stored;
        for (const auto &[column, text] : test::filledForm(name).asKeyValueRange())
            stored.insert(column, text);
        stored.insert(c.change);
        db.addProject(stored);
        TFrmInput1 form(db.context(), {EntryMode::Edit, name, stored.value(u"企业详细名称"_s).toString()});
        form.resize(1000, 400);
        form.show();
        QScrollBar *bar = form.findChild<QScrollArea *>(u"ScrollBox1"_s)->verticalScrollBar();
        bar->setValue(c.fromBottom ? bar->maximum() : 0);
        form.findChild<QPushButton *>(u"BitBtn2"_s)->click(); // and 确定 to the check
        ASSERT_EQ(prompter.lastText(), c.message);

        QWidget *control = form.controlOf(c.column);
        QWidget *viewport = form.findChild<QScrollArea *>(u"ScrollBox1"_s)->viewport();
        // Its whole height and its start in view (a wide field may run past the right edge).
        const QRect shown(control->mapTo(viewport, QPoint()), control->size());
        EXPECT_TRUE(shown.top() >= 0 && shown.bottom() < viewport->height() && shown.left() >= 0 &&
                    shown.left() < viewport->width())
            << c.column.toStdString() << " at " << shown.x() << "," << shown.y() << " in " << viewport->width() << "x"
            << viewport->height();
        EXPECT_EQ(form.focusWidget(), control) << c.column.toStdString();
        if (c.painted) {
            EXPECT_EQ(colour(control), QColor(Qt::yellow)) << c.column.toStdString();
        }
    }
}

TEST_F(ProjectFormTest, TheEnterpriseLevelFillsAndLocksTheFilingUnit)
{
    Connection c = db.connect();
    TaskInfo task;
    task.year = u"2013"_s;
    task.level = u"企业汇总"_s;
    task.affiliation = u"中央企业"_s;
    task.province = u"河南省"_s;
    task.prefecture = u"郑州市"_s;
    task.county = u"中原区"_s;
    task.company = u"中储粮"_s;
    task.branch = u"中储粮河南分公司"_s;
    task.filingUnit = u"郑州直属库"_s;
    task.postcode = u"450000"_s;
    writeTaskInfo(c, task);

    TFrmInput1 form(db.context());
    EXPECT_EQ(field(form, u"Edit6"_s)->text(), u"郑州直属库"_s);
    EXPECT_FALSE(field(form, u"Edit6"_s)->isEnabled());
    EXPECT_FALSE(field(form, u"Edit5"_s)->isEnabled());
    EXPECT_FALSE(box(form, u"ComboBox2"_s)->isEnabled());
    EXPECT_EQ(box(form, u"ComboBox2"_s)->currentText(), u"中储粮河南分公司"_s);
    EXPECT_GT(box(form, u"ComboBox2"_s)->count(), 0); // the branch list of the company
    EXPECT_TRUE(form.findChild<QRadioButton *>(u"RadioButton01"_s)->isChecked());
    EXPECT_TRUE(box(form, u"ComboBox1"_s)->isVisibleTo(&form));

    // The enterprise code the task record lacks stops every save at that field.
    form.findChild<QPushButton *>(u"BitBtn2"_s)->click();
    EXPECT_EQ(prompter.lastText(), u"请输入企业代码"_s);
}

} // namespace
} // namespace granwise
