#include "CliRun.h"
#include "ExchangeFixture.h"
#include "WindowTestSupport.h"
#include "exchange/UploadImport.h"
#include "exchange/UploadPrint.h"
#include "projects/windows/JournalWindow.h"
#include "projects/ProjectListQuery.h"
#include "projects/ValidateAll.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Journal.h"
#include "store/JournalTexts.h"
#include "store/Maintenance.h"

#include <QFile>
#include <QTableWidget>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class JournalTest : public ExchangeTest {
protected:
    QString upload(const QString &name, const QVector<QVector<QVariant>> &rows)
    {
        writeWorkbook(file(name), u"数据信息"_s, uploadHeader(), rows);
        return file(name);
    }
    void import(const QString &path)
    {
        RecordingProgress progress;
        TransIn(db->path(), path, progress);
    }
    // Every row of the project table with its id, as text.
    QVector<QStringList> rowsWithIds() const
    {
        QVector<QStringList> rows;
        Connection connection(db->path());
        Statement st = connection.prepare(u"select * from TZ_XIANGMU order by id"_s);
        while (st.next()) {
            QStringList row;
            for (int c = 0; c < st.columnCount(); ++c)
                row << (st.isNull(c) ? u"<null>"_s : st.text(c));
            rows << row;
        }
        return rows;
    }
    qint64 lastEntry() const { return journal::entries(db->path()).constLast().id; }
    QString undoRefusal(qint64 id) const
    {
        try {
            journal::undo(db->path(), id);
        } catch (const Error &e) {
            return e.text();
        }
        return {};
    }
    // Two imports: the second replaces 乙/二号库 of the first and adds 丁/四号库.
    void importTwo()
    {
        import(upload(u"first.xlsx"_s, {uploadRow(u"甲"_s, u"一号库"_s), uploadRow(u"乙"_s, u"二号库"_s),
                                         uploadRow(u"丙"_s, u"三号库"_s)}));
        before = rowsWithIds();
        import(upload(u"second.xlsx"_s, {uploadRow(u"乙"_s, u"二号库"_s, {{u"总_其他费用"_s, 7.0}}),
                                          uploadRow(u"丁"_s, u"四号库"_s)}));
        second = lastEntry();
    }
    QVector<QStringList> before;
    qint64 second = -1;
};

} // namespace

TEST_F(JournalTest, UndoOfAnImportGivesBackTheDatabaseRowForRowAndIsJournaled)
{
    importTwo();
    ASSERT_NE(rowsWithIds(), before);

    const qint64 undoId = journal::undo(db->path(), second);
    EXPECT_EQ(rowsWithIds(), before);

    const QVector<JournalEntryInfo> entries = journal::entries(db->path());
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries.at(0).operation, journal::texts::Import);
    EXPECT_EQ(entries.at(1).file, u"second.xlsx"_s);
    EXPECT_EQ(entries.at(1).counts, journal::texts::ImportCounts.arg(2).arg(1));
    EXPECT_EQ(entries.at(1).undoneBy, undoId);
    EXPECT_EQ(entries.at(2).operation, journal::texts::Undo);
    EXPECT_EQ(entries.at(2).counts, journal::texts::UndoCounts.arg(second).arg(2).arg(1));

    // Neither the undone import nor the undo can be undone (again).
    EXPECT_EQ(undoRefusal(second), journal::texts::AlreadyUndone.arg(second).arg(undoId));
    EXPECT_EQ(undoRefusal(undoId), journal::texts::NotAnImport.arg(undoId).arg(journal::texts::Undo));
    EXPECT_EQ(undoRefusal(999), journal::texts::NoSuchEntry.arg(999));
    EXPECT_EQ(rowsWithIds(), before);
}

TEST_F(JournalTest, UndoIsRefusedWhenALaterChangeTouchedTheImportedProjects)
{
    const struct {
        const char *label;
        std::function<void()> later;
        bool refused;
    } cases[] = {
        {"a figure edited", [this] {
             Connection(db->path()).execute(u"update TZ_XIANGMU set 总_其他费用 = 8 where 企业详细名称 = '丁'"_s);
         }, true},
        {"an added project deleted", [this] {
             Connection connection(db->path());
             deleteProject(connection, u"四号库"_s, u"丁"_s);
         }, true},
        {"the same key saved again", [this] { addProject(u"乙"_s, u"二号库"_s); }, true},
        {"the same file imported again", [this] { import(file(u"second.xlsx"_s)); }, true},
        {"a project of another import edited", [this] {
             Connection(db->path()).execute(u"update TZ_XIANGMU set 总_其他费用 = 8 where 企业详细名称 = '甲'"_s);
         }, false},
        {"statuses set by a check of every project", [this] { validateAll(db->path()); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        TearDown();
        SetUp();
        importTwo();
        c.later();
        const QString refusal = undoRefusal(second);
        EXPECT_EQ(!refusal.isEmpty(), c.refused) << qPrintable(refusal);
        if (c.refused) {
            EXPECT_TRUE(refusal.startsWith(u"操作记录 %1 之后"_s.arg(second))) << qPrintable(refusal);
        }
    }
}

// An import notes a print of each project it adds, for an undo to tell whether the project was
// changed since. The print must be that of the values as the table gives them back, however the
// file writes them and however the table declares its columns: else the undo would take every
// imported project for a changed one and refuse.
TEST_F(JournalTest, AnImportOfOddValuesCanBeUndoneWhateverTheTableDeclaresItsColumns)
{
    const QVector<QVector<QVariant>> rows = {
        uploadRow(u"甲"_s, u"一号库"_s, {{u"总_其他费用"_s, u"-0"_s}, {u"建设_平房仓"_s, -0.0}}),
        uploadRow(u"乙"_s, u"𠀀号库"_s, {{u"总_其他费用"_s, 1e300}, {u"建设_平房仓"_s, 0.1}, {u"县"_s, QVariant()}}),
        // 新建仓容 disagrees with its parts and is stored as they add up.
        uploadRow(u"丙"_s, u"三号库"_s, {{u"建设_新建仓容"_s, 5.0}, {u"建设_平房仓"_s, 1.0}, {u"建设_立筒仓"_s, 2.0},
                                        {u"总_其他费用"_s, QVariant()}, {u"校验状态"_s, u"1"_s}}),
    };
    const struct {
        const char *label;
        QString schemaChange;
        bool printsAsBound;
    } cases[] = {
        {"columns as the program makes them", {}, true},
        {"number columns declared NUMERIC",
         u"pragma writable_schema = on; update sqlite_master set sql = replace(sql, ' real', ' numeric') "
         u"where name = 'TZ_XIANGMU'; pragma writable_schema = off;"_s,
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        TearDown();
        SetUp();
        if (!c.schemaChange.isEmpty())
            Connection(db->path()).executeScript(c.schemaChange);
        {
            Connection connection(db->path());
            EXPECT_EQ(UploadRowPrinter::printsAsBound(connection), c.printsAsBound);
        }
        import(upload(u"odd.xlsx"_s, rows));
        ASSERT_EQ(rowsWithIds().size(), 3);
        EXPECT_EQ(undoRefusal(lastEntry()), QString());
        EXPECT_TRUE(rowsWithIds().isEmpty());
    }
}

TEST_F(JournalTest, EveryChangingOperationWritesAnEntryWithTheRowsItReplaced)
{
    addProject(u"甲"_s, u"一号库"_s, {{u"校验状态"_s, u"0"_s}});
    addProject(u"乙"_s, u"二号库"_s);
    const auto keptRows = [&](qint64 entry) {
        return Connection(db->path()).scalar(u"select count(*) from 操作记录_原行 where 记录 = ?"_s, {entry}).toInt();
    };

    validateAll(db->path()); // 甲 0 -> 1
    ASSERT_EQ(journal::entries(db->path()).size(), 1);
    EXPECT_EQ(journal::entries(db->path()).constLast().operation, journal::texts::ValidateAll);
    EXPECT_EQ(keptRows(lastEntry()), 1);
    validateAll(db->path()); // nothing changes: no entry
    EXPECT_EQ(journal::entries(db->path()).size(), 1);

    {
        Connection connection(db->path());
        deleteProject(connection, u"二号库"_s, u"乙"_s);
    }
    EXPECT_EQ(journal::entries(db->path()).constLast().operation, journal::texts::Delete);
    EXPECT_EQ(keptRows(lastEntry()), 1);

    maintenance::resetDatabase(db->path());
    EXPECT_EQ(journal::entries(db->path()).constLast().operation, journal::texts::Reset);
    EXPECT_EQ(keptRows(lastEntry()), 1);
    EXPECT_EQ(journal::entries(db->path()).size(), 3);
}

TEST_F(JournalTest, TheJournalSurvivesRestoreAlsoOfABackupWithoutOne)
{
    import(upload(u"first.xlsx"_s, {uploadRow(u"甲"_s, u"一号库"_s)}));
    const QString withJournal = file(u"with.bak"_s);
    maintenance::backupDatabase(db->path(), withJournal);
    import(upload(u"second.xlsx"_s, {uploadRow(u"乙"_s, u"二号库"_s)}));

    // A backup made before the journal existed.
    const QString withoutJournal = file(u"without.bak"_s);
    maintenance::backupDatabase(db->path(), withoutJournal);
    Connection(withoutJournal).executeScript(u"drop table 操作记录; drop table 操作记录_新增; drop table 操作记录_原行;"_s);

    maintenance::restoreDatabase(withJournal, db->path());
    QVector<JournalEntryInfo> entries = journal::entries(db->path());
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries.at(1).file, u"second.xlsx"_s);
    EXPECT_EQ(entries.at(2).operation, journal::texts::Restore);
    EXPECT_EQ(entries.at(2).counts, journal::texts::RestoreCounts.arg(2).arg(1));
    // The second import's projects are gone with the restore: it can no longer be undone.
    EXPECT_FALSE(undoRefusal(entries.at(1).id).isEmpty());

    maintenance::restoreDatabase(withoutJournal, db->path());
    entries = journal::entries(db->path());
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries.at(3).operation, journal::texts::Restore);
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 2);
    // The restored projects are those of the second import, as it left them: undo works.
    EXPECT_EQ(undoRefusal(entries.at(1).id), QString());
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 1);
}

TEST_F(JournalTest, CommandLineListsUndoesAndClears)
{
    importTwo();
    test::CliResult listed = test::runCli({u"--db"_s, db->path(), u"journal"_s}, db->context());
    ASSERT_EQ(listed.code, 0);
    QStringList lines = listed.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList fields = lines.at(1).split(u'\t');
    ASSERT_EQ(fields.size(), 6);
    EXPECT_EQ(fields.at(0), QString::number(second));
    EXPECT_TRUE(QDateTime::fromString(fields.at(1), u"yyyy-MM-dd HH:mm:ss"_s).isValid()) << qPrintable(fields.at(1));
    EXPECT_EQ(fields.at(3), journal::texts::Import);
    EXPECT_EQ(fields.at(4), u"second.xlsx"_s);

    EXPECT_EQ(test::runCli({u"--db"_s, db->path(), u"undo"_s, QString::number(second)}, db->context()).code, 0);
    const test::CliResult again = test::runCli({u"--db"_s, db->path(), u"undo"_s, QString::number(second)}, db->context());
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(u"已经撤销过"_s)) << qPrintable(again.err);
    EXPECT_EQ(test::runCli({u"--db"_s, db->path(), u"undo"_s, u"x"_s}, db->context()).code, 2);

    EXPECT_EQ(test::runCli({u"--db"_s, db->path(), u"journal"_s, u"--clear-before"_s, u"2001-13-01"_s}, db->context()).code, 1);
    EXPECT_EQ(test::runCli({u"--db"_s, db->path(), u"journal"_s, u"--clear-before"_s, u"2000-01-01"_s}, db->context()).code, 0);
    EXPECT_EQ(journal::entries(db->path()).size(), 3);
    EXPECT_EQ(test::runCli({u"--db"_s, db->path(), u"journal"_s, u"--clear-before"_s, u"2999-01-01"_s}, db->context()).code, 0);
    EXPECT_TRUE(journal::entries(db->path()).isEmpty());
    EXPECT_EQ(Connection(db->path()).scalar(u"select count(*) from 操作记录_原行"_s).toInt(), 0);
}

TEST_F(JournalTest, WindowUndoesTheChosenImportAndSaysWhyItCannotAgain)
{
    importTwo();
    RecordingPrompter prompter;
    JournalWindow window(db->path());
    ASSERT_EQ(window.entries().size(), 2);
    EXPECT_EQ(window.entries().first().id, second); // newest first

    window.selectEntry(second);
    window.undoSelected(); // the question is answered Yes
    EXPECT_EQ(rowsWithIds(), before);
    EXPECT_EQ(prompter.lastText(), u"已撤销操作记录 %1。"_s.arg(second));
    ASSERT_EQ(window.entries().size(), 3);
    EXPECT_EQ(window.findChild<QTableWidget *>(u"grid"_s)->item(1, 6)->text(),
              u"已撤销（操作记录 %1）"_s.arg(window.entries().first().id));

    window.selectEntry(second);
    prompter.answerNext(Prompter::Answer::Yes);
    window.undoSelected();
    EXPECT_TRUE(prompter.lastText().contains(u"已经撤销过"_s)) << qPrintable(prompter.lastText());

    window.selectEntry(second - 1);
    prompter.answerNext(Prompter::Answer::No);
    window.undoSelected();
    EXPECT_EQ(db->count(u"TZ_XIANGMU"_s), 3);
}
