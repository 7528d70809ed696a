#include "ModalScript.h"
#include "ProjectTestData.h"
#include "WindowTestSupport.h"
#include "projects/ProjectListModel.h"
#include "projects/windows/ProjectListWindow.h"
#include "store/Clock.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

class ProjectListWindowTest : public ::testing::Test {
protected:
    void add(const QString &name, const QString &enterprise, const QString &day, const QVariantMap &more = {})
    {
        QVariantMap values = more;
        values.insert(u"项目名称"_s, name);
        values.insert(u"企业详细名称"_s, enterprise);
        values.insert(u"修改时间"_s, u"2013-%1 12:00:00"_s.arg(day));
        db.addProject(values);
    }
    static QStringList shownNames(const TFrmList1 &list)
    {
        QStringList names;
        for (int row = 1; row <= list.model()->rowCount(); ++row)
            names << list.model()->cell(row, 4);
        return names;
    }
    static QColor background(const TFrmList1 &list, int gridRow)
    {
        return list.model()->index(gridRow - 1, 0).data(Qt::BackgroundRole).value<QBrush>().color();
    }
    static void click(TFrmList1 &list, const QString &name) { list.findChild<QPushButton *>(name)->click(); }
    // The province filter's list, sorted.
    static QStringList provinceChoices(const TFrmList1 &list)
    {
        auto *province = list.findChild<QComboBox *>(u"ComboBox1"_s);
        QStringList provinces;
        for (int i = 0; i < province->count(); ++i)
            provinces << province->itemText(i);
        provinces.sort();
        return provinces;
    }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
};

TEST_F(ProjectListWindowTest, AnEmptyTableShowsOneBlankLine)
{
    TFrmList1 list(db.context());
    EXPECT_EQ(list.objectName(), u"TFrmList1"_s);
    EXPECT_EQ(list.windowTitle(), u"粮食流通基础设施建设投资统计表维护"_s);
    EXPECT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.model()->projectCount(), 0);
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(list.model()->cell(1, c), QString());
    EXPECT_EQ(list.model()->headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), u"校验"_s);

    // Deleting from it names the missing choice.
    list.AdvStringGrid1ClickCell(1);
    click(list, u"BitBtn3"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"请在列表中选择要删除的纪录！"_s});
}

TEST_F(ProjectListWindowTest, TheFilterNarrowsTheListAndIsClearedAfterwards)
{
    add(u"一号仓"_s, u"甲"_s, u"01-01"_s, {{u"省"_s, u"河南省"_s}, {u"项目类别"_s, u"其他项目"_s}});
    add(u"二号仓"_s, u"甲"_s, u"01-02"_s, {{u"省"_s, u"河北省"_s}, {u"项目类别"_s, u"其他项目"_s}});
    add(u"三号仓 100%"_s, u"乙"_s, u"01-03"_s, {{u"省"_s, u"河南省"_s}, {u"项目类别"_s, u"信息化建设项目"_s}});
    TFrmList1 list(db.context());
    EXPECT_EQ(provinceChoices(list), (QStringList{u"河北省"_s, u"河南省"_s}));
    auto *province = list.findChild<QComboBox *>(u"ComboBox1"_s);
    EXPECT_EQ(shownNames(list), (QStringList{u"三号仓 100%"_s, u"二号仓"_s, u"一号仓"_s}));

    province->setEditText(u" 河南 "_s);
    list.findChild<QComboBox *>(u"ComboBox3"_s)->setEditText(u"其他"_s);
    click(list, u"BitBtn2"_s);
    EXPECT_EQ(shownNames(list), QStringList{u"一号仓"_s});
    for (const QString &name : {u"ComboBox1"_s, u"ComboBox2"_s, u"ComboBox3"_s, u"ComboBox4"_s, u"ComboBox5"_s,
                                u"ComboBox6"_s})
        EXPECT_EQ(list.findChild<QComboBox *>(name)->currentText(), QString()) << name.toStdString();

    auto *name = list.findChild<QLineEdit *>(u"Edit1"_s);
    name->setText(u"0%"_s);
    click(list, u"BitBtn2"_s);
    EXPECT_EQ(shownNames(list), QStringList{u"三号仓 100%"_s});
    EXPECT_EQ(name->text(), QString());

    list.AdvStringGrid1ClickCell(1); // the first row was chosen
    name->setText(u"_"_s);
    click(list, u"BitBtn2"_s);
    EXPECT_EQ(list.model()->projectCount(), 0);
    EXPECT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(background(list, 1), QColor(Qt::white)) << "the blank line of an empty list is painted";

    click(list, u"BitBtn2"_s); // nothing filled in: every project
    EXPECT_EQ(list.model()->projectCount(), 3);
}

TEST_F(ProjectListWindowTest, TheChosenRowIsYellowAndBelongsToItsList)
{
    add(u"A"_s, u"甲"_s, u"01-01"_s);
    add(u"B"_s, u"甲"_s, u"01-02"_s);
    add(u"C"_s, u"甲"_s, u"01-03"_s);
    {
        TFrmList1 list(db.context());
        list.show();
        auto *grid = list.findChild<QTableView *>(u"AdvStringGrid1"_s);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(list.model()->index(1, 3)).center());
        EXPECT_EQ(list.currentRow(), 2);
        EXPECT_EQ(background(list, 2), QColor(Qt::yellow));
        EXPECT_EQ(background(list, 1), QColor(Qt::white));
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(list.currentRow(), 3);
        EXPECT_EQ(background(list, 3), QColor(Qt::yellow));
        EXPECT_EQ(background(list, 2), QColor(Qt::white));
    }
    // Another list starts with no row chosen.
    TFrmList1 next(db.context());
    EXPECT_EQ(next.currentRow(), 0);
    EXPECT_EQ(next.model()->highlightedRow(), 0);
    EXPECT_EQ(background(next, 3), QColor(Qt::white));
}

TEST_F(ProjectListWindowTest, DeleteRemovesEveryRowOfTheKeyAfterConfirmation)
{
    add(u"仓\"1\""_s, u"甲'库"_s, u"01-01"_s);
    add(u"仓\"1\""_s, u"甲'库"_s, u"01-02"_s);
    add(u"其他"_s, u"乙"_s, u"01-03"_s);
    TFrmList1 list(db.context());
    list.AdvStringGrid1ClickCell(2);

    prompter.answerNext(Prompter::Answer::Cancel);
    click(list, u"BitBtn3"_s);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 3);
    EXPECT_EQ(prompter.said.back().text, u"此操作将删除当前纪录，是否继续？"_s);
    EXPECT_EQ(prompter.said.back().caption, u"提示"_s);

    click(list, u"BitBtn3"_s);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_EQ(prompter.lastText(), u"删除成功！"_s);
    EXPECT_EQ(shownNames(list), QStringList{u"其他"_s});
    // The remembered row now lies beyond the list: nothing is yellow.
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(list.model()->highlightedRow(), 0);

    // The heading row is no project, whatever its texts say.
    list.AdvStringGrid1ClickCell(0);
    prompter.said.clear();
    click(list, u"BitBtn3"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"请在列表中选择要删除的纪录！"_s});
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
}

TEST_F(ProjectListWindowTest, AHeadingClickSortsAndASecondOneReverses)
{
    add(u"乙"_s, u"x"_s, u"01-01"_s, {{u"校验状态"_s, u"1"_s}});
    add(u"甲"_s, u"x"_s, u"01-02"_s);
    add(u"丙"_s, u"x"_s, u"01-03"_s);
    for (int i = 0; i < 9; ++i)
        add(u"项目%1"_s.arg(i), u"y"_s, u"02-0%1"_s.arg(i + 1));
    TFrmList1 list(db.context());
    list.AdvStringGrid1ClickCell(1);
    QHeaderView *header = list.findChild<QTableView *>(u"AdvStringGrid1"_s)->horizontalHeader();
    list.show();
    // 序号 sorts as numbers: 12 after 2.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(list.model()->cell(1, 0), u"1"_s);
    EXPECT_EQ(list.model()->cell(12, 0), u"12"_s);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(list.model()->cell(1, 0), u"12"_s);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // Texts sort by collation ("否" before "通过"); equal rows keep the order shown.
    const auto clickHeading = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    clickHeading(9);
    EXPECT_EQ(header->sortIndicatorSection(), 9);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(list.model()->cell(12, 9), u"通过"_s);
    EXPECT_EQ(list.model()->cell(12, 4), u"乙"_s);
    EXPECT_EQ(list.model()->cell(1, 4), u"甲"_s); // as shown before: oldest first
    EXPECT_EQ(list.model()->cell(11, 4), u"项目8"_s);
    clickHeading(9);
    EXPECT_EQ(list.model()->cell(1, 9), u"通过"_s);
}

TEST_F(ProjectListWindowTest, AFreeConditionRefillsTheList)
{
    add(u"大仓"_s, u"甲"_s, u"01-01"_s, {{u"建设_平房仓"_s, 10.0}});
    add(u"小仓"_s, u"甲"_s, u"01-02"_s, {{u"建设_平房仓"_s, 1.0}});
    add(u"油罐"_s, u"乙"_s, u"01-03"_s, {{u"建设_新建油罐"_s, 2.0}});
    TFrmList1 list(db.context());
    EXPECT_TRUE(list.applyCondition(u"建设_平房仓>? or 项目名称 like ?"_s, {5, u"%油%"_s}));
    EXPECT_EQ(shownNames(list), (QStringList{u"油罐"_s, u"大仓"_s}));
    // A condition the database refuses keeps the list as it was.
    EXPECT_FALSE(list.applyCondition(u"没有这列>1"_s));
    EXPECT_EQ(shownNames(list), (QStringList{u"油罐"_s, u"大仓"_s}));
    EXPECT_EQ(prompter.said.back().caption, u"Granwise（汇总版1.0）"_s);
}

// A project the entry form can save as it stands.
QVariantMap savable(const QString &name)
{
    QVariantMap row;
    for (const auto &[column, text] : test::filledForm(name).asKeyValueRange())
        row.insert(column, text);
    return row;
}

TEST_F(ProjectListWindowTest, AfterASaveTheListShowsAfreshWithTheSavedProjectChosen)
{
    FixedClock clock(QDateTime(QDate(2013, 7, 1), QTime(10, 30, 0)));
    Clock::install(&clock);
    add(u"甲仓"_s, u"郑州粮库"_s, u"01-01"_s, savable(u"甲仓"_s));
    add(u"乙仓"_s, u"郑州粮库"_s, u"01-02"_s, savable(u"乙仓"_s));
    add(u"丙仓"_s, u"郑州粮库"_s, u"01-03"_s, savable(u"丙仓"_s));
    TFrmList1 list(db.context());
    list.show();
    ASSERT_EQ(shownNames(list), (QStringList{u"丙仓"_s, u"乙仓"_s, u"甲仓"_s}));
    list.AdvStringGrid1ClickCell(3);
    list.findChild<QComboBox *>(u"ComboBox3"_s)->setEditText(u"其他"_s); // typed, not applied

    test::ModalScript script;
    script.then(u"TFrmInput1"_s, [&](QWidget *form) {
        EXPECT_EQ(form->findChild<QLineEdit *>(u"MaskEditS1"_s)->text(), u"甲仓"_s);
        form->findChild<QLineEdit *>(u"MaskEditS1"_s)->setText(u"甲仓改"_s);
        prompter.answerNext(Prompter::Answer::Cancel); // not validated
        form->findChild<QPushButton *>(u"BitBtn2"_s)->click();
    });
    script.run([&] { click(list, u"BitBtn1"_s); });
    Clock::install(nullptr);

    // The saved project leads the list and is the chosen row: 修改 and 删除 act on it.
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(prompter.lastText(), u"数据保存成功！"_s);
    EXPECT_EQ(shownNames(list), (QStringList{u"甲仓改"_s, u"丙仓"_s, u"乙仓"_s}));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(background(list, 1), QColor(Qt::yellow));
    EXPECT_EQ(background(list, 3), QColor(Qt::white));
    EXPECT_EQ(list.findChild<QComboBox *>(u"ComboBox3"_s)->currentText(), QString());
    click(list, u"BitBtn3"_s);
    EXPECT_EQ(shownNames(list), (QStringList{u"丙仓"_s, u"乙仓"_s}));
}

TEST_F(ProjectListWindowTest, TheFormsReturnShowsTheListAfreshAndItsMenuClosesTheList)
{
    add(u"甲仓"_s, u"郑州粮库"_s, u"01-01"_s);
    add(u"乙仓"_s, u"郑州粮库"_s, u"01-02"_s, {{u"省"_s, u"河北省"_s}});
    TFrmList1 list(db.context());
    list.show();
    list.AdvStringGrid1ClickCell(2);
    ASSERT_TRUE(list.applyCondition(u"项目名称 = ?"_s, {u"甲仓"_s}));
    {
        Connection c = db.connect();
        c.execute(u"update TZ_XIANGMU set 省 = '山西省' where 项目名称 = '甲仓'"_s);
    }

    // "返回" (nothing saved): every project again, the provinces as they now are, the row kept.
    test::ModalScript back;
    back.then(u"TFrmInput1"_s, [](QWidget *form) { form->findChild<QPushButton *>(u"BitBtn5"_s)->click(); });
    back.run([&] { click(list, u"BitBtn4"_s); });
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(shownNames(list), (QStringList{u"乙仓"_s, u"甲仓"_s}));
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(background(list, 2), QColor(Qt::yellow));
    EXPECT_EQ(provinceChoices(list), (QStringList{u"山西省"_s, u"河北省"_s}));

    // The menu's 返回 closes the form and the list with it.
    test::ModalScript close;
    close.then(u"TFrmInput1"_s, [](QWidget *form) { form->findChild<QAction *>(u"N2"_s)->trigger(); });
    close.run([&] { click(list, u"BitBtn1"_s); });
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.result(), int(QDialog::Rejected));
}

} // namespace
} // namespace granwise
