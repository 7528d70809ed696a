#include "WindowTestSupport.h"
#include "ReportTestSupport.h"
#include "reports/windows/ReportChart.h"
#include "reports/windows/ReportChartView.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/windows/ReportWindowFactory.h"
#include "reports/frame/ReportSession.h"
#include "reports/windows/ReportWindow.h"
#include "reports/summary/SummaryReports.h"
#include "store/Clock.h"
#include "store/Error.h"

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

const ReportDefinition &anyTable(const QString &number)
{
    test::table(u"1-2"_s); // the regional tables
    registerSummaryReports();
    const ReportDefinition *definition = findReport(number);
    if (!definition)
        throw Error(u"no table "_s + number);
    return *definition;
}

ReportGrid computed(const QString &number, const test::TempDatabase &db, const QString &province = {})
{
    ReportSession session(anyTable(number), db.path());
    session.compute(province, {});
    return session.grid();
}

class ReportChart : public ::testing::Test {
protected:
    void SetUp() override { test::addFixtureProjects(db, u"office_projects.csv"_s); }
    test::TempDatabase db;
};

TEST(ReportChartKind, TheRegionalAndTwoSummaryTablesHaveCharts)
{
    const struct {
        const char16_t *number;
        ChartKind kind;
    } cases[] = {
        {u"1-2", ChartKind::Regions},  {u"1-3", ChartKind::Regions},  {u"1-12", ChartKind::Regions},
        {u"1-21", ChartKind::Regions}, {u"1-22", ChartKind::Regions}, {u"2-10", ChartKind::Regions},
        {u"2-18", ChartKind::Regions}, {u"1-1", ChartKind::Sections}, {u"1-27", ChartKind::Sections},
        {u"1-23", ChartKind::None},    {u"1-24", ChartKind::None},    {u"2-1", ChartKind::None},
        {u"2-9", ChartKind::None},
    };
    for (const auto &c : cases) {
        const QString number = QString::fromUtf16(c.number);
        EXPECT_EQ(chartKindOf(anyTable(number)), c.kind) << number.toStdString();
    }
    EXPECT_EQ(chartKindOf(ReportDefinition{}), ChartKind::None);
}

TEST_F(ReportChart, RegionalChartHasOneBarPerProvinceInItsAreaColour)
{
    const ReportDefinition &definition = anyTable(u"1-3"_s);
    const ReportGrid grid = computed(u"1-3"_s, db);
    const ReportChartData data = reportChartData(definition, grid, 1);
    EXPECT_EQ(data.title, definition.title);
    EXPECT_EQ(data.heading, u"投资合计"_s);
    ASSERT_EQ(data.bars.size(), 32) << "the province rows, not the totals, groups or central rows";
    ASSERT_EQ(data.groups.size(), 3);
    EXPECT_EQ(data.groups.at(0).name, u"主产区"_s);
    const struct {
        const char16_t *label;
        int group;
        double value;
    } expected[] = {{u"内蒙古", 0, 0},   {u"河  北", 0, 0.3}, {u"江  苏", 0, 185.3},
                    {u"新疆兵团", 1, 0}, {u"北  京", 2, 0},   {u"海  南", 2, 0}};
    for (const auto &e : expected) {
        const QString label = QString::fromUtf16(e.label);
        const auto bar =
            std::find_if(data.bars.cbegin(), data.bars.cend(), [&](const ChartBar &b) { return b.label == label; });
        ASSERT_NE(bar, data.bars.cend()) << label.toStdString();
        EXPECT_EQ(bar->group, e.group) << label.toStdString();
        EXPECT_DOUBLE_EQ(bar->value, e.value) << label.toStdString();
        EXPECT_EQ(grid.text(bar->row, 0), label);
    }
    EXPECT_EQ(data.bars.first().label, u"内蒙古"_s);
    EXPECT_EQ(data.bars.last().label, u"海  南"_s);

    // Another column: its own head under "其中", its own figures.
    const ReportChartData central = reportChartData(definition, grid, 3);
    EXPECT_EQ(central.heading, u"中央财政"_s);
    EXPECT_DOUBLE_EQ(central.bars.at(5).value, 70); // 江  苏
    // A column without figures charts the row total.
    EXPECT_EQ(reportChartData(definition, grid, 0).column, 1);
    EXPECT_EQ(reportChartData(definition, grid, 99).column, 1);
}

TEST_F(ReportChart, ListingChartsItsPrefecturesInTheProvincesColour)
{
    const ReportDefinition &definition = anyTable(u"1-3"_s);
    const ReportChartData data = reportChartData(definition, computed(u"1-3"_s, db, u"江苏省"_s), 1);
    ASSERT_EQ(data.groups.size(), 1);
    EXPECT_EQ(data.groups.at(0).name, u"江苏省"_s);
    EXPECT_EQ(data.groups.at(0).colour, grainAreaGroups().at(0).colour);
    ASSERT_EQ(data.bars.size(), 2);
    EXPECT_EQ(data.bars.at(0).label, u"南京市"_s);
    EXPECT_DOUBLE_EQ(data.bars.at(0).value, 1235);
    EXPECT_EQ(data.bars.at(1).label, u"无锡市"_s);
}

TEST_F(ReportChart, SummaryTablesChartTheRowsOfTheirSections)
{
    const ReportGrid grid = computed(u"1-1"_s, db);
    const ReportChartData data = reportChartData(anyTable(u"1-1"_s), grid, 1);
    QStringList sections;
    for (const ChartGroup &group : data.groups)
        sections << group.name;
    EXPECT_EQ(sections,
              (QStringList{u"一、按企业性质分"_s, u"二、按隶属关系分"_s, u"三、按建设性质分"_s, u"四、按投资来源分"_s,
                           u"五、按项目类别分"_s, u"六、按项目进展分"_s, u"七、按地区分"_s}));
    int items = 0;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        items += grid.rowKind(r) == RowKind::Item;
    EXPECT_EQ(data.bars.size(), items) << "every row of a section, not 合计 or the headings";
    EXPECT_EQ(data.bars.last().label, u"主销区"_s);
    EXPECT_EQ(data.bars.last().group, 6);

    const ReportChartData progress = reportChartData(anyTable(u"1-27"_s), computed(u"1-27"_s, db), 1);
    EXPECT_EQ(progress.groups.size(), 4);
    EXPECT_EQ(progress.heading, u"项目合计"_s);
}

TEST_F(ReportChart, ChartHasOneBarPerRowInTheSetOfItsGroup)
{
    const ReportChartData data = reportChartData(anyTable(u"1-3"_s), computed(u"1-3"_s, db), 1);
    std::unique_ptr<QChart> chart(buildReportChart(data));
    ASSERT_EQ(chart->series().size(), 1);
    auto *series = qobject_cast<QAbstractBarSeries *>(chart->series().first());
    ASSERT_TRUE(series);
    ASSERT_EQ(series->count(), 3);
    auto *axis = qobject_cast<QBarCategoryAxis *>(chart->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(axis);
    ASSERT_EQ(axis->count(), data.bars.size());
    // Drawn from the bottom up, so that the grid's first row stands on top.
    EXPECT_EQ(axis->categories().last(), u"内蒙古"_s);
    for (int i = 0; i < data.bars.size(); ++i) {
        const ChartBar &bar = data.bars.at(data.bars.size() - 1 - i);
        EXPECT_EQ(axis->at(i), bar.label);
        for (int s = 0; s < series->count(); ++s) {
            QBarSet *set = series->barSets().at(s);
            EXPECT_EQ(set->count(), data.bars.size());
            EXPECT_DOUBLE_EQ(set->at(i), s == bar.group ? bar.value : 0.0) << bar.label.toStdString();
        }
    }
    EXPECT_EQ(series->barSets().at(0)->color(), grainAreaGroups().at(0).colour);
    EXPECT_EQ(series->barSets().at(2)->label(), u"主销区"_s);
}

int pixelsOf(const QImage &image, const QColor &colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb();
    return count;
}

TEST_F(ReportChart, RendersOffscreenToAPictureOfTheAskedSize)
{
    const ReportChartData data = reportChartData(anyTable(u"1-3"_s), computed(u"1-3"_s, db), 1);
    const QImage image = reportChartImage(data, QSize(640, 480));
    EXPECT_EQ(image.size(), QSize(640, 480));
    // 江  苏 carries nearly the whole total: a long bar in the colour of the main producing areas.
    EXPECT_GT(pixelsOf(image, grainAreaGroups().at(0).colour), 1000);

    const QString path = db.dir() + u"/chart.png"_s;
    saveReportChart(data, path);
    QImage saved;
    ASSERT_TRUE(saved.load(path));
    EXPECT_EQ(saved.size(), ChartPictureSize);
    EXPECT_THROW(saveReportChart(data, db.dir() + u"/no-such-folder/chart.png"_s), Error);

    // A table without rows still draws its empty chart.
    EXPECT_EQ(reportChartImage(ReportChartData{}, QSize(300, 200)).size(), QSize(300, 200));
}

std::unique_ptr<ReportWindow> openWindow(const test::TempDatabase &db, const QString &number)
{
    const ReportDefinition &definition = anyTable(number);
    return std::unique_ptr<ReportWindow>(qobject_cast<ReportWindow *>(createReportWindow(definition, db.context(), nullptr)));
}

TEST_F(ReportChart, OneClickShowsTheChartOfTheClickedColumnBesideTheGrid)
{
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FixedClock clock(QDateTime(QDate(2013, 12, 9), QTime(10, 0)));
    Clock::install(&clock);

    auto window = openWindow(db, u"1-3"_s);
    ASSERT_TRUE(window);
    window->show();
    auto *chartButton = window->findChild<QPushButton *>(u"BitBtnChart"_s);
    auto *panel = window->findChild<ReportChartView *>();
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    ASSERT_TRUE(chartButton && panel);
    EXPECT_EQ(chartButton->text(), u"图表"_s);
    EXPECT_FALSE(panel->isVisible());

    QTest::mouseClick(window->findChild<QPushButton *>(u"BitBtn3"_s), Qt::LeftButton);
    QTest::mouseClick(chartButton, Qt::LeftButton);
    EXPECT_TRUE(panel->isVisible());
    QApplication::processEvents(); // lays the panel out beside the grid
    EXPECT_GE(panel->width(), 360);
    EXPECT_GE(grid->width(), panel->width()) << "the grid keeps the larger part";
    EXPECT_EQ(panel->data().bars.size(), 32);
    EXPECT_EQ(panel->data().heading, u"投资合计"_s);
    ASSERT_TRUE(panel->chartView()->chart());
    EXPECT_EQ(panel->chartView()->chart()->series().size(), 1);

    // A click on a cell of 中央财政 charts that column.
    const QRect cell = grid->visualRect(grid->model()->index(10, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(panel->data().column, 3);
    EXPECT_EQ(panel->data().heading, u"中央财政"_s);

    const QString png = db.dir() + u"/chart.png"_s;
    dialogs.next(png);
    QTest::mouseClick(panel->findChild<QPushButton *>(u"BitBtnChartSave"_s), Qt::LeftButton);
    EXPECT_EQ(dialogs.proposed, window->definition().title + u"（中央财政）(12-09)"_s);
    EXPECT_EQ(prompter.lastText(), u"保存成功！"_s);
    EXPECT_EQ(QImage(png).size(), ChartPictureSize);

    QTest::mouseClick(chartButton, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    Clock::install(nullptr);

    // Tables without a chart have no button.
    EXPECT_FALSE(openWindow(db, u"2-1"_s)->findChild<QPushButton *>(u"BitBtnChart"_s));
    EXPECT_TRUE(openWindow(db, u"1-27"_s)->findChild<QPushButton *>(u"BitBtnChart"_s));
}

} // namespace
} // namespace granwise
