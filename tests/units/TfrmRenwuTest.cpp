#include "WindowTestSupport.h"
#include "units/windows/TfrmRenwu.h"

#include "store/Database.h"
#include "store/TaskInfo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

class TfrmRenwuTest : public ::testing::Test {
protected:
    QComboBox *combo(const QString &name) const
    {
        auto *box = window->findChild<QComboBox *>(name);
        EXPECT_NE(box, nullptr) << name.toStdString();
        return box;
    }
    // What the user does when picking an entry from a box's list.
    void choose(const QString &boxName, const QString &entry) const
    {
        QComboBox *box = combo(boxName);
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void clickSave() const { QTest::mouseClick(window->findChild<QPushButton *>(u"BitBtn1"_s), Qt::LeftButton); }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
    std::unique_ptr<TfrmRenwu> window = std::make_unique<TfrmRenwu>(db.path());
};

TEST_F(TfrmRenwuTest, NewInstallationChoosesLevelAndRegionAndSaves)
{
    EXPECT_EQ(window->objectName(), u"TfrmRenwu"_s);
    EXPECT_EQ(window->windowTitle(), u"任务信息"_s);
    EXPECT_EQ(window->size(), QSize(567, 335));
    for (const char16_t *name : {u"ComboBox2", u"ComboBox1", u"ComboBox4", u"ComboBox01", u"ComboBox02",
                                 u"ComboBox03", u"ComboBox3", u"ComboBox04"})
        EXPECT_TRUE(combo(QString::fromUtf16(name))->isEnabled());
    EXPECT_EQ(combo(u"ComboBox2"_s)->currentText(), u"2013"_s);
    EXPECT_EQ(combo(u"ComboBox4"_s)->count(), 0);
    EXPECT_EQ(window->findChild<QPushButton *>(u"BitBtn2"_s)->text(), u"退出"_s);

    QSignalSpy saved(window.get(), &TfrmRenwu::saved);
    choose(u"ComboBox1"_s, u"地方企业"_s);
    EXPECT_EQ(combo(u"ComboBox4"_s)->count(), 4);
    EXPECT_FALSE(combo(u"ComboBox3"_s)->isEnabled());
    choose(u"ComboBox4"_s, u"省级汇总"_s);
    EXPECT_TRUE(combo(u"ComboBox01"_s)->isEnabled());
    EXPECT_FALSE(combo(u"ComboBox02"_s)->isEnabled());
    choose(u"ComboBox01"_s, u"河南省"_s);
    EXPECT_GT(combo(u"ComboBox02"_s)->count(), 10);
    choose(u"ComboBox2"_s, u"2014"_s);
    clickSave();

    EXPECT_TRUE(prompter.said.empty()) << prompter.lastText().toStdString();
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.at(0).at(0).toString(), u"省级汇总"_s);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    const std::optional<TaskInfo> record = readTaskInfo(db.path());
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->year, u"2014"_s);
    EXPECT_EQ(record->province, u"河南省"_s);
    EXPECT_EQ(record->regionCode, u"410000"_s);
    EXPECT_EQ(record->unitName, u"河南省"_s);
}

TEST_F(TfrmRenwuTest, FailingCheckShowsItsTextAndSavesNothing)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy saved(window.get(), &TfrmRenwu::saved);

    choose(u"ComboBox1"_s, u"地方企业"_s);
    choose(u"ComboBox4"_s, u"县级汇总"_s);
    clickSave();
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, u"提示"_s);
    EXPECT_EQ(prompter.said[0].text, u" 请选择省！"_s);
    EXPECT_EQ(prompter.said[0].icon, Prompter::Icon::Information);
    EXPECT_TRUE(combo(u"ComboBox01"_s)->hasFocus());

    choose(u"ComboBox1"_s, u"中央企业"_s);
    choose(u"ComboBox4"_s, u"中储粮分公司"_s);
    EXPECT_EQ(combo(u"ComboBox3"_s)->currentText(), u"中储粮"_s);
    EXPECT_FALSE(combo(u"ComboBox3"_s)->isEnabled());
    clickSave();
    EXPECT_EQ(prompter.lastText(), u"请选择分公司！"_s);
    EXPECT_TRUE(combo(u"ComboBox04"_s)->hasFocus());

    EXPECT_EQ(saved.count(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(db.count(u"任务信息"_s), 0);

    choose(u"ComboBox04"_s, u"中储粮河南分公司"_s);
    clickSave();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readTaskInfo(db.path())->regionCode, u"222222"_s);
}

TEST_F(TfrmRenwuTest, BoxesShowStateColoursAndDiscardTypedKeys)
{
    choose(u"ComboBox1"_s, u"中央企业"_s);
    choose(u"ComboBox4"_s, u"中粮"_s);
    const QColor yellow(0xFF, 0xFF, 0x00);
    const QColor silver(0xC0, 0xC0, 0xC0);
    QComboBox *company = combo(u"ComboBox3"_s);
    EXPECT_FALSE(company->isEnabled());
    EXPECT_EQ(company->palette().color(QPalette::Disabled, QPalette::Base), yellow); // fixed
    EXPECT_EQ(company->currentText(), u"中粮"_s);
    QComboBox *province = combo(u"ComboBox01"_s);
    EXPECT_FALSE(province->isEnabled());
    EXPECT_EQ(province->palette().color(QPalette::Disabled, QPalette::Base), silver); // off
    QComboBox *year = combo(u"ComboBox2"_s);
    EXPECT_EQ(year->palette().color(QPalette::Active, QPalette::Base), yellow); // on

    QTest::keyClicks(year, u"1999"_s);
    QTest::keyClick(year, Qt::Key_Backspace);
    QTest::keyClicks(year->lineEdit(), u"x"_s);
    EXPECT_EQ(year->currentText(), u"2013"_s);
    EXPECT_EQ(year->count(), 21);
}

TEST_F(TfrmRenwuTest, ReopenedRecordShowsItsTextsAndStates)
{
    TaskInfo info;
    info.year = u"2016"_s;
    info.affiliation = u"地方企业"_s;
    info.level = u"地级汇总"_s;
    info.province = u"河南省"_s;
    info.prefecture = u"郑州市"_s;
    {
        Connection connection(db.path());
        writeTaskInfo(connection, info);
    }
    TfrmRenwu reopened(db.path());
    auto text = [&](const char16_t *name) {
        return reopened.findChild<QComboBox *>(QString::fromUtf16(name))->currentText();
    };
    EXPECT_EQ(text(u"ComboBox2"), u"2016"_s);
    EXPECT_EQ(text(u"ComboBox1"), u"地方企业"_s);
    EXPECT_EQ(text(u"ComboBox4"), u"地级汇总"_s);
    EXPECT_EQ(text(u"ComboBox02"), u"郑州市"_s);
    EXPECT_EQ(reopened.findChild<QComboBox *>(u"ComboBox02"_s)->count(), 0);
    EXPECT_FALSE(reopened.findChild<QComboBox *>(u"ComboBox03"_s)->isEnabled());

    QSignalSpy saved(&reopened, &TfrmRenwu::saved);
    QTest::mouseClick(reopened.findChild<QPushButton *>(u"BitBtn1"_s), Qt::LeftButton);
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.at(0).at(0).toString(), u"地级汇总"_s);
    EXPECT_EQ(readTaskInfo(db.path())->regionCode, u"000000"_s);
    EXPECT_EQ(readTaskInfo(db.path())->unitName, u"郑州市"_s);
}

TEST_F(TfrmRenwuTest, MissingBranchTableShowsTheErrorAndTheWindowStays)
{
    {
        Connection connection(db.path());
        connection.execute(u"drop table 中粮分公司"_s);
    }
    choose(u"ComboBox1"_s, u"中央企业"_s);
    choose(u"ComboBox3"_s, u"中粮"_s);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, u"Granwise（汇总版1.0）"_s);
    EXPECT_EQ(prompter.said[0].text, u"数据库中没有分公司表“中粮分公司”。"_s);
    EXPECT_EQ(prompter.said[0].icon, Prompter::Icon::Error);
    EXPECT_EQ(combo(u"ComboBox3"_s)->currentText(), u"中粮"_s);
    EXPECT_EQ(combo(u"ComboBox04"_s)->count(), 0);

    choose(u"ComboBox3"_s, u"华粮"_s);
    EXPECT_EQ(combo(u"ComboBox04"_s)->count(), 5);
}

TEST_F(TfrmRenwuTest, ExitClosesWithoutSaving)
{
    QSignalSpy saved(window.get(), &TfrmRenwu::saved);
    choose(u"ComboBox1"_s, u"中央企业"_s);
    choose(u"ComboBox4"_s, u"中纺"_s);
    QTest::mouseClick(window->findChild<QPushButton *>(u"BitBtn2"_s), Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(db.count(u"任务信息"_s), 0);
}

} // namespace
} // namespace granwise
