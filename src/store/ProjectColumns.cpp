#include "ProjectColumns.h"
#include "NumberFormat.h"

#include <QHash>

#include <algorithm>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

struct ScaleRow {
    const char16_t *item;
    const char16_t *completedItem; // only where the completed column's item differs
    const char16_t *unit;
    const char16_t *caption;
    int plannedControl;
    int completedControl;
};

// Items 1 .. 37 in form order (left half 1-19, right half 20-37).
constexpr ScaleRow kScaleRows[] = {
    {u"新建仓容", nullptr, u"万吨", u"一、新建仓容", 34, 65},
    {u"其中成品粮应急储备仓", nullptr, u"万吨", u"其中：成品粮应急储备仓", 35, 66},
    {u"平房仓", nullptr, u"万吨", u"1、平房仓", 36, 67},
    {u"立筒仓", nullptr, u"万吨", u"2、立筒仓", 37, 68},
    {u"其中钢板筒仓", nullptr, u"万吨", u"其中：钢板简仓", 38, 69},
    {u"浅圆仓", nullptr, u"万吨", u"3、浅圆仓", 39, 70},
    {u"其他仓型", nullptr, u"万吨", u"4、其他仓型", 40, 71},
    {u"新建油罐", nullptr, u"万吨", u"二、新建油罐", 41, 72},
    {u"维修改造仓容", nullptr, u"万吨", u"三、维修改造仓容", 42, 73},
    {u"其中大修仓容", nullptr, u"万吨", u"其中：大修仓容", 43, 74},
    {u"维修改造油罐", nullptr, u"万吨", u"四、维修改造油罐", 44, 75},
    {u"其中泊位个数", nullptr, u"个", u"泊位个数", 45, 76},
    {u"其中吞吐能力", nullptr, u"万吨", u"吞吐能力", 46, 77},
    {u"铁路专用线", nullptr, u"米", u"六、铁路专用线", 47, 78},
    {u"其中铁路专用线有效长度", nullptr, u"米", u"其中：铁路专用线有效长度", 48, 79},
    {u"罩棚", nullptr, u"平方米", u"七、罩棚", 49, 80},
    {u"铁路罩棚", u"其中铁路罩棚", u"平方米", u"其中：1、铁路罩棚", 50, 81},
    {u"储粮罩棚", nullptr, u"平方米", u"2、储粮罩棚", 96, 97},
    {u"地坪", nullptr, u"平方米", u"八、地坪", 51, 82},
    {u"其中接收能力", nullptr, u"吨/小时", u"接收能力", 52, 83},
    {u"其中发放能力", nullptr, u"吨/小时", u"发放能力", 53, 84},
    {u"机械设备", nullptr, u"台套", u"十、机械设备", 54, 85},
    {u"保粮设备", nullptr, u"台套", u"1、保粮设备", 55, 86},
    {u"烘干设备", nullptr, u"台套", u"2、烘干设备", 56, 87},
    {u"其中烘干能力", nullptr, u"吨/小时", u"烘干能力", 57, 88},
    {u"进出仓设备", nullptr, u"台套", u"3、进出仓设备", 58, 89},
    {u"地中衡", nullptr, u"台套", u"4、地中衡", 59, 90},
    {u"其中散粮汽车", nullptr, u"辆", u"散粮汽车", 60, 91},
    {u"其中散粮火车皮", nullptr, u"节", u"散粮火车皮", 61, 92},
    {u"其中散粮船舶", nullptr, u"艘", u"散粮船舶", 62, 93},
    {u"检化验设备", nullptr, u"台套", u"6、检化验设备", 63, 94},
    {u"办公业务用房", nullptr, u"平方米", u"十一、办公、业务用房", 64, 95},
    {u"农户科学储粮", nullptr, u"万套", u"十二、农户科学储粮仓", 98, 99},
    {u"信息系统", nullptr, u"套", u"十三、信息系统", 100, 101},
    {u"电子政务", nullptr, u"套", u"其中：1、电子政务系统", 102, 103},
    {u"粮情监测", nullptr, u"套", u"2、粮情监测预警系统", 104, 105},
    {u"仓储信息", nullptr, u"套", u"3、仓储信息系统", 106, 107},
};

QString maskEditName(int number)
{
    return u"MaskEdit"_s + QString::number(number).rightJustified(3, u'0');
}

QVector<ScaleItem> buildScaleItems()
{
    QVector<ScaleItem> items;
    int number = 0;
    for (const ScaleRow &row : kScaleRows) {
        ScaleItem item;
        item.number = ++number;
        item.item = QString::fromUtf16(row.item);
        const QString completedItem = row.completedItem ? QString::fromUtf16(row.completedItem) : item.item;
        item.plannedColumn = u"建设_"_s + item.item;
        item.completedColumn = u"完成_"_s + completedItem;
        item.unit = QString::fromUtf16(row.unit);
        item.caption = QString::fromUtf16(row.caption);
        item.plannedControl = maskEditName(row.plannedControl);
        item.completedControl = maskEditName(row.completedControl);
        item.derived = item.item == u"新建仓容"_s || item.item == u"机械设备"_s;
        items.append(item);
    }
    return items;
}

ProjectColumn column(QString name, ColumnKind kind, ColumnGroup group, QString control = {},
                     QString caption = {}, QStringList choices = {})
{
    ProjectColumn c;
    c.name = std::move(name);
    c.kind = kind;
    c.group = group;
    c.control = std::move(control);
    c.caption = std::move(caption);
    c.choices = std::move(choices);
    return c;
}

QVector<ProjectColumn> buildColumns()
{
    using K = ColumnKind;
    using G = ColumnGroup;
    QVector<ProjectColumn> cs;
    cs << column(u"id"_s, K::AutoNumber, G::Bookkeeping)
       << column(u"修改时间"_s, K::DateTime, G::Bookkeeping)
       << column(u"校验状态"_s, K::Text, G::Bookkeeping);

    cs << column(u"企业代码"_s, K::Text, G::Enterprise, u"Edit5"_s, u"企业代码："_s)
       << column(u"企业详细名称"_s, K::Text, G::Enterprise, u"Edit6"_s, u"企业详细名称："_s)
       << column(u"企业详细地址"_s, K::Text, G::Enterprise, u"Edit7"_s, u"企业详细地址："_s)
       << column(u"省"_s, K::Text, G::Enterprise, u"ComboBox01"_s)
       << column(u"地市"_s, K::Text, G::Enterprise, u"ComboBox02"_s)
       << column(u"县"_s, K::Text, G::Enterprise, u"ComboBox03"_s)
       << column(u"行政区划代码"_s, K::Text, G::Enterprise)
       << column(u"邮政编码"_s, K::Text, G::Enterprise, u"Edit9"_s, u"邮政编码："_s)
       << column(u"隶属关系"_s, K::Text, G::Enterprise, {}, u"隶属关系："_s, {u"中央企业"_s, u"地方企业"_s})
       << column(u"公司"_s, K::Text, G::Enterprise, u"ComboBox1"_s, u"所属公司："_s,
                 {u"中储粮"_s, u"中粮"_s, u"华粮"_s, u"中纺"_s})
       << column(u"分公司"_s, K::Text, G::Enterprise, u"ComboBox2"_s, u"分公司："_s)
       << column(u"年度"_s, K::Text, G::Enterprise, u"Comb_niandu"_s, u"年度："_s);

    cs << column(u"项目类别"_s, K::Text, G::ProjectFacts, {}, u"一、项目类别"_s,
                 {u"粮油仓储设施项目"_s, u"粮食现代物流项目"_s, u"危仓老库修复项目"_s, u"粮食检验监测项目"_s,
                  u"农户科学储粮项目"_s, u"信息化建设项目"_s, u"其他项目"_s})
       << column(u"项目名称"_s, K::Text, G::ProjectFacts, u"MaskEditS1"_s, u"二、项目名称"_s)
       << column(u"项目批准单位"_s, K::Text, G::ProjectFacts, u"MaskEditS2"_s,
                 u"三、项目批准（核准、备案）单位:"_s)
       << column(u"批准文号"_s, K::Text, G::ProjectFacts, u"MaskEditS3"_s, u"四、批准（审核、备案）文号"_s)
       << column(u"项目单位性质"_s, K::Text, G::ProjectFacts, {}, u"五、项目单位性质"_s,
                 {u"国有及国有控股"_s, u"民营"_s, u"外资"_s})
       << column(u"建设性质"_s, K::Text, G::ProjectFacts, {}, u"六、建设性质"_s, {u"新建"_s, u"扩建"_s, u"改建"_s})
       << column(u"项目进展"_s, K::Text, G::ProjectFacts, {}, u"七、项目进展"_s,
                 {u"前期项目"_s, u"在建项目"_s, u"竣工项目"_s})
       << column(u"本年度开工项目"_s, K::Text, G::ProjectFacts, u"CheckBox1"_s, u"其中：本年度新开工项目"_s,
                 {u"是"_s, u"否"_s})
       << column(u"项目施工单位"_s, K::Text, G::ProjectFacts, u"MaskEditS4"_s, u"八、项目施工单位"_s)
       << column(u"项目设计单位"_s, K::Text, G::ProjectFacts, u"MaskEditS5"_s, u"九、项目设计单位"_s)
       << column(u"项目监理单位"_s, K::Text, G::ProjectFacts, u"MaskEditS6"_s, u"十、项目监理单位"_s)
       << column(u"可用建设用地"_s, K::Number, G::ProjectFacts, u"MaskEditS10"_s, u"十一、可用建设用地（亩）"_s);
    cs.last().unit = u"亩"_s;

    int control = 0;
    for (int g = 0; g < investmentPrefixes().size(); ++g) {
        for (int p = 0; p < investmentParts().size(); ++p) {
            ProjectColumn c = column(investmentColumn(g, p), K::Number, G::Investment, maskEditName(++control),
                                     investmentParts().at(p));
            c.unit = u"万元"_s;
            cs << c;
        }
    }

    for (const ScaleItem &item : scaleItems()) {
        ProjectColumn planned = column(item.plannedColumn, K::Number, G::Scale, item.plannedControl, item.caption);
        planned.unit = item.unit;
        planned.derived = item.derived;
        ProjectColumn completed = planned;
        completed.name = item.completedColumn;
        completed.control = item.completedControl;
        cs << planned << completed;
    }

    cs << column(u"填报人"_s, K::Text, G::FilingPersons, u"MaskEditS7"_s, u"填报人："_s)
       << column(u"联系电话"_s, K::Text, G::FilingPersons, u"MaskEditS8"_s, u"联系电话："_s)
       << column(u"审核人"_s, K::Text, G::FilingPersons, u"MaskEditS9"_s, u"审核人："_s);
    return cs;
}

} // namespace

const QStringList &investmentPrefixes()
{
    static const QStringList prefixes{u"总_"_s, u"累计_"_s, u"本年_"_s};
    return prefixes;
}

const QStringList &investmentParts()
{
    static const QStringList parts{u"建筑安装工程"_s, u"设备工器具购置"_s, u"其他费用"_s, u"财政性资金"_s,
                                   u"其中中央财政"_s, u"其中地方财政"_s, u"银行贷款"_s, u"利用外资"_s,
                                   u"自有资金"_s, u"其中退城进郊置换资金"_s, u"其他投资"_s};
    return parts;
}

const QStringList &investmentRowCaptions()
{
    static const QStringList captions{u"一、项目总投资"_s, u"二、上年累计完成投资"_s, u"三、本年度完成投资"_s};
    return captions;
}

QString investmentColumn(int group, int part)
{
    return investmentPrefixes().at(group) + investmentParts().at(part);
}

const QVector<ScaleItem> &scaleItems()
{
    static const QVector<ScaleItem> items = buildScaleItems();
    return items;
}

const QVector<DerivedColumn> &derivedScaleColumns()
{
    static const QVector<DerivedColumn> columns = [] {
        const struct {
            QString item;
            QStringList parts;
        } sums[] = {
            {u"新建仓容"_s, {u"平房仓"_s, u"立筒仓"_s, u"浅圆仓"_s, u"其他仓型"_s}},
            {u"机械设备"_s, {u"保粮设备"_s, u"烘干设备"_s, u"进出仓设备"_s, u"地中衡"_s, u"检化验设备"_s}},
        };
        auto itemNamed = [](const QString &name) {
            return *std::find_if(scaleItems().begin(), scaleItems().end(),
                                 [&](const ScaleItem &i) { return i.item == name; });
        };
        QVector<DerivedColumn> list;
        for (const bool planned : {true, false}) {
            for (const auto &sum : sums) {
                const ScaleItem target = itemNamed(sum.item);
                DerivedColumn derived{planned ? target.plannedColumn : target.completedColumn, {}};
                for (const QString &part : sum.parts) {
                    const ScaleItem source = itemNamed(part);
                    derived.parts << (planned ? source.plannedColumn : source.completedColumn);
                }
                list << derived;
            }
        }
        return list;
    }();
    return columns;
}

std::optional<double> correctedDerivedValue(double stored, double partsSum)
{
    if (stored == partsSum)
        return std::nullopt; // equal figures round alike: the usual case needs no rounding
    const double sum = roundTo15Digits(partsSum);
    if (roundTo15Digits(stored) == sum)
        return std::nullopt;
    return sum;
}

const QVector<ProjectColumn> &projectColumns()
{
    static const QVector<ProjectColumn> columns = buildColumns();
    return columns;
}

int projectColumnIndex(const QString &name)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        const auto &cs = projectColumns();
        for (int i = 0; i < cs.size(); ++i)
            h.insert(cs.at(i).name, i);
        return h;
    }();
    return index.value(name, -1);
}

const ProjectColumn *findProjectColumn(const QString &name)
{
    const int i = projectColumnIndex(name);
    return i < 0 ? nullptr : &projectColumns().at(i);
}

QStringList uploadColumnNames()
{
    QStringList names;
    for (const ProjectColumn &c : projectColumns())
        if (c.kind != ColumnKind::AutoNumber)
            names << c.name;
    return names;
}

} // namespace granwise
