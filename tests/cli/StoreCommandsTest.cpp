#include "CliRun.h"
#include "store/AppLocations.h"
#include "store/Database.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace granwise;
using namespace Qt::StringLiterals;

using test::runCli;

TEST(StoreCommands, InitMakesADatabaseAndKeepsAnExistingOne)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(u"x.db"_s);
    EXPECT_EQ(runCli({u"--db"_s, db, u"init"_s}).code, 0);
    {
        Connection c(db);
        EXPECT_EQ(c.columnNames(u"TZ_XIANGMU"_s).size(), 137);
        c.execute(u"insert into TZ_XIANGMU (项目名称) values ('甲')"_s);
    }
    const auto again = runCli({u"--db"_s, db, u"init"_s});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(u"已存在"_s));
    EXPECT_EQ(Connection(db).scalar(u"select count(*) from TZ_XIANGMU"_s).toInt(), 1);

    EXPECT_EQ(runCli({u"--db"_s, db, u"init"_s, u"--force"_s}).code, 0);
    EXPECT_EQ(Connection(db).scalar(u"select count(*) from TZ_XIANGMU"_s).toInt(), 0);
}

TEST(StoreCommands, UsageErrors)
{
    EXPECT_EQ(runCli({}).code, 2);
    EXPECT_EQ(runCli({u"frobnicate"_s}).code, 2);
    EXPECT_EQ(runCli({u"--what"_s, u"init"_s}).code, 2);
    EXPECT_EQ(runCli({u"init"_s, u"--sideways"_s}).code, 2);
    const auto help = runCli({u"--help"_s});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(u"init [--force]"_s));
}

TEST(StoreCommands, BackupAndRestore)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(u"x.db"_s);
    const QString bak = dir.filePath(u"b.bak"_s);
    ASSERT_EQ(runCli({u"--db"_s, db, u"init"_s}).code, 0);
    Connection(db).execute(u"insert into TZ_XIANGMU (项目名称) values ('甲')"_s);
    EXPECT_EQ(runCli({u"--db"_s, db, u"backup"_s, bak}).code, 0);
    Connection(db).execute(u"delete from TZ_XIANGMU"_s);
    EXPECT_EQ(runCli({u"--db"_s, db, u"restore"_s, dir.filePath(u"b.BAK"_s)}).code, 1);
    const auto bad = runCli({u"--db"_s, db, u"restore"_s, db + u".missing.bak"_s});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains(u"文件恢复出现错误"_s));
    EXPECT_EQ(runCli({u"--db"_s, db, u"restore"_s, bak}).code, 0);
    EXPECT_EQ(Connection(db).scalar(u"select count(*) from TZ_XIANGMU"_s).toInt(), 1);
}

// An import in another process holds the database: restore and init --force refuse, and the
// import's data stays. Killed, it leaves its journal; a restore then rolls that back before it
// copies the backup in, so the next command finds an intact database.
TEST(StoreCommands, ReplacingWaitsForAnImportInAnotherProcessAndOutlivesItsKill)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(u"x.db"_s);
    const QString bak = dir.filePath(u"b.bak"_s);
    ASSERT_EQ(runCli({u"--db"_s, db, u"init"_s}).code, 0);
    Connection(db).execute(u"insert into TZ_XIANGMU (项目名称) values ('甲')"_s);
    ASSERT_EQ(runCli({u"--db"_s, db, u"backup"_s, bak}).code, 0);
    Connection(db).execute(u"insert into TZ_XIANGMU (项目名称, 企业详细名称) select 名称, 代码 from county"_s);

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t importer = fork();
    ASSERT_GE(importer, 0);
    if (importer == 0) {
        try {
            Connection c(db);
            // Pages of the transaction reach the file before its commit, as in a large import.
            c.executeScript(u"pragma cache_size = 2; begin immediate; "
                            u"update county set 名称 = 名称 || '（改）'; delete from TZ_XIANGMU"_s);
            (void)!write(ready[1], "x", 1);
            pause(); // holding the database until killed
        } catch (const Error &e) {
            fprintf(stderr, "%s\n", e.text().toUtf8().constData());
        }
        _exit(1);
    }
    close(ready[1]); // a child that ends without a word ends the read
    char byte = 0;
    const bool holding = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (!holding)
        waitpid(importer, nullptr, 0);
    ASSERT_TRUE(holding);

    for (const QStringList &replace : {QStringList{u"restore"_s, bak}, QStringList{u"init"_s, u"--force"_s}}) {
        const auto refused = runCli(QStringList{u"--db"_s, db} + replace);
        EXPECT_EQ(refused.code, 1) << replace.join(u' ').toStdString();
        EXPECT_TRUE(refused.err.contains(u"数据库正在被另一个程序使用（可能正在导入数据）"_s)) << refused.err.toStdString();
    }

    kill(importer, SIGKILL);
    waitpid(importer, nullptr, 0);
    ASSERT_TRUE(QFile::exists(db + u"-journal"_s)); // what the killed import left

    const auto restored = runCli({u"--db"_s, db, u"restore"_s, bak});
    EXPECT_EQ(restored.code, 0) << restored.err.toStdString();
    EXPECT_FALSE(QFile::exists(db + u"-journal"_s));
    Connection after(db);
    EXPECT_EQ(after.scalar(u"pragma integrity_check"_s).toString(), u"ok"_s);
    EXPECT_EQ(after.scalar(u"select group_concat(项目名称) from TZ_XIANGMU"_s).toString(), u"甲"_s);
    EXPECT_EQ(after.scalar(u"select count(*) from county where 名称 like '%（改）'"_s).toInt(), 0);
}

TEST(StoreCommands, RestoreReportsWhatTheBackupHeldBesidesData)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(u"x.db"_s);
    const QString bak = dir.filePath(u"b.bak"_s);
    ASSERT_EQ(runCli({u"--db"_s, db, u"init"_s}).code, 0);
    ASSERT_EQ(runCli({u"--db"_s, db, u"backup"_s, bak}).code, 0);
    Connection(bak).executeScript(u"create trigger pass_all after insert on TZ_XIANGMU "
                                  u"begin update TZ_XIANGMU set 校验状态 = '1'; end"_s);
    const auto restored = runCli({u"--db"_s, db, u"restore"_s, bak});
    EXPECT_EQ(restored.code, 0);
    EXPECT_EQ(restored.out, u"文件恢复成功！\n"_s);
    EXPECT_EQ(restored.err, u"备份文件中有不属于本系统的内容，没有恢复：触发器 pass_all\n"_s);
    EXPECT_EQ(Connection(db).scalar(u"select count(*) from sqlite_master where type = 'trigger'"_s).toInt(), 0);
}

TEST(StoreCommands, VersionAndWhereTheDataIs)
{
    const auto version = runCli({u"--version"_s});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, u"granwise-cli "_s + programVersion() + u'\n');
    EXPECT_FALSE(programVersion().isEmpty());

    QTemporaryDir dir;
    const QString db = dir.filePath(u"办公室.db"_s);
    const auto where = runCli({u"--db"_s, db, u"where"_s});
    EXPECT_EQ(where.code, 0);
    EXPECT_TRUE(where.out.contains(u"数据库："_s + db + u'\n')) << where.out.toStdString();
    EXPECT_TRUE(where.out.contains(u"模板目录："_s)) << where.out.toStdString();
    EXPECT_EQ(runCli({u"where"_s, u"extra"_s}).code, 2);
}
