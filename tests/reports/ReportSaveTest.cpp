#include "ReportTestSupport.h"
#include "reports/frame/ReportSave.h"
#include "reports/frame/ReportSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

TEST(ReportSave, ProposedNameAndTemplateFollowTheTitle)
{
    test::TempDatabase db;
    const ReportDefinition &d = test::table(u"1-3"_s);
    EXPECT_EQ(proposedFileName(d, QDate(2013, 12, 9)),
              u"表1-3 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源）(12-09)"_s);
    EXPECT_EQ(templatePath(db.locations(), d), db.dir() + u"/templet/表1-3 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源）.xlsx"_s);
    EXPECT_EQ(proposedFileName(test::table(u"1-2"_s), QDate(2014, 3, 1)),
              u"表1-2 粮食流通基础设施建设各地区投资情况汇总表(03-01)"_s);
}

TEST(ReportSave, DataRowsGoThreeRowsLowerAndOneColumnRight)
{
    test::TempDatabase db;
    db.addProject(test::localProject(u"320102"_s, {{u"总_建筑安装工程"_s, 1.5}}));
    ReportSession session(test::table(u"1-9"_s), db.path());
    session.computeWholeTable();
    const QVector<SheetCell> cells = worksheetCells(session.definition(), session.grid());
    ASSERT_EQ(cells.size(), 41 * 5);
    EXPECT_EQ(cells.at(0).row, 5); // grid row 2 (合计)
    EXPECT_EQ(cells.at(0).column, 1);
    EXPECT_EQ(cells.at(0).value, QVariant(u"合计"_s));
    EXPECT_EQ(cells.at(1).value, QVariant(1.5)); // figures as numbers
    EXPECT_EQ(cells.last().row, 45);
    EXPECT_EQ(cells.last().column, 5);

    // A table of another shape: title into the worksheet, other offsets, extra cells first.
    ReportDefinition other = session.definition();
    other.save.rowOffset = 2;
    other.save.titleIntoSheet = true;
    ReportGrid grid = blankGrid(other, 1);
    grid.setText(2, 0, u"行"_s);
    grid.setText(2, 1, u"-"_s);
    const QVector<SheetCell> written = worksheetCells(other, grid, {{2, 2, u"江苏省"_s}});
    ASSERT_EQ(written.size(), 2 + 5);
    EXPECT_EQ(written.at(0).value, QVariant(u"江苏省"_s));
    EXPECT_EQ(written.at(1).row, 2);
    EXPECT_EQ(written.at(1).value, QVariant(other.title));
    EXPECT_EQ(written.at(2).row, 4);
    EXPECT_EQ(written.at(3).value, QVariant(u"-"_s));
    EXPECT_FALSE(written.at(4).value.isValid()); // an empty cell stays empty
}

TEST(ReportSave, AListingIsSavedFromTheFirstDataRowOn)
{
    test::TempDatabase db;
    test::installTemplates(db);
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    ReportSession session(test::table(u"1-3"_s), db.path());
    session.compute(u"江苏省"_s, u"无锡市"_s);
    const QString path = db.dir() + u"/无锡.xlsx"_s;
    writeReportWorkbook(db.locations(), session.definition(), session.grid(), path);

    const QMap<int, QStringList> sheet = test::readWorksheet(path);
    EXPECT_EQ(sheet.value(2).value(0), session.definition().title); // the template's title row
    EXPECT_EQ(sheet.value(4).value(0), u"地区"_s);
    EXPECT_EQ(sheet.value(5).value(3), u"中央财政"_s);
    EXPECT_EQ(sheet.value(6), QString::fromUtf8("无锡市合计,37.3,10,10,0,20.3,0,7,0,0").split(u','));
    EXPECT_EQ(sheet.value(7), QString::fromUtf8("锡山区,30.3,10,10,0,20.3,0,0,0,0").split(u','));
    EXPECT_EQ(sheet.value(8), QString::fromUtf8("滨湖区,7,0,0,0,0,0,7,0,0").split(u','));
    EXPECT_TRUE(sheet.value(9).join(QString()).isEmpty());
}

TEST(ReportSave, AMissingTemplateStopsBeforeAnythingIsWritten)
{
    test::TempDatabase db;
    ReportSession session(test::table(u"1-2"_s), db.path());
    const QString path = db.dir() + u"/out.xlsx"_s;
    try {
        writeReportWorkbook(db.locations(), session.definition(), session.grid(), path);
        FAIL() << "saved without a template";
    } catch (const Error &e) {
        EXPECT_TRUE(e.text().contains(templatePath(db.locations(), session.definition()))) << e.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

// A disk that fills up while a table is saved leaves the target as it was: not the blank
// template, not half a workbook, and no temporary beside it.
TEST(ReportSave, AFullDiskLeavesTheTargetAsItWas)
{
    test::TempDatabase db;
    test::installTemplates(db);
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    ReportSession session(test::table(u"1-3"_s), db.path());
    session.computeWholeTable();
    const QString folder = db.dir() + u"/out"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString full = folder + u"/full.xlsx"_s;
    writeReportWorkbook(db.locations(), session.definition(), session.grid(), full);
    const qint64 templateSize = QFileInfo(templatePath(db.locations(), session.definition())).size();
    const qint64 savedSize = QFileInfo(full).size();
    ASSERT_GT(savedSize, templateSize + 64);
    QFile::remove(full);

    const QString path = folder + u"/表.xlsx"_s;
    for (const QByteArray &before : {QByteArray(), QByteArray("the table saved yesterday")}) {
        if (!before.isEmpty()) {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(before);
        }
        const QStringList names = test::namesIn(folder);
        {
            test::FileSizeLimit diskFull(templateSize + 32); // the template copy fits, the filled table does not
            EXPECT_THROW(writeReportWorkbook(db.locations(), session.definition(), session.grid(), path), Error);
        }
        QFile after(path);
        EXPECT_EQ(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), before);
        EXPECT_EQ(test::namesIn(folder), names);
    }
}

TEST(ReportTemplates, EveryTableHasATemplateWithItsHeadsAboveTheFirstDataRow)
{
    test::TempDatabase db;
    test::installTemplates(db);
    for (const char *number : {"1-2", "1-3", "1-4", "1-6", "1-11", "1-14", "1-19", "1-21", "1-22"}) {
        const ReportDefinition &d = test::table(QString::fromLatin1(number));
        SCOPED_TRACE(number);
        ASSERT_TRUE(QFileInfo::exists(templatePath(db.locations(), d)));
        const QMap<int, QStringList> sheet = test::readWorksheet(templatePath(db.locations(), d));
        const ReportGrid heads = blankGrid(d);
        EXPECT_EQ(sheet.value(2).value(0), d.title);
        EXPECT_TRUE(sheet.value(3).contains(d.unitCaption));
        for (int r = 1; r < d.firstDataRow; ++r)
            for (int c = 0; c < d.columnCount; ++c)
                if (!heads.text(r, c).isEmpty()) {
                    EXPECT_EQ(sheet.value(r + 3).value(c), heads.text(r, c)) << r << "," << c;
                }
        EXPECT_TRUE(sheet.value(d.firstDataRow + 3).join(QString()).isEmpty());
    }
}

} // namespace
} // namespace granwise
