#include "WindowTestSupport.h"
#include "ExchangeFixture.h"
#include "exchange/UploadFile.h"
#include "exchange/windows/UploadWindows.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/AppLocations.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include <QFile>
#include <QProgressBar>
#include <QWidget>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class UploadWindowsTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        Clock::install(&clock);
        bar = new QProgressBar(&window);
        bar->hide();
        Connection connection(db->path());
        TaskInfo info;
        info.year = u"2013"_s;
        info.unitName = u"某县粮食局"_s;
        writeTaskInfo(connection, info);
    }
    void TearDown() override
    {
        Clock::install(nullptr);
        ExchangeTest::TearDown();
    }

    FixedClock clock{QDateTime(QDate(2013, 5, 9), QTime(10, 30))};
    RecordingPrompter prompter;
    ScriptedFileDialogs dialogs;
    QWidget window;
    QProgressBar *bar = nullptr;
};

} // namespace

TEST_F(UploadWindowsTest, MakesTheUploadFileUnderTheProposedName)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    addProject(u"乙企业"_s, u"二号库"_s);
    const QString path = file(u"上报.xlsx"_s);
    dialogs.next(path);

    makeUploadFile(&window, bar, db->context());

    EXPECT_EQ(dialogs.proposed, u"(投资)上报文件-某县粮食局-05-09.xlsx"_s);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, u"消息"_s);
    EXPECT_EQ(prompter.said[0].text, u"文件导出成功!"_s);
    EXPECT_EQ(prompter.said[0].icon, Prompter::Icon::Information);
    EXPECT_EQ(bar->maximum(), 2 + 5);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(sheetCells(path, u"数据信息"_s).size(), 3);
}

TEST_F(UploadWindowsTest, RefusesWhileAProjectIsNotValidated)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    addProject(u"乙企业"_s, u"二号库"_s, {{col::ValidationStatus, u""_s}});
    dialogs.next(file(u"x.xlsx"_s));

    makeUploadFile(&window, bar, db->context());

    EXPECT_EQ(prompter.texts(), QStringList{u"数据库中存在未校验记录，不能制作上报文件!"_s});
    EXPECT_EQ(prompter.said[0].caption, u"消息"_s);
    EXPECT_TRUE(dialogs.proposed.isEmpty()); // no save dialog
    EXPECT_FALSE(QFile::exists(file(u"x.xlsx"_s)));
}

TEST_F(UploadWindowsTest, CancellingOrAMissingTemplate)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    makeUploadFile(&window, bar, db->context()); // the dialog is cancelled
    EXPECT_TRUE(prompter.said.empty());

    QFile::remove(uploadTemplatePath(db->locations()));
    dialogs.next(file(u"x.xlsx"_s));
    makeUploadFile(&window, bar, db->context());
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, ApplicationTitle);
    EXPECT_EQ(prompter.said[0].text, u"Cannot open file "_s + uploadTemplatePath(db->locations()));
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(QFile::exists(file(u"x.xlsx"_s)));
}

TEST_F(UploadWindowsTest, ImportsTheChosenFilesAndSaysWhatHappenedToEach)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    writeWorkbook(file(u"a.xlsx"_s), u"数据信息"_s, uploadHeader(),
                  {uploadRow(u"甲企业"_s, u"一号库"_s), uploadRow(u"乙企业"_s, u"二号库"_s)});
    writeWorkbook(file(u"b.xlsx"_s), u"Sheet1"_s, uploadHeader(), {uploadRow(u"丙企业"_s, u"三号库"_s)});

    dialogs.nextMany({file(u"a.xlsx"_s)});
    importUploadFiles(&window, bar, db->context());
    EXPECT_EQ(prompter.lastText(), u"文件导入成功!\n\na.xlsx：新增 2 行，替换原有项目 1 个"_s);
    EXPECT_EQ(prompter.said.back().caption, u"消息"_s);
    EXPECT_TRUE(bar->isHidden());

    dialogs.nextMany({file(u"a.xlsx"_s), file(u"b.xlsx"_s)});
    importUploadFiles(&window, bar, db->context());
    EXPECT_EQ(prompter.lastText(), u"文件导入出现错误，导入中断，请修改后重新导入!\n\n"
                                   u"a.xlsx：新增 2 行，替换原有项目 2 个\n"
                                   u"b.xlsx：未导入。工作簿中没有工作表“数据信息”："_s + file(u"b.xlsx"_s));
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 2);

    dialogs.nextMany({file(u"a.XLSX"_s)});
    importUploadFiles(&window, bar, db->context());
    EXPECT_EQ(prompter.lastText(), u"文件类型错误，导入取消!"_s);

    const size_t said = prompter.said.size();
    importUploadFiles(&window, bar, db->context()); // cancelled
    EXPECT_EQ(prompter.said.size(), said);
}

TEST_F(UploadWindowsTest, NoQuestionWhenNoFileCanBeImported)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    // A saved statistical table is no upload file: it has no sheet "数据信息".
    writeWorkbook(file(u"表1-1.xlsx"_s), u"Sheet1"_s, uploadHeader(), {uploadRow(u"丙企业"_s, u"三号库"_s)});

    dialogs.nextMany({file(u"表1-1.xlsx"_s)});
    importUploadFiles(&window, bar, db->context());

    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_FALSE(prompter.said[0].buttons.has_value()) << "asked instead of saying why";
    EXPECT_EQ(prompter.said[0].caption, u"上报数据入库"_s);
    EXPECT_EQ(prompter.said[0].text, u"所选文件都不能导入，数据库未作任何改动。\n\n"
                                     u"表1-1.xlsx：不能导入。工作簿中没有工作表“数据信息”："_s + file(u"表1-1.xlsx"_s));
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 1);
    EXPECT_TRUE(bar->isHidden());
}
