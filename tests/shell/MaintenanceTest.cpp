#include "shell/MainWindow.h"
#include "shell/Maintenance.h"
#include "store/Maintenance.h"
#include "WindowTestSupport.h"
#include "ui/DocumentOpener.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {
class MaintenanceMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.addProject({{u"项目名称"_s, u"甲"_s}});
        Connection c = db.connect();
        c.execute(u"insert into 任务信息 (年份, 汇总级别) values ('2013', '省级汇总')"_s);
        window.show();
    }
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    TFrmmain window{db.context()};
};
} // namespace

TEST_F(MaintenanceMenu, ResetAsksFirstAndEndsTheProgram)
{
    prompter.answerNext(Prompter::Answer::Cancel);
    window.choose(u"N10"_s);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_TRUE(window.isVisible());

    window.choose(u"N10"_s);
    ASSERT_EQ(prompter.said.size(), 3u);
    EXPECT_EQ(prompter.said[1].caption, u"提示"_s);
    EXPECT_EQ(prompter.said[1].text, u"系统复位将清除系统中的全部纪录，确定要操作吗？"_s);
    EXPECT_EQ(prompter.said[2].text, u"系统复位完成。请选择确定，退出系统！"_s);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
    EXPECT_EQ(db.count(u"任务信息"_s), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MaintenanceMenu, StrayEnterOnTheResetQuestionKeepsTheData)
{
    // The real question box: Enter answers its default button, which must be 取消.
    Prompter::install(nullptr);
    QString defaultButton;
    test::whenModalOpens([&](QWidget &box) {
        if (auto *b = qobject_cast<QMessageBox *>(&box); b && b->defaultButton())
            defaultButton = b->defaultButton()->text();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    window.choose(u"N10"_s);
    Prompter::install(&prompter);
    EXPECT_EQ(defaultButton, u"取消"_s);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_EQ(db.count(u"任务信息"_s), 1);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MaintenanceMenu, BackupProposesTheUnitAndYear)
{
    window.choose(u"N17"_s); // cancelled
    EXPECT_EQ(dialogs.proposed, u"备份--2013"_s); // 填报单位 is empty at a summarising office
    EXPECT_EQ(prompter.lastText(), u"数据备份取消！"_s);
    EXPECT_EQ(prompter.said.back().caption, u"消息！"_s);

    const QString target = db.dir() + u"/copy.bak"_s;
    dialogs.next(target);
    window.choose(u"N17"_s);
    EXPECT_EQ(prompter.lastText(), u"数据备份成功！"_s);
    EXPECT_TRUE(maintenance::restoreRefusal(target).isEmpty());
}

TEST_F(MaintenanceMenu, RestoreChecksTheFileAndKeepsTheDataOnError)
{
    const QString good = db.dir() + u"/good.bak"_s;
    maintenance::backupDatabase(db.path(), good);
    db.addProject({{u"项目名称"_s, u"乙"_s}});

    const struct {
        const char *name;
        Prompter::Answer answer;
        QString path;
        const char *message; // nullptr: no message after the question
        int projectsAfter;
    } cases[] = {
        {"answered no", Prompter::Answer::No, good, nullptr, 2},
        {"dialog cancelled", Prompter::Answer::Yes, QString(), "文件恢复取消！", 2},
        {"upper-case extension", Prompter::Answer::Yes, db.dir() + u"/GOOD.BAK"_s, "文件类型错误，文件恢复失败！", 2},
        {"not a database", Prompter::Answer::Yes, db.path() + u".txt.bak"_s,
         "文件恢复出现错误，导入中断，请修改后重新导入！\n文件不是本系统的数据库备份", 2},
        {"a good backup", Prompter::Answer::Yes, good, "文件恢复成功！", 1},
    };
    QFile junk(db.path() + u".txt.bak"_s);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("hello");
    junk.close();

    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompter.said.clear();
        prompter.answerNext(c.answer);
        if (!c.path.isNull())
            dialogs.next(c.path);
        else
            dialogs.next(QString());
        window.choose(u"N15"_s);
        EXPECT_EQ(prompter.said.front().text,
                  u"数据恢复将清除系统中的全部记录，请先将数据备份后再执行本操作。确定要操作吗？"_s);
        EXPECT_EQ(prompter.said.front().buttons, Prompter::Buttons::YesNoSafe); // Enter keeps the data
        if (c.message) {
            ASSERT_EQ(prompter.said.size(), 2u);
            EXPECT_EQ(prompter.said[1].text, QString::fromUtf8(c.message));
            EXPECT_EQ(prompter.said[1].caption, u"消息！"_s);
        } else {
            EXPECT_EQ(prompter.said.size(), 1u);
            dialogs.openFileName(nullptr, {}, {}); // the unused scripted path
        }
        EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), c.projectsAfter);
    }
}

TEST_F(MaintenanceMenu, MissingHelpShowsNothing)
{
    window.choose(u"N18"_s);
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(MaintenanceMenu, HelpFallsBackToItsOwnViewerWhenTheDesktopCannotOpenIt)
{
    const QString help = db.locations().helpPath(u"粮食流通基础设施建设投资统计主要指标解释及填报说明.html"_s);
    QDir().mkpath(QFileInfo(help).path());
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body>说明</body></html>");
    file.close();
    const QString opener = DocumentOpener::program();
    // The viewer runs its own event loop: a timer closes it as soon as it is up.
    bool viewerShown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == u"HelpViewer"_s) {
            viewerShown = true;
            modal->close();
        }
    });
    closer.start(10);
    const auto viewerOpens = [&] {
        viewerShown = false;
        return QTest::qWaitFor([&] { return viewerShown; }, 3000);
    };
    // No opener on the desktop, or one that finds no handler (exits with an error): the
    // program's own viewer. An opener that succeeds: nothing more.
    const struct {
        QString program;
        bool viewer;
    } cases[] = {
        {u"/nonexistent/xdg-open"_s, true},
        {u"false"_s, true},
        {u"true"_s, false},
    };
    for (const auto &c : cases) {
        DocumentOpener::program() = c.program;
        window.choose(u"N18"_s);
        EXPECT_EQ(viewerOpens(), c.viewer) << c.program.toStdString();
    }
    DocumentOpener::program() = opener;
    EXPECT_TRUE(prompter.said.empty());
}
