#include "WindowTestSupport.h"
#include "CliRun.h"
#include "ExchangeFixture.h"
#include "cli/Cli.h"
#include "exchange/UploadImport.h"
#include "exchange/windows/UploadWindows.h"
#include "projects/ValidateAll.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"

#include <QFile>
#include <QProgressBar>
#include <QTextStream>
#include <QWidget>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class ImportPreviewTest : public ExchangeTest {
protected:
    // An upload row that passes validation, unless the values break a rule.
    static QVector<QVariant> row(const QString &enterprise, const QString &project, QVariantMap values = {})
    {
        if (!values.contains(u"邮政编码"_s))
            values.insert(u"邮政编码"_s, u"100010"_s);
        return uploadRow(enterprise, project, values);
    }
    // The database holds 甲企业/一号库 and 乙企业/二号库; in.xlsx replaces the first, holds one
    // key twice and one row that breaks the postal code rule.
    QString smallFile()
    {
        addProject(u"甲企业"_s, u"一号库"_s, {{u"邮政编码"_s, u"100010"_s}});
        addProject(u"乙企业"_s, u"二号库"_s, {{u"邮政编码"_s, u"100010"_s}, {u"行政区划代码"_s, u"110101"_s}});
        const QString path = file(u"in.xlsx"_s);
        writeWorkbook(path, u"数据信息"_s, uploadHeader(),
                      {row(u"甲企业"_s, u"一号库"_s),
                       row(u"丙企业"_s, u"三号库"_s),
                       QVector<QVariant>(136), // a row without any value is no project
                       row(u"丙企业"_s, u"三号库"_s),
                       row(u"丁企业"_s, u"四号库"_s, {{u"邮政编码"_s, u"1000"_s}})});
        return path;
    }
    ImportPreview preview(const QString &path)
    {
        RecordingProgress progress;
        return previewUploadFile(db->path(), path, progress);
    }
};

const QString SmallFileLine =
    u"in.xlsx：4 行，将替换原有项目 1 个（甲企业／一号库），文件内同键的行 1 行，未通过校验的行 1 行"_s;
// 丁企业's row claims to have passed.
const QString SmallFileWarning = u"in.xlsx：警告：1 行标为已通过校验但实际未通过，将存为未校验"_s;

} // namespace

TEST_F(ImportPreviewTest, TellsWhatTheImportWouldDoAndWritesNothing)
{
    const QString path = smallFile();
    const QByteArray before = databaseHash();
    const QVector<QStringList> rowsBefore = tableRows();

    RecordingProgress progress;
    const ImportPreview p = previewUploadFile(db->path(), path, progress);

    EXPECT_FALSE(p.refused()) << p.refusal.toStdString();
    EXPECT_EQ(p.rows, 4);
    EXPECT_EQ(p.replacedKeys, (QVector<ProjectKey>{{u"甲企业"_s, u"一号库"_s}}));
    EXPECT_EQ(p.replacedProjects(), 1);
    EXPECT_EQ(p.duplicateKeyRows, 1);
    EXPECT_EQ(p.failingRows, 1);
    EXPECT_EQ(previewSummaryLine(p), SmallFileLine);
    EXPECT_TRUE(progress.finished);
    EXPECT_EQ(databaseHash(), before);
    EXPECT_EQ(tableRows(), rowsBefore);

    // The import itself then does what the preview said.
    RecordingProgress importing;
    const ImportResult done = TransIn(db->path(), path, importing);
    EXPECT_EQ(done.rowsAdded, p.rows);
    EXPECT_EQ(done.projectsReplaced, p.replacedProjects());
}

TEST_F(ImportPreviewTest, ManyReplacedKeysAreShortened)
{
    QVector<QVector<QVariant>> rows;
    for (int i = 1; i <= 7; ++i) {
        addProject(u"企业%1"_s.arg(i), u"库"_s, {{u"邮政编码"_s, u"100010"_s}});
        rows << row(u"企业%1"_s.arg(i), u"库"_s);
    }
    writeWorkbook(file(u"many.xlsx"_s), u"数据信息"_s, uploadHeader(), rows);
    EXPECT_EQ(previewSummaryLine(preview(file(u"many.xlsx"_s))),
              u"many.xlsx：7 行，将替换原有项目 7 个（企业1／库、企业2／库、企业3／库、企业4／库、企业5／库 等），"
              u"文件内同键的行 0 行，未通过校验的行 0 行"_s);
}

TEST_F(ImportPreviewTest, AFileTheImportWouldRefuseGivesTheImportsReason)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    QVector<QVector<QVariant>> rows{row(u"甲企业"_s, u"一号库"_s), row(u"乙企业"_s, u"二号库"_s)};
    rows[1][uploadColumnNames().indexOf(u"总_银行贷款"_s)] = u"十二"_s;
    writeWorkbook(file(u"text-in-number.xlsx"_s), u"数据信息"_s, uploadHeader(), rows);
    QStringList withoutName = uploadHeader();
    withoutName[withoutName.indexOf(col::ProjectName)] = u"项目名"_s;
    writeWorkbook(file(u"no-name.xlsx"_s), u"数据信息"_s, withoutName, {row(u"x"_s, u"y"_s)});
    writeWorkbook(file(u"good.xlsx"_s), u"数据信息"_s, uploadHeader(), {row(u"x"_s, u"y"_s)});
    {
        QFile whole(file(u"good.xlsx"_s));
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        QFile cut(file(u"corrupt.xlsx"_s));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(bytes.size() / 2));
    }
    const QByteArray before = databaseHash();

    const struct {
        QString file;
        QString reason; // empty: the reason TransIn gives
    } cases[] = {
        {u"text-in-number.xlsx"_s, u"第 3 行 AG 列（总_银行贷款）：“十二”不是数字"_s},
        {u"no-name.xlsx"_s, u"工作表“数据信息”缺少列：项目名称"_s},
        {u"corrupt.xlsx"_s, {}},
        {u"missing.xlsx"_s, {}},
        {u"good.txt"_s, u"文件类型错误，导入取消!"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        QString expected = c.reason;
        if (expected.isEmpty()) {
            try {
                RecordingProgress progress;
                TransIn(db->path(), file(c.file), progress);
                ADD_FAILURE() << "the import took the file in";
            } catch (const Error &e) {
                expected = e.text();
            }
            EXPECT_TRUE(expected.contains(file(c.file))) << expected.toStdString();
        }
        const ImportPreview p = preview(file(c.file));
        EXPECT_EQ(p.refusal, expected);
        EXPECT_EQ(p.rows, 0);
        EXPECT_EQ(p.replacedProjects(), 0);
        EXPECT_EQ(previewSummaryLine(p), c.file + u"：不能导入。"_s + expected);
        EXPECT_EQ(databaseHash(), before);
    }
}

namespace {

class ImportPreviewMenuTest : public ImportPreviewTest {
protected:
    RecordingPrompter prompter;
    ScriptedFileDialogs dialogs;
    QWidget window;
};

} // namespace

TEST_F(ImportPreviewMenuTest, AsksFirstAndImportsOnlyWhenConfirmed)
{
    const QString path = smallFile();
    writeWorkbook(file(u"b.xlsx"_s), u"Sheet1"_s, uploadHeader(), {row(u"x"_s, u"y"_s)});
    const QByteArray before = databaseHash();
    const QString question = u"将导入以下文件，是否继续？\n\n"_s + SmallFileLine + u'\n' + SmallFileWarning + u"\nb.xlsx：不能导入。工作簿中没有工作表“数据信息”："_s
                             + file(u"b.xlsx"_s);

    for (Prompter::Answer no : {Prompter::Answer::No, Prompter::Answer::Cancel}) {
        prompter.said.clear();
        dialogs.nextMany({path, file(u"b.xlsx"_s)});
        prompter.answerNext(no);
        importUploadFiles(&window, nullptr, db->context());
        ASSERT_EQ(prompter.said.size(), 1u);
        EXPECT_EQ(prompter.said[0].caption, u"上报数据入库"_s);
        EXPECT_EQ(prompter.said[0].icon, Prompter::Icon::Question);
        EXPECT_EQ(prompter.said[0].text, question);
        EXPECT_EQ(databaseHash(), before);
    }

    prompter.said.clear();
    QProgressBar bar(&window);
    dialogs.nextMany({path});
    prompter.answerNext(Prompter::Answer::Yes);
    importUploadFiles(&window, &bar, db->context());
    ASSERT_EQ(prompter.said.size(), 2u);
    EXPECT_EQ(prompter.said[0].text, u"将导入以下文件，是否继续？\n\n"_s + SmallFileLine + u'\n' + SmallFileWarning);
    EXPECT_EQ(prompter.said[1].text,
              u"文件导入成功!\n\nin.xlsx：新增 4 行，替换原有项目 1 个，其中 1 行未通过校验，已存为未校验"_s);
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 5);
    EXPECT_TRUE(bar.isHidden());
}

namespace {

class ImportPreviewCliTest : public ImportPreviewTest {
protected:
    int run(QStringList args)
    {
        const test::CliResult result = test::runCli(QStringList{u"--db"_s, db->path()} + args, db->context());
        out = result.out;
        err = result.err;
        return result.code;
    }
    QString out, err;
};

} // namespace

TEST_F(ImportPreviewCliTest, DryRunPrintsThePreviewAndWritesNothing)
{
    const QString path = smallFile();
    writeWorkbook(file(u"bad.xlsx"_s), u"数据信息"_s, {u"项目名称"_s}, {{u"x"_s}});
    const QByteArray before = databaseHash();

    EXPECT_EQ(run({u"import"_s, u"--dry-run"_s, path}), 0) << err.toStdString();
    EXPECT_EQ(out, SmallFileLine + u'\n' + SmallFileWarning + u'\n');
    EXPECT_EQ(err, u""_s);

    EXPECT_EQ(run({u"import"_s, path, u"--dry-run"_s, file(u"bad.xlsx"_s)}), 1);
    EXPECT_EQ(out, SmallFileLine + u'\n' + SmallFileWarning + u'\n');
    EXPECT_TRUE(err.startsWith(u"bad.xlsx：不能导入。工作表“数据信息”缺少列："_s)) << err.toStdString();
    EXPECT_EQ(databaseHash(), before);

    EXPECT_EQ(run({u"import"_s, u"--dry-run"_s}), 2);
    EXPECT_EQ(run({u"import"_s, u"--dry-run"_s, u"--force"_s, path}), 2);
    EXPECT_EQ(databaseHash(), before);

    EXPECT_EQ(run({u"import"_s, path}), 0) << err.toStdString();
    EXPECT_EQ(out, u"in.xlsx：新增 4 行，替换原有项目 1 个，其中 1 行未通过校验，已存为未校验\n"_s + SmallFileWarning + u'\n');
}

TEST_F(ImportPreviewTest, ThePreviewChecksTheFiguresAsValidateWill)
{
    // 1.000000000000001 shows as "1" to fifteen digits, but it is above 1: rule 36 fails.
    const QString path = file(u"close.xlsx"_s);
    writeWorkbook(path, u"数据信息"_s, uploadHeader(),
                  {row(u"甲企业"_s, u"一号库"_s, {{u"建设_平房仓"_s, 1.0}, {u"完成_平房仓"_s, 1.000000000000001}}),
                   row(u"乙企业"_s, u"二号库"_s, {{u"建设_平房仓"_s, 1.0}, {u"完成_平房仓"_s, 1.0}})});
    const ImportPreview p = preview(path);
    EXPECT_EQ(p.rows, 2);
    EXPECT_EQ(p.failingRows, 1);

    RecordingProgress progress;
    TransIn(db->path(), path, progress);
    const ValidateAllResult validated = validateAll(db->path());
    EXPECT_EQ(validated.failedCount(), p.failingRows);
    ASSERT_EQ(validated.failures.size(), 1);
    EXPECT_EQ(validated.failures.at(0).enterpriseName, u"甲企业"_s);
    EXPECT_EQ(validated.failures.at(0).failure.rule, 36);
}
