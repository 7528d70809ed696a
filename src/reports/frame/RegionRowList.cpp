#include "RegionRowList.h"

#include "ProvinceCodes.h"

namespace granwise {

using namespace Qt::StringLiterals;

int RowPlan::indexOfProvince(const QString &code) const
{
    if (code.isEmpty())
        return -1;
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).kind == RowKind::Province && rows.at(i).provinceCode == code)
            return i;
    return -1;
}

int RowPlan::indexOfCompany(const QString &company) const
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).kind == RowKind::Central && rows.at(i).company == company)
            return i;
    return -1;
}

RegionWording RegionWording::standard()
{
    const QStringList groups = {u"1、主产区"_s, u"2、产销平衡区"_s, u"3、主销区"_s};
    return {u"合计"_s, groups, groups, u"一、地方小计"_s, u"二、中央企业小计"_s};
}

RegionWording RegionWording::withGrandTotal(const QString &label) const
{
    RegionWording w = *this;
    w.grandTotal = label;
    return w;
}

RegionWording RegionWording::withSeparateGroups(const QStringList &labels) const
{
    RegionWording w = *this;
    w.separateGroups = labels;
    return w;
}

RegionWording RegionWording::withCentralSubtotal(const QString &label) const
{
    RegionWording w = *this;
    w.centralSubtotal = label;
    return w;
}

RowPlan RegionRowList(RegionLayout layout, const RegionWording &wording)
{
    RowPlan plan;
    plan.separate = layout == RegionLayout::Separate;
    auto add = [&plan](PlannedRow row) {
        plan.rows.append(std::move(row));
        return int(plan.rows.size()) - 1;
    };

    const int grand = add({wording.grandTotal, RowKind::GrandTotal, {}, {}, {}});
    const int local = plan.separate ? add({wording.localSubtotal, RowKind::LocalSubtotal, {}, {}, {}}) : -1;
    const QStringList &groupLabels = plan.separate ? wording.separateGroups : wording.combinedGroups;
    const GrainArea areas[] = {GrainArea::MainProducing, GrainArea::Balanced, GrainArea::MainConsuming};
    QVector<int> groups;
    for (int g = 0; g < 3; ++g) {
        const int group = add({groupLabels.value(g), RowKind::Group, {}, {}, {}});
        groups.append(group);
        for (const ProvinceRow &p : provinceRows()) {
            if (p.area != areas[g])
                continue;
            const int province = add({p.label, RowKind::Province, p.code, {}, {}});
            plan.rows[group].parts.append(province);
        }
    }
    if (!plan.separate) {
        plan.rows[grand].parts = groups;
        return plan;
    }
    plan.rows[local].parts = groups;
    const int central = add({wording.centralSubtotal, RowKind::CentralSubtotal, {}, {}, {}});
    for (const CentralRow &c : centralRows()) {
        const int company = add({c.label, RowKind::Central, {}, c.company, {}});
        plan.rows[central].parts.append(company);
    }
    plan.rows[grand].parts = {local, central};
    return plan;
}

} // namespace granwise
