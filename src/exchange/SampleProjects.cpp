#include "SampleProjects.h"

#include "sheets/CopyTemplateFile.h"
#include "sheets/SheetStreamFill.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"

#include <array>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// A small, fully specified generator (splitmix64): the same seed gives the same projects on
// every platform and compiler, which std::*_distribution does not promise.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    qint64 below(qint64 n) { return n <= 0 ? 0 : qint64(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    // A fraction of a whole amount, rounded down: never more than the amount.
    qint64 partOf(qint64 whole) { return whole <= 0 ? 0 : whole * below(1001) / 1000; }
    template<typename List>
    const auto &pick(const List &list) { return list.at(below(list.size())); }

private:
    quint64 m_state;
};

struct County {
    QString name, code, province, prefecture;
};

const QStringList kEnterpriseKinds{u"粮食储备库"_s, u"国家粮食储备库"_s, u"粮油购销公司"_s,
                                   u"粮食收储有限公司"_s, u"粮油贸易有限责任公司"_s, u"粮食物流中心"_s};
const QStringList kSurnames{u"王"_s, u"李"_s, u"张"_s, u"刘"_s, u"陈"_s, u"杨"_s, u"黄"_s, u"赵"_s, u"吴"_s, u"周"_s};
const QStringList kGivenNames{u"伟"_s, u"芳"_s, u"娜"_s, u"敏"_s, u"静"_s, u"丽"_s, u"强"_s, u"磊"_s,
                              u"军"_s, u"洋"_s, u"勇"_s, u"艳"_s, u"杰"_s, u"涛"_s, u"明"_s, u"超"_s};
const QStringList kRoads{u"人民路"_s, u"解放路"_s, u"建设路"_s, u"粮库路"_s, u"工业大道"_s, u"中山路"_s};
const QStringList kBuilders{u"建筑工程有限公司"_s, u"建设集团有限公司"_s, u"工程建设有限公司"_s};
const QStringList kDesigners{u"粮食设计院"_s, u"建筑设计研究院"_s};
const QStringList kSupervisors{u"工程监理有限公司"_s, u"建设监理咨询有限公司"_s};

// Units in which a scale item is counted: hundredths for capacities in ten thousand tonnes or
// sets, whole numbers for everything else (so that sums of items are exact).
qint64 scaleMaximum(const QString &unit)
{
    if (unit == u"万吨"_s)
        return 5000; // 50.00
    if (unit == u"万套"_s)
        return 500;
    if (unit == u"米"_s)
        return 3000;
    if (unit == u"平方米"_s)
        return 20000;
    if (unit == u"吨/小时"_s)
        return 500;
    if (unit == u"个"_s)
        return 6;
    return 40; // 台套, 辆, 节, 艘, 套
}

bool inHundredths(const QString &unit)
{
    return unit == u"万吨"_s || unit == u"万套"_s;
}

} // namespace

struct SampleProjects::Impl {
    Random random;
    QVector<County> counties;
    QStringList companies;
    QHash<QString, QStringList> branches;
    QStringList years;
    QHash<QString, int> position; // upload column -> index in the row
    int number = 0;

    explicit Impl(quint64 seed) : random(seed) {}

    void set(QVector<QVariant> &row, const QString &column, const QVariant &value) const
    {
        row[position.value(column)] = value;
    }
    QString personName()
    {
        return random.pick(kSurnames) + random.pick(kGivenNames) + (random.chance(60) ? random.pick(kGivenNames) : QString());
    }
    QString digits(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + int(random.below(10)));
        return text;
    }
    void investment(QVector<QVariant> &row);
    void scale(QVector<QVariant> &row);
};

void SampleProjects::Impl::investment(QVector<QVariant> &row)
{
    // Composition of the total investment in hundredths of ten thousand yuan; the previous
    // years' and this year's investments are shares of it.
    const std::array<qint64, 3> total{random.below(5000000), random.below(1000000), random.below(500000)};
    std::array<qint64, 3> cumulative{}, current{};
    for (int p = 0; p < 3; ++p) {
        cumulative[p] = random.partOf(total[p] * 6 / 10);
        current[p] = random.partOf(total[p] - cumulative[p]);
    }
    const std::array<std::array<qint64, 3>, 3> groups{total, cumulative, current};
    for (int g = 0; g < 3; ++g) {
        const auto &composition = groups[g];
        const qint64 sum = composition[0] + composition[1] + composition[2];
        // Sources: the sum cut at four random points.
        std::array<qint64, 4> cuts{random.below(sum + 1), random.below(sum + 1), random.below(sum + 1),
                                   random.below(sum + 1)};
        std::sort(cuts.begin(), cuts.end());
        const qint64 fiscal = cuts[0], bank = cuts[1] - cuts[0], foreign = random.chance(20) ? cuts[2] - cuts[1] : 0;
        const qint64 own = cuts[2] - cuts[1] - foreign + cuts[3] - cuts[2];
        const qint64 other = sum - cuts[3];
        const qint64 central = random.partOf(fiscal);
        const qint64 local = random.partOf(fiscal - central);
        const qint64 relocation = random.chance(10) ? random.partOf(own) : 0;
        const std::array<qint64, 11> parts{composition[0], composition[1], composition[2], fiscal, central, local,
                                           bank,           foreign,        own,            relocation, other};
        for (int p = 0; p < 11; ++p)
            set(row, investmentColumn(g, p), double(parts[p]) / 100.0);
    }
}

void SampleProjects::Impl::scale(QVector<QVariant> &row)
{
    const QVector<ScaleItem> &items = scaleItems();
    std::array<qint64, 38> planned{}, completed{}; // by item number 1..37
    auto leaf = [&](int item) {
        const qint64 p = random.chance(35) ? random.below(scaleMaximum(items.at(item - 1).unit) + 1) : 0;
        planned[item] = p;
        completed[item] = random.chance(70) ? random.partOf(p) : 0;
    };
    // "Of which" item within its parent, both planned and completed.
    auto within = [&](int item, int parent) {
        planned[item] = random.partOf(planned[parent]);
        completed[item] = random.partOf(std::min(planned[item], completed[parent]));
    };
    // A parent at least as large as the sum of its parts.
    auto atLeastSum = [&](int item, std::initializer_list<int> parts) {
        qint64 p = 0, c = 0;
        for (int part : parts) {
            p += planned[part];
            c += completed[part];
        }
        const qint64 extra = random.chance(50) ? random.below(scaleMaximum(items.at(item - 1).unit) / 4 + 1) : 0;
        planned[item] = p + extra;
        completed[item] = c + random.partOf(extra);
    };
    auto sumOf = [&](int item, std::initializer_list<int> parts) {
        planned[item] = completed[item] = 0;
        for (int part : parts) {
            planned[item] += planned[part];
            completed[item] += completed[part];
        }
    };
    for (int item : {3, 4, 6, 7, 8, 9, 11, 12, 13, 14, 17, 18, 19, 20, 21, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                     33, 35, 36, 37})
        leaf(item);
    sumOf(1, {3, 4, 6, 7});            // new storage capacity
    sumOf(22, {23, 24, 26, 27, 31});   // machinery
    within(2, 1);
    within(5, 4);
    within(10, 9);
    within(15, 14);
    atLeastSum(16, {17, 18});          // canopies
    atLeastSum(34, {35, 36, 37});      // information systems
    for (const ScaleItem &item : items) {
        const double unit = inHundredths(item.unit) ? 100.0 : 1.0;
        set(row, item.plannedColumn, double(planned[item.number]) / unit);
        set(row, item.completedColumn, double(completed[item.number]) / unit);
    }
}

SampleProjects::SampleProjects(Connection &connection, quint64 seed) : d(std::make_unique<Impl>(seed))
{
    Statement counties = connection.prepare(u"select 名称, 代码, 省, 市 from county order by 代码, rowid"_s);
    while (counties.next())
        d->counties.append({counties.text(0), counties.text(1), counties.text(2), counties.text(3)});
    if (d->counties.isEmpty())
        throw Error(u"数据库中没有县的参考数据：%1"_s.arg(connection.path()));
    for (const QString &company : findProjectColumn(col::Company)->choices) {
        const QString table = company + u"分公司"_s;
        if (!connection.tableExists(table))
            continue;
        Statement branches = connection.prepare(u"select 分公司 from \"%1\" order by rowid"_s.arg(table));
        while (branches.next())
            d->branches[company] << branches.text(0);
        if (!d->branches[company].isEmpty())
            d->companies << company;
    }
    Statement years = connection.prepare(u"select 年度 from 年度 where 年度 between '2010' and '2015' order by 年度"_s);
    while (years.next())
        d->years << years.text(0);
    if (d->years.isEmpty())
        d->years << u"2013"_s;
    const QStringList names = uploadColumnNames();
    for (int i = 0; i < names.size(); ++i)
        d->position.insert(names.at(i), i);
}

SampleProjects::~SampleProjects() = default;

QVector<QVariant> SampleProjects::next()
{
    Impl &s = *d;
    Random &random = s.random;
    const int number = ++s.number;
    QVector<QVariant> row(s.position.size());
    const County &county = random.pick(s.counties);
    const QString year = random.pick(s.years);

    const QDateTime saved = QDateTime(QDate(year.toInt(), 1, 1), QTime(8, 0)).addSecs(random.below(300 * 86400));
    s.set(row, col::ModifiedAt, storedDateTime(saved));
    s.set(row, col::ValidationStatus, u"1"_s);

    const QString enterprise = county.name + random.pick(kEnterpriseKinds);
    s.set(row, col::EnterpriseCode, s.digits(8) + u'-' + s.digits(1));
    s.set(row, col::EnterpriseName, enterprise);
    s.set(row, u"企业详细地址"_s, county.prefecture + county.name + random.pick(kRoads) + QString::number(random.below(300) + 1) + u"号"_s);
    s.set(row, col::Province, county.province);
    s.set(row, col::Prefecture, county.prefecture);
    s.set(row, col::County, county.name);
    s.set(row, col::RegionCode, county.code);
    s.set(row, u"邮政编码"_s, county.code.left(2) + s.digits(4));
    const bool central = !s.companies.isEmpty() && random.chance(30);
    s.set(row, col::Affiliation, central ? u"中央企业"_s : u"地方企业"_s);
    const QString company = central ? random.pick(s.companies) : QString();
    s.set(row, col::Company, company);
    s.set(row, col::Branch, central ? random.pick(s.branches.value(company)) : QString());
    s.set(row, col::Year, year);

    const QString category = random.pick(findProjectColumn(col::Category)->choices);
    s.set(row, col::Category, category);
    s.set(row, col::ProjectName, u"%1%2年第%3号"_s.arg(category.chopped(2), year, QString::number(number)));
    s.set(row, u"项目批准单位"_s, county.province + u"发展和改革委员会"_s);
    s.set(row, u"批准文号"_s, u"发改投资〔%1〕%2号"_s.arg(year, QString::number(random.below(2000) + 1)));
    s.set(row, col::Ownership, random.pick(findProjectColumn(col::Ownership)->choices));
    s.set(row, col::ConstructionNature, random.pick(findProjectColumn(col::ConstructionNature)->choices));
    s.set(row, col::Progress, random.pick(findProjectColumn(col::Progress)->choices));
    s.set(row, col::StartedThisYear, random.chance(40) ? u"是"_s : u"否"_s);
    s.set(row, u"项目施工单位"_s, county.prefecture + random.pick(kBuilders));
    s.set(row, u"项目设计单位"_s, county.province + random.pick(kDesigners));
    s.set(row, u"项目监理单位"_s, county.prefecture + random.pick(kSupervisors));
    s.set(row, col::Land, double(random.below(5000)) / 10.0);

    s.investment(row);
    s.scale(row);

    s.set(row, u"填报人"_s, s.personName());
    s.set(row, u"联系电话"_s, u"0"_s + s.digits(3) + u'-' + s.digits(8));
    s.set(row, u"审核人"_s, s.personName());
    return row;
}

void writeSampleWorkbook(const QString &databasePath, const QString &templatePath, const QString &path, int count,
                         quint64 seed, Progress &progress)
{
    ProgressScope scope(progress);
    progress.start(count);
    Connection connection(databasePath);
    SampleProjects samples(connection, seed);
    writeFromTemplate(templatePath, path, [&](const QString &copy) {
        SheetStreamFill fill(copy);
        QVector<QVariant> header;
        for (const QString &name : uploadColumnNames())
            header << name;
        fill.writeRow(header);
        for (int i = 0; i < count; ++i) {
            fill.writeRow(samples.next());
            progress.advance();
        }
        fill.finish();
    });
}

} // namespace granwise
