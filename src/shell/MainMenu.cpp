#include "MainMenu.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

constexpr bool Shown = true;
constexpr bool Hidden = false;
constexpr bool Sets = true;
constexpr bool Keeps = false;

QVector<MenuEntry> buildEntries()
{
    QVector<MenuEntry> e;
    auto top = [&](const QString &name, const QString &caption) { e.append({name, caption, {}, Shown, Keeps, {}}); };
    auto item = [&](const QString &parent, const QString &name, const QString &caption, const QString &opens,
                    bool visible = Shown, bool sets = Keeps) { e.append({name, caption, parent, visible, sets, opens}); };

    top(u"N2"_s, u"任务管理"_s);
    item(u"N2"_s, u"N7"_s, u"填报单位信息维护"_s, {}, Hidden);
    item(u"N2"_s, u"N22"_s, u"汇总单位信息维护"_s, u"TfrmRenwu"_s);

    top(u"N1"_s, u"数据维护"_s);
    item(u"N1"_s, u"N310"_s, u"粮食流通基础设施建设投资统计基础报表"_s, u"TFrmList1"_s);
    item(u"N1"_s, u"N311"_s, u"报送情况"_s, u"TFrmReported"_s);
    item(u"N1"_s, u"N312"_s, u"校验结果"_s, u"RuleReportWindow"_s);
    item(u"N1"_s, u"N313"_s, u"疑似异常"_s, u"ReviewWindow"_s);
    item(u"N1"_s, u"N314"_s, u"操作记录"_s, u"JournalWindow"_s);

    top(u"N51"_s, u"统计报表"_s);
    item(u"N51"_s, u"N21"_s, u"投资统计表一"_s, {});
    item(u"N51"_s, u"N10181"_s, u"投资统计表二"_s, {});
    item(u"N51"_s, u"N13"_s, u"投资统计表三"_s, {});

    const QString t1 = u"N21"_s;
    item(t1, u"N111"_s, u"表1-1 粮食流通基础设施建设投资情况汇总表"_s, u"TFrmb1_1"_s, Shown, Sets);
    item(t1, u"N211"_s, u"表1-2 粮食流通基础设施建设各地区投资情况汇总表"_s, u"TFrmb1_2"_s);
    item(t1, u"N132"_s, u"表1-3 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源）"_s, u"TFrmb1_3"_s, Shown, Sets);
    item(t1, u"N142"_s, u"表1-4 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资来源，中央企业不单列）"_s, u"TFrmb1_3"_s, Hidden, Sets);
    item(t1, u"N151"_s, u"表1-5 粮食流通基础设施建设各地区项目总投资情况汇总表（按企业性质）"_s, u"TFrmb1_5"_s, Shown, Sets);
    item(t1, u"N161"_s, u"表1-6 粮食流通基础设施建设各地区项目总投资情况汇总表（按企业性质，中央企业不单列）"_s, u"TFrmb1_5"_s, Hidden, Sets);
    item(t1, u"N171"_s, u"表1-7 粮食流通基础设施建设各地区项目总投资情况汇总表（按建设性质）"_s, u"TFrmb1_7"_s, Shown, Sets);
    item(t1, u"N181"_s, u"表1-8 粮食流通基础设施建设各地区项目总投资情况汇总表（按建设性质，中央企业不单列）"_s, u"TFrmb1_7"_s, Hidden, Sets);
    item(t1, u"N191"_s, u"表1-9 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资构成）"_s, u"TFrmb1_9"_s, Shown, Sets);
    item(t1, u"N1101"_s, u"表1-10 粮食流通基础设施建设各地区项目总投资情况汇总表（按投资构成，中央企业不单列）"_s, u"TFrmb1_9"_s, Hidden, Sets);
    item(t1, u"N1111"_s, u"表1-11 粮食流通基础设施建设各地区项目总投资情况汇总表（按项目类别）"_s, u"TFrmb1_11"_s, Shown, Sets);
    item(t1, u"N1121"_s, u"表1-12 粮食流通基础设施建设各地区项目总投资情况汇总表（按项目类别，中央企业不单列）"_s, u"TFrmb1_11"_s, Hidden, Sets);
    item(t1, u"N1131"_s, u"表1-13 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资来源）"_s, u"TFrmb1_13"_s, Shown, Sets);
    item(t1, u"N1141"_s, u"表1-14 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资来源，中央企业不单列）"_s, u"TFrmb1_13"_s, Hidden, Sets);
    item(t1, u"N1151"_s, u"表1-15 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按企业性质）"_s, u"TFrmb1_15"_s, Shown, Sets);
    item(t1, u"N1161"_s, u"表1-16 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按企业性质，中央企业不单列）"_s, u"TFrmb1_15"_s, Hidden, Sets);
    item(t1, u"N1171"_s, u"表1-17 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按建设性质）"_s, u"TFrmb1_17"_s, Shown, Sets);
    item(t1, u"N1181"_s, u"表1-18 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按建设性质，中央企业不单列）"_s, u"TFrmb1_17"_s, Hidden, Sets);
    item(t1, u"N1191"_s, u"表1-19 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资构成）"_s, u"TFrmb1_19"_s, Shown, Sets);
    item(t1, u"N1201"_s, u"表1-20 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按投资构成，中央企业不单列）"_s, u"TFrmb1_19"_s, Hidden, Sets);
    item(t1, u"N1211"_s, u"表1-21 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按项目类别）"_s, u"TFrmb1_21"_s, Shown, Sets);
    item(t1, u"N1221"_s, u"表1-22 粮食流通基础设施建设各地区项目年度完成投资情况汇总表（按项目类别，中央企业不单列）"_s, u"TFrmb1_21"_s, Hidden, Sets);
    item(t1, u"N1231"_s, u"表1-23 粮食现代物流项目各通道投资情况汇总表"_s, u"TFrmb1_23"_s, Hidden);
    item(t1, u"N1241"_s, u"表1-24 粮食流通基础设施建设前期项目投资情况汇总表"_s, u"TFrmb1_1"_s, Shown, Sets);
    item(t1, u"N1251"_s, u"表1-25 粮食流通基础设施建设在建项目投资情况汇总表"_s, u"TFrmb1_1"_s, Shown, Sets);
    item(t1, u"N1261"_s, u"表1-26 粮食流通基础设施建设竣工项目投资情况汇总表"_s, u"TFrmb1_1"_s, Shown, Sets);
    item(t1, u"N1271"_s, u"表1-27 粮食流通基础设施建设项目进展情况汇总表"_s, u"TFrmb1_27"_s);

    const QString t2 = u"N10181"_s;
    item(t2, u"N212"_s, u"表2-1 粮食流通基础设施建设规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N221"_s, u"表2-2 国有及国有控股企业粮食流通基础设施建设规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N231"_s, u"表2-3 民营企业粮食流通基础设施建设规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N241"_s, u"表2-4 外资企业粮食流通基础设施建设规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N251"_s, u"表2-5 中央企业粮食流通基础设施建设规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N261"_s, u"表2-6 地方企业粮食流通基础设施建设规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N271"_s, u"表2-7 粮食流通基础设施建设前期项目规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N281"_s, u"表2-8 粮食流通基础设施建设在建项目规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N291"_s, u"表2-9 粮食流通基础设施建设竣工项目规模情况汇总表"_s, u"TFrmb2_1"_s, Shown, Sets);
    item(t2, u"N2101"_s, u"表2-10 粮食流通基础设施建设各地区年度新增设施情况汇总表"_s, u"TFrmb2_10"_s);
    item(t2, u"N2111"_s, u"表2-11 粮食流通基础设施建设各地区年度新增设施情况汇总表（中央企业不单列）"_s, {}, Hidden);
    item(t2, u"N21211"_s, u"表2-12 粮食流通基础设施建设各地区年度新增设施情况汇总表（续1）"_s, u"TFrmb2_12"_s);
    item(t2, u"N21311"_s, u"表2-13 粮食流通基础设施建设各地区年度新增设施情况汇总表（续1，中央企业不单列）"_s, {}, Hidden);
    item(t2, u"N21421"_s, u"表2-14 粮食流通基础设施建设各地区年度新增设施情况汇总表（续2）"_s, u"TFrmb2_14"_s);
    item(t2, u"N21521"_s, u"表2-15 粮食流通基础设施建设各地区年度新增设施情况汇总表（续2，中央企业不单列）"_s, {}, Hidden);
    item(t2, u"N21231"_s, u"表2-16 粮食流通基础设施建设各地区年度新增设施情况汇总表（续3）"_s, u"TFrmb2_16"_s);
    item(t2, u"N21841"_s, u"表2-18 粮食流通基础设施建设各地区年度新增设施情况汇总表（续4）"_s, u"TFrmb2_18"_s);

    item(u"N13"_s, u"N14"_s, u"粮食流通基础设施建设投资基础情况统计表"_s, u"TFrmbtongj"_s);
    item(u"N13"_s, u"N19"_s, u"粮油仓储设施项目基本情况表"_s, u"TFrmInput_Tj"_s);

    top(u"N16"_s, u"数据传输"_s);
    item(u"N16"_s, u"N11"_s, u"制作上报文件"_s, u"N11"_s);
    item(u"N16"_s, u"N20"_s, u"上报数据入库"_s, u"N20"_s);

    top(u"N3"_s, u"系统设置"_s);
    item(u"N3"_s, u"N9"_s, u"用户管理"_s, u"TFrmusers"_s);
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
