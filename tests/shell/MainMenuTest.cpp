#include "shell/MainMenu.h"
#include "reports/windows/ReportWindow.h"
#include "shell/MainWindow.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {
const QStringList kRegional{u"N211"_s,  u"N132"_s,  u"N151"_s,  u"N171"_s,   u"N191"_s,   u"N1111"_s, u"N1131"_s,
                            u"N1151"_s, u"N1171"_s, u"N1191"_s, u"N1211"_s, u"N2101"_s, u"N21211"_s, u"N21421"_s};
const QStringList kTopLevelNeedingRecord{u"N1"_s, u"N51"_s, u"N16"_s, u"N3"_s};
} // namespace

TEST(MainMenu, LevelRule)
{
    const struct {
        const char *name;
        std::optional<QString> level;
        LevelRuleVariant variant;
        bool topLevelShown;
        bool regionalShown;
        bool table1_23Shown;
    } cases[] = {
        {"no record", std::nullopt, LevelRuleVariant::StartUp, false, false, false},
        {"county level", u"县级汇总"_s, LevelRuleVariant::StartUp, true, false, false},
        {"county level, saved", u"县级汇总"_s, LevelRuleVariant::Save, true, false, false},
        {"province level", u"省级汇总"_s, LevelRuleVariant::StartUp, true, true, false},
        {"province level, saved", u"省级汇总"_s, LevelRuleVariant::Save, true, true, true},
        {"county level with a trailing blank", u"县级汇总 "_s, LevelRuleVariant::StartUp, true, true, false},
        {"central enterprise", u"中储粮"_s, LevelRuleVariant::Save, true, true, true},
        {"empty level", u""_s, LevelRuleVariant::StartUp, true, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QHash<QString, bool> v = menuVisibility(c.level, c.variant);
        for (const QString &top : kTopLevelNeedingRecord)
            EXPECT_EQ(v.value(top), c.topLevelShown) << top.toStdString();
        if (!c.level) {
            EXPECT_EQ(v.size(), 4); // nothing else is touched
            continue;
        }
        for (const QString &name : kRegional)
            EXPECT_EQ(v.value(name), c.regionalShown) << name.toStdString();
        EXPECT_EQ(v.value(u"N1231"_s), c.table1_23Shown);
        // Tables that every level keeps, and the hidden variants, are not touched.
        for (const QString &name : {u"N111"_s, u"N1241"_s, u"N1271"_s, u"N212"_s, u"N21231"_s, u"N21841"_s,
                                    u"N142"_s, u"N2111"_s, u"N14"_s, u"N19"_s})
            EXPECT_FALSE(v.contains(name)) << name.toStdString();
    }
}

TEST(MainMenu, EntriesAsDesigned)
{
    TFrmmain window(AppContext{});
    const struct {
        const char *name;
        const char *caption;
        bool visible;
    } cases[] = {
        {"N2", "任务管理", true},
        {"N7", "填报单位信息维护", false},
        {"N22", "汇总单位信息维护", true},
        {"N310", "粮食流通基础设施建设投资统计基础报表", true},
        {"N311", "报送情况", true},
        {"N312", "校验结果", true},
        {"N313", "疑似异常", true},
        {"N314", "操作记录", true},
        {"N1231", "表1-23 粮食现代物流项目各通道投资情况汇总表", false},
        {"N142", "表1-4 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源，中央企业不单列）", false},
        {"N21841", "表2-18 粮食流通基础设施建设各地区年度新增设施情况汇总表（续4）", true},
        {"N2111", "表2-11 粮食流通基础设施建设各地区年度新增设施情况汇总表（中央企业不单列）", false},
        {"N14", "粮食流通基础设施建设投资基础情况统计表", true},
        {"N19", "粮油仓储设施项目基本情况表", true},
        {"N11", "制作上报文件", true},
        {"N20", "上报数据入库", true},
        {"N15", "数据恢复", true},
        {"N18", "主要指标解释及填表说明", true},
        {"N6", "退出", true},
    };
    for (const auto &c : cases) {
        QAction *a = window.findChild<QAction *>(QString::fromUtf8(c.name));
        ASSERT_NE(a, nullptr) << c.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(a->isVisible(), c.visible) << c.name;
    }
    EXPECT_EQ(window.windowTitle(), u"Granwise（汇总版）"_s);
    EXPECT_EQ(menuEntries().size(), 71);
}

TEST(MainMenu, ReportEntriesStoreTheirTitle)
{
    test::RecordingPrompter prompter;
    test::TempDatabase db;
    TFrmmain window(db.context());
    QString opened;
    QString shownTitle;
    auto closeReport = [&](QWidget &report) {
        opened = report.objectName();
        if (auto *table = qobject_cast<ReportWindow *>(&report))
            shownTitle = table->grid().title();
        report.close();
    };
    test::whenModalOpens(closeReport);
    window.choose(u"N1241"_s);
    EXPECT_EQ(window.reportTitle(), u"表1-24 粮食流通基础设施建设前期项目投资情况汇总表"_s);
    EXPECT_EQ(opened, u"TFrmb1_1"_s);
    EXPECT_EQ(shownTitle, window.reportTitle()); // the entry's own table, not its class's first
    test::whenModalOpens(closeReport);
    window.choose(u"N211"_s); // 表1-2 keeps the previous title
    EXPECT_EQ(window.reportTitle(), u"表1-24 粮食流通基础设施建设前期项目投资情况汇总表"_s);
    EXPECT_EQ(opened, u"TFrmb1_2"_s);
    EXPECT_EQ(shownTitle, u"表1-2 粮食流通基础设施建设各地区投资情况汇总表"_s);
}

TEST(MainMenu, StartUpWithoutTaskInformationOffersTaskManagementOnly)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    TFrmmain window(db.context());
    window.applyLevelRule(std::nullopt, LevelRuleVariant::StartUp);
    QStringList shown;
    for (const QString &top : {u"N2"_s, u"N1"_s, u"N51"_s, u"N16"_s, u"N3"_s, u"N4"_s, u"N5"_s})
        if (window.menuAction(top)->isVisible())
            shown << window.menuAction(top)->text();
    EXPECT_EQ(shown, (QStringList{u"任务管理"_s, u"帮助"_s, u"退出"_s}));
}

TEST(MainMenu, DatabaseErrorAtStartUpShowsItAndKeepsTheDesignedMenu)
{
    test::RecordingPrompter prompter;
    QTemporaryDir empty;
    TFrmmain window(AppContext::forProgramFolder(empty.path())); // no ledger.db there
    EXPECT_TRUE(window.FormCreate());
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].caption, u"Granwise（汇总版1.0）"_s);
    EXPECT_TRUE(prompter.said[0].text.contains(u"ledger.db"_s));
    for (const QString &top : {u"N2"_s, u"N1"_s, u"N51"_s, u"N16"_s, u"N3"_s, u"N4"_s, u"N5"_s})
        EXPECT_TRUE(window.menuAction(top)->isVisible());
}

TEST(MainMenu, SavingTheTaskInformationAppliesTheSaveVariant)
{
    test::TempDatabase db;
    test::RecordingPrompter prompter;
    TFrmmain window(db.context());
    window.applyLevelRule(std::nullopt, LevelRuleVariant::StartUp);
    test::whenModalOpens([](QWidget &renwu) {
        EXPECT_EQ(renwu.objectName(), u"TfrmRenwu"_s);
        QMetaObject::invokeMethod(&renwu, "saved", Q_ARG(QString, u"省级汇总"_s));
        renwu.close();
    });
    window.choose(u"N22"_s);
    EXPECT_TRUE(window.menuAction(u"N51"_s)->isVisible());
    EXPECT_TRUE(window.menuAction(u"N1231"_s)->isVisible());
}
