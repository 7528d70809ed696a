#include "CliRun.h"
#include "TestSupport.h"
#include "projects/ProjectReview.h"
#include "sheets/SheetReader.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

const QString Storage = u"粮油仓储设施项目"_s;

void add(const test::TempDatabase &db, const QString &enterprise, const QString &code, double building,
         double flatWarehouse, const QVariantMap &more = {}, const QString &category = Storage)
{
    QVariantMap row{{u"企业详细名称"_s, enterprise}, {u"项目名称"_s, u"项目"_s},       {u"企业代码"_s, code},
                    {u"项目类别"_s, category},       {u"总_建筑安装工程"_s, building}, {u"建设_平房仓"_s, flatWarehouse}};
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        row.insert(it.key(), it.value());
    db.addProject(row);
}

// Eight honest storage projects at 83 to 100 万元 per 万吨, and the planted ones.
void addProjects(const test::TempDatabase &db)
{
    for (int i = 1; i <= 8; ++i)
        add(db, u"诚实%1"_s.arg(i), u"C%1"_s.arg(i), 100.0 * i, i * (1 + 0.1 * (i % 3)));
    add(db, u"以元填报"_s, u"Y"_s, 3000000, 3);
    add(db, u"单价离谱"_s, u"P"_s, 400, 0.02);
    add(db, u"本年超总"_s, u"B"_s, 300, 3, {{u"本年_建筑安装工程"_s, 500.0}});
    add(db, u"重复粮库"_s, u"D"_s, 250, 2.5);
    add(db, u"重复粮库有限公司"_s, u"D"_s, 250, 2.5);
    // Alone in its category: no peers to compare with.
    add(db, u"物流"_s, u"L"_s, 3000000, 3, {}, u"粮食现代物流项目"_s);
}

TEST(ProjectReview, FindsThePlantedValuesAheadOfTheHonestOnes)
{
    test::TempDatabase db;
    addProjects(db);
    const QVector<ReviewFinding> findings = reviewProjects(db.path());

    QStringList got;
    for (const ReviewFinding &f : findings)
        got << f.enterpriseName + u' ' + f.indicator;
    EXPECT_EQ(got, (QStringList{u"重复粮库 企业代码"_s, u"重复粮库有限公司 企业代码"_s, u"本年超总 本年_建筑安装工程"_s,
                                u"以元填报 总投资/新建仓容"_s, u"以元填报 总_建筑安装工程"_s,
                                u"单价离谱 总投资/新建仓容"_s}));
    ASSERT_EQ(findings.size(), 6);

    EXPECT_TRUE(findings.at(0).explanation.contains(u"重复粮库有限公司"_s));
    EXPECT_EQ(findings.at(2).value, 500.0);
    EXPECT_EQ(findings.at(2).reference, 300.0);

    EXPECT_NEAR(*findings.at(3).ratio, 10000.0, 1e-6); // 1 000 000 per 万吨 against a median of 100
    const ReviewFinding &yuan = findings.at(4);
    EXPECT_EQ(yuan.reference, 400.0); // median of the 13 storage projects' non-zero values
    EXPECT_DOUBLE_EQ(*yuan.ratio, 7500.0);
    EXPECT_TRUE(yuan.explanation.contains(u"以元代替万元"_s)) << qPrintable(yuan.explanation);
    EXPECT_NEAR(*findings.at(5).value, 20000.0, 1e-6);
}

TEST(ProjectReview, CommandWritesOneRowPerFinding)
{
    test::TempDatabase db;
    addProjects(db);
    const QString path = db.dir() + u"/疑似异常.xlsx"_s;
    const test::CliResult result = test::runCli({u"--db"_s, db.path(), u"review"_s, u"--out"_s, path}, db.context());
    ASSERT_EQ(result.code, 0) << qPrintable(result.err);
    EXPECT_TRUE(result.out.startsWith(u"共 6 条疑似异常（5 个项目）"_s)) << qPrintable(result.out);

    auto reader = SheetReader::open(path, u"疑似异常"_s);
    QVector<CellValue> cells;
    int rows = 0;
    while (reader->nextRow(cells)) {
        if (rows == 0) {
            EXPECT_EQ(cells.size(), 11);
        }
        if (rows == 5) {
            EXPECT_EQ(cells.at(0).text, u"以元填报"_s);
            EXPECT_EQ(cells.at(7).number, 3000000.0);
            EXPECT_EQ(cells.at(8).number, 400.0);
        }
        ++rows;
    }
    EXPECT_EQ(rows, 7);
    EXPECT_EQ(test::runCli({u"--db"_s, db.path(), u"review"_s}, db.context()).code, 2);
}

} // namespace
} // namespace granwise
