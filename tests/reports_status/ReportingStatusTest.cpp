#include "WindowTestSupport.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/windows/ReportWindowFactory.h"
#include "reports/frame/ReportSession.h"
#include "reports/windows/ReportWindow.h"
#include "reports/status/ReportingStatus.h"
#include "reports/status/ReportingStatusReport.h"
#include "sheets/SheetReader.h"
#include "store/Clock.h"
#include "store/Error.h"
#include "store/TaskInfo.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

const QColor Attention(255, 204, 204);

// Projects of 鹤壁市 in five of its six counties (淇县 has none), one of 安阳市, one with a code
// no county has and one without a code.
void addFixture(const test::TempDatabase &db)
{
    struct Project {
        const char16_t *code;
        const char16_t *enterprise;
        const char16_t *project;
        double building, equipment, other;
    };
    const Project projects[] = {
        {u"410602", u"鹤壁粮库", u"一号仓", 10, 0.1, 0},
        {u"410602", u"鹤壁粮库", u"二号仓", 0, 0.2, 5},
        {u"410603", u"山城粮站", u"烘干塔", 1, 1, 1},
        {u"410611", u"淇滨粮库", u"罩棚", 2, 0, 0},
        {u"410621", u"浚县粮库", u"地坪", 0, 3, 0},
        {u"410671", u"开发区粮库", u"信息系统", 0, 0, 4.5},
        {u"410502", u"安阳粮库", u"平房仓", 7, 0, 0},
        {u"419999", u"无名粮库", u"错码仓", 1, 0, 0},
        {u"", u"空码粮库", u"无码仓", 2, 0, 0},
    };
    for (const Project &p : projects)
        db.addProject({{u"行政区划代码"_s, QString::fromUtf16(p.code)},
                       {u"企业详细名称"_s, QString::fromUtf16(p.enterprise)},
                       {u"项目名称"_s, QString::fromUtf16(p.project)},
                       {u"总_建筑安装工程"_s, p.building},
                       {u"总_设备工器具购置"_s, p.equipment},
                       {u"总_其他费用"_s, p.other}});
}

void setOffice(const test::TempDatabase &db, const QString &level, const QString &province = {},
               const QString &prefecture = {}, const QString &code = {})
{
    TaskInfo task;
    task.year = u"2013"_s;
    task.affiliation = u"地方企业"_s;
    task.level = level;
    task.province = province;
    task.prefecture = prefecture;
    task.regionCode = code;
    Connection c = db.connect();
    writeTaskInfo(c, task);
}

const ReportDefinition &statusTable()
{
    registerReportingStatus();
    const QVector<const ReportDefinition *> served = reportsOfWindow(u"TFrmReported"_s);
    EXPECT_EQ(served.size(), 1);
    return *served.value(0);
}

ReportGrid computed(const test::TempDatabase &db)
{
    ReportSession session(statusTable(), db.path());
    session.open(); // an immediate window computes as it opens
    return session.grid();
}

int rowOf(const ReportGrid &grid, const QString &label)
{
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.text(r, 0) == label)
            return r;
    return -1;
}

QStringList unitRow(const ReportGrid &grid, const QString &label)
{
    const int r = rowOf(grid, label);
    return r < 0 ? QStringList() : grid.rowTexts(r);
}

// Enterprise and code of the projects listed below the table, after its two heading rows.
QStringList unmatchedListed(const ReportGrid &grid)
{
    QStringList listed;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.rowKind(r) == RowKind::Item)
            listed << grid.text(r, 0) + u'|' + grid.text(r, 1) + u'|' + grid.text(r, 2);
    return listed;
}

QStringList markedLabels(const ReportGrid &grid)
{
    QStringList marked;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.isMarked(r))
            marked << grid.text(r, 0);
    return marked;
}

TEST(ReportingStatus, CountsUnitsOfTheOfficesRegion)
{
    const struct {
        const char *label;
        QString level, province, prefecture, code;
        QString title;
        int units;
        QStringList total;
        QVector<QStringList> rows;
        QStringList marked; // empty: not compared (the provinces' and prefectures' lists are long)
        int markedCount;
        QStringList unmatched;
    } cases[] = {
        {"prefecture level: the counties of 鹤壁市",
         u"地级汇总"_s, u"河南省"_s, u"鹤壁市"_s, u"410600"_s,
         u"河南省鹤壁市各县（市、区）报送情况"_s, 6,
         {u"合计"_s, u""_s, u"6"_s, u"27.8"_s, u"已报送5个，未报送1个"_s},
         {{u"鹤山区"_s, u"410602"_s, u"2"_s, u"15.3"_s, u"已报送"_s},
          {u"山城区"_s, u"410603"_s, u"1"_s, u"3"_s, u"已报送"_s},
          {u"淇县"_s, u"410622"_s, u"0"_s, u"0"_s, u"未报送"_s},
          {u"鹤壁经济技术开发区"_s, u"410671"_s, u"1"_s, u"4.5"_s, u"已报送"_s}},
         {u"淇县"_s}, 1,
         {u"空码粮库||无码仓"_s, u"安阳粮库|410502|平房仓"_s, u"无名粮库|419999|错码仓"_s}},
        {"province level: the prefectures of 河南省",
         u"省级汇总"_s, u"河南省"_s, {}, u"410000"_s,
         u"河南省各地市报送情况"_s, 18,
         {u"合计"_s, u""_s, u"7"_s, u"34.8"_s, u"已报送2个，未报送16个"_s},
         {{u"安阳市"_s, u"410500"_s, u"1"_s, u"7"_s, u"已报送"_s},
          {u"鹤壁市"_s, u"410600"_s, u"6"_s, u"27.8"_s, u"已报送"_s},
          {u"郑州市"_s, u"410100"_s, u"0"_s, u"0"_s, u"未报送"_s},
          {u"济源市"_s, u"419001"_s, u"0"_s, u"0"_s, u"未报送"_s}},
         {}, 16,
         {u"空码粮库||无码仓"_s, u"无名粮库|419999|错码仓"_s}},
        {"national level: the provinces",
         u"国家级汇总"_s, {}, {}, u"000000"_s,
         u"全国各省（区、市）报送情况"_s, 31,
         {u"合计"_s, u""_s, u"8"_s, u"35.8"_s, u"已报送1个，未报送30个"_s},
         {{u"河南省"_s, u"410000"_s, u"8"_s, u"35.8"_s, u"已报送"_s},
          {u"北京市"_s, u"110000"_s, u"0"_s, u"0"_s, u"未报送"_s}},
         {}, 30,
         {u"空码粮库||无码仓"_s}},
        {"county level lists the provinces too",
         u"县级汇总"_s, u"河南省"_s, u"鹤壁市"_s, u"410622"_s,
         u"全国各省（区、市）报送情况"_s, 31,
         {u"合计"_s, u""_s, u"8"_s, u"35.8"_s, u"已报送1个，未报送30个"_s},
         {},
         {}, 30,
         {u"空码粮库||无码仓"_s}},
        {"an office known by its region code only",
         u"省级汇总"_s, u"河南"_s, {}, u"410000"_s,
         u"河南省各地市报送情况"_s, 18,
         {u"合计"_s, u""_s, u"7"_s, u"34.8"_s, u"已报送2个，未报送16个"_s},
         {}, {}, 16,
         {u"空码粮库||无码仓"_s, u"无名粮库|419999|错码仓"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        test::TempDatabase db;
        addFixture(db);
        setOffice(db, c.level, c.province, c.prefecture, c.code);
        const ReportGrid grid = computed(db);

        EXPECT_EQ(grid.title(), c.title);
        ASSERT_GE(grid.rowCount(), 3);
        EXPECT_EQ(grid.rowKind(2), RowKind::GrandTotal);
        EXPECT_EQ(grid.rowTexts(2), c.total);
        int units = 0;
        for (int r = 3; r < grid.rowCount(); ++r)
            units += grid.rowKind(r) == RowKind::Listed ? 1 : 0;
        EXPECT_EQ(units, c.units);
        for (const QStringList &row : c.rows)
            EXPECT_EQ(unitRow(grid, row.first()), row);
        const QStringList marked = markedLabels(grid);
        EXPECT_EQ(marked.size(), c.markedCount);
        if (!c.marked.isEmpty()) {
            EXPECT_EQ(marked, c.marked);
        }
        for (const QString &label : marked)
            EXPECT_EQ(unitRow(grid, label).value(2), u"0"_s) << qPrintable(label);

        EXPECT_EQ(unmatchedListed(grid), c.unmatched);
        const int heading = 3 + c.units;
        ASSERT_GT(grid.rowCount(), heading + 1);
        EXPECT_EQ(grid.text(heading, 0), u"行政区划代码不属于上列地区的项目：%1个"_s.arg(c.unmatched.size()));
        EXPECT_EQ(grid.rowTexts(heading + 1),
                  (QStringList{u"企业名称"_s, u"行政区划代码"_s, u"项目名称"_s, u""_s, u""_s}));
        EXPECT_EQ(grid.rowCount(), heading + 2 + c.unmatched.size());
    }
}

// Offices whose units are not the prefectures of the reference table: a municipality's districts,
// a central enterprise's branch companies, a branch company's provinces.
TEST(ReportingStatus, ListsUnitsAtTheGrainOfTheOffice)
{
    const struct {
        const char *label;
        QString affiliation, level, province, branch, code;
        QString title;
        int units;
        QString total;
        QVector<QStringList> rows;
        QStringList absent; // rows the table must not have
        QStringList unmatched;
    } cases[] = {
        {"a municipality lists its districts", u"地方企业"_s, u"省级汇总"_s, u"北京市"_s, {}, u"110000"_s,
         u"北京市各地市报送情况"_s, 16, u"已报送2个，未报送14个"_s,
         {{u"东城区"_s, u"110101"_s, u"2"_s, u"3"_s, u"已报送"_s}, {u"朝阳区"_s, u"110105"_s, u"1"_s, u"4"_s, u"已报送"_s}},
         {u"市辖区"_s},
         {u"中储粮河南分公司粮库|410602|三号仓"_s, u"中粮库|419999|四号仓"_s}},
        {"a central enterprise lists its branch companies", u"中央企业"_s, u"中储粮"_s, {}, {}, u"111111"_s,
         u"中储粮各分公司报送情况"_s, 36, u"已报送2个，未报送34个"_s,
         {{u"中储粮北京分公司"_s, u""_s, u"3"_s, u"7"_s, u"已报送"_s},
          {u"中储粮河南分公司"_s, u""_s, u"1"_s, u"5"_s, u"已报送"_s}},
         {u"北京市"_s},
         {u"中粮库|419999|四号仓"_s}},
        {"a branch company lists the provinces it has projects in", u"中央企业"_s, u"中储粮分公司"_s, {},
         u"中储粮北京分公司"_s, u"222222"_s, u"中储粮北京分公司各省（区、市）报送情况"_s, 2, u"已报送2个，未报送0个"_s,
         {{u"北京市"_s, u"110000"_s, u"3"_s, u"7"_s, u"已报送"_s}, {u"河南省"_s, u"410000"_s, u"2"_s, u"6"_s, u"已报送"_s}},
         {u"天津市"_s},
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        test::TempDatabase db;
        const struct {
            const char16_t *code, *branch, *enterprise, *project;
            double investment;
        } projects[] = {
            {u"110101", u"中储粮北京分公司", u"东城粮库", u"一号仓", 1},
            {u"110101", u"中储粮北京分公司", u"东城粮库", u"二号仓", 2},
            {u"110105", u"中储粮北京分公司", u"朝阳粮库", u"罩棚", 4},
            {u"410602", u"中储粮河南分公司", u"中储粮河南分公司粮库", u"三号仓", 5},
            {u"419999", u"中粮某分公司", u"中粮库", u"四号仓", 1},
        };
        for (const auto &p : projects)
            db.addProject({{u"行政区划代码"_s, QString::fromUtf16(p.code)},
                           {u"分公司"_s, QString::fromUtf16(p.branch)},
                           {u"企业详细名称"_s, QString::fromUtf16(p.enterprise)},
                           {u"项目名称"_s, QString::fromUtf16(p.project)},
                           {u"总_建筑安装工程"_s, p.investment}});
        TaskInfo task;
        task.affiliation = c.affiliation;
        task.level = c.level;
        task.province = c.province;
        task.branch = c.branch;
        task.regionCode = c.code;
        {
            Connection connection = db.connect();
            writeTaskInfo(connection, task);
        }
        const ReportGrid grid = computed(db);
        EXPECT_EQ(grid.title(), c.title);
        int units = 0;
        for (int r = 3; r < grid.rowCount(); ++r)
            units += grid.rowKind(r) == RowKind::Listed ? 1 : 0;
        EXPECT_EQ(units, c.units);
        EXPECT_EQ(grid.text(2, 4), c.total);
        for (const QStringList &row : c.rows)
            EXPECT_EQ(unitRow(grid, row.first()), row);
        for (const QString &label : c.absent)
            EXPECT_EQ(rowOf(grid, label), -1) << qPrintable(label);
        EXPECT_EQ(unmatchedListed(grid), c.unmatched);
    }
}

TEST(ReportingStatus, NoTaskInformationListsTheProvincesAndNoStrayHeading)
{
    test::TempDatabase db;
    db.addProject({{u"行政区划代码"_s, u"320102"_s}, {u"总_其他费用"_s, 0.1}});
    db.addProject({{u"行政区划代码"_s, u"320583"_s}, {u"总_其他费用"_s, 0.2}});
    const ReportGrid grid = computed(db);
    EXPECT_EQ(grid.title(), u"全国各省（区、市）报送情况"_s);
    EXPECT_EQ(unitRow(grid, u"江苏省"_s), (QStringList{u"江苏省"_s, u"320000"_s, u"2"_s, u"0.3"_s, u"已报送"_s}));
    EXPECT_EQ(grid.rowCount(), 3 + 31); // title, heads, 合计 and the provinces; nothing unmatched
    EXPECT_EQ(grid.rowKind(grid.rowCount() - 1), RowKind::Listed);
}

TEST(ReportingStatus, AnOfficeRegionFoundNowhereIsAnError)
{
    test::TempDatabase db;
    setOffice(db, u"省级汇总"_s, u"火星省"_s, {}, u"990000"_s);
    try {
        reportingStatus(db.path());
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_TRUE(e.text().contains(u"火星省"_s)) << qPrintable(e.text());
    }
    setOffice(db, u"地级汇总"_s, u"河南省"_s, u"火星市"_s, u""_s);
    EXPECT_THROW(reportingStatus(db.path()), Error);
}

// The cells of the first worksheet of a workbook: row (from 1) -> texts of columns A onward.
QMap<int, QStringList> readWorksheet(const QString &path)
{
    QMap<int, QStringList> rows;
    const auto reader = SheetReader::open(path, SheetReader::sheetNames(path).value(0));
    QVector<CellValue> cells;
    while (reader->nextRow(cells)) {
        QStringList texts;
        for (const CellValue &c : cells)
            texts << c.toText();
        rows.insert(reader->rowNumber(), texts);
    }
    return rows;
}

TEST(ReportingStatus, TheReportWindowMarksSilentUnitsAndSavesTheTable)
{
    test::TempDatabase db;
    addFixture(db);
    setOffice(db, u"地级汇总"_s, u"河南省"_s, u"鹤壁市"_s, u"410600"_s);
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FixedClock clock(QDateTime(QDate(2013, 12, 9), QTime(10, 0)));
    Clock::install(&clock);

    statusTable();
    std::unique_ptr<QDialog> dialog(createReportWindow(registeredReport(u"TFrmReported"_s), db.context(), nullptr));
    auto *window = qobject_cast<ReportWindow *>(dialog.get());
    ASSERT_TRUE(window);
    window->show();
    EXPECT_EQ(window->objectName(), u"TFrmReported"_s);
    EXPECT_EQ(window->windowTitle(), u"报送情况"_s);
    EXPECT_FALSE(window->findChild<QPushButton *>(u"BitBtn3"_s)); // immediate: nothing to choose
    auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
    ASSERT_TRUE(grid);
    const int silent = rowOf(window->grid(), u"淇县"_s);
    const int reported = rowOf(window->grid(), u"鹤山区"_s);
    ASSERT_GT(silent, 0);
    EXPECT_EQ(grid->item(silent, 0)->text(), u"淇县"_s);
    EXPECT_EQ(grid->item(silent, 1)->background().color(), Attention);
    EXPECT_EQ(grid->item(reported, 1)->background().color(), QColor(Qt::white));

    // A highlighted row goes back to its own colour when another row is chosen.
    grid->setCurrentCell(silent, 1);
    EXPECT_EQ(grid->item(silent, 1)->background().color(), QColor(Qt::yellow));
    grid->setCurrentCell(reported, 1);
    EXPECT_EQ(grid->item(silent, 1)->background().color(), Attention);
    EXPECT_EQ(grid->item(reported, 1)->background().color(), QColor(Qt::yellow));

    // Saved into a copy of its template, title included.
    const QDir templates(QStringLiteral(GRANWISE_TEMPLET_DIR));
    ASSERT_TRUE(templates.exists(u"报送情况.xlsx"_s)) << "the templets target has not run";
    QDir().mkpath(db.dir() + u"/templet"_s);
    ASSERT_TRUE(QFile::copy(templates.filePath(u"报送情况.xlsx"_s), db.dir() + u"/templet/报送情况.xlsx"_s));
    const QString path = db.dir() + u"/saved.xlsx"_s;
    dialogs.next(path);
    window->findChild<QPushButton *>(u"BitBtn1"_s)->click();
    Clock::install(nullptr);
    EXPECT_EQ(dialogs.proposed, u"报送情况(12-09)"_s);
    EXPECT_EQ(prompter.lastText(), u"保存成功！"_s);

    const QMap<int, QStringList> sheet = readWorksheet(path);
    EXPECT_EQ(sheet.value(2).value(0), u"河南省鹤壁市各县（市、区）报送情况"_s);
    EXPECT_EQ(sheet.value(4), (QStringList{u"地区"_s, u"行政区划代码"_s, u"项目个数"_s, u"总投资（万元）"_s, u"报送情况"_s}));
    EXPECT_EQ(sheet.value(5), (QStringList{u"合计"_s, u""_s, u"6"_s, u"27.8"_s, u"已报送5个，未报送1个"_s}));
    EXPECT_EQ(sheet.value(silent + 3), (QStringList{u"淇县"_s, u"410622"_s, u"0"_s, u"0"_s, u"未报送"_s}));
    const int last = 2 + window->grid().rowCount();
    EXPECT_EQ(sheet.value(last).value(0), u"无名粮库"_s);
    EXPECT_EQ(sheet.value(last).value(2), u"错码仓"_s);
}

} // namespace
} // namespace granwise
