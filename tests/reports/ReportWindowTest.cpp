#include "WindowTestSupport.h"
#include "ReportTestSupport.h"
#include "reports/windows/FrozenHeadGrid.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/windows/ReportWindowFactory.h"
#include "reports/windows/ReportWindow.h"
#include "store/Error.h"
#include "store/Clock.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

std::unique_ptr<ReportWindow> openWindow(const test::TempDatabase &db, const QString &titleOrNumber)
{
    test::table(u"1-2"_s); // registers the tables
    QDialog *dialog = createReportWindow(registeredReport(titleOrNumber), db.context(), nullptr);
    auto *window = qobject_cast<ReportWindow *>(dialog);
    EXPECT_NE(window, nullptr);
    return std::unique_ptr<ReportWindow>(window);
}

QStringList comboItems(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QColor background(const QTableWidget *grid, int row)
{
    return grid->item(row, 1)->background().color();
}

TEST(ReportWindow, Table1_3ComputesListsAndSaves)
{
    test::TempDatabase db;
    test::installTemplates(db);
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FixedClock clock(QDateTime(QDate(2013, 12, 9), QTime(10, 0)));
    Clock::install(&clock);

    const QString title = test::table(u"1-3"_s).title;
    auto window = openWindow(db, title);
    ASSERT_TRUE(window);
    window->show();
    EXPECT_EQ(window->objectName(), u"TFrmb1_3"_s);
    EXPECT_EQ(window->windowTitle(), title);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    auto *province = window->findChild<QComboBox *>(u"ComboBox2"_s);
    auto *prefecture = window->findChild<QComboBox *>(u"ComboBox3"_s);
    auto *compute = window->findChild<QPushButton *>(u"BitBtn3"_s);
    auto *save = window->findChild<QPushButton *>(u"BitBtn1"_s);
    ASSERT_TRUE(grid && province && prefecture && compute && save);
    EXPECT_EQ(compute->text(), u"统计"_s);
    EXPECT_EQ(save->text(), u"保存表格"_s);
    EXPECT_EQ(window->findChild<QPushButton *>(u"BitBtn2"_s)->text(), u"返  回"_s);
    EXPECT_FALSE(window->findChild<QComboBox *>(u"ComboBox1"_s)->isVisible());
    EXPECT_EQ(window->findChild<QLabel *>(u"Label3"_s)->text(), u"单位：万元"_s);

    // Opening: title, two head rows, one blank data row; the provinces of the projects.
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->item(0, 0)->text(), title);
    EXPECT_EQ(grid->columnSpan(0, 0), 10);
    EXPECT_EQ(grid->rowHeight(0), 70);
    EXPECT_EQ(comboItems(province), (QStringList{u"北京市"_s, u"江苏省"_s, u"河北省"_s}));
    EXPECT_TRUE(province->currentText().isEmpty());

    QTest::mouseClick(compute, Qt::LeftButton);
    ASSERT_EQ(grid->rowCount(), 44);
    EXPECT_EQ(grid->item(3, 0)->text(), u"合计"_s);
    EXPECT_EQ(grid->item(3, 1)->text(), u"280.6"_s);
    EXPECT_EQ(grid->item(42, 0)->text(), u"中  粮"_s);

    province->setEditText(u"江苏省"_s);
    EXPECT_EQ(comboItems(prefecture), (QStringList{u"南京市"_s, u"无锡市"_s}));
    QTest::mouseClick(compute, Qt::LeftButton);
    ASSERT_EQ(grid->rowCount(), 6);
    EXPECT_EQ(grid->item(3, 0)->text(), u"江苏省合计"_s);
    EXPECT_EQ(grid->item(4, 0)->text(), u"南京市"_s);
    EXPECT_EQ(grid->item(4, 1)->text(), u"1235"_s);
    EXPECT_TRUE(province->currentText().isEmpty());
    EXPECT_TRUE(prefecture->currentText().isEmpty());
    EXPECT_EQ(prefecture->count(), 0);

    const QString path = db.dir() + u"/saved.xlsx"_s;
    dialogs.next(path);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(dialogs.proposed, title + u"(12-09)"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"保存成功！"_s});
    EXPECT_EQ(prompter.said.back().caption, u"提示"_s);
    const QMap<int, QStringList> sheet = test::readWorksheet(path);
    EXPECT_EQ(sheet.value(6).mid(0, 2), (QStringList{u"江苏省合计"_s, u"1272.3"_s}));
    EXPECT_EQ(sheet.value(7).mid(0, 2), (QStringList{u"南京市"_s, u"1235"_s}));
    EXPECT_EQ(sheet.value(8).mid(0, 2), (QStringList{u"无锡市"_s, u"37.3"_s}));

    // Cancelling the dialog writes nothing and says nothing.
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(prompter.said.size(), 1u);
    Clock::install(nullptr);
}

TEST(ReportWindow, APrefectureWithoutAProvinceChangesNothing)
{
    test::TempDatabase db;
    test::addFixtureProjects(db, u"office_projects.csv"_s);
    auto window = openWindow(db, test::table(u"1-10"_s).title);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    auto *prefecture = window->findChild<QComboBox *>(u"ComboBox3"_s);
    window->BitBtn3Click();
    ASSERT_EQ(grid->rowCount(), 38); // the variant title: combined layout
    const ReportGrid before = window->grid();
    prefecture->setEditText(u"南京市"_s);
    window->BitBtn3Click();
    EXPECT_EQ(window->grid(), before);
    EXPECT_EQ(grid->rowCount(), 38);
    EXPECT_EQ(prefecture->currentText(), u"南京市"_s);
}

TEST(ReportWindow, ClickedDataRowsAreHighlighted)
{
    test::TempDatabase db;
    auto window = openWindow(db, u"1-2"_s);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    window->BitBtn3Click();
    ASSERT_EQ(grid->rowCount(), 38);
    emit grid->cellClicked(10, 1);
    EXPECT_EQ(background(grid, 10), QColor(Qt::yellow));
    emit grid->cellClicked(12, 1);
    EXPECT_EQ(background(grid, 10), QColor(Qt::white));
    EXPECT_EQ(background(grid, 12), QColor(Qt::yellow));
    emit grid->cellClicked(1, 1);
    EXPECT_EQ(background(grid, 12), QColor(Qt::white));
    EXPECT_EQ(window->highlightedRow(), 1);
    EXPECT_EQ(grid->palette().color(QPalette::Highlight), QColor(Qt::white));
}

TEST(ReportWindow, TheHeadsStayInPlaceAndTheirPatchesAreHeaderColoured)
{
    test::TempDatabase db;
    test::table(u"1-2"_s);
    const ReportDefinition *patched = nullptr;
    for (const ReportDefinition *d : reportDefinitions())
        if (!d->headerPatches.isEmpty() && d->kind == WindowKind::Selectable)
            patched = d;
    ASSERT_NE(patched, nullptr);
    auto window = openWindow(db, patched->title);
    window->BitBtn3Click();
    window->resize(1000, 400);
    window->show();
    auto *grid = window->findChild<FrozenHeadGrid *>(u"AdvStringGrid1"_s);
    const QTableView *heads = grid->head();
    const QPoint top = grid->viewport()->geometry().topLeft() + QPoint(20, 5);

    // Scrolled to the last data row, the title and the heads are still where they were,
    // drawn over the data rows.
    grid->scrollToBottom();
    ASSERT_GT(grid->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(heads->isVisible());
    EXPECT_EQ(grid->childAt(top), heads->viewport());
    EXPECT_EQ(heads->rowViewportPosition(0), 0);
    int headHeight = 0;
    for (int r = 0; r < window->grid().firstDataRow(); ++r)
        headHeight += grid->rowHeight(r);
    EXPECT_EQ(heads->height(), headHeight);
    // Keyboard moves never leave the current data row under the heads.
    grid->setCurrentCell(window->grid().firstDataRow(), 1);
    EXPECT_GE(grid->visualRect(grid->model()->index(window->grid().firstDataRow(), 1)).top(), headHeight);

    // The "其中" patches join their heads in the heads' colour.
    const QColor headColour = window->palette().color(QPalette::Active, QPalette::Highlight);
    const auto patches = heads->viewport()->findChildren<QWidget *>(QRegularExpression(u"^Patch"_s));
    ASSERT_EQ(patches.size(), patched->headerPatches.size());
    for (QWidget *patch : patches)
        EXPECT_EQ(patch->grab().toImage().pixelColor(patch->width() / 2, patch->height() / 2), headColour);
}

TEST(ReportWindow, ImmediateWindowOpensComputedWithoutBoxes)
{
    test::TempDatabase db;
    QVariantMap p = test::localProject(u"320102"_s, {{u"本年_建筑安装工程"_s, 6}});
    p.insert(u"项目类别"_s, u"粮食现代物流项目"_s);
    db.addProject(p);
    auto window = openWindow(db, test::table(u"1-22"_s).title);
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    EXPECT_EQ(window->findChild<QPushButton *>(u"BitBtn3"_s), nullptr);
    EXPECT_EQ(window->findChild<QComboBox *>(u"ComboBox2"_s), nullptr);
    ASSERT_EQ(grid->rowCount(), 38);
    EXPECT_EQ(grid->item(2, 0)->text(), u"全国合计"_s);
    EXPECT_EQ(grid->item(2, 3)->text(), u"6"_s);

    // Reopening after a change recomputes.
    db.addProject(p);
    auto again = openWindow(db, test::table(u"1-22"_s).title);
    EXPECT_EQ(again->grid().text(2, 3), u"12"_s);
}

TEST(ReportWindow, Table1_2KeepsItsOwnTitleAndCaptionAndSavesItsOpeningRow)
{
    test::TempDatabase db;
    test::installTemplates(db);
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    auto window = openWindow(db, u"1-2"_s);
    window->show();
    EXPECT_EQ(window->windowTitle(), u"粮食流通基础设施建设各地区投资情况汇总表"_s);
    EXPECT_EQ(window->grid().title(), u"表1-2 粮食流通基础设施建设各地区投资情况汇总表"_s);
    EXPECT_EQ(window->findChild<QLabel *>(u"Label3"_s)->text(), u"单位：个、万元"_s);

    const QString path = db.dir() + u"/at-once.xlsx"_s;
    dialogs.next(path);
    window->BitBtn1Click();
    EXPECT_TRUE(dialogs.proposed.startsWith(u"表1-2 粮食流通基础设施建设各地区投资情况汇总表("_s));
    EXPECT_EQ(prompter.texts(), QStringList{u"保存成功！"_s});
    const QMap<int, QStringList> sheet = test::readWorksheet(path);
    EXPECT_EQ(sheet.value(4).value(1), u"项目个数"_s);
    EXPECT_TRUE(sheet.value(5).join(QString()).isEmpty());
}

TEST(ReportWindow, AFailureIsShownAndTheWindowStays)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    auto window = openWindow(db, u"1-7"_s);
    QFile::remove(db.path());
    window->BitBtn3Click();
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said.front().caption, u"Granwise（汇总版1.0）"_s);
    EXPECT_EQ(window->grid().rowCount(), 3);
}

TEST(ReportRegistry, UnknownNamesAreErrorsAndLibrariesMayAddTheirOwnWindows)
{
    test::TempDatabase db;
    test::table(u"1-2"_s);
    // Never another table instead: a typo in a title, an unknown number, a class of several tables.
    for (const QString &name : {u"表1-2 粮食流通基础设施建设各地区投资情况汇总"_s, u"1-99"_s, u"TFrmb1_3"_s, u"TFrmNothing"_s})
        EXPECT_THROW(registeredReport(name), Error) << name.toStdString();
    EXPECT_EQ(registeredReport(u"TFrmb1_2"_s).number, u"1-2"_s);

    registerReportWindow(u"TFrmSpecial"_s, [](const AppContext &, QWidget *parent) {
        auto *d = new QDialog(parent);
        d->setObjectName(u"TFrmSpecial"_s);
        return d;
    });
    ReportDefinition ownWindow = test::table(u"1-9"_s);
    ownWindow.className = u"TFrmSpecial"_s;
    std::unique_ptr<QDialog> special(createReportWindow(ownWindow, db.context(), nullptr));
    ASSERT_TRUE(special);
    EXPECT_EQ(special->objectName(), u"TFrmSpecial"_s);

    // A table added later by another library opens in the generic window.
    ReportDefinition extra = test::table(u"1-9"_s);
    extra.className = u"TFrmbExtra"_s;
    extra.number = u"9-1"_s;
    extra.title = u"表9-1 试验表"_s;
    extra.templateName = test::table(u"1-9"_s).templateFileName();
    registerReport(extra);
    auto window = openWindow(db, u"9-1"_s);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->grid().title(), u"表9-1 试验表"_s);
}

} // namespace
} // namespace granwise
