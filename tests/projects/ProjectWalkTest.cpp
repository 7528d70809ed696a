// One walk through the windows as a user takes it: list -> add -> save -> the list afresh ->
// edit -> back -> the list afresh -> close.
#include "ModalScript.h"
#include "ProjectTestData.h"
#include "WindowTestSupport.h"
#include "projects/windows/ProjectForm.h"
#include "projects/ProjectListModel.h"
#include "projects/windows/ProjectListWindow.h"
#include "projects/windows/ProjectWindows.h"
#include "store/Clock.h"
#include "store/TaskInfo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

void typeInto(QWidget *window, const QString &name, const QString &text)
{
    auto *edit = window->findChild<QLineEdit *>(name);
    ASSERT_TRUE(edit) << name.toStdString();
    // Key clicks carry Latin-1 only; other text arrives as typed input would.
    bool latin = true;
    for (const QChar c : text)
        latin = latin && c.unicode() < 0x80;
    if (latin)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
}

void click(QWidget *window, const QString &name)
{
    auto *button = window->findChild<QPushButton *>(name);
    ASSERT_TRUE(button) << name.toStdString();
    button->click();
}

QString fieldText(QWidget *window, const QString &name)
{
    auto *edit = window->findChild<QLineEdit *>(name);
    return edit ? edit->text() : u"<missing>"_s;
}

TEST(ProjectWalk, ListFormSaveAndBackUnwindTheStack)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    FixedClock clock(QDateTime(QDate(2013, 7, 1), QTime(10, 30, 0)));
    Clock::install(&clock);
    {
        Connection c = db.connect();
        TaskInfo task;
        task.year = u"2013"_s;
        task.affiliation = u"地方企业"_s;
        task.level = u"县级汇总"_s;
        task.province = u"河南省"_s;
        task.prefecture = u"郑州市"_s;
        task.county = u"中原区"_s;
        writeTaskInfo(c, task);
    }
    db.addProject({{u"项目名称"_s, u"老项目"_s}, {u"企业详细名称"_s, u"老企业"_s}, {u"修改时间"_s, u"2012-01-01 00:00:00"_s}});

    int listsSeen = 0;
    test::ModalScript script;
    script
        .then(u"TFrmList1"_s,
              [&](QWidget *list) {
                  ++listsSeen;
                  EXPECT_EQ(static_cast<TFrmList1 *>(list)->model()->projectCount(), 1);
                  click(list, u"BitBtn4"_s); // 添加
              })
        .then(u"TFrmInput1"_s,
              [&](QWidget *form) {
                  // The county level fixes the region.
                  EXPECT_EQ(form->findChild<QComboBox *>(u"ComboBox03"_s)->currentText(), u"中原区"_s);
                  EXPECT_FALSE(form->findChild<QComboBox *>(u"ComboBox01"_s)->isEnabled());
                  typeInto(form, u"Edit5"_s, u"E-7"_s);
                  typeInto(form, u"Edit6"_s, u"新\"企业\""_s);
                  typeInto(form, u"Edit9"_s, u"45x0001"_s);
                  typeInto(form, u"MaskEditS1"_s, u"新项目"_s);
                  typeInto(form, u"MaskEditS7"_s, u"张三"_s);
                  typeInto(form, u"MaskEditS8"_s, u"123"_s);
                  typeInto(form, u"MaskEditS9"_s, u"李四"_s);
                  typeInto(form, u"MaskEdit001"_s, u"12a"_s);
                  typeInto(form, u"MaskEdit009"_s, u"12"_s);
                  EXPECT_EQ(fieldText(form, u"Edit9"_s), u"450001"_s);
                  EXPECT_EQ(fieldText(form, u"MaskEdit001"_s), u"12"_s);
                  EXPECT_EQ(fieldText(form, u"MaskEdit13"_s), u"12"_s);
                  click(form, u"BitBtn2"_s); // 保存: the question is answered OK, the check passes
              })
        .thenAgain(u"TFrmList1"_s,
                   [&](QWidget *list) {
                       ++listsSeen;
                       EXPECT_EQ(prompter.lastText(), u"数据保存成功！"_s);
                       auto *listWindow = static_cast<TFrmList1 *>(list);
                       ProjectListModel *model = listWindow->model();
                       EXPECT_EQ(model->projectCount(), 2);
                       EXPECT_EQ(model->cell(1, 4), u"新项目"_s);
                       EXPECT_EQ(model->cell(1, 9), u"通过"_s);
                       EXPECT_EQ(listWindow->currentRow(), 1); // the saved project is marked
                       EXPECT_EQ(model->highlightedRow(), 1);
                       auto *grid = list->findChild<QTableView *>(u"AdvStringGrid1"_s);
                       QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                         grid->visualRect(model->index(0, 4)).center());
                       EXPECT_EQ(listWindow->currentRow(), 1);
                       click(list, u"BitBtn1"_s); // 修改
                   })
        .then(u"TFrmInput1"_s,
              [&](QWidget *form) {
                  EXPECT_EQ(fieldText(form, u"MaskEditS1"_s), u"新项目"_s);
                  EXPECT_EQ(fieldText(form, u"Edit6"_s), u"新\"企业\""_s);
                  EXPECT_EQ(fieldText(form, u"MaskEdit001"_s), u"12"_s);
                  EXPECT_EQ(fieldText(form, u"MaskEdit002"_s), QString());
                  click(form, u"BitBtn5"_s); // 返回
              })
        .thenAgain(u"TFrmList1"_s, [&](QWidget *list) {
            ++listsSeen;
            click(list, u"BitBtn5"_s); // 返回 closes the list
        });
    script.run([&] { openProjectList(nullptr, db.context()); });
    Clock::install(nullptr);

    EXPECT_EQ(listsSeen, 3);
    Connection c = db.connect();
    EXPECT_EQ(test::columnOfAll(c, u"项目名称"_s), (QStringList{u"老项目"_s, u"新项目"_s}));
    EXPECT_EQ(test::columnOfAll(c, u"企业详细名称"_s).at(1), u"新\"企业\""_s);
    EXPECT_EQ(test::columnOfAll(c, u"校验状态"_s).at(1), u"1"_s);
    EXPECT_EQ(test::columnOfAll(c, u"修改时间"_s).at(1), u"2013-07-01 10:30:00"_s);
    EXPECT_EQ(test::columnOfAll(c, u"行政区划代码"_s).at(1), u"410102"_s);
    EXPECT_EQ(test::columnOfAll(c, u"总_建筑安装工程"_s).at(1), u"12"_s);
    EXPECT_EQ(test::columnOfAll(c, u"年度"_s).at(1), u"2013"_s);
    EXPECT_EQ(test::columnOfAll(c, u"项目类别"_s).at(1), u"粮油仓储设施项目"_s);
    EXPECT_EQ(test::columnOfAll(c, u"隶属关系"_s).at(1), u"地方企业"_s);
    EXPECT_TRUE(prompter.texts().contains(u"是否对数据进行校验？"_s));
}

} // namespace
} // namespace granwise
