#include "TestSupport.h"

#include "store/Maintenance.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {
QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void fill(const test::TempDatabase &db)
{
    db.addProject({{u"项目名称"_s, u"甲"_s}, {u"总_银行贷款"_s, 12.5}});
    Connection c = db.connect();
    c.execute(u"insert into userinfo (f2, passwd) values ('u', 'x')"_s);
    c.execute(u"insert into 任务信息 (年份, 汇总级别) values ('2013', '省级汇总')"_s);
}
} // namespace

TEST(Maintenance, ResetEmptiesTheDataTablesOnly)
{
    test::TempDatabase db;
    fill(db);
    maintenance::resetDatabase(db.path());
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
    EXPECT_EQ(db.count(u"userinfo"_s), 0);
    EXPECT_EQ(db.count(u"任务信息"_s), 0);
    EXPECT_EQ(db.count(u"county"_s), 2978);
    EXPECT_EQ(db.count(u"基础情况统计表指标"_s), 138);
}

TEST(Maintenance, BackupAndRestoreRoundTripEveryTable)
{
    test::TempDatabase db;
    fill(db);
    const QString backup = db.dir() + u"/备份--2013.bak"_s;
    maintenance::backupDatabase(db.path(), backup);
    EXPECT_FALSE(QFile::exists(backup + u".part"_s));

    maintenance::resetDatabase(db.path());
    maintenance::restoreDatabase(backup, db.path());
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_EQ(db.count(u"userinfo"_s), 1);
    EXPECT_EQ(db.count(u"任务信息"_s), 1);
    Connection c = db.connect();
    EXPECT_EQ(c.scalar(u"select 总_银行贷款 from TZ_XIANGMU"_s).toDouble(), 12.5);
}

TEST(Maintenance, RestoreRefusesWhatIsNotOurDatabase)
{
    test::TempDatabase db;
    fill(db);
    const QByteArray before = bytes(db.path());

    const QString text = db.dir() + u"/note.bak"_s;
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database at all, just a file with a .bak name");
    f.close();

    const QString foreign = db.dir() + u"/foreign.bak"_s;
    {
        Connection other(foreign, Connection::Mode::CreateFile);
        other.execute(u"create table t (x)"_s);
    }

    const QString truncated = db.dir() + u"/truncated.bak"_s;
    maintenance::backupDatabase(db.path(), truncated);
    QFile t(truncated);
    ASSERT_TRUE(t.resize(t.size() / 2));

    for (const QString &bad : {text, foreign, truncated, db.dir() + u"/missing.bak"_s}) {
        EXPECT_FALSE(maintenance::restoreRefusal(bad).isEmpty()) << bad.toStdString();
        EXPECT_THROW(maintenance::restoreDatabase(bad, db.path()), Error) << bad.toStdString();
        EXPECT_EQ(bytes(db.path()), before) << bad.toStdString();
    }
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
}
