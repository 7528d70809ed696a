#include "CliRun.h"
#include "WindowTestSupport.h"
#include "projects/windows/FindingsWindow.h"
#include "projects/windows/ProjectCheckWindows.h"
#include "projects/RuleReport.h"
#include "sheets/SheetReader.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

QVariantMap project(const QString &enterprise, const QVariantMap &changes)
{
    QVariantMap row{{u"企业详细名称"_s, enterprise}, {u"项目名称"_s, u"一号库"_s}, {u"省"_s, u"河南省"_s},
                    {u"邮政编码"_s, u"450000"_s}};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        row.insert(it.key(), it.value());
    return row;
}

// 甲 breaks three rules; 乙 has a figure that is no number and breaks one other rule; 丙 passes.
void addProjects(const test::TempDatabase &db)
{
    db.addProject(project(u"甲"_s, {{u"邮政编码"_s, u"4500"_s}, {u"总_其中中央财政"_s, 5.0}, {u"完成_平房仓"_s, 3.0}}));
    db.addProject(project(u"乙"_s, {{u"总_银行贷款"_s, u"abc"_s}, {u"累计_其中中央财政"_s, 2.0}}));
    db.addProject(project(u"丙"_s, {}));
}

TEST(RuleReport, ListsEveryBrokenRuleAndTheRulesThatCannotBeEvaluated)
{
    test::TempDatabase db;
    addProjects(db);
    const QVector<RuleBreach> breaches = allBrokenRules(db.path());

    QStringList got;
    for (const RuleBreach &b : breaches)
        got << u"%1 %2 %3"_s.arg(b.enterpriseName).arg(b.rule).arg(b.field);
    // Ordered by region, enterprise (as text), project, rule.
    EXPECT_EQ(got, (QStringList{u"乙 3 累计_其中中央财政"_s, u"乙 10 总_银行贷款"_s, u"甲 0 邮政编码"_s,
                                u"甲 1 总_财政性资金"_s, u"甲 36 建设_平房仓"_s}));
    ASSERT_EQ(breaches.size(), 5);
    EXPECT_EQ(breaches.at(1).message,
              u"无法校验：\"总_银行贷款\"的值\"abc\"不是数字（要求：投资构成合计应等于投资来源合计）"_s);
    EXPECT_EQ(breaches.at(2).message, u"要求：邮政编码必须为6位"_s);
    EXPECT_EQ(breaches.at(2).province, u"河南省"_s);
}

TEST(RuleReport, ValidateWithReportStoresStatusesAndWritesTheWorkbook)
{
    test::TempDatabase db;
    addProjects(db);
    const QString path = db.dir() + u"/校验结果.xlsx"_s;
    const test::CliResult result = test::runCli({u"--db"_s, db.path(), u"validate"_s, u"--report"_s, path}, db.context());
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.err.contains(u"未通过 2 个"_s)) << qPrintable(result.err);
    EXPECT_EQ(db.connect().scalar(u"select 校验状态 from TZ_XIANGMU where 企业详细名称 = '丙'"_s).toString(), u"1"_s);

    auto reader = SheetReader::open(path, u"校验结果"_s);
    QVector<CellValue> cells;
    QVector<QStringList> rows;
    while (reader->nextRow(cells)) {
        QStringList row;
        for (const CellValue &c : cells)
            row << (c.type == CellValue::Type::Number ? QString::number(c.number) : c.text);
        rows << row;
    }
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows.at(0), (QStringList{u"企业详细名称"_s, u"项目名称"_s, u"省"_s, u"地市"_s, u"县"_s,
                                       u"行政区划代码"_s, u"规则"_s, u"字段"_s, u"说明"_s}));
    EXPECT_EQ(rows.at(5).mid(0, 3), (QStringList{u"甲"_s, u"一号库"_s, u"河南省"_s}));
    EXPECT_EQ(rows.at(5).mid(6, 2), (QStringList{u"36"_s, u"建设_平房仓"_s}));

    // Every project passes: exit 0, a workbook with the headings only.
    db.connect().execute(u"delete from TZ_XIANGMU where 企业详细名称 <> '丙'"_s);
    EXPECT_EQ(test::runCli({u"--db"_s, db.path(), u"validate"_s, u"--report"_s, path}, db.context()).code, 0);
    EXPECT_EQ(test::runCli({u"--db"_s, db.path(), u"validate"_s, u"--report"_s}, db.context()).code, 2);
}

} // namespace
} // namespace granwise

namespace granwise {
namespace {

TEST(RuleReport, WindowFiltersByRegionAndRuleAndSavesTheLinesShown)
{
    test::TempDatabase db;
    addProjects(db);
    db.addProject(project(u"丁"_s, {{u"省"_s, u"河北省"_s}, {u"邮政编码"_s, u"1"_s}}));
    test::RecordingPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    const QString path = db.dir() + u"/河北.xlsx"_s;
    dialogs.next(path);

    int allLines = 0, hebei = 0, rule0 = 0;
    test::whenModalOpens([&](QWidget &widget) {
        auto &window = dynamic_cast<FindingsWindow &>(widget);
        allLines = int(window.shownLines().size());
        QComboBox *province = window.filter(2);
        province->setCurrentIndex(province->findText(u"河北省"_s));
        hebei = int(window.shownLines().size());
        province->setCurrentIndex(0);
        QComboBox *rule = window.filter(6);
        rule->setCurrentIndex(rule->findText(u"0"_s));
        rule0 = int(window.shownLines().size());
        province->setCurrentIndex(province->findText(u"河北省"_s));
        window.saveShown();
        window.reject();
    });
    openRuleReportWindow(nullptr, db.context());
    EXPECT_EQ(allLines, 6);
    EXPECT_EQ(hebei, 1);
    EXPECT_EQ(rule0, 2);

    auto reader = SheetReader::open(path, u"校验结果"_s);
    QVector<CellValue> cells;
    QStringList enterprises;
    while (reader->nextRow(cells))
        enterprises << cells.at(0).text;
    EXPECT_EQ(enterprises, (QStringList{u"企业详细名称"_s, u"丁"_s}));
    EXPECT_EQ(prompter.lastText(), u"校验结果已保存：%1"_s.arg(path));
}

} // namespace
} // namespace granwise
