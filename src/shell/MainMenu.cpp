#include "MainMenu.h"
#include "ui/DocumentedNames.h"

#include "reports/AllReports.h"
#include "reports/frame/ReportRegistry.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

constexpr bool Shown = true;
constexpr bool Hidden = false;
constexpr bool Sets = true;
constexpr bool Keeps = false;

QVector<MenuEntry> buildEntries()
{
    registerAllReports();
    QVector<MenuEntry> e;
    auto top = [&](const QString &name, const QString &caption) { e.append({name, caption, {}, Shown, Keeps, {}}); };
    auto item = [&](const QString &parent, const QString &name, const QString &caption, const QString &opens,
                    bool visible = Shown, bool sets = Keeps) { e.append({name, caption, parent, visible, sets, opens}); };
    // A table's entry, named by the table's number (or its window class where it has none): its
    // caption is the table's title, and it opens the table's window.
    auto table = [&](const QString &parent, const QString &name, const QString &numberOrClass, bool visible = Shown,
                     bool sets = Keeps) {
        const ReportDefinition &report = registeredReport(numberOrClass);
        e.append({name, report.title, parent, visible, sets, report.className, &report});
    };

    top(u"N2"_s, u"任务管理"_s);
    item(u"N2"_s, u"N7"_s, u"填报单位信息维护"_s, {}, Hidden);
    item(u"N2"_s, u"N22"_s, u"汇总单位信息维护"_s, documented::TaskInfoWindow);

    top(u"N1"_s, u"数据维护"_s);
    item(u"N1"_s, u"N310"_s, u"粮食流通基础设施建设投资统计基础报表"_s, documented::ProjectListWindow);
    table(u"N1"_s, u"N311"_s, u"TFrmReported"_s);
    item(u"N1"_s, u"N312"_s, u"校验结果"_s, documented::RuleReportWindow);
    item(u"N1"_s, u"N313"_s, u"疑似异常"_s, documented::ReviewWindow);
    item(u"N1"_s, u"N314"_s, u"操作记录"_s, documented::JournalWindow);

    top(u"N51"_s, u"统计报表"_s);
    item(u"N51"_s, u"N21"_s, u"投资统计表一"_s, {});
    item(u"N51"_s, u"N10181"_s, u"投资统计表二"_s, {});
    item(u"N51"_s, u"N13"_s, u"投资统计表三"_s, {});

    const QString t1 = u"N21"_s;
    table(t1, u"N111"_s, u"1-1"_s, Shown, Sets);
    table(t1, u"N211"_s, u"1-2"_s);
    table(t1, u"N132"_s, u"1-3"_s, Shown, Sets);
    table(t1, u"N142"_s, u"1-4"_s, Hidden, Sets);
    table(t1, u"N151"_s, u"1-5"_s, Shown, Sets);
    table(t1, u"N161"_s, u"1-6"_s, Hidden, Sets);
    table(t1, u"N171"_s, u"1-7"_s, Shown, Sets);
    table(t1, u"N181"_s, u"1-8"_s, Hidden, Sets);
    table(t1, u"N191"_s, u"1-9"_s, Shown, Sets);
    table(t1, u"N1101"_s, u"1-10"_s, Hidden, Sets);
    table(t1, u"N1111"_s, u"1-11"_s, Shown, Sets);
    table(t1, u"N1121"_s, u"1-12"_s, Hidden, Sets);
    table(t1, u"N1131"_s, u"1-13"_s, Shown, Sets);
    table(t1, u"N1141"_s, u"1-14"_s, Hidden, Sets);
    table(t1, u"N1151"_s, u"1-15"_s, Shown, Sets);
    table(t1, u"N1161"_s, u"1-16"_s, Hidden, Sets);
    table(t1, u"N1171"_s, u"1-17"_s, Shown, Sets);
    table(t1, u"N1181"_s, u"1-18"_s, Hidden, Sets);
    table(t1, u"N1191"_s, u"1-19"_s, Shown, Sets);
    table(t1, u"N1201"_s, u"1-20"_s, Hidden, Sets);
    table(t1, u"N1211"_s, u"1-21"_s, Shown, Sets);
    table(t1, u"N1221"_s, u"1-22"_s, Hidden, Sets);
    table(t1, u"N1231"_s, u"1-23"_s, Hidden);
    table(t1, u"N1241"_s, u"1-24"_s, Shown, Sets);
    table(t1, u"N1251"_s, u"1-25"_s, Shown, Sets);
    table(t1, u"N1261"_s, u"1-26"_s, Shown, Sets);
    table(t1, u"N1271"_s, u"1-27"_s);

    const QString t2 = u"N10181"_s;
    table(t2, u"N212"_s, u"2-1"_s, Shown, Sets);
    table(t2, u"N221"_s, u"2-2"_s, Shown, Sets);
    table(t2, u"N231"_s, u"2-3"_s, Shown, Sets);
    table(t2, u"N241"_s, u"2-4"_s, Shown, Sets);
    table(t2, u"N251"_s, u"2-5"_s, Shown, Sets);
    table(t2, u"N261"_s, u"2-6"_s, Shown, Sets);
    table(t2, u"N271"_s, u"2-7"_s, Shown, Sets);
    table(t2, u"N281"_s, u"2-8"_s, Shown, Sets);
    table(t2, u"N291"_s, u"2-9"_s, Shown, Sets);
    table(t2, u"N2101"_s, u"2-10"_s);
    item(t2, u"N2111"_s, u"表2-11 粮食流通基础设施建设各地区年度新增设施情况汇总表（中央企业不单列）"_s, {}, Hidden);
    table(t2, u"N21211"_s, u"2-12"_s);
    item(t2, u"N21311"_s, u"表2-13 粮食流通基础设施建设各地区年度新增设施情况汇总表（续1，中央企业不单列）"_s, {}, Hidden);
    table(t2, u"N21421"_s, u"2-14"_s);
    item(t2, u"N21521"_s, u"表2-15 粮食流通基础设施建设各地区年度新增设施情况汇总表（续2，中央企业不单列）"_s, {}, Hidden);
    table(t2, u"N21231"_s, u"2-16"_s);
    table(t2, u"N21841"_s, u"2-18"_s);

    table(u"N13"_s, u"N14"_s, u"TFrmbtongj"_s);
    item(u"N13"_s, u"N19"_s, u"粮油仓储设施项目基本情况表"_s, documented::StorageSheetWindow);

    top(u"N16"_s, u"数据传输"_s);
    item(u"N16"_s, u"N11"_s, u"制作上报文件"_s, u"N11"_s);
    item(u"N16"_s, u"N20"_s, u"上报数据入库"_s, u"N20"_s);

    top(u"N3"_s, u"系统设置"_s);
    item(u"N3"_s, u"N9"_s, u"用户管理"_s, documented::UsersDialog);
    item(u"N3"_s, u"N10"_s, u"系统复位"_s, u"N10"_s);
    item(u"N3"_s, u"N17"_s, u"数据备份"_s, u"N17"_s);
    item(u"N3"_s, u"N15"_s, u"数据恢复"_s, u"N15"_s);

    top(u"N4"_s, u"帮助"_s);
    item(u"N4"_s, u"N18"_s, u"主要指标解释及填表说明"_s, u"N18"_s);

    top(u"N5"_s, u"退出"_s);
    item(u"N5"_s, u"N6"_s, u"退出"_s, u"N6"_s);
    return e;
}

// The regional tables that the county level hides: 表1-2, 1-3, 1-5 … 1-21 and 表2-10, 2-12, 2-14.
const QStringList &regionalEntries()
{
    static const QStringList names{u"N211"_s,  u"N132"_s,  u"N151"_s,  u"N171"_s,  u"N191"_s,
                                   u"N1111"_s, u"N1131"_s, u"N1151"_s, u"N1171"_s, u"N1191"_s,
                                   u"N1211"_s, u"N2101"_s, u"N21211"_s, u"N21421"_s};
    return names;
}

} // namespace

const QVector<MenuEntry> &menuEntries()
{
    static const QVector<MenuEntry> entries = buildEntries();
    return entries;
}

const MenuEntry *findMenuEntry(const QString &name)
{
    for (const MenuEntry &e : menuEntries())
        if (e.name == name)
            return &e;
    return nullptr;
}

QHash<QString, bool> menuVisibility(const std::optional<QString> &level, LevelRuleVariant variant)
{
    QHash<QString, bool> visible;
    const bool setUp = level.has_value();
    for (const QString &top : {u"N1"_s, u"N51"_s, u"N16"_s, u"N3"_s})
        visible.insert(top, setUp);
    if (!setUp)
        return visible;

    const bool countyLevel = *level == u"县级汇总"_s;
    for (const QString &name : regionalEntries())
        visible.insert(name, !countyLevel);
    visible.insert(u"N1231"_s, !countyLevel && variant == LevelRuleVariant::Save);
    return visible;
}

} // namespace granwise
