#include "CliRun.h"
#include "store/AppLocations.h"
#include "store/Database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
