#include "shell/LoginDialog.h"
#include "shell/MainWindow.h"
#include "shell/UsersDialog.h"
#include "store/TaskInfo.h"
#include "store/UserAccount.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;
using test::whenModalOpens;

namespace {

QLineEdit *box(QWidget &w, const char *name)
{
    return w.findChild<QLineEdit *>(QString::fromLatin1(name));
}

void click(QWidget &w, const char *name)
{
    QTest::mouseClick(w.findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
}

// Within the few pixels of the window frame.
bool centredOnScreen(const QWidget &window)
{
    return (window.geometry().center() - window.screen()->availableGeometry().center()).manhattanLength() <= 8;
}

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Connection c = db.connect();
        account::createFirst(c, u"admin"_s, u"secret "_s);
    }
    test::TempDatabase db;
    test::RecordingPrompter prompter;
};

} // namespace

TEST_F(LoginTest, WrongThenRightPassword)
{
    Tlogin login(db.path());
    EXPECT_EQ(box(login, "Edit1")->text(), u"admin"_s);
    EXPECT_FALSE(box(login, "Edit1")->isEnabled());
    EXPECT_EQ(login.windowTitle(), u"系统登录"_s);

    QTest::keyClicks(box(login, "Edit2"), u"secret"_s); // the trailing blank is missing
    click(login, "BitBtn1");
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, u"密码错误"_s);
    EXPECT_EQ(prompter.said[0].text, u"密码错误！"_s);
    EXPECT_EQ(prompter.said[0].icon, Prompter::Icon::Warning);
    EXPECT_TRUE(login.endsProgramOnClose());

    QTest::keyClick(box(login, "Edit2"), Qt::Key_Space);
    QTest::keyClick(box(login, "Edit2"), Qt::Key_Return); // Enter logs in like the button
    EXPECT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_FALSE(login.endsProgramOnClose());
}

TEST_F(LoginTest, EmptyPasswordAndEnter)
{
    Tlogin login(db.path());
    QTest::keyClick(box(login, "Edit2"), Qt::Key_Return);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, u"操作提示"_s);
    EXPECT_EQ(prompter.said[0].text, u"请输入密码！"_s);
    EXPECT_NE(login.result(), QDialog::Accepted);
}

TEST_F(LoginTest, ExitOrCloseEndsTheProgram)
{
    TFrmmain window(db.context());
    whenModalOpens([](QWidget &login) { click(login, "BitBtn2"); });
    EXPECT_FALSE(window.FormCreate());

    whenModalOpens([](QWidget &login) { login.close(); });
    EXPECT_FALSE(window.FormCreate());
}

TEST_F(LoginTest, SuccessfulLoginShowsTheMenuOfTheLevel)
{
    {
        Connection c = db.connect();
        TaskInfo info;
        info.level = u"县级汇总"_s;
        writeTaskInfo(c, info);
    }
    TFrmmain window(db.context());
    whenModalOpens([](QWidget &login) {
        EXPECT_TRUE(centredOnScreen(login));
        QTest::keyClicks(box(login, "Edit2"), u"secret "_s);
        click(login, "BitBtn1");
    });
    EXPECT_TRUE(window.FormCreate());
    EXPECT_TRUE(window.menuAction(u"N51"_s)->isVisible());
    EXPECT_FALSE(window.menuAction(u"N211"_s)->isVisible());
    EXPECT_TRUE(window.menuAction(u"N111"_s)->isVisible());
}

TEST(FirstAccount, CreatedAtStartUpKeepsBlanks)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    TFrmmain window(db.context());
    whenModalOpens([](QWidget &users) {
        EXPECT_EQ(users.objectName(), u"TFrmusers"_s);
        EXPECT_EQ(users.windowTitle(), u"登录信息"_s);
        box(users, "Ediunit")->setText(u" 张三 "_s);
        QTest::keyClicks(box(users, "Edit1"), u"pw "_s);
        QTest::keyClicks(box(users, "Edit2"), u"pw "_s);
        // Centred on the screen although the main window is not shown yet.
        EXPECT_TRUE(centredOnScreen(users));
        // Enter confirms, as in the login window.
        QTest::keyClick(box(users, "Edit2"), Qt::Key_Return);
    });
    EXPECT_TRUE(window.FormCreate());
    EXPECT_TRUE(prompter.said.empty());
    Connection c = db.connect();
    EXPECT_EQ(account::userName(c), u" 张三 "_s);
    EXPECT_TRUE(account::verify(c, u" 张三 "_s, u"pw "_s));
    // A new installation offers task management, help and exit only.
    EXPECT_FALSE(window.menuAction(u"N1"_s)->isVisible());
    EXPECT_TRUE(window.menuAction(u"N2"_s)->isVisible());
}

TEST(FirstAccount, CancelAtStartUpEndsTheProgramAndStoresNothing)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    TFrmmain window(db.context());
    whenModalOpens([](QWidget &users) { click(users, "BitBtn2"); });
    EXPECT_FALSE(window.FormCreate());
    EXPECT_EQ(db.count(u"userinfo"_s), 0);
    // The next start asks for the first account again.
    whenModalOpens([](QWidget &users) {
        EXPECT_EQ(users.objectName(), u"TFrmusers"_s);
        users.close();
    });
    EXPECT_FALSE(window.FormCreate());
}

TEST(AccountWindow, ChecksInOrderAndFocuses)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    {
        Connection c = db.connect();
        account::createFirst(c, u"admin"_s, u"old"_s);
    }
    TFrmusers users(db.path(), TFrmusers::Mode::ChangeAccount);
    users.show();
    QApplication::setActiveWindow(&users);
    EXPECT_EQ(box(users, "Ediunit")->text(), u"admin"_s);
    EXPECT_TRUE(box(users, "Edit1")->text().isEmpty()); // a hash cannot be shown

    const struct {
        const char *name;
        const char *password;
        const char *confirmation;
        const char *message;
        const char *focus;
    } cases[] = {
        {"   ", "a", "a", "请输入用户名！", "Ediunit"},
        {"x", "", "a", "请填入密码！", "Edit1"},
        {"x", "a", "", "请填入密码！", "Edit1"},
        {"x", "abcd", "abce", "密码和确认密码不一致，请重新填写！", "Edit2"},
    };
    for (const auto &c : cases) {
        prompter.said.clear();
        box(users, "Ediunit")->setText(QString::fromUtf8(c.name));
        box(users, "Edit1")->setText(QString::fromUtf8(c.password));
        box(users, "Edit2")->setText(QString::fromUtf8(c.confirmation));
        click(users, "BitBtn1");
        ASSERT_EQ(prompter.said.size(), 1u) << c.message;
        EXPECT_EQ(prompter.said[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(prompter.said[0].caption, u"操作提示"_s);
        EXPECT_EQ(QApplication::focusWidget(), box(users, c.focus)) << c.message;
    }
    Connection c = db.connect();
    EXPECT_TRUE(account::verify(c, u"admin"_s, u"old"_s)); // nothing stored

    prompter.said.clear();
    box(users, "Ediunit")->setText(u"  李四 "_s);
    box(users, "Edit1")->setText(u"new"_s);
    box(users, "Edit2")->setText(u"new"_s);
    click(users, "BitBtn1");
    EXPECT_EQ(prompter.lastText(), u"内容修改成功！"_s);
    EXPECT_EQ(prompter.said.back().icon, Prompter::Icon::Information);
    EXPECT_EQ(account::userName(c), u"李四"_s);
    EXPECT_TRUE(account::verify(c, u"李四"_s, u"new"_s));
    EXPECT_FALSE(users.endsProgram());
}
