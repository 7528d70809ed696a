#include "WindowTestSupport.h"
#include "CliRun.h"
#include "ExchangeFixture.h"
#include "exchange/UploadImport.h"
#include "exchange/windows/UploadWindows.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include "store/Clock.h"

#include <QDir>
#include <QFile>
#include <QWidget>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

// A prefecture office (开封市, 410200) holding four projects:
//   甲/一号库 410202 saved 2013-05-08, 甲/二号库 410202, 乙/三号库 410203, 丙/四号库 410205.
// The county file of 410202 re-sent by a unit: 一号库 with an older time and moved to 410203,
// 五号库 new, 六号库 of 安阳 (410502), 七号库 claiming "passed" with a five-digit postal code.
class UploadIntakeTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        TaskInfo office;
        office.year = u"2013"_s;
        office.affiliation = u"地方企业"_s;
        office.level = u"地级汇总"_s;
        office.province = u"河南省"_s;
        office.prefecture = u"开封市"_s;
        office.regionCode = u"410200"_s;
        office.unitName = u"开封市"_s;
        Connection c = db->connect();
        writeTaskInfo(c, office);
        addProject(u"甲"_s, u"一号库"_s, {{u"行政区划代码"_s, u"410202"_s}, {u"修改时间"_s, u"2013-05-08 10:00:00"_s}});
        addProject(u"甲"_s, u"二号库"_s, {{u"行政区划代码"_s, u"410202"_s}});
        addProject(u"乙"_s, u"三号库"_s, {{u"行政区划代码"_s, u"410203"_s}});
        addProject(u"丙"_s, u"四号库"_s, {{u"行政区划代码"_s, u"410205"_s}});
    }
    QString resent()
    {
        const QString path = file(u"x.xlsx"_s);
        writeWorkbook(path, u"数据信息"_s, uploadHeader(),
                      {uploadRow(u"甲"_s, u"一号库"_s,
                                 {{u"行政区划代码"_s, u"410203"_s}, {u"修改时间"_s, u"2013-05-01 09:00:00"_s}}),
                       uploadRow(u"甲"_s, u"五号库"_s, {{u"行政区划代码"_s, u"410202"_s}}),
                       uploadRow(u"丁"_s, u"六号库"_s, {{u"行政区划代码"_s, u"410502"_s}}),
                       uploadRow(u"甲"_s, u"七号库"_s, {{u"行政区划代码"_s, u"410202"_s}, {u"邮政编码"_s, u"47500"_s}})});
        return path;
    }
    // (enterprise/project, 行政区划代码, 校验状态) of every stored project, in id order.
    QStringList stored() const
    {
        QStringList rows;
        Connection c = db->connect();
        Statement st = c.prepare(u"select 企业详细名称, 项目名称, 行政区划代码, 校验状态 from TZ_XIANGMU order by id"_s);
        while (st.next())
            rows << st.text(0) + u'/' + st.text(1) + u' ' + st.text(2) + u' ' + st.text(3);
        return rows;
    }
    CliResult cli(const QStringList &args) { return runCli(QStringList{u"--db"_s, db->path()} + args, db->context()); }
};

const QStringList Warnings{
    u"x.xlsx：警告：1 行不属于本单位地区（开封市）"_s,
    u"x.xlsx：警告：1 行的修改时间早于数据库中被替换的项目，导入会用旧数据覆盖新数据"_s,
    u"x.xlsx：警告：1 个项目在数据库中属于另一个行政区划代码，导入后将改属文件中的地区"_s,
    u"x.xlsx：警告：1 行标为已通过校验但实际未通过，将存为未校验"_s,
};
const QString LeftoverWarning =
    u"x.xlsx：警告：数据库中文件所列地区还有 2 个文件中没有的原有项目，将继续保留（按地区整体替换可删除）"_s;

} // namespace

TEST_F(UploadIntakeTest, DryRunWarnsPerFileAndWritesNothing)
{
    const QString path = resent();
    const QByteArray before = databaseHash();

    const CliResult r = cli({u"import"_s, u"--dry-run"_s, path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts),
              QStringList{u"x.xlsx：4 行，将替换原有项目 1 个（甲／一号库），文件内同键的行 0 行，未通过校验的行 1 行"_s}
                  + Warnings + QStringList{LeftoverWarning});
    EXPECT_EQ(databaseHash(), before);

    // The leftovers are 二号库 (410202) and 三号库 (410203); 四号库's county is not in the file.
    const CliResult replacing = cli({u"import"_s, u"--dry-run"_s, u"--replace-region"_s, path});
    EXPECT_TRUE(replacing.out.startsWith(u"x.xlsx：4 行，将替换原有项目 1 个（甲／一号库），文件内同键的行 0 行，"
                                         u"未通过校验的行 1 行，按地区整体替换将删除文件中没有的原有项目 2 个\n"_s))
        << replacing.out.toStdString();
    EXPECT_FALSE(replacing.out.contains(LeftoverWarning));
    EXPECT_EQ(databaseHash(), before);
}

TEST_F(UploadIntakeTest, ImportStoresTheTruthfulStatusAndGoesOnAfterWarnings)
{
    const CliResult r = cli({u"import"_s, resent()});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts),
              QStringList{u"x.xlsx：新增 4 行，替换原有项目 1 个，其中 1 行未通过校验，已存为未校验"_s} + Warnings
                  + QStringList{LeftoverWarning});
    EXPECT_EQ(stored(), (QStringList{u"甲/二号库 410202 1"_s, u"乙/三号库 410203 1"_s, u"丙/四号库 410205 1"_s,
                                     u"甲/一号库 410203 1"_s, u"甲/五号库 410202 1"_s, u"丁/六号库 410502 1"_s,
                                     u"甲/七号库 410202 0"_s}));
    // What was stored as not validated keeps the upload file from being made.
    EXPECT_EQ(cli({u"export"_s, file(u"up.xlsx"_s)}).code, 1);
}

TEST_F(UploadIntakeTest, ReplaceRegionLeavesExactlyTheResentReturnForItsRegions)
{
    const CliResult r = cli({u"import"_s, u"--replace-region"_s, resent()});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(u"x.xlsx：新增 4 行，替换原有项目 1 个，按地区整体替换删除文件中没有的原有项目 2 个，"
                                 u"其中 1 行未通过校验，已存为未校验\n"_s))
        << r.out.toStdString();
    EXPECT_EQ(stored(), (QStringList{u"丙/四号库 410205 1"_s, u"甲/一号库 410203 1"_s, u"甲/五号库 410202 1"_s,
                                     u"丁/六号库 410502 1"_s, u"甲/七号库 410202 0"_s}));

    // The same file again replaces itself and nothing else.
    EXPECT_EQ(cli({u"import"_s, u"--replace-region"_s, file(u"x.xlsx"_s)}).code, 0);
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 5);
}

TEST_F(UploadIntakeTest, ARefusedFileLeavesNothingBehindInASharedSession)
{
    writeWorkbook(file(u"bad.xlsx"_s), u"数据信息"_s, uploadHeader(),
                  {uploadRow(u"甲"_s, u"二号库"_s), uploadRow(u"戊"_s, u"八号库"_s, {{u"总_银行贷款"_s, u"十二"_s}})});
    const QString good = resent();
    const QVector<QStringList> before = tableRows();
    Progress silent;
    UploadIntake session(db->path());
    EXPECT_TRUE(session.take(file(u"bad.xlsx"_s), silent).refused());
    EXPECT_EQ(tableRows(), before) << "nothing is written before commit";
    EXPECT_FALSE(session.take(good, silent).refused());
    session.commit();
    // 甲/二号库 is still held: the refused file's replacement was undone with it.
    EXPECT_TRUE(stored().contains(u"甲/二号库 410202 1"_s));
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 7);
}

TEST_F(UploadIntakeTest, TheDesktopShowsTheWarningsAndAsksBeforeEachChange)
{
    RecordingPrompter prompter;
    ScriptedFileDialogs dialogs;
    QWidget window;
    const QString path = resent();
    const QByteArray before = databaseHash();

    dialogs.nextMany({path});
    prompter.answerNext(Prompter::Answer::No);
    importUploadFiles(&window, nullptr, db->context());
    ASSERT_EQ(prompter.said.size(), 1u);
    for (const QString &w : Warnings)
        EXPECT_TRUE(prompter.said[0].text.contains(w)) << w.toStdString();
    EXPECT_EQ(databaseHash(), before);

    // Yes to the import, then Yes to removing what the re-sent return dropped.
    prompter.said.clear();
    dialogs.nextMany({path});
    prompter.answerNext(Prompter::Answer::Yes);
    prompter.answerNext(Prompter::Answer::Yes);
    importUploadFiles(&window, nullptr, db->context());
    ASSERT_EQ(prompter.said.size(), 3u);
    EXPECT_TRUE(prompter.said[1].text.contains(u"x.xlsx：2 个"_s)) << prompter.said[1].text.toStdString();
    // Removing projects is never what a stray Enter does.
    EXPECT_EQ(prompter.said[1].buttons, Prompter::Buttons::YesNoSafe);
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 5);
}

TEST_F(UploadIntakeTest, DeleteByKeyAndByRegion)
{
    addProject(u"己"_s, u"八号库"_s, {{u"行政区划代码"_s, u"410502"_s}});
    const struct {
        QStringList args;
        int code;
        QString out;
        int left;
    } cases[] = {
        {{u"--key"_s, u"甲"_s, u"无此库"_s}, 0, u"已删除项目 0 个\n"_s, 5},
        {{u"--key"_s, u"甲"_s, u"一号库"_s}, 0, u"已删除项目 1 个\n"_s, 4},
        {{u"--region"_s, u"410203"_s}, 0, u"已删除项目 1 个\n"_s, 3},   // a county
        {{u"--region"_s, u"410200"_s}, 0, u"已删除项目 2 个\n"_s, 1},   // a prefecture
        {{u"--region"_s, u"000000"_s}, 1, QString(), 1},                // names no region
        {{u"--region"_s, u"4105"_s}, 1, QString(), 1},
        {{u"--region"_s, u"410000"_s}, 0, u"已删除项目 1 个\n"_s, 0},   // a province
        {{u"--key"_s, u"甲"_s}, 2, QString(), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = cli(QStringList{u"delete"_s} + c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), c.left);
    }
}

TEST_F(UploadIntakeTest, ExportWithoutANameWritesTheProposedNameIntoTheCurrentFolder)
{
    FixedClock clock{QDateTime(QDate(2013, 5, 9), QTime(9, 0))};
    Clock::install(&clock);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(db->dir());
    const CliResult r = cli({u"export"_s});
    QDir::setCurrent(previous);
    Clock::install(nullptr);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(file(u"(投资)上报文件-开封市-05-09.xlsx"_s))) << r.out.toStdString();
}
