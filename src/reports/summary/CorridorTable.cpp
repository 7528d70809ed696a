#include "CorridorTable.h"

#include "reports/frame/ProvinceCodes.h"
#include "reports/frame/RegionalTable.h"
#include "reports/frame/ReportTexts.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

struct Corridor {
    QString label;
    QStringList provinceCodes; // in the order the table lists them
};

struct CorridorFamily {
    QString label;
    QVector<Corridor> corridors;
};

QVector<CorridorFamily> corridorFamilies()
{
    return {
        {u"一、流出通道小计："_s,
         {{u"（一）东北流出通道"_s, {u"15"_s, u"21"_s, u"22"_s, u"23"_s}},
          {u"（二）黄淮海流出通道"_s, {u"13"_s, u"37"_s, u"41"_s}},
          {u"（三）长江流出通道"_s, {u"32"_s, u"34"_s, u"36"_s, u"42"_s, u"43"_s}}}},
        {u"二、流入通道小计："_s,
         {{u"（四）华东沿海流入通道"_s, {u"31"_s, u"33"_s}},
          {u"（五）华南沿海流入通道"_s, {u"35"_s, u"44"_s, u"46"_s, u"45"_s}},
          {u"（六）京津流入通道"_s, {u"11"_s, u"12"_s}},
          {u"（七）西南流入通道"_s, {u"51"_s, u"50"_s, u"52"_s, u"53"_s}},
          {u"（八）西北流入通道"_s, {u"14"_s, u"54"_s, u"61"_s, u"62"_s, u"63"_s, u"64"_s, u"65"_s}}}},
    };
}

QString provinceLabel(const QString &code)
{
    for (const ProvinceRow &p : provinceRows())
        if (p.code == code)
            return p.label;
    return code;
}

QVector<Measure> investment(int group)
{
    QVector<Measure> measures;
    for (int part = 0; part < 3; ++part) // 建筑安装工程, 设备工器具购置, 其他费用
        measures << Measure::sum(investmentColumn(group, part));
    return measures;
}

} // namespace

RowPlan corridorRows()
{
    RowPlan plan;
    auto add = [&plan](PlannedRow row) {
        plan.rows.append(std::move(row));
        return int(plan.rows.size()) - 1;
    };
    // Each row is added before a total row takes its index: adding may move the rows.
    const int grand = add({reports::texts::Total, RowKind::GrandTotal, {}, {}, {}});
    for (const CorridorFamily &family : corridorFamilies()) {
        const int familyRow = add({family.label, RowKind::Group, {}, {}, {}});
        plan.rows[grand].parts << familyRow;
        for (const Corridor &corridor : family.corridors) {
            const int corridorRow = add({corridor.label, RowKind::Group, {}, {}, {}});
            plan.rows[familyRow].parts << corridorRow;
            for (const QString &code : corridor.provinceCodes) {
                const int provinceRow = add({provinceLabel(code), RowKind::Province, code, {}, {}});
                plan.rows[corridorRow].parts << provinceRow;
            }
        }
    }
    return plan;
}

ReportDefinition corridorDefinition()
{
    ReportDefinition d;
    d.className = u"TFrmb1_23"_s;
    d.number = u"1-23"_s;
    d.title = u"表1-23 粮食现代物流项目各通道投资情况汇总表"_s;
    d.caption = u" 粮食现代物流项目各通道投资情况汇总表"_s;
    d.kind = WindowKind::Immediate;
    d.columnCount = 4;
    d.firstDataRow = 2;
    d.heads = {{1, 0, u"地区或单位"_s}, {1, 1, u"项目个数"_s}, {1, 2, u"总投资"_s}, {1, 3, u"年度完成投资："_s}};
    d.unitCaption = reports::texts::TenThousandYuan;
    d.unitCaptionPlace = {3, 40, 50};
    d.columnWidths = {267, 164, 158, 158};
    d.save.rowOffset = 3;

    RegionalFigures figures;
    // Measure 0 counts the projects; 1 .. 3 are the total investment, 4 .. 6 this year's.
    figures.measures = QVector<Measure>{Measure::count()} + investment(0) + investment(2);
    figures.columns = {{{0}, {}, 1}, {{1, 2, 3}, {}, 1}, {{4, 5, 6}, {}, 1}};
    useRegionalTable(d, {corridorRows(), figures});
    d.prefectureListing = nullptr; // the window has no province or prefecture boxes
    d.countyListing = nullptr;
    return d;
}

} // namespace granwise
