#include "InvestmentSummaryTestSupport.h"

#include "reports/frame/ReportSave.h"
#include "sheets/SheetStreamFill.h"

#include <QDir>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;
using summarytest::figuresOf;
using summarytest::labelsOf;
using summarytest::opened;
using summarytest::project;

const QStringList ScaleNumbers = {u"2-1"_s, u"2-2"_s, u"2-3"_s, u"2-4"_s, u"2-5"_s,
                                  u"2-6"_s, u"2-7"_s, u"2-8"_s, u"2-9"_s};

const QStringList Labels = {
    u"一、粮食仓容"_s,         u"其中：成品粮应急储备仓"_s,   u"1.平房仓"_s,
    u"2.立筒仓"_s,             u"其中：钢板筒仓"_s,           u"3.浅圆仓"_s,
    u"4.其他仓型"_s,           u"二、油罐"_s,                 u"三、维修改造仓容"_s,
    u"其中：大修仓容"_s,       u"四、维修改造油罐"_s,         u"五、粮食专用码头"_s,
    u"    泊位个数"_s,         u"    吞吐能力"_s,             u"六、铁路专用线"_s,
    u"其中：铁路专用线有效长度"_s, u"七、罩棚"_s,             u"其中：1.铁路罩棚"_s,
    u"      2.储粮罩棚"_s,     u"八、地坪"_s,                 u"九、散粮中转能力"_s,
    u"    接收能力"_s,         u"    发放能力"_s,             u"十、机械设备"_s,
    u"1.保粮设备"_s,           u"2.烘干设备"_s,               u"    烘干能力"_s,
    u"3.进出仓设备"_s,         u"4.地中衡"_s,                 u"5.运输设备"_s,
    u"其中：散粮汽车"_s,       u"      散粮火车皮"_s,         u"      散粮船舶"_s,
    u"6.检化验设备"_s,         u"十一、办公、业务用房"_s,     u"十二、农户科学储粮仓"_s,
    u"十三、信息系统"_s,       u"其中：1.电子政务系统"_s,     u"      2.粮情监测预警系统"_s,
    u"      3.仓储信息系统"_s,
};

const QStringList Units = {
    u"万吨"_s,   u"万吨"_s,   u"万吨"_s,    u"万吨"_s,    u"万吨"_s,    u"万吨"_s,    u"万吨"_s,    u"万吨"_s,
    u"万吨"_s,   u"万吨"_s,   u"万吨"_s,    u"-"_s,       u"个"_s,      u"万吨"_s,    u"米"_s,      u"米"_s,
    u"万平方米"_s, u"万平方米"_s, u"万平方米"_s, u"万平方米"_s, u"-"_s,     u"吨/小时"_s, u"吨/小时"_s, u"台套"_s,
    u"台套"_s,   u"台套"_s,   u"吨/小时"_s, u"台套"_s,    u"台套"_s,    u"-"_s,       u"辆"_s,      u"节"_s,
    u"艘"_s,     u"台套"_s,   u"万平方米"_s, u"万套"_s,    u"套"_s,      u"套"_s,      u"套"_s,      u"套"_s,
};

// Grid rows.
constexpr int Wharf = 13, Transfer = 22, Transport = 31;
constexpr int Storage = 2, Railway = 16, Canopy = 18, RailwayCanopy = 19, GrainCanopy = 20, Floor = 21;
constexpr int Offices = 36, Farmers = 37;

bool isGroupHead(int row)
{
    return row == Wharf || row == Transfer || row == Transport;
}

TEST(ScaleTables, NoMatchingProjectShowsZeroInEveryItemOfEveryTable)
{
    test::TempDatabase db;
    for (const QString &number : ScaleNumbers) {
        SCOPED_TRACE(number.toStdString());
        const ReportGrid grid = opened(number, db);
        ASSERT_EQ(grid.rowCount(), 42);
        EXPECT_EQ(grid.rowTexts(1), (QStringList{u"类别"_s, u"计量单位"_s, u"建设规模"_s, u"年度完成规模"_s}));
        EXPECT_EQ(labelsOf(grid), Labels);
        for (int r = 2; r < 42; ++r) {
            const QString zero = isGroupHead(r) ? QString() : u"0"_s;
            EXPECT_EQ(figuresOf(grid, r), (QStringList{Units.at(r - 2), zero, zero})) << "row " << r;
        }
    }
}

TEST(ScaleTables, AreasInSquareMetresShowInTenThousands)
{
    test::TempDatabase db;
    db.addProject(project({{u"建设_罩棚"_s, 25000},
                           {u"完成_罩棚"_s, 5000},
                           {u"建设_铁路罩棚"_s, 12000},
                           {u"完成_其中铁路罩棚"_s, 3000},
                           {u"建设_储粮罩棚"_s, 13000},
                           {u"建设_地坪"_s, 1},
                           {u"建设_办公业务用房"_s, 123456.7},
                           {u"建设_铁路专用线"_s, 25000},
                           {u"建设_新建仓容"_s, 2.5},
                           {u"完成_农户科学储粮"_s, 0.3}}));
    db.addProject(project({{u"建设_新建仓容"_s, 0.1}, {u"完成_农户科学储粮"_s, 0.6}}));
    const ReportGrid grid = opened(u"2-1"_s, db);
    EXPECT_EQ(figuresOf(grid, Canopy), (QStringList{u"万平方米"_s, u"2.5"_s, u"0.5"_s}));
    EXPECT_EQ(figuresOf(grid, RailwayCanopy), (QStringList{u"万平方米"_s, u"1.2"_s, u"0.3"_s}));
    EXPECT_EQ(figuresOf(grid, GrainCanopy), (QStringList{u"万平方米"_s, u"1.3"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, Floor), (QStringList{u"万平方米"_s, u"0.0001"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, Offices), (QStringList{u"万平方米"_s, u"12.34567"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, Railway), (QStringList{u"米"_s, u"25000"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, Storage), (QStringList{u"万吨"_s, u"2.6"_s, u"0"_s}));
    EXPECT_EQ(figuresOf(grid, Farmers), (QStringList{u"万套"_s, u"0"_s, u"0.9"_s}));
}

TEST(ScaleTables, EachTableSumsOnlyTheProjectsOfItsFilter)
{
    test::TempDatabase db;
    // Each project carries a distinct power of two as 平房仓 scale, so a sum names its projects.
    const QVector<QVariantMap> facts = {
        {{u"项目单位性质"_s, u"国有及国有控股"_s}, {u"隶属关系"_s, u"中央企业"_s}, {u"项目进展"_s, u"前期项目"_s}},
        {{u"项目单位性质"_s, u"民营"_s}, {u"隶属关系"_s, u"地方企业"_s}, {u"项目进展"_s, u"在建项目"_s}},
        {{u"项目单位性质"_s, u"外资"_s}, {u"隶属关系"_s, u"地方企业"_s}, {u"项目进展"_s, u"竣工项目"_s}},
        {{u"项目单位性质"_s, u"外资 "_s}, {u"隶属关系"_s, u"中央企业 "_s}, {u"项目进展"_s, u"竣工"_s}},
        {}, // nothing filled in
    };
    double scale = 1;
    for (QVariantMap values : facts) {
        values.insert(u"建设_平房仓"_s, scale);
        values.insert(u"完成_平房仓"_s, scale);
        db.addProject(project(values));
        scale *= 2;
    }
    const QVector<QPair<QString, QString>> expected = {
        {u"2-1"_s, u"31"_s}, {u"2-2"_s, u"1"_s}, {u"2-3"_s, u"2"_s}, {u"2-4"_s, u"4"_s}, {u"2-5"_s, u"1"_s},
        {u"2-6"_s, u"6"_s},  {u"2-7"_s, u"1"_s}, {u"2-8"_s, u"2"_s}, {u"2-9"_s, u"4"_s},
    };
    for (const auto &[number, sum] : expected) {
        const ReportGrid grid = opened(number, db);
        EXPECT_EQ(figuresOf(grid, 4), (QStringList{u"万吨"_s, sum, sum})) << number.toStdString();
    }
}

TEST(ScaleTables, EmptyScaleValuesCountAsZero)
{
    test::TempDatabase db;
    db.addProject(project({{u"建设_地中衡"_s, QVariant()}, {u"完成_地中衡"_s, QVariant()}}));
    db.addProject(project({{u"建设_地中衡"_s, 3}, {u"完成_地中衡"_s, QVariant()}}));
    const ReportGrid grid = opened(u"2-1"_s, db);
    EXPECT_EQ(figuresOf(grid, 30), (QStringList{u"台套"_s, u"3"_s, u"0"_s}));
}

TEST(ScaleTables, AllNineShareTheTemplateOfTwoOneAndWriteTheirOwnTitle)
{
    const QString sharedTemplate = u"表2-1 粮食流通基础设施建设规模情况汇总表.xlsx"_s;
    for (const QString &number : ScaleNumbers) {
        const ReportDefinition &d = summarytest::table(number);
        EXPECT_EQ(d.className, u"TFrmb2_1"_s);
        EXPECT_EQ(d.templateFileName(), sharedTemplate) << number.toStdString();
        EXPECT_EQ(d.titleRowHeight, 40);
        EXPECT_TRUE(d.unitCaption.isEmpty());
    }

    test::TempDatabase db;
    db.addProject(project({{u"项目进展"_s, u"前期项目"_s}, {u"建设_罩棚"_s, 25000}}));
    const QString templets = db.dir() + u"/templet/"_s;
    QDir().mkpath(templets);
    createBlankWorkbook(templets + sharedTemplate, u"表2-1"_s);

    const ReportDefinition &d = summarytest::table(u"2-7"_s);
    const ReportGrid grid = opened(u"2-7"_s, db);
    const QString saved = db.dir() + u"/saved.xlsx"_s;
    writeReportWorkbook(db.locations(), d, grid, saved);

    const QMap<int, QStringList> sheet = summarytest::readWorksheet(saved);
    EXPECT_EQ(sheet.value(2).value(0), u"表2-7 粮食流通基础设施建设前期项目规模情况汇总表"_s);
    EXPECT_EQ(sheet.value(5), (QStringList{u"一、粮食仓容"_s, u"万吨"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(sheet.value(5 + Canopy - 2), (QStringList{u"七、罩棚"_s, u"万平方米"_s, u"2.5"_s, u"0"_s}));
    EXPECT_EQ(sheet.value(5 + Wharf - 2).mid(0, 2), (QStringList{u"五、粮食专用码头"_s, u"-"_s}));
    EXPECT_EQ(sheet.value(44), (QStringList{u"      3.仓储信息系统"_s, u"套"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(sheet.lastKey(), 44);
}

} // namespace
} // namespace granwise
