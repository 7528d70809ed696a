#include "ExchangeFixture.h"
#include "exchange/UploadFile.h"
#include "sheets/SheetReader.h"
#include "sheets/WorkbookFill.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"

#include <QFile>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class UploadFileTest : public ExchangeTest {
protected:
    QString exportTo(const QString &name, RecordingProgress *progress = nullptr)
    {
        RecordingProgress own;
        const QString path = file(name);
        makeUploadWorkbook(db->path(), uploadTemplatePath(db->locations()), path, progress ? *progress : own);
        return path;
    }
};

} // namespace

TEST_F(UploadFileTest, OneRowPerProjectUnderTheColumnNamesWithTypedCells)
{
    addProject(u"甲企业"_s, u"一号库"_s,
               {{u"邮政编码"_s, u"010010"_s}, {u"总_建筑安装工程"_s, 0.5}, {u"总_银行贷款"_s, QVariant()},
                {u"项目批准单位"_s, u""_s}});
    addProject(u"乙企业"_s, u"二号库"_s, {{u"总_建筑安装工程"_s, 1234567.125}});
    // A text an older version left as a blob goes out as the text it is.
    Connection(db->path()).execute(u"update TZ_XIANGMU set 项目设计单位 = cast('设计院' as blob) "
                                   u"where 项目名称 = '二号库'"_s);

    const QString path = exportTo(u"上报.xlsx"_s);

    EXPECT_EQ(SheetReader::sheetNames(path).value(0), u"数据信息"_s);
    const auto rows = sheetCells(path, u"数据信息"_s);
    ASSERT_EQ(rows.size(), 3);
    QStringList header;
    for (const CellValue &c : rows[1])
        header << c.text;
    EXPECT_EQ(header, uploadColumnNames());

    const QStringList names = uploadColumnNames();
    auto cell = [&](int row, const QString &column) { return rows[row].value(names.indexOf(column)); };
    EXPECT_EQ(cell(2, col::EnterpriseName).text, u"甲企业"_s);
    EXPECT_EQ(cell(2, u"邮政编码"_s).type, CellValue::Type::Text);
    EXPECT_EQ(cell(2, u"邮政编码"_s).text, u"010010"_s);
    EXPECT_EQ(cell(2, u"总_建筑安装工程"_s).type, CellValue::Type::Number);
    EXPECT_EQ(cell(2, u"总_建筑安装工程"_s).toText(), u"0.5"_s);
    EXPECT_EQ(cell(2, u"总_银行贷款"_s).type, CellValue::Type::Empty);
    EXPECT_EQ(cell(2, u"项目批准单位"_s).type, CellValue::Type::Empty);
    EXPECT_EQ(cell(2, col::ModifiedAt).text, u"2013-05-09 09:05:00"_s);
    EXPECT_EQ(cell(3, col::ProjectName).text, u"二号库"_s);
    EXPECT_EQ(cell(3, u"总_建筑安装工程"_s).number, 1234567.125);
    EXPECT_EQ(cell(3, u"项目设计单位"_s).type, CellValue::Type::Text);
    EXPECT_EQ(cell(3, u"项目设计单位"_s).text, u"设计院"_s);
}

TEST_F(UploadFileTest, TheProgressBarReachesItsMaximumExactly)
{
    for (int projects : {0, 3}) {
        for (int i = db->count(u"TZ_XIANGMU"_s); i < projects; ++i)
            addProject(u"企业"_s, u"项目%1"_s.arg(i));
        RecordingProgress progress;
        const QString path = exportTo(u"p%1.xlsx"_s.arg(projects), &progress);
        EXPECT_EQ(progress.maximum, projects + 5);
        EXPECT_EQ(progress.position, projects + 5);
        EXPECT_TRUE(progress.finished);
        EXPECT_EQ(sheetCells(path, u"数据信息"_s).size(), projects + 1); // an empty table: the header only
    }
}

TEST_F(UploadFileTest, CellsTheProjectsDoNotFillKeepTheTemplate)
{
    {
        WorkbookFill fill(uploadTemplatePath(db->locations()));
        fill.setText(1, 140, u"备注"_s);
        fill.setText(300, 1, u"页尾"_s);
        fill.save();
    }
    addProject(u"甲企业"_s, u"一号库"_s);
    const auto rows = sheetCells(exportTo(u"out.xlsx"_s), u"数据信息"_s);
    EXPECT_EQ(rows[1].value(139).text, u"备注"_s);
    EXPECT_EQ(rows[2].value(uploadColumnNames().indexOf(col::ProjectName)).text, u"一号库"_s);
    EXPECT_EQ(rows[300].value(0).text, u"页尾"_s);
}

TEST_F(UploadFileTest, AnExistingFileIsReplacedAndAMissingTemplateStopsEverything)
{
    addProject(u"甲企业"_s, u"一号库"_s);
    const QString path = file(u"old.xlsx"_s);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100000, 'x'));
    }
    exportTo(u"old.xlsx"_s);
    EXPECT_EQ(sheetCells(path, u"数据信息"_s).size(), 2);

    QFile::remove(uploadTemplatePath(db->locations()));
    const QString fresh = file(u"fresh.xlsx"_s);
    RecordingProgress progress;
    try {
        makeUploadWorkbook(db->path(), uploadTemplatePath(db->locations()), fresh, progress);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"Cannot open file "_s + db->dir() + u"/templet/out.xlsx"_s);
    }
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_TRUE(progress.finished);
}

// A killed export leaves what stood at the target while it ran: that must never be the template
// with its header row, which imports as a valid, empty upload file.
TEST_F(UploadFileTest, NothingNewStandsAtTheTargetUntilTheFileIsComplete)
{
    for (int i = 0; i < 3; ++i)
        addProject(u"企业"_s, u"项目%1"_s.arg(i));
    struct Watching : RecordingProgress {
        QString target;
        QByteArray before;
        int changedWhileRunning = 0;
        std::function<void(int position)> atStep;
        void advance(int steps) override
        {
            RecordingProgress::advance(steps);
            QFile f(target);
            if ((f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()) != before)
                ++changedWhileRunning;
            if (atStep)
                atStep(position);
        }
    };
    const QString path = file(u"上报.xlsx"_s);
    const QStringList namesBefore = namesIn(db->dir());
    {
        Watching progress;
        progress.target = path;
        makeUploadWorkbook(db->path(), uploadTemplatePath(db->locations()), path, progress);
        EXPECT_EQ(progress.position, 3 + 5);
        EXPECT_EQ(progress.changedWhileRunning, 0);
        EXPECT_EQ(sheetCells(path, u"数据信息"_s).size(), 4);
    }
    // Stopped in the middle of the rows: the file of the last export stays as it was.
    QFile done(path);
    ASSERT_TRUE(done.open(QIODevice::ReadOnly));
    const QByteArray exported = done.readAll();
    done.close();
    Watching progress;
    progress.target = path;
    progress.before = exported;
    progress.atStep = [](int position) {
        if (position == 4)
            throw Error(u"磁盘已满"_s);
    };
    EXPECT_THROW(makeUploadWorkbook(db->path(), uploadTemplatePath(db->locations()), path, progress), Error);
    EXPECT_EQ(progress.changedWhileRunning, 0);
    ASSERT_TRUE(done.open(QIODevice::ReadOnly));
    EXPECT_EQ(done.readAll(), exported);
    EXPECT_EQ(namesIn(db->dir()), QStringList(namesBefore + QStringList{u"上报.xlsx"_s}));
}

TEST_F(UploadFileTest, DefaultNameAndValidationCount)
{
    EXPECT_EQ(defaultUploadFileName(u"某县粮食局"_s, QDate(2013, 5, 9)), u"(投资)上报文件-某县粮食局-05-09.xlsx"_s);
    EXPECT_EQ(defaultUploadFileName(QString(), QDate(2013, 12, 25)), u"(投资)上报文件--12-25.xlsx"_s);

    addProject(u"甲"_s, u"一"_s);
    Connection connection(db->path());
    EXPECT_EQ(unvalidatedProjectCount(connection), 0);
    addProject(u"乙"_s, u"二"_s, {{col::ValidationStatus, u"0"_s}});
    addProject(u"丙"_s, u"三"_s, {{col::ValidationStatus, QVariant()}});
    addProject(u"丁"_s, u"四"_s, {{col::ValidationStatus, u""_s}});
    addProject(u"戊"_s, u"五"_s, {{col::ValidationStatus, u"1 "_s}});
    EXPECT_EQ(unvalidatedProjectCount(connection), 4);
}
