#include "CliRun.h"
#include "TestSupport.h"
#include "store/TaskInfo.h"
#include "units/TaskInfoForm.h"

#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

using test::runCli;

namespace {

test::CliResult setTask(const test::TempDatabase &db, const QStringList &args)
{
    return runCli(QStringList{u"--db"_s, db.path(), u"task"_s, u"set"_s} + args, db.context());
}

} // namespace

// The record written from the command line is the one the window writes for the same choices.
TEST(TaskCommands, SetWritesWhatTheWindowWritesAndShowPrintsIt)
{
    const struct {
        QStringList args;
        void (*choose)(taskinfo::TaskInfoForm &);
    } cases[] = {
        {{u"--year"_s, u"2013"_s, u"--affiliation"_s, u"地方企业"_s, u"--level"_s, u"地级汇总"_s, u"--province"_s,
          u"河南省"_s, u"--prefecture"_s, u"开封市"_s},
         [](taskinfo::TaskInfoForm &f) {
             f.chooseAffiliation(u"地方企业"_s);
             f.chooseLevel(u"地级汇总"_s);
             f.chooseProvince(u"河南省"_s);
             f.choosePrefecture(u"开封市"_s);
         }},
        {{u"--year"_s, u"2013"_s, u"--affiliation"_s, u"中央企业"_s, u"--level"_s, u"中储粮分公司"_s, u"--branch"_s,
          u"中储粮河南分公司"_s},
         [](taskinfo::TaskInfoForm &f) {
             f.chooseAffiliation(u"中央企业"_s);
             f.chooseLevel(u"中储粮分公司"_s);
             f.chooseBranch(u"中储粮河南分公司"_s);
         }},
        // The enterprise the level fixes may be named again.
        {{u"--year"_s, u"2013"_s, u"--affiliation"_s, u"中央企业"_s, u"--level"_s, u"中粮"_s, u"--company"_s, u"中粮"_s},
         [](taskinfo::TaskInfoForm &f) {
             f.chooseAffiliation(u"中央企业"_s);
             f.chooseLevel(u"中粮"_s);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        test::TempDatabase byWindow, byCli;
        taskinfo::TaskInfoForm form{taskinfo::TaskInfoLookups(byWindow.path())};
        form.open();
        c.choose(form);
        ASSERT_FALSE(form.saveRefusal());
        form.save();

        const test::CliResult r = setTask(byCli, c.args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const TaskInfo expected = *readTaskInfo(byWindow.path());
        const TaskInfo written = *readTaskInfo(byCli.path());
        EXPECT_EQ(written.regionCode, expected.regionCode);
        EXPECT_EQ(written.unitName, expected.unitName);
        EXPECT_EQ(written.company, expected.company);
        EXPECT_EQ(written.branch, expected.branch);
        EXPECT_EQ(written.prefecture, expected.prefecture);

        const test::CliResult shown = runCli({u"--db"_s, byCli.path(), u"task"_s, u"show"_s});
        EXPECT_TRUE(shown.out.contains(u"\n行政区划码="_s + expected.regionCode + u"\n归属="_s + expected.unitName + u'\n'))
            << shown.out.toStdString();
    }
}

TEST(TaskCommands, RefusedSettingsWriteNothing)
{
    const QStringList local{u"--year"_s, u"2013"_s, u"--affiliation"_s, u"地方企业"_s};
    const struct {
        QStringList args;
        int code;
        QString message;
    } cases[] = {
        {local + QStringList{u"--level"_s, u"地级汇总"_s, u"--province"_s, u"河南省"_s}, 1, u"请选择地市！"_s},
        {local + QStringList{u"--level"_s, u"省级汇总"_s}, 1, u"请选择省！"_s},
        {local + QStringList{u"--level"_s, u"省级汇总"_s, u"--province"_s, u"河南"_s}, 1, u"“河南”不是可选的省"_s},
        {local + QStringList{u"--level"_s, u"省级汇总"_s, u"--province"_s, u"河南省"_s, u"--prefecture"_s, u"开封市"_s},
         1, u"汇总级别“省级汇总”不填写地市"_s},
        {{u"--year"_s, u"1999"_s, u"--affiliation"_s, u"地方企业"_s, u"--level"_s, u"国家级汇总"_s}, 1,
         u"“1999”不是可选的填报年份"_s},
        {{u"--year"_s, u"2013"_s, u"--affiliation"_s, u"中央企业"_s, u"--level"_s, u"中储粮分公司"_s}, 1,
         u"请选择分公司！"_s},
        {local, 2, QString()},
        {local + QStringList{u"--level"_s}, 2, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        test::TempDatabase db;
        const test::CliResult r = setTask(db, c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_EQ(db.count(u"任务信息"_s), 0);
    }
    test::TempDatabase empty;
    EXPECT_EQ(runCli({u"--db"_s, empty.path(), u"task"_s, u"show"_s}).code, 1);
}
