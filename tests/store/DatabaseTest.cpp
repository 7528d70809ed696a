#include "TestSupport.h"

#include "store/DatabaseSetup.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"
#include "store/UserAccount.h"

#include <QFile>
#include <iterator>
#include <limits>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

TEST(ProjectColumns, HasThe137ColumnsInTableOrder)
{
    const auto &cs = projectColumns();
    ASSERT_EQ(cs.size(), 137);
    EXPECT_EQ(cs.at(0).name, u"id"_s);
    EXPECT_EQ(cs.at(1).name, u"修改时间"_s);
    EXPECT_EQ(cs.at(2).name, u"校验状态"_s);
    EXPECT_EQ(cs.at(3).name, u"企业代码"_s);
    EXPECT_EQ(cs.at(14).name, u"年度"_s);
    EXPECT_EQ(cs.at(15).name, u"项目类别"_s);
    EXPECT_EQ(cs.at(26).name, u"可用建设用地"_s);
    EXPECT_EQ(cs.at(27).name, u"总_建筑安装工程"_s);
    EXPECT_EQ(cs.at(27).control, u"MaskEdit001"_s);
    EXPECT_EQ(cs.at(59).name, u"本年_其他投资"_s);
    EXPECT_EQ(cs.at(59).control, u"MaskEdit033"_s);
    EXPECT_EQ(cs.at(60).name, u"建设_新建仓容"_s);
    EXPECT_EQ(cs.at(61).name, u"完成_新建仓容"_s);
    EXPECT_EQ(cs.at(133).name, u"完成_仓储信息"_s);
    EXPECT_EQ(cs.at(133).control, u"MaskEdit107"_s);
    EXPECT_EQ(cs.at(136).name, u"审核人"_s);

    int numbers = 0;
    QSet<QString> names;
    QSet<QString> controls;
    for (const auto &c : cs) {
        numbers += c.isNumber();
        names.insert(c.name);
        if (c.control.startsWith(u"MaskEdit0"_s) || c.control.startsWith(u"MaskEdit1"_s))
            controls.insert(c.control);
    }
    EXPECT_EQ(numbers, 108);
    EXPECT_EQ(names.size(), 137);
    EXPECT_EQ(controls.size(), 107); // MaskEdit001 .. MaskEdit107, each once
    EXPECT_EQ(findProjectColumn(u"完成_其中铁路罩棚"_s)->control, u"MaskEdit081"_s);
    EXPECT_EQ(findProjectColumn(u"建设_铁路罩棚"_s)->control, u"MaskEdit050"_s);
    EXPECT_EQ(uploadColumnNames().size(), 136);
}

TEST(DatabaseSetup, MakesTheShippedShape)
{
    test::TempDatabase db;
    Connection c = db.connect();
    EXPECT_EQ(c.columnNames(u"TZ_XIANGMU"_s).size(), 137);
    QStringList expected;
    for (const auto &col : projectColumns())
        expected << col.name;
    EXPECT_EQ(c.columnNames(u"TZ_XIANGMU"_s), expected);

    EXPECT_EQ(db.count(u"province"_s), 31);
    EXPECT_EQ(db.count(u"city"_s), 342);
    EXPECT_EQ(db.count(u"county"_s), 2978);
    EXPECT_EQ(db.count(u"年度"_s), 21);
    EXPECT_EQ(db.count(u"汇总级别"_s), 11);
    EXPECT_EQ(db.count(u"基础情况统计表指标"_s), 138);
    EXPECT_EQ(db.count(u"userinfo"_s), 0);
    EXPECT_EQ(db.count(u"任务信息"_s), 0);
    for (const QString &company : {u"中储粮"_s, u"中粮"_s, u"华粮"_s, u"中纺"_s, u"新疆兵团"_s})
        EXPECT_GT(db.count(company + u"分公司"_s), 0) << company.toStdString();

    // Level lists are read by affiliation in 序号 order.
    Statement levels = c.prepare(u"select 汇总级别 from 汇总级别 where 隶属关系 = ? order by 序号"_s);
    levels.bind(1, u"地方企业"_s);
    QStringList local;
    while (levels.next())
        local << levels.text(0);
    EXPECT_EQ(local, (QStringList{u"国家级汇总"_s, u"省级汇总"_s, u"地级汇总"_s, u"县级汇总"_s}));

    // The basic statistics rows: 17 head rows with the unit "—", in row-map order.
    EXPECT_EQ(c.scalar(u"select count(*) from 基础情况统计表指标 where 计量单位 = '—'"_s).toInt(), 17);
    Statement rows = c.prepare(u"select rowid, 计量单位 from 基础情况统计表指标 order by rowid"_s);
    QList<int> heads;
    int k = 0;
    while (rows.next()) {
        if (rows.text(1) == u"—"_s)
            heads << k + 2;
        ++k;
    }
    EXPECT_EQ(heads, (QList<int>{2, 6, 10, 16, 28, 37, 46, 57, 69, 78, 87, 99, 103, 113, 117, 127, 131}));

    // Query indicators: every queryable column once, text columns typed "1".
    EXPECT_EQ(c.scalar(u"select 类型 from 查询指标 where 指标 = '项目名称'"_s).toString(), u"1"_s);
    EXPECT_EQ(c.scalar(u"select 类型 from 查询指标 where 指标 = '总_银行贷款'"_s).toString(), u"0"_s);
    EXPECT_EQ(c.scalar(u"select count(*) from 查询指标 where 指标 = 'id'"_s).toInt(), 0);
}

TEST(DatabaseSetup, NeverOverwritesUnlessForced)
{
    test::TempDatabase db;
    db.addProject({{u"项目名称"_s, u"甲"_s}});
    EXPECT_THROW(createDatabase(db.path()), Error);
    EXPECT_FALSE(ensureDatabase(db.path()));
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 1);
    createDatabase(db.path(), true);
    EXPECT_EQ(db.count(u"TZ_XIANGMU"_s), 0);
}

TEST(Database, BindsValuesAndReportsErrors)
{
    test::TempDatabase db;
    const QString tricky = u"他说\"好\"，'单引号' % _"_s;
    db.addProject({{u"项目名称"_s, tricky}, {u"总_银行贷款"_s, 1.0}});
    Connection c = db.connect();
    Statement st = c.prepare(u"select 项目名称, 总_银行贷款, 总_利用外资, 审核人 from TZ_XIANGMU where 项目名称 = ?"_s);
    st.bind(1, tricky);
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.text(0), tricky);
    EXPECT_EQ(st.text(1), u"1"_s); // never "1.0"
    EXPECT_EQ(st.text(u"总_利用外资"_s), u"0"_s);
    EXPECT_EQ(st.text(3), QString()); // NULL reads as the empty text
    EXPECT_THROW(c.prepare(u"select * from 不存在的表"_s), Error);
    EXPECT_THROW(Connection(db.dir() + u"/missing.db"_s), Error);
}

TEST(Database, ReadsTheBytesOfAValueAsStored)
{
    test::TempDatabase db;
    Connection c = db.connect();
    const QString text = u"粮食 \"仓\""_s;
    Statement st = c.prepare(u"select ?, ?, 'a' || char(0) || 'b', 12.5, ''"_s);
    st.bind(1, text).bind(2, QVariant());
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.utf8(0), text.toUtf8().toStdString());
    EXPECT_TRUE(st.utf8(1).empty()); // NULL
    EXPECT_EQ(st.utf8(2), std::string_view("a\0b", 3)); // the stored length, not up to a NUL
    EXPECT_EQ(st.utf8(3), "12.5");
    EXPECT_TRUE(st.utf8(4).empty());
    double figures[4] = {-1, -1, -1, -1};
    st.numbers(1, figures); // NULL, text that is no number, a number, the empty text
    EXPECT_THAT(figures, testing::ElementsAre(0, 0, 12.5, 0));
}

// Texts are bound from buffers the statement reuses: each is stored as QString::toUtf8()
// writes it, whatever was bound before at that place, unpaired surrogates included.
TEST(Database, BindsTextsAsTheirUtf8WhateverCameBefore)
{
    test::TempDatabase db;
    Connection c = db.connect();
    const QString texts[] = {
        u"粮食仓储设施"_s, u"a"_s, QString(), u"é ü"_s, QString::fromUtf16(u"\U0001F33E 稻"),
        QString::fromUtf16(u"\xD800" u"a"), QString::fromUtf16(u"b\xDC00"), QString::fromUtf16(u"\xDBFF\xD800" u"c"),
        QString(300, u'长'),
    };
    Statement st = c.prepare(u"select ?, ?"_s);
    for (const QString &text : texts) {
        st.bind(1, text).bind(2, u"第二"_s + text);
        ASSERT_TRUE(st.next());
        EXPECT_EQ(st.utf8(0), text.toUtf8().toStdString());
        EXPECT_EQ(st.utf8(1), (u"第二"_s + text).toUtf8().toStdString());
        st.reset();
    }
}

TEST(Database, ReadsANumberAsStoredAndLeavesTextsAndBlobsToTheCaller)
{
    test::TempDatabase db;
    Connection c = db.connect();
    Statement st = c.prepare(u"select null, 7, -2.5, 9e999, '3', x'33', '1', x'31', 1"_s);
    ASSERT_TRUE(st.next());
    const struct {
        bool isNumber;
        double number;
    } wanted[] = {{true, 0}, {true, 7}, {true, -2.5}, {true, std::numeric_limits<double>::infinity()},
                  {false, 0}, {false, 0}};
    for (int column = 0; column < int(std::size(wanted)); ++column) {
        SCOPED_TRACE(column);
        double number = -1;
        EXPECT_EQ(st.storedNumber(column, number), wanted[column].isNumber);
        if (wanted[column].isNumber) {
            EXPECT_EQ(number, wanted[column].number);
        }
    }
    // Only a text with exactly these bytes holds the text: not a blob of them, not a number.
    EXPECT_TRUE(st.holdsText(6, "1"));
    EXPECT_FALSE(st.holdsText(6, "1 "));
    EXPECT_FALSE(st.holdsText(7, "1"));
    EXPECT_FALSE(st.holdsText(8, "1"));
    EXPECT_FALSE(st.holdsText(0, ""));
}

TEST(Database, TransactionRollsBackWhenNotCommitted)
{
    test::TempDatabase db;
    {
        Connection c = db.connect();
        try {
            Transaction t(c);
            c.execute(u"insert into 年度 (年度) values ('2099')"_s);
            c.execute(u"insert into 没有的表 values (1)"_s);
            t.commit();
        } catch (const Error &) {
        }
    }
    EXPECT_EQ(db.count(u"年度"_s), 21);
}

TEST(TaskInfo, ReadsTheFirstRowAndWritesExactlyOne)
{
    test::TempDatabase db;
    Connection c = db.connect();
    EXPECT_FALSE(readTaskInfo(c).has_value());
    c.execute(u"insert into 任务信息 (年份, 汇总级别) values ('2013', '省级汇总'), ('2014', '县级汇总')"_s);
    ASSERT_TRUE(readTaskInfo(c).has_value());
    EXPECT_EQ(readTaskInfo(c)->level, u"省级汇总"_s);
    TaskInfo info;
    info.year = u"2015"_s;
    info.level = u"县级汇总 "_s;
    writeTaskInfo(c, info);
    EXPECT_EQ(db.count(u"任务信息"_s), 1);
    EXPECT_EQ(readTaskInfo(c)->level, u"县级汇总 "_s);
}

TEST(UserAccount, StoresAHashAndComparesExactly)
{
    test::TempDatabase db;
    Connection c = db.connect();
    EXPECT_FALSE(account::exists(c));
    account::createFirst(c, u" 张三 "_s, u"pw "_s);
    EXPECT_TRUE(account::exists(c));
    EXPECT_EQ(account::userName(c), u" 张三 "_s);
    const QString stored = c.scalar(u"select passwd from userinfo"_s).toString();
    // With its blank, which no base64 of the salt and hash can hold by chance ("pw" alone can).
    EXPECT_FALSE(stored.contains(u"pw "_s));
    EXPECT_TRUE(stored.startsWith(u"$argon2id$"_s));
    EXPECT_TRUE(account::verify(c, u" 张三 "_s, u"pw "_s));
    EXPECT_FALSE(account::verify(c, u" 张三 "_s, u"pw"_s));
    EXPECT_FALSE(account::verify(c, u" 张三 "_s, u"PW "_s));
    EXPECT_FALSE(account::verify(c, u"张三"_s, u"pw "_s));

    account::change(c, u"  李四 "_s, u" new "_s);
    EXPECT_EQ(db.count(u"userinfo"_s), 1);
    EXPECT_EQ(account::userName(c), u"李四"_s);
    EXPECT_TRUE(account::verify(c, u"李四"_s, u"new"_s));
}
