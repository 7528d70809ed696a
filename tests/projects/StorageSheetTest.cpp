#include "ProjectSheetTestSupport.h"
#include "WindowTestSupport.h"
#include "projects/ProjectSheetTexts.h"
#include "projects/StorageSheet.h"
#include "projects/windows/StorageSheetWindow.h"
#include "store/Clock.h"
#include "store/TaskInfo.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

using Filters = QVector<QPair<QString, QString>>;

// Three named projects, one without a name (never counted) and one of a category the sheet
// does not know.
class StorageSheetTest : public ::testing::Test {
protected:
    StorageSheetTest()
    {
        add({{u"项目名称"_s, u"甲"_s}, {u"省"_s, u"河南省"_s}, {u"地市"_s, u"郑州市"_s}, {u"县"_s, u"中原区"_s},
             {u"隶属关系"_s, u"中央企业"_s}, {u"项目类别"_s, u"粮油仓储设施项目"_s},
             {u"项目单位性质"_s, u"国有及国有控股"_s}, {u"建设性质"_s, u"新建"_s}, {u"项目进展"_s, u"在建项目"_s},
             {u"本年度开工项目"_s, u"是"_s}, {u"可用建设用地"_s, 10.0}, {u"总_建筑安装工程"_s, 100.0},
             {u"总_设备工器具购置"_s, 20.0}, {u"总_其他费用"_s, 5.0}, {u"本年_其他投资"_s, 0.1},
             {u"建设_平房仓"_s, 3.0}, {u"建设_新建仓容"_s, 7.0}, {u"完成_仓储信息"_s, 2.0}});
        add({{u"项目名称"_s, u"乙"_s}, {u"省"_s, u"河南省"_s}, {u"地市"_s, u"洛阳市"_s}, {u"县"_s, u"西工区"_s},
             {u"隶属关系"_s, u"地方企业"_s}, {u"项目类别"_s, u"粮食现代物流项目"_s}, {u"项目单位性质"_s, u"民营"_s},
             {u"建设性质"_s, u"扩建"_s}, {u"项目进展"_s, u"前期项目"_s}, {u"本年度开工项目"_s, u"否"_s},
             {u"可用建设用地"_s, 2.5}, {u"总_建筑安装工程"_s, 50.0}, {u"本年_其他投资"_s, 0.2}});
        add({{u"项目名称"_s, u"丙"_s}, {u"省"_s, u"北京市"_s}, {u"隶属关系"_s, u"中央企业"_s},
             {u"项目类别"_s, u"其他项目"_s}, {u"项目单位性质"_s, u"外资"_s}, {u"建设性质"_s, u"改建"_s},
             {u"项目进展"_s, u"竣工项目"_s}, {u"本年度开工项目"_s, u"是"_s}, {u"建设_其中散粮汽车"_s, 4.0}});
        add({{u"项目名称"_s, QString()}, {u"省"_s, u"河南省"_s}, {u"隶属关系"_s, u"中央企业"_s},
             {u"项目类别"_s, u"粮油仓储设施项目"_s}, {u"本年度开工项目"_s, u"是"_s}, {u"总_建筑安装工程"_s, 1000.0}});
        add({{u"项目名称"_s, u"丁"_s}, {u"省"_s, u"河北省"_s}, {u"隶属关系"_s, u"地方企业"_s},
             {u"项目类别"_s, u"仓库"_s}, {u"项目单位性质"_s, u"民营"_s}, {u"建设性质"_s, u"新建"_s},
             {u"项目进展"_s, u"在建项目"_s}, {u"本年度开工项目"_s, u"否"_s}});
    }

    void add(const QVariantMap &values) { db.addProject(values); }
    StorageSheet compute(const Filters &filters = {})
    {
        Connection c = db.connect();
        return computeStorageSheet(c, filters);
    }
    static Filters filter(const QString &column, const QString &text) { return {{column, text}}; }

    test::TempDatabase db;
    test::RecordingPrompter prompter;
};

TEST_F(StorageSheetTest, CountsAndSumsTheNamedProjects)
{
    const StorageSheet sheet = compute();
    EXPECT_EQ(sheet.lines.value(u"Label3"_s), u"一、项目类别: 粮油仓储设施项目（1）个    粮食现代物流项目（1）个    "_s);
    EXPECT_EQ(sheet.lines.value(u"Label4"_s), u"其他项目（1）个    "_s); // "仓库" is no category of the sheet
    EXPECT_EQ(sheet.lines.value(u"StaticText7"_s), u"二、项目单位性质: 国有及国有控股（1）个    民营（2）个    外资（1）个    "_s);
    EXPECT_EQ(sheet.lines.value(u"StaticText8"_s), u"三、建设性质: 新建（2）个    扩建（1）个    改建（1）个    "_s);
    EXPECT_EQ(sheet.lines.value(u"StaticText9"_s), u"四、项目进展: 前期项目（1）个    在建项目（2）个    竣工项目（1）个    "_s);
    EXPECT_EQ(sheet.lines.value(u"Label5"_s), u"其中：本年度新开工项目（2）个    "_s);
    EXPECT_EQ(sheet.lines.value(u"StaticText10"_s), u"五、可用建设用地（ 12.5）亩"_s);

    EXPECT_EQ(sheet.figures.value(u"MaskEdit001"_s), u"150"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit002"_s), u"20"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit013"_s), u"0"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit033"_s), u"0.3"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit13"_s), u"175"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit14"_s), u"0"_s);
    // The derived columns are summed as stored, not recomputed from their parts.
    EXPECT_EQ(sheet.figures.value(u"MaskEdit036"_s), u"3"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit034"_s), u"7"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit060"_s), u"4"_s);
    EXPECT_EQ(sheet.figures.value(u"MaskEdit107"_s), u"2"_s);
    EXPECT_EQ(sheet.figures.size(), 110);
}

TEST_F(StorageSheetTest, FiltersAreLiteralSubstrings)
{
    const struct {
        const char *name;
        Filters filters;
        QString progress;
    } cases[] = {
        {"中央 selects 中央企业", filter(u"隶属关系"_s, u"  中央 "_s), u"四、项目进展: 在建项目（1）个    竣工项目（1）个    "_s},
        {"a prefecture", filter(u"地市"_s, u"洛阳"_s), u"四、项目进展: 前期项目（1）个    "_s},
        {"filters join with and",
         Filters{{u"省"_s, u"河南"_s}, {u"项目进展"_s, u"在建"_s}, {u"建设性质"_s, u""_s}},
         u"四、项目进展: 在建项目（1）个    "_s},
        {"% is a character", filter(u"省"_s, u"%"_s), u"四、项目进展: "_s},
        {"_ is a character", filter(u"省"_s, u"河_省"_s), u"四、项目进展: "_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(compute(c.filters).lines.value(u"StaticText9"_s), c.progress);
    }
    EXPECT_EQ(compute(filter(u"隶属关系"_s, u"中央"_s)).figures.value(u"MaskEdit001"_s), u"100"_s);
}

TEST_F(StorageSheetTest, AnEmptySelectionShowsEmptyFigures)
{
    const StorageSheet sheet = compute(filter(u"省"_s, u"上海"_s));
    for (auto it = sheet.figures.cbegin(); it != sheet.figures.cend(); ++it)
        EXPECT_EQ(it.value(), QString()) << it.key().toStdString();
    EXPECT_EQ(sheet.figures.size(), 110);
    EXPECT_EQ(sheet.lines.value(u"Label3"_s), u"一、项目类别: "_s);
    EXPECT_EQ(sheet.lines.value(u"Label4"_s), QString());
    EXPECT_EQ(sheet.lines.value(u"StaticText7"_s), u"二、项目单位性质: "_s);
    EXPECT_EQ(sheet.lines.value(u"Label5"_s), u"其中：本年度新开工项目（0）个    "_s);
    EXPECT_EQ(sheet.lines.value(u"StaticText10"_s), u"五、可用建设用地（ ）亩"_s);
}

TEST_F(StorageSheetTest, TheWindowShowsDesignTextsThenTheFigures)
{
    TFrmInput_Tj window(db.context());
    EXPECT_EQ(window.objectName(), u"TFrmInput_Tj"_s);
    EXPECT_EQ(window.windowTitle(), u"粮油仓储设施项目基本情况表"_s);
    EXPECT_FALSE(window.findChild<QPushButton *>(u"BitBtn2"_s)->isVisibleTo(&window));
    const auto label = [&](const QString &name) { return window.findChild<QLabel *>(name)->text(); };
    const auto field = [&](const QString &name) { return window.findChild<QLineEdit *>(name); };
    EXPECT_EQ(label(u"StaticText7"_s), u"二、项目单位性质:  国有及国有控股（  ）个  民营（  ）个  外资（  ）个"_s);
    EXPECT_EQ(label(u"Label5"_s), u"其中：本年度新开工项目（  ）个"_s);
    EXPECT_EQ(field(u"MaskEdit001"_s)->text(), u"0"_s);
    EXPECT_EQ(field(u"MaskEdit13"_s)->text(), u"0"_s);
    EXPECT_EQ(field(u"MaskEdit107"_s)->alignment() & Qt::AlignRight, Qt::AlignRight);

    // Province, prefecture, county: each list follows the box above it; a county typed before
    // stays when the prefecture changes, and still filters.
    auto *province = window.findChild<QComboBox *>(u"ComboBox01"_s);
    auto *prefecture = window.findChild<QComboBox *>(u"ComboBox02"_s);
    auto *county = window.findChild<QComboBox *>(u"ComboBox03"_s);
    EXPECT_EQ(province->itemText(0), u"北京市"_s);
    province->setCurrentIndex(province->findText(u"河南省"_s));
    EXPECT_EQ(prefecture->itemText(0), u"郑州市"_s);
    prefecture->setCurrentIndex(prefecture->findText(u"郑州市"_s));
    EXPECT_GT(county->findText(u"中原区"_s), -1);
    county->setEditText(u"西工区"_s);
    prefecture->setCurrentIndex(prefecture->findText(u"开封市"_s));
    EXPECT_EQ(county->currentText(), u"西工区"_s);
    EXPECT_EQ(county->findText(u"中原区"_s), -1);
    window.findChild<QPushButton *>(u"BitBtn1"_s)->click();
    EXPECT_EQ(label(u"StaticText9"_s), u"四、项目进展: "_s);
    EXPECT_EQ(field(u"MaskEdit001"_s)->text(), QString());
    EXPECT_EQ(province->currentText(), u"河南省"_s); // the filters keep their texts

    // A click on the title computes as well.
    province->setEditText({});
    prefecture->setEditText({});
    county->setEditText({});
    window.findChild<QComboBox *>(u"ComboBox04"_s)->setEditText(u"中央"_s);
    QTest::mouseClick(window.findChild<QLabel *>(u"Label1"_s), Qt::LeftButton);
    EXPECT_EQ(label(u"StaticText9"_s), u"四、项目进展: 在建项目（1）个    竣工项目（1）个    "_s);
    EXPECT_EQ(field(u"MaskEdit001"_s)->text(), u"100"_s);
    EXPECT_EQ(field(u"MaskEdit13"_s)->text(), u"125"_s);
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(StorageSheetTest, SumsAreExactAndShowWholeAtProvinceScale)
{
    // Added one after the other in double precision, 28 times 3.3 comes to 92.3999999999999.
    for (int i = 0; i < 28; ++i)
        add({{u"项目名称"_s, u"库%1"_s.arg(i)}, {u"省"_s, u"山西省"_s}, {u"总_建筑安装工程"_s, 3.3},
             {u"本年_其他费用"_s, 36224545.1696428}});
    TFrmInput_Tj window(db.context());
    window.resize(1200, 700);
    window.show();
    window.findChild<QComboBox *>(u"ComboBox01"_s)->setEditText(u"山西"_s);
    window.findChild<QPushButton *>(u"BitBtn1"_s)->click();

    const auto field = [&](const QString &name) { return window.findChild<QLineEdit *>(name); };
    EXPECT_EQ(field(u"MaskEdit001"_s)->text(), u"92.4"_s);
    EXPECT_EQ(field(u"MaskEdit013"_s)->text(), u"0"_s);
    EXPECT_EQ(field(u"MaskEdit025"_s)->text(), u"1014287264.75"_s);
    for (QLineEdit *figure : window.findChildren<QLineEdit *>()) {
        if (figure->objectName().startsWith(u"MaskEdit"_s)) {
            EXPECT_TRUE(test::showsWholeText(*figure)) << figure->objectName().toStdString() << " cuts "
                                                        << figure->text().toStdString();
        }
    }
}

TEST_F(StorageSheetTest, SaveWritesTheDocumentedCells)
{
    {
        TaskInfo task;
        task.year = u" 2013 "_s;
        Connection c = db.connect();
        writeTaskInfo(c, task);
    }
    FixedClock clock(QDateTime(QDate(2013, 11, 20), QTime(8, 0)));
    Clock::install(&clock);
    test::ScriptedFileDialogs dialogs;
    test::makeSheetTemplate(db.locations(), texts::StorageSheetName, {{{1, 1}, u"粮油仓储设施项目基本情况表"_s}});
    const QString target = db.dir() + u"/基本情况.xlsx"_s;

    TFrmInput_Tj window(db.context());
    window.findChild<QPushButton *>(u"BitBtn1"_s)->click();
    window.findChild<QLineEdit *>(u"MaskEdit002"_s)->setText(u"21"_s); // typed over: saved as shown
    dialogs.next(target);
    window.findChild<QPushButton *>(u"BitBtn6"_s)->click();
    Clock::install(nullptr);

    EXPECT_EQ(dialogs.proposed, u"粮食流通基础设施建设投资统计报表（11-20)"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"保存成功！"_s});
    EXPECT_EQ(prompter.said.back().caption, u"提示"_s);

    const test::SheetCells cells = test::readFirstSheet(target);
    EXPECT_EQ(cells.value({1, 1}).text, u"粮油仓储设施项目基本情况表"_s);
    EXPECT_EQ(cells.value({3, 8}).text, u"2013年度"_s);
    EXPECT_EQ(cells.value({5, 2}).text,
              u"一、项目类别: 粮油仓储设施项目（1）个    粮食现代物流项目（1）个        其他项目（1）个    "_s);
    EXPECT_EQ(cells.value({6, 2}).text, u"二、项目单位性质: 国有及国有控股（1）个    民营（2）个    外资（1）个    "_s);
    EXPECT_EQ(cells.value({6, 9}).text, u"三、建设性质: 新建（2）个    扩建（1）个    改建（1）个    "_s);
    EXPECT_EQ(cells.value({7, 2}).text,
              u"四、项目进展: 前期项目（1）个    在建项目（2）个    竣工项目（1）个        其中：本年度新开工项目（2）个    "_s);
    EXPECT_EQ(cells.value({8, 2}).text, u"五、可用建设用地（ 12.5）亩"_s);
    // Investment rows 12 to 14, the total in column 3.
    EXPECT_EQ(cells.value({12, 3}).number, 175.0);
    EXPECT_EQ(cells.value({12, 4}).number, 150.0);
    EXPECT_EQ(cells.value({12, 5}).number, 21.0);
    EXPECT_EQ(cells.value({14, 14}).number, 0.3);
    EXPECT_TRUE(cells.value({13, 3}).isNumeric());
    // Scale rows three higher than the project sheet's.
    EXPECT_EQ(cells.value({16, 5}).number, 7.0);  // item 1
    EXPECT_EQ(cells.value({18, 5}).number, 3.0);  // item 3
    EXPECT_EQ(cells.value({26, 12}).number, 4.0); // item 28
    EXPECT_EQ(cells.value({35, 13}).number, 2.0); // item 37
    for (const auto &[row, column] : {std::pair{27, 5}, {16, 12}, {25, 12}, {36, 5}})
        EXPECT_FALSE(cells.contains({row, column})) << row << "," << column;
}

TEST_F(StorageSheetTest, TheBuiltTemplateLeavesTheValueCellsFree)
{
    const QString path = test::builtSheetTemplate(texts::StorageSheetName);
    if (path.isEmpty())
        GTEST_SKIP() << "the templates have not been built";
    const test::SheetCells cells = test::readFirstSheet(path);
    const StorageSheet design = designStorageSheet();
    for (const SheetEntry &e : storageSheetEntries(design, {})) {
        if (e.row < kStorageSheetFigures.firstInvestmentRow)
            continue;
        EXPECT_TRUE(cells.value({e.row, e.column}).isBlank()) << e.row << "," << e.column;
    }
    // The lines stand with empty brackets until the save fills them.
    EXPECT_EQ(cells.value({6, 2}).text, design.lines.value(u"StaticText7"_s));
    EXPECT_TRUE(cells.value({3, 8}).isBlank());
    EXPECT_EQ(cells.value({12, 1}).text, u"一、项目总投资"_s);
    EXPECT_EQ(cells.value({27, 1}).text, u"五、粮食专用码头"_s);
    EXPECT_EQ(cells.value({16, 9}).text, u"九、散粮中转能力"_s);
    EXPECT_EQ(cells.value({35, 11}).text, u"套"_s);
}

} // namespace
} // namespace granwise
