#include "ProjectSheetTestSupport.h"
#include "ProjectTestData.h"
#include "WindowTestSupport.h"
#include "projects/windows/ProjectForm.h"
#include "projects/ProjectSheet.h"
#include "projects/ProjectSheetTexts.h"
#include "store/Clock.h"
#include "store/ProjectColumns.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

QVariant entryAt(const QVector<SheetEntry> &entries, int row, int column, bool *found = nullptr)
{
    for (const SheetEntry &e : entries)
        if (e.row == row && e.column == column) {
            if (found)
                *found = true;
            return e.value;
        }
    if (found)
        *found = false;
    return {};
}

// A small project as the form shows it: blank figures stand for 0.
ProjectValues smallProject()
{
    ProjectValues v = test::filledForm(u"一号仓"_s, u"郑州粮库"_s);
    v.insert(u"企业代码"_s, u"010010"_s);
    v.insert(u"项目批准单位"_s, u"省发改委"_s);
    v.insert(u"批准文号"_s, u"豫发改〔2013〕1号"_s);
    v.insert(u"项目施工单位"_s, u"一建"_s);
    v.insert(u"项目设计单位"_s, u"设计院"_s);
    v.insert(u"项目监理单位"_s, u"监理公司"_s);
    v.insert(u"可用建设用地"_s, u"12.5"_s);
    v.insert(u"总_建筑安装工程"_s, u"100"_s);
    v.insert(u"总_其他投资"_s, u"3"_s);
    v.insert(u"本年_其他投资"_s, u"0.5"_s);
    v.insert(u"建设_新建仓容"_s, u"5"_s);
    v.insert(u"完成_新建仓容"_s, u"2"_s);
    v.insert(u"建设_其中泊位个数"_s, u"2"_s);
    v.insert(u"完成_地坪"_s, u"800"_s);
    v.insert(u"建设_其中接收能力"_s, u"120"_s);
    v.insert(u"建设_其中散粮汽车"_s, u"4"_s);
    v.insert(u"完成_仓储信息"_s, u"1"_s);
    return v;
}

TEST(ProjectSheetCells, PutEveryValueWhereTheFormWantsIt)
{
    const QVector<SheetEntry> entries = projectSheetEntries(smallProject(), {u"100"_s, QString(), u"0.5"_s});
    const struct {
        int row;
        int column;
        QVariant value;
    } expected[] = {
        {2, 2, u"010010"_s}, // a code stays text
        {3, 2, u"郑州粮库"_s},
        {4, 2, u"河南省郑州市中原区中原路1号"_s},
        {5, 2, u"450000"_s},
        {6, 2, u"地方企业"_s},
        {6, 7, u"年度：2013"_s},
        {7, 3, u"粮油仓储设施项目"_s},
        {8, 3, u"一号仓"_s},
        {8, 8, u"省发改委"_s},
        {8, 13, u"豫发改〔2013〕1号"_s},
        {9, 3, u"国有及国有控股"_s},
        {9, 8, u"新建"_s},
        {10, 3, u"前期项目"_s},
        {11, 3, u"一建"_s},
        {11, 7, u"设计院"_s},
        {11, 10, u"监理公司"_s},
        {11, 13, 12.5},
        {39, 4, u"张三"_s},
        {39, 7, u"0371-12345678"_s},
        {39, 11, u"李四"_s},
        // investment: total in column 3, parts 1 .. 11 in columns 4 .. 14
        {15, 3, 100.0},
        {15, 4, 100.0},
        {15, 14, 3.0},
        {16, 3, {}},
        {17, 3, 0.5},
        {17, 14, 0.5},
        {15, 5, {}}, // a blank figure gives an empty cell, not "0"
        // scale, left half: planned in column 5, completed in column 7
        {19, 5, 5.0},
        {19, 7, 2.0},
        {31, 5, 2.0},   // item 12 below the heading "五、粮食专用码头"
        {38, 7, 800.0}, // item 19
        // right half: planned in column 12, completed in column 13
        {20, 12, 120.0}, // item 20 below the heading "九、散粮中转能力"
        {29, 12, 4.0},   // item 28 below the heading "5、运输设备"
        {38, 13, 1.0},   // item 37
    };
    for (const auto &e : expected) {
        bool found = false;
        const QVariant value = entryAt(entries, e.row, e.column, &found);
        EXPECT_TRUE(found) << e.row << "," << e.column;
        EXPECT_EQ(value, e.value) << e.row << "," << e.column;
    }
    // Heading rows and the new-start cell of a project not started this year stay untouched.
    for (const auto &[row, column] : {std::pair{30, 5}, {30, 7}, {19, 12}, {28, 12}, {28, 13}, {10, 8}}) {
        bool found = true;
        entryAt(entries, row, column, &found);
        EXPECT_FALSE(found) << row << "," << column;
    }
    // Each cell once: 20 header cells, 36 investment cells, 74 scale cells.
    QSet<QPair<int, int>> cells;
    for (const SheetEntry &e : entries)
        cells.insert({e.row, e.column});
    EXPECT_EQ(cells.size(), entries.size());
    EXPECT_EQ(entries.size(), 20 + 36 + 74);

    ProjectValues started = smallProject();
    started.insert(u"本年度开工项目"_s, u"是"_s);
    EXPECT_EQ(entryAt(projectSheetEntries(started, {}), 10, 8), QVariant(u"是"_s));
}

class ProjectSheetExportTest : public ::testing::Test {
protected:
    ProjectSheetExportTest() { Clock::install(&clock); }
    ~ProjectSheetExportTest() override { Clock::install(nullptr); }

    QString target() const { return db.dir() + u"/表格.xlsx"_s; }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2013, 3, 5), QTime(9, 30))};
};

TEST_F(ProjectSheetExportTest, SavesTheProjectAsShownIntoACopyOfTheTemplate)
{
    test::makeSheetTemplate(db.locations(), texts::ProjectSheetName, {{{1, 1}, u"粮食流通基础设施建设投资统计基础报表"_s}, {{10, 8}, u"否"_s}});
    QVariantMap stored;
    const ProjectValues project = smallProject();
    for (auto it = project.cbegin(); it != project.cend(); ++it)
        stored.insert(it.key(), findProjectColumn(it.key())->isNumber() ? QVariant(it.value().toDouble()) : it.value());
    db.addProject(stored);
    TFrmInput1 form(db.context(), {EntryMode::Edit, u"一号仓"_s, u"郑州粮库"_s});
    // Shown but not saved: the sheet takes what the form shows.
    form.findChild<QLineEdit *>(u"MaskEdit002"_s)->setText(u"20"_s);
    dialogs.next(target());
    form.findChild<QPushButton *>(u"BitBtn6"_s)->click();

    EXPECT_EQ(dialogs.proposed, u"粮食流通基础设施建设投资统计基础报表（03-05)"_s);
    ASSERT_EQ(prompter.said.size(), 1u) << prompter.lastText().toStdString();
    EXPECT_EQ(prompter.said.back().caption, u"提示"_s);
    EXPECT_EQ(prompter.said.back().text, u"保存成功！"_s);
    EXPECT_EQ(prompter.said.back().icon, Prompter::Icon::Information);

    const test::SheetCells cells = test::readFirstSheet(target());
    EXPECT_EQ(cells.value({1, 1}).text, u"粮食流通基础设施建设投资统计基础报表"_s); // the template's own
    EXPECT_EQ(cells.value({10, 8}).text, u"否"_s); // not a new start: left as the template has it
    EXPECT_EQ(cells.value({3, 2}).text, u"郑州粮库"_s);
    EXPECT_EQ(cells.value({2, 2}).text, u"010010"_s);
    EXPECT_EQ(cells.value({6, 7}).text, u"年度：2013"_s);
    EXPECT_EQ(cells.value({15, 3}).number, 120.0);
    EXPECT_EQ(cells.value({15, 5}).number, 20.0);
    EXPECT_TRUE(cells.value({15, 5}).isNumeric());
    EXPECT_FALSE(cells.contains({15, 6})); // shown blank
    EXPECT_EQ(cells.value({31, 5}).number, 2.0);
    EXPECT_EQ(cells.value({38, 13}).number, 1.0);

    // The database keeps the stored figures.
    Connection c = db.connect();
    EXPECT_EQ(c.scalar(u"select 总_设备工器具购置 from TZ_XIANGMU"_s).toDouble(), 0.0);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
}

TEST_F(ProjectSheetExportTest, ANewProjectStartedThisYearReplacesAnExistingFile)
{
    test::makeSheetTemplate(db.locations(), texts::ProjectSheetName);
    {
        // Whatever stood at the chosen path goes.
        test::makeSheetTemplate(db.locations(), u"旧"_s, {{{50, 1}, u"旧内容"_s}});
        QFile::remove(target());
        ASSERT_TRUE(QFile::copy(sheetTemplatePath(db.locations(), u"旧"_s), target()));
    }
    TFrmInput1 form(db.context());
    form.findChild<QLineEdit *>(u"MaskEditS1"_s)->setText(u"新项目"_s);
    form.findChild<QCheckBox *>(u"CheckBox1"_s)->setChecked(true);
    dialogs.next(target());
    form.findChild<QPushButton *>(u"BitBtn6"_s)->click();
    EXPECT_EQ(prompter.lastText(), u"保存成功！"_s);

    const test::SheetCells cells = test::readFirstSheet(target());
    EXPECT_FALSE(cells.contains({50, 1}));
    EXPECT_EQ(cells.value({8, 3}).text, u"新项目"_s);
    EXPECT_EQ(cells.value({10, 8}).text, u"是"_s);
    EXPECT_FALSE(cells.contains({15, 3}));
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST_F(ProjectSheetExportTest, CancellingOrAMissingTemplateSaysNoSuccess)
{
    TFrmInput1 form(db.context());
    dialogs.next({});
    form.findChild<QPushButton *>(u"BitBtn6"_s)->click();
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_FALSE(QFile::exists(target()));

    // No template beside the program: the copy fails and is reported by the error handler.
    dialogs.next(target());
    form.findChild<QPushButton *>(u"BitBtn6"_s)->click();
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said.back().caption, u"Granwise（汇总版1.0）"_s);
    EXPECT_TRUE(prompter.said.back().text.startsWith(u"Cannot open file"_s)) << prompter.lastText().toStdString();
}

// The template the build makes: every cell the save writes is an empty cell of the form.
TEST(ProjectSheetTemplate, LeavesTheValueCellsFree)
{
    const QString path = test::builtSheetTemplate(texts::ProjectSheetName);
    if (path.isEmpty())
        GTEST_SKIP() << "the templates have not been built";
    const test::SheetCells cells = test::readFirstSheet(path);
    ProjectValues every;
    for (const ProjectColumn &c : projectColumns())
        every.insert(c.name, c.choices.value(0, u"1"_s));
    for (const SheetEntry &e : projectSheetEntries(every, {u"1"_s, u"1"_s, u"1"_s}))
        EXPECT_TRUE(cells.value({e.row, e.column}).isBlank()) << e.row << "," << e.column;
    EXPECT_EQ(cells.value({1, 1}).text, u"粮食流通基础设施建设投资统计基础报表"_s);
    EXPECT_EQ(cells.value({2, 1}).text, u"企业代码："_s);
    EXPECT_EQ(cells.value({15, 1}).text, u"一、项目总投资"_s);
    EXPECT_EQ(cells.value({30, 1}).text, u"五、粮食专用码头"_s);
    EXPECT_EQ(cells.value({38, 9}).text, u"3、仓储信息系统"_s);
    EXPECT_EQ(cells.value({39, 1}).text, u"填报人："_s);
}

} // namespace
} // namespace granwise
