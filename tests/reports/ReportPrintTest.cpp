#include "WindowTestSupport.h"
#include "CliRun.h"
#include "ReportPrintTestSupport.h"
#include "ReportTestSupport.h"
#include "cli/Cli.h"
#include "reports/frame/ReportPrinter.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/windows/ReportWindowFactory.h"
#include "reports/frame/ReportSave.h"
#include "reports/frame/ReportSession.h"
#include "reports/windows/ReportWindow.h"
#include "store/Clock.h"
#include "store/TaskInfo.h"
#include "ui/PagePrinter.h"

#include <QFile>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

const QString UnitName = u"东区粮食局统计科"_s; // no province in it

// The office's projects, its unit name and a fixed day.
class ReportPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::havePdfTools())
            GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
        test::addFixtureProjects(db, u"office_projects.csv"_s);
        TaskInfo task;
        task.year = u"2013"_s;
        task.unitName = UnitName;
        Connection c = db.connect();
        writeTaskInfo(c, task);
        Clock::install(&clock);
    }
    void TearDown() override { Clock::install(nullptr); }

    QString file(const QString &name) const { return db.dir() + u'/' + name; }

    // How ReportPrinter cuts a grid into pages of its own layout.
    QVector<ReportPrinter::PageRows> plan(const ReportPrinter &printer) const
    {
        QPdfWriter writer(file(u"plan.pdf"_s));
        writer.setPageLayout(printer.pageLayout());
        return printer.pages(writer);
    }

    test::TempDatabase db;
    FixedClock clock{QDateTime(QDate(2013, 12, 9), QTime(10, 0))};
};

// Every data row of the grid stands on the page the plan gives it, in order; the pages follow
// each other without a gap or a repeated row.
void expectRowsOnTheirPages(const ReportGrid &grid, const QVector<ReportPrinter::PageRows> &pages, const QString &pdf)
{
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_EQ(pages.first().first, grid.firstDataRow());
    EXPECT_EQ(pages.last().last, grid.rowCount());
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_LT(pages.at(p).first, pages.at(p).last) << "page " << p + 1 << " holds no row";
        if (p > 0) {
            EXPECT_EQ(pages.at(p).first, pages.at(p - 1).last);
        }
        const QString text = test::pdfPageText(pdf, p + 1);
        qsizetype at = 0;
        for (int r = pages.at(p).first; r < pages.at(p).last; ++r) {
            const QString label = test::withoutBlanks(grid.text(r, 0));
            const qsizetype found = text.indexOf(label, at);
            EXPECT_GE(found, 0) << "row " << r << " " << label.toStdString() << " not in order on page " << p + 1;
            if (found >= 0)
                at = found + label.size();
        }
    }
}

TEST_F(ReportPrint, WholeTableTakesTwoLandscapePagesWithHeadsAndFooterOnEach)
{
    const ReportDefinition &definition = test::table(u"1-3"_s);
    const ReportGrid grid = test::wholeTable(u"1-3"_s, db);
    const PageFooter footer = currentPageFooter(db.path());
    EXPECT_EQ(footer.unitName, UnitName);
    EXPECT_EQ(footer.date, u"2013-12-09"_s);

    const QString pdf = file(u"1-3.pdf"_s);
    writeReportPdf(definition, grid, footer, pdf);
    ASSERT_EQ(test::pdfPageCount(pdf), 2);
    EXPECT_TRUE(test::pdfInfo(pdf, u"Page size"_s).startsWith(u"842 x 595"_s)) << "A4 landscape";
    EXPECT_EQ(test::pdfInfo(pdf, u"Title"_s), definition.title);

    const ReportPrinter printer(definition, grid, footer);
    const QVector<ReportPrinter::PageRows> pages = plan(printer);
    ASSERT_EQ(pages.size(), 2);
    expectRowsOnTheirPages(grid, pages, pdf);

    const QString title = test::withoutBlanks(definition.title); // "粮食" read back as written
    for (int page = 1; page <= 2; ++page) {
        const QString text = test::pdfPageText(pdf, page);
        EXPECT_EQ(text.contains(title), page == 1) << "the title stands on the first page only";
        for (const QString &head : {u"地区"_s, u"投资合计"_s, u"财政性资金"_s, u"中央财政"_s, u"单位：万元"_s})
            EXPECT_TRUE(text.contains(head)) << "page " << page << " lacks " << head.toStdString();
        EXPECT_TRUE(text.contains(u"第%1页共2页"_s.arg(page))) << text.toStdString();
        EXPECT_TRUE(text.contains(UnitName));
        EXPECT_TRUE(text.contains(u"2013-12-09"_s));
    }
    // A province's figures stand on its page only.
    const QString first = test::pdfPageText(pdf, 1);
    const QString second = test::pdfPageText(pdf, 2);
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r) {
        if (grid.rowKind(r) != RowKind::Province)
            continue;
        const QString label = test::withoutBlanks(grid.text(r, 0));
        const bool onFirst = r < pages.at(0).last;
        EXPECT_EQ(first.contains(label), onFirst) << label.toStdString();
        EXPECT_EQ(second.contains(label), !onFirst) << label.toStdString();
    }
    EXPECT_TRUE(first.contains(u"江苏185.3110704020.305020"_s)) << "the row of 江  苏 as the grid shows it";
}

TEST_F(ReportPrint, ANarrowLongTableGoesOnPortraitPagesEveryRowOnce)
{
    ReportDefinition definition;
    definition.title = u"测试表 粮食仓容"_s;
    definition.columnCount = 3;
    definition.firstDataRow = 3;
    definition.heads = {{1, 0, u"名称"_s, 2, 1}, {1, 1, u"数量"_s, 1, 2}, {2, 1, u"甲"_s}, {2, 2, u"乙"_s}};
    definition.unitCaption = u"单位：万吨"_s;
    definition.columnWidths = {200, 150, 150};
    ReportGrid grid = blankGrid(definition, 0);
    for (int i = 1; i <= 120; ++i) {
        const int row = grid.appendRow(RowKind::Item, u"行%1"_s.arg(i, 3, 10, QChar(u'0')));
        grid.setNumber(row, 1, i);
        grid.setNumber(row, 2, i * 0.5);
    }
    // A label much wider than its column is set smaller, not cut.
    const QString wide = u"很长的名称"_s.repeated(8);
    grid.setText(grid.appendRow(RowKind::Item, wide), 1, u"7"_s);

    const QString pdf = file(u"long.pdf"_s);
    writeReportPdf(definition, grid, {UnitName, u"2013-12-09"_s}, pdf);
    const ReportPrinter printer(definition, grid, {});
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    const QVector<ReportPrinter::PageRows> pages = plan(printer);
    ASSERT_EQ(test::pdfPageCount(pdf), pages.size());
    EXPECT_GE(pages.size(), 3);
    EXPECT_TRUE(test::pdfInfo(pdf, u"Page size"_s).startsWith(u"595 x 842"_s));
    expectRowsOnTheirPages(grid, pages, pdf);

    QString all;
    for (int page = 1; page <= pages.size(); ++page) {
        const QString text = test::pdfPageText(pdf, page);
        EXPECT_TRUE(text.contains(u"名称数量"_s) || (text.contains(u"名称"_s) && text.contains(u"数量"_s)));
        EXPECT_TRUE(text.contains(u"单位：万吨"_s));
        EXPECT_TRUE(text.contains(u"第%1页共%2页"_s.arg(page).arg(pages.size())));
        all += text;
    }
    for (int i = 1; i <= 120; ++i)
        EXPECT_EQ(all.count(u"行%1"_s.arg(i, 3, 10, QChar(u'0'))), 1) << i;
    EXPECT_TRUE(all.contains(wide));
}

TEST_F(ReportPrint, AGridWithoutDataRowsPrintsOnePageOfHeads)
{
    const ReportDefinition &definition = test::table(u"1-2"_s);
    const ReportGrid grid = blankGrid(definition, 0);
    const QString pdf = file(u"empty.pdf"_s);
    writeReportPdf(definition, grid, {}, pdf);
    ASSERT_EQ(test::pdfPageCount(pdf), 1);
    const QString text = test::pdfPageText(pdf, 1);
    EXPECT_TRUE(text.contains(test::withoutBlanks(definition.title)));
    EXPECT_TRUE(text.contains(u"本年度完成投资"_s));
    EXPECT_TRUE(text.contains(u"第1页共1页"_s));
}

TEST(ReportPrintText, RadicalsOfTheTextLayerAreNamedByTheirIdeographs)
{
    // As the PDF writer names glyphs: ranges with one code per glyph, a single glyph, a run of
    // consecutive codes, and a glyph number that happens to look like a radical.
    const QByteArray map = "/CIDInit /ProcSet findresource begin\n"
                           "2 beginbfrange\n"
                           "<0000> <0000> <0000>\n"
                           "<0001> <0004> [<2F00> <7CAE> <2F45> <4E00> ]\n"
                           "<0005> <0005> <2F08>\n"
                           "<0006> <0007> <2F00>\n"
                           "<2F00> <2F00> <0041>\n"
                           "endbfrange\n"
                           "1 beginbfchar\n"
                           "<2F01> <2F06>\n"
                           "endbfchar\n"
                           "endcmap\n";
    const QByteArray fixed = withIdeographText(map);
    EXPECT_EQ(fixed.size(), map.size()) << "offsets of the file must not move";
    EXPECT_TRUE(fixed.contains("<0001> <0004> [<4E00> <7CAE> <65B9> <4E00> ]\n")) << fixed.constData();
    EXPECT_TRUE(fixed.contains("<0005> <0005> <4EBA>\n"));
    EXPECT_TRUE(fixed.contains("<0006> <0007> <2F00>\n")) << "a run of codes stays as it is";
    EXPECT_TRUE(fixed.contains("<2F00> <2F00> <0041>\n")) << "glyph numbers are not text";
    EXPECT_TRUE(fixed.contains("<2F01> <4E8C>\n"));
    const QByteArray outside = "<0001> <0001> <2F00>\n";
    EXPECT_EQ(withIdeographText(outside), outside) << "only the maps are touched";
}

// As the program run from the database's folder would (its templates beside it).
test::CliResult cli(const test::TempDatabase &db, const QStringList &args)
{
    return test::runCli(args, db.context());
}

TEST_F(ReportPrint, CliWritesTheSamePdf)
{
    const QString pdf = file(u"cli.pdf"_s);
    const test::CliResult whole = cli(db, {u"--db"_s, db.path(), u"report"_s, u"1-3"_s, u"--pdf"_s, pdf});
    ASSERT_EQ(whole.code, 0) << whole.err.toStdString();
    EXPECT_EQ(whole.out, u"已保存：%1\n"_s.arg(pdf));
    ASSERT_EQ(test::pdfPageCount(pdf), 2);
    const QString first = test::pdfPageText(pdf, 1);
    EXPECT_TRUE(first.contains(test::withoutBlanks(test::table(u"1-3"_s).title)));
    EXPECT_TRUE(first.contains(u"%1第1页共2页2013-12-09"_s.arg(UnitName))) << first.toStdString();

    const QString listing = file(u"listing.pdf"_s);
    const test::CliResult province =
        cli(db, {u"--db"_s, db.path(), u"report"_s, u"1-3"_s, u"--province"_s, u"江苏省"_s, u"--pdf"_s, listing});
    ASSERT_EQ(province.code, 0) << province.err.toStdString();
    ASSERT_EQ(test::pdfPageCount(listing), 1);
    const QString text = test::pdfPageText(listing, 1);
    EXPECT_TRUE(text.contains(u"江苏省合计1272.3"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"南京市1235"_s));
    EXPECT_TRUE(text.contains(u"无锡市37.3"_s));

    for (const QStringList &args : {QStringList{u"report"_s, u"1-3"_s, u"--pdf"_s},
                                    QStringList{u"report"_s, u"1-3"_s, u"--csv"_s, u"--pdf"_s, pdf},
                                    QStringList{u"report"_s, u"1-3"_s, u"--out"_s, u"x.xlsx"_s, u"--pdf"_s, pdf},
                                    QStringList{u"report"_s, u"1-3"_s, u"--pdf"_s, pdf, u"--pdf"_s, pdf}})
        EXPECT_EQ(cli(db, QStringList{u"--db"_s, db.path()} + args).code, 2) << args.join(u' ').toStdString();

    const QString nowhere = file(u"no-such-folder/1-3.pdf"_s);
    const test::CliResult refused = cli(db, {u"--db"_s, db.path(), u"report"_s, u"1-3"_s, u"--pdf"_s, nowhere});
    EXPECT_EQ(refused.code, 1);
    EXPECT_FALSE(refused.err.isEmpty());
    EXPECT_FALSE(QFile::exists(nowhere));
}

std::unique_ptr<ReportWindow> openWindow(const test::TempDatabase &db, const QString &number)
{
    const ReportDefinition &definition = test::table(number);
    return std::unique_ptr<ReportWindow>(qobject_cast<ReportWindow *>(createReportWindow(definition, db.context(), nullptr)));
}

TEST_F(ReportPrint, WindowExportsAndPreviewsWhatItShows)
{
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    auto window = openWindow(db, u"1-3"_s);
    ASSERT_TRUE(window);
    window->show();
    auto *print = window->findChild<QPushButton *>(u"BitBtnPrint"_s);
    auto *pdf = window->findChild<QPushButton *>(u"BitBtnPdf"_s);
    ASSERT_TRUE(print && pdf);
    EXPECT_EQ(print->text(), u"打印"_s);
    EXPECT_EQ(pdf->text(), u"导出PDF"_s);

    // Cancelling the dialog writes nothing and says nothing.
    dialogs.next(QString());
    QTest::mouseClick(pdf, Qt::LeftButton);
    EXPECT_EQ(dialogs.proposed, proposedFileName(window->definition(), QDate(2013, 12, 9)));
    EXPECT_TRUE(prompter.said.empty());

    // Right after opening: the heads and one blank row on one page.
    const QString blank = file(u"blank.pdf"_s);
    dialogs.next(blank);
    QTest::mouseClick(pdf, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), u"保存成功！"_s);
    EXPECT_EQ(test::pdfPageCount(blank), 1);

    QTest::mouseClick(window->findChild<QPushButton *>(u"BitBtn3"_s), Qt::LeftButton);
    const QString whole = file(u"whole.pdf"_s);
    dialogs.next(whole);
    QTest::mouseClick(pdf, Qt::LeftButton);
    ASSERT_EQ(test::pdfPageCount(whole), 2);
    EXPECT_TRUE(test::pdfPageText(whole, 2).contains(u"中储粮15151500000"_s));

    int previewPages = -1;
    bool askedForPrinter = false;
    test::whenModalOpens([&](QWidget &modal) {
        if (auto *preview = modal.findChild<QPrintPreviewWidget *>())
            previewPages = preview->pageCount();
        auto *printNow = modal.findChild<QPushButton *>(u"PreviewPrint"_s);
        ASSERT_TRUE(printNow);
        EXPECT_EQ(printNow->text(), u"打印"_s);
        // Without a printer on the machine "打印" asks where to print; cancelling prints nothing.
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            test::whenModalOpens([&](QWidget &chooser) {
                askedForPrinter = qobject_cast<QPrintDialog *>(&chooser) != nullptr;
                chooser.close();
            });
            QTest::mouseClick(printNow, Qt::LeftButton);
            EXPECT_TRUE(askedForPrinter);
            EXPECT_TRUE(modal.isVisible()) << "the preview stays open";
        }
        modal.close();
    });
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(previewPages, 2);
}

} // namespace
} // namespace granwise
