#include "TestSupport.h"
#include "store/TableHalves.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

struct Part {
    RowidRange rowids;
    bool ownConnection = false; // read through the connection the caller passed
    std::thread::id thread;
};

void addProjects(const test::TempDatabase &db, qint64 first, qint64 last)
{
    Connection c = db.connect();
    c.execute(u"with recursive seq(i) as (select ? union all select i + 1 from seq where i < ?) "
              u"insert into TZ_XIANGMU (id, 企业详细名称, 项目名称) select i, 'E' || i, '仓' from seq"_s,
              {first, last});
}

// Which rowids a part covers, and through which connection on which thread it was read.
auto recorder(Connection &own)
{
    return [&own](Connection &c, RowidRange rowids) { return Part{rowids, &c == &own, std::this_thread::get_id()}; };
}

TEST(TableHalves, ASmallTableIsReadInOneRangeThroughTheCallersConnection)
{
    test::TempDatabase db;
    addProjects(db, 5, 4000);
    Connection c = db.connect();
    const std::vector<Part> parts = readInHalves(c, db.path(), u"TZ_XIANGMU"_s, recorder(c));
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].rowids.first, 5);
    EXPECT_EQ(parts[0].rowids.last, 4000);
    EXPECT_TRUE(parts[0].ownConnection);

    test::TempDatabase empty;
    Connection e = empty.connect();
    const std::vector<Part> none = readInHalves(e, empty.path(), u"TZ_XIANGMU"_s, recorder(e));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_GT(none[0].rowids.first, none[0].rowids.last); // no rowids at all
}

TEST(TableHalves, ALargeTableIsReadInTwoHalvesThatMeet)
{
    test::TempDatabase db;
    addProjects(db, 3, kTwoHalvesFrom + 2);
    Connection c = db.connect();
    const std::vector<Part> parts = readInHalves(c, db.path(), u"TZ_XIANGMU"_s, recorder(c));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].rowids.first, 3);
    EXPECT_EQ(parts[1].rowids.first, parts[0].rowids.last + 1);
    EXPECT_EQ(parts[1].rowids.last, kTwoHalvesFrom + 2);
    EXPECT_TRUE(parts[0].ownConnection);
    EXPECT_EQ(parts[0].thread, std::this_thread::get_id());
    EXPECT_FALSE(parts[1].ownConnection);
    EXPECT_NE(parts[1].thread, std::this_thread::get_id());
}

TEST(TableHalves, AHalfTheHelperCannotReadIsReadByTheCaller)
{
    test::TempDatabase db;
    addProjects(db, 1, kTwoHalvesFrom);
    Connection c = db.connect();
    const auto onlyOwn = [&c](Connection &through, RowidRange rowids) {
        if (&through != &c)
            throw std::runtime_error("no helper here");
        return Part{rowids, true, std::this_thread::get_id()};
    };
    const std::vector<Part> parts = readInHalves(c, db.path(), u"TZ_XIANGMU"_s, onlyOwn);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1].rowids.first, parts[0].rowids.last + 1);
    EXPECT_EQ(parts[1].rowids.last, kTwoHalvesFrom);
    EXPECT_TRUE(parts[1].ownConnection);

    // An error of the caller's own half is the caller's.
    const auto failing = [&c](Connection &through, RowidRange rowids) {
        if (&through == &c)
            throw std::runtime_error("the first half");
        return Part{rowids, false, std::this_thread::get_id()};
    };
    EXPECT_THROW(readInHalves(c, db.path(), u"TZ_XIANGMU"_s, failing), std::runtime_error);
}

} // namespace
} // namespace granwise
