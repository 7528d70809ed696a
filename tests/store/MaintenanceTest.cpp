#include "TestSupport.h"

#include "store/DatabaseSetup.h"
#include "store/Maintenance.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

// At `crashed`, the files a writer killed in the middle of a transaction on `database` leaves:
// the database with some of the transaction's pages already in it, and the journal holding the
// pages they replaced.
void leaveKilledWriter(const QString &database, const QString &crashed)
{
    Connection writer(database);
    writer.executeScript(u"pragma cache_size = 2"_s); // changed pages reach the file before the commit
    Transaction transaction(writer);
    writer.execute(u"update county set 名称 = 名称 || '（改）'"_s);
    writer.execute(u"delete from TZ_XIANGMU"_s);
    ASSERT_TRUE(QFile::copy(database + u"-journal"_s, crashed + u"-journal"_s));
    ASSERT_TRUE(QFile::copy(database, crashed));
} // rolled back

// The two ways of putting another database in the place of one.
struct Replacement {
    const char *name;
    std::function<void(const QString &database)> replace;
};

QVector<Replacement> replacements(const QString &backup)
{
    return {{"restore", [backup](const QString &database) { maintenance::restoreDatabase(backup, database); }},
            {"init --force", [](const QString &database) { createDatabase(database, true); }}};
}

QStringList schemaOf(const QString &database)
{
    Connection c(database);
    QStringList objects;
    Statement st = c.prepare(u"select type, name, sql from sqlite_master order by name"_s);
    while (st.next())
        objects << st.text(0) + u' ' + st.text(1) + u' ' + st.text(2);
    return objects;
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
    EXPECT_EQ(test::namesIn(db.dir()), (QStringList{u"ledger.db"_s, u"备份--2013.bak"_s})); // no temporary left
    EXPECT_THROW(maintenance::backupDatabase(db.path(), db.path()), Error);

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

    // A named pipe would block whoever opens it for reading until something writes into it.
    const QString pipe = db.dir() + u"/pipe.bak"_s;
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    const QStringList names = test::namesIn(db.dir());
    for (const QString &bad : {text, foreign, truncated, db.dir() + u"/missing.bak"_s, pipe}) {
        EXPECT_FALSE(maintenance::restoreRefusal(bad).isEmpty()) << bad.toStdString();
        EXPECT_THROW(maintenance::restoreDatabase(bad, db.path()), Error) << bad.toStdString();
        EXPECT_EQ(bytes(db.path()), before) << bad.toStdString();
    }
    EXPECT_EQ(maintenance::restoreRefusal(pipe), u"不是普通文件，不能读取："_s + pipe);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_EQ(test::namesIn(db.dir()), names); // nothing left behind
}

TEST(Maintenance, ReplacingTheDatabaseRollsBackAKilledWriterFirst)
{
    test::TempDatabase db;
    fill(db);
    const QString backup = db.dir() + u"/good.bak"_s;
    maintenance::backupDatabase(db.path(), backup);
    // The database grows on after the backup: the journal's pages then belong to another file.
    db.connect().execute(u"insert into TZ_XIANGMU (项目名称, 企业详细名称) select 名称, 代码 from county"_s);
    const int projectsAfter[] = {1, 0}; // the backup's, a fresh database's
    int i = 0;
    for (const Replacement &r : replacements(backup)) {
        SCOPED_TRACE(r.name);
        const QString crashed = db.dir() + u"/crashed%1.db"_s.arg(i);
        leaveKilledWriter(db.path(), crashed);
        r.replace(crashed);
        EXPECT_FALSE(QFile::exists(crashed + u"-journal"_s));
        // Had the journal met the new file, this would find it malformed.
        Connection after(crashed);
        EXPECT_EQ(after.scalar(u"pragma integrity_check"_s).toString(), u"ok"_s);
        EXPECT_EQ(after.scalar(u"select count(*) from TZ_XIANGMU"_s).toInt(), projectsAfter[i]);
        EXPECT_EQ(after.scalar(u"select count(*) from county where 名称 like '%（改）'"_s).toInt(), 0);
        EXPECT_EQ(after.scalar(u"select count(*) from county"_s).toInt(), 2978);
        ++i;
    }
}

TEST(Maintenance, ReplacingTheDatabaseIsRefusedWhileAnotherConnectionWrites)
{
    test::TempDatabase db;
    fill(db);
    const QString backup = db.dir() + u"/good.bak"_s;
    maintenance::backupDatabase(db.path(), backup);
    const QStringList names = test::namesIn(db.dir());
    for (const Replacement &r : replacements(backup)) {
        SCOPED_TRACE(r.name);
        const int projects = db.count(u"TZ_XIANGMU"_s);
        {
            Connection importing(db.path());
            Transaction transaction(importing);
            importing.execute(u"insert into TZ_XIANGMU (项目名称) values ('导入中')"_s);
            try {
                r.replace(db.path());
                ADD_FAILURE() << "replaced while another connection was writing";
            } catch (const Error &e) {
                EXPECT_TRUE(e.text().startsWith(u"数据库正在被另一个程序使用"_s)) << e.text().toStdString();
                EXPECT_TRUE(e.text().endsWith(db.path())) << e.text().toStdString();
            }
            transaction.commit(); // the import goes on into the database it began with
        }
        EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), projects + 1);
        EXPECT_EQ(db.count(u"userinfo"_s), 1);
        EXPECT_EQ(test::namesIn(db.dir()), names);
    }
}

TEST(Maintenance, ABackupCarriesDataNeverBehaviour)
{
    test::TempDatabase db;
    fill(db);
    const QStringList freshSchema = schemaOf(db.path());
    const QString crafted = db.dir() + u"/crafted.bak"_s;
    maintenance::backupDatabase(db.path(), crafted);
    {
        Connection c(crafted);
        c.executeScript(u"insert into TZ_XIANGMU (项目名称) values ('删');"
                        u"delete from TZ_XIANGMU where 项目名称 = '删';" // project numbers went on to 2
                        u"create trigger keep_one after insert on TZ_XIANGMU "
                        u"begin delete from TZ_XIANGMU where id <> new.id; end;"
                        u"create view everything as select * from TZ_XIANGMU;"
                        u"create index by_name on TZ_XIANGMU (项目名称);"
                        u"create table notes (x);"
                        u"alter table county add column secret text;"
                        u"drop index project_key;"
                        u"create index project_key on TZ_XIANGMU (项目名称) where 校验状态 = '1'"_s);
    }
    EXPECT_TRUE(maintenance::restoreRefusal(crafted).isEmpty()); // its data is ours
    db.addProject({{u"项目名称"_s, u"乙"_s}});

    const QStringList notRestored = maintenance::restoreDatabase(crafted, db.path());
    EXPECT_EQ(notRestored, (QStringList{u"触发器 keep_one"_s, u"视图 everything"_s, u"索引 by_name"_s,
                                        u"数据表 notes"_s, u"索引 project_key"_s, u"数据表 county 的列 secret"_s}));
    EXPECT_EQ(maintenance::notRestoredText(notRestored),
              u"备份文件中有不属于本系统的内容，没有恢复：触发器 keep_one、视图 everything、索引 by_name、数据表 notes、"
              u"索引 project_key、数据表 county 的列 secret"_s);
    EXPECT_EQ(schemaOf(db.path()), freshSchema);

    // The data came along: every table, the values and the project numbers.
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    EXPECT_EQ(db.count(u"userinfo"_s), 1);
    EXPECT_EQ(db.count(u"任务信息"_s), 1);
    EXPECT_EQ(db.count(u"county"_s), 2978);
    Connection c = db.connect();
    EXPECT_EQ(c.scalar(u"select 总_银行贷款 from TZ_XIANGMU where id = 1"_s).toDouble(), 12.5);
    // and no behaviour: later imports keep every project
    db.addProject({{u"项目名称"_s, u"丙"_s}});
    db.addProject({{u"项目名称"_s, u"丁"_s}});
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 3);
    EXPECT_EQ(c.scalar(u"select max(id) from TZ_XIANGMU"_s).toInt(), 4); // numbers go on after the backup's
}
