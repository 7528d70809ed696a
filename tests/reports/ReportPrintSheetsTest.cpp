#include "ReportPrintTestSupport.h"
#include "WindowTestSupport.h"
#include "projects/windows/ProjectForm.h"
#include "projects/windows/StorageSheetWindow.h"
#include "store/Clock.h"
#include "store/TaskInfo.h"
#include "ui/PagePrinter.h"

#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

class ReportPrintSheets : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::havePdfTools())
            GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
        TaskInfo task;
        task.year = u"2013"_s;
        task.unitName = u"河南省粮食局"_s;
        Connection c = db.connect();
        writeTaskInfo(c, task);
        Clock::install(&clock);
    }
    void TearDown() override { Clock::install(nullptr); }

    QString file(const QString &name) const { return db.dir() + u'/' + name; }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2013, 12, 9), QTime(10, 0))};
};

// Every page of a printed window carries the office's footer.
void expectFooters(const QString &pdf, int pages)
{
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(test::pdfPageText(pdf, page).contains(u"河南省粮食局第%1页共%2页2013-12-09"_s.arg(page).arg(pages)))
            << "page " << page;
}

TEST_F(ReportPrintSheets, AFormIsCutBetweenItsControls)
{
    // A page of 150 numbered lines, far longer than a sheet of paper.
    QWidget page;
    auto *layout = new QVBoxLayout(&page);
    for (int i = 1; i <= 150; ++i)
        layout->addWidget(new QLabel(u"第%1行 粮食仓容"_s.arg(i, 3, 10, QChar(u'0')), &page));
    page.resize(600, 10);
    page.show();
    QApplication::processEvents();
    ASSERT_GT(page.height(), 2000);

    const QString pdf = file(u"lines.pdf"_s);
    writePdf(pdf, u"lines"_s, a4Layout(QPageLayout::Landscape), [&](QPagedPaintDevice &device) {
        printWidget(device, page, {u"河南省粮食局"_s, u"2013-12-09"_s});
    });
    const int pages = widgetPageCount(a4Layout(QPageLayout::Landscape), page);
    ASSERT_GE(pages, 2);
    ASSERT_EQ(test::pdfPageCount(pdf), pages);
    expectFooters(pdf, pages);
    QString all;
    for (int p = 1; p <= pages; ++p)
        all += test::pdfPageText(pdf, p);
    // A line cut by a page break would be printed on both pages.
    for (int i = 1; i <= 150; ++i)
        EXPECT_EQ(all.count(u"第%1行粮食仓容"_s.arg(i, 3, 10, QChar(u'0'))), 1) << i;
}

TEST_F(ReportPrintSheets, StorageSheetPrintsAndExportsWhatItShows)
{
    TFrmInput_Tj sheet(db.context());
    sheet.show();
    auto *print = sheet.findChild<QPushButton *>(u"BitBtnPrint"_s);
    auto *pdf = sheet.findChild<QPushButton *>(u"BitBtnPdf"_s);
    ASSERT_TRUE(print && pdf);
    EXPECT_EQ(print->text(), u"打印"_s);
    EXPECT_EQ(pdf->text(), u"导出PDF"_s);

    const QString path = file(u"storage.pdf"_s);
    dialogs.next(path);
    QTest::mouseClick(pdf, Qt::LeftButton);
    EXPECT_EQ(dialogs.proposed, u"粮食流通基础设施建设投资统计报表（12-09)"_s);
    EXPECT_EQ(prompter.lastText(), u"保存成功！"_s);
    QWidget *page = sheet.findChild<QScrollArea *>(u"ScrollBox1"_s)->widget();
    const int pages = widgetPageCount(a4Layout(QPageLayout::Landscape), *page);
    ASSERT_EQ(test::pdfPageCount(path), pages);
    EXPECT_TRUE(test::pdfInfo(path, u"Page size"_s).startsWith(u"842 x 595"_s));
    EXPECT_TRUE(test::pdfPageText(path, 1).contains(u"粮油仓储设施项目基本情况表"_s));
    expectFooters(path, pages);

    int previewPages = -1;
    test::whenModalOpens([&](QWidget &modal) {
        if (auto *preview = modal.findChild<QPrintPreviewWidget *>())
            previewPages = preview->pageCount();
        modal.close();
    });
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(previewPages, pages);
}

TEST_F(ReportPrintSheets, ProjectFormExportsItsPage)
{
    TFrmInput1 form(db.context());
    form.show();
    auto *pdf = form.findChild<QPushButton *>(u"BitBtnPdf"_s);
    ASSERT_TRUE(pdf && form.findChild<QPushButton *>(u"BitBtnPrint"_s));
    QTest::keyClicks(form.findChild<QWidget *>(u"MaskEdit001"_s), u"1234.5"_s);

    const QString path = file(u"project.pdf"_s);
    dialogs.next(path);
    QTest::mouseClick(pdf, Qt::LeftButton);
    EXPECT_EQ(dialogs.proposed, u"粮食流通基础设施建设投资统计基础报表（12-09)"_s);
    const int pages = test::pdfPageCount(path);
    ASSERT_GE(pages, 1);
    EXPECT_EQ(pages, widgetPageCount(a4Layout(QPageLayout::Landscape),
                                     *form.findChild<QScrollArea *>(u"ScrollBox1"_s)->widget()));
    QString all;
    for (int p = 1; p <= pages; ++p)
        all += test::pdfPageText(path, p);
    EXPECT_TRUE(all.contains(u"粮食流通基础设施建设投资统计基础报表"_s));
    EXPECT_TRUE(all.contains(u"1234.5"_s)) << "what the user typed";
    expectFooters(path, pages);
}

} // namespace
} // namespace granwise
