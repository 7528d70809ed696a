#include "ReportChart.h"

#include "reports/frame/ProvinceCodes.h"
#include "reports/frame/ReportSave.h"
#include "store/Error.h"
#include "store/OutputFile.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString TotalSuffix = u"合计"_s;
const QColor OtherPlace(96, 125, 139);
// Section colours of the summary tables, in the order of their sections.
const QColor SectionColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
                                 QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                 QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};

// "1-13" -> {1, 13}; {0, 0} for anything else.
std::pair<int, int> tableNumber(const QString &number)
{
    const QStringList parts = number.split(u'-');
    if (parts.size() != 2)
        return {0, 0};
    bool first = false;
    bool second = false;
    const int a = parts.at(0).toInt(&first);
    const int b = parts.at(1).toInt(&second);
    return first && second ? std::pair{a, b} : std::pair{0, 0};
}

QString withoutBlanks(QString text)
{
    text.remove(u' ');
    text.remove(u'\u3000');
    return text;
}

int areaIndex(GrainArea area)
{
    switch (area) {
    case GrainArea::MainProducing:
        return 0;
    case GrainArea::Balanced:
        return 1;
    case GrainArea::MainConsuming:
        break;
    }
    return 2;
}

// The grain area of a province row's label ("江  苏"), or of a province's name ("江苏省",
// "内蒙古自治区"): the row whose name it starts with, the longest such; -1 when none.
int areaOfPlace(const QString &place)
{
    const QString name = withoutBlanks(place);
    int best = -1;
    qsizetype bestLength = 0;
    for (const ProvinceRow &province : provinceRows()) {
        const QString label = withoutBlanks(province.label);
        if (name.startsWith(label) && label.size() > bestLength) {
            best = areaIndex(province.area);
            bestLength = label.size();
        }
    }
    return best;
}

void addRegionBars(ReportChartData &data, const ReportGrid &grid)
{
    bool listing = false;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.rowKind(r) == RowKind::ListingTotal || grid.rowKind(r) == RowKind::Listed)
            listing = true;
    if (!listing) {
        data.groups = grainAreaGroups();
        for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
            if (grid.rowKind(r) == RowKind::Province)
                data.bars.append(
                    {grid.text(r, 0), grid.number(r, data.column), std::max(0, areaOfPlace(grid.text(r, 0))), r});
        return;
    }
    // A listing: its place (the province or prefecture before "合计") in the colour of its grain
    // area where the place is a province.
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r) {
        if (grid.rowKind(r) == RowKind::ListingTotal) {
            QString place = grid.text(r, 0);
            if (place.endsWith(TotalSuffix))
                place.chop(TotalSuffix.size());
            const int area = areaOfPlace(place);
            data.groups = {{place, area >= 0 ? grainAreaGroups().at(area).colour : OtherPlace}};
        }
    }
    if (data.groups.isEmpty())
        data.groups = {{QString(), OtherPlace}};
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.rowKind(r) == RowKind::Listed)
            data.bars.append({grid.text(r, 0), grid.number(r, data.column), 0, r});
}

void addSectionBars(ReportChartData &data, const ReportGrid &grid)
{
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r) {
        if (grid.rowKind(r) == RowKind::Section) {
            const int index = int(data.groups.size());
            data.groups.append({grid.text(r, 0).trimmed(), SectionColours[index % std::size(SectionColours)]});
        } else if (grid.rowKind(r) == RowKind::Item && !data.groups.isEmpty()) {
            data.bars.append({grid.text(r, 0).trimmed(), grid.number(r, data.column), int(data.groups.size()) - 1, r});
        }
    }
}

// Category names must differ: a repeated label gets invisible marks.
QStringList distinctLabels(const QVector<ChartBar> &bars)
{
    QStringList labels;
    for (const ChartBar &bar : bars) {
        QString label = bar.label;
        while (labels.contains(label))
            label += QChar(0x200B);
        labels << label;
    }
    return labels;
}

} // namespace

ChartKind chartKindOf(const ReportDefinition &definition)
{
    const auto [part, table] = tableNumber(definition.number);
    if ((part == 1 && table >= 2 && table <= 22) || (part == 2 && table >= 10 && table <= 18))
        return ChartKind::Regions;
    if (part == 1 && (table == 1 || table == 27))
        return ChartKind::Sections;
    return ChartKind::None;
}

const QVector<ChartGroup> &grainAreaGroups()
{
    static const QVector<ChartGroup> groups = {
        {u"主产区"_s, QColor(0x2e, 0x7d, 0x32)},
        {u"产销平衡区"_s, QColor(0xef, 0x8f, 0x00)},
        {u"主销区"_s, QColor(0x15, 0x65, 0xc0)},
    };
    return groups;
}

QString columnHeading(const ReportGrid &grid, int column)
{
    for (int r = grid.firstDataRow() - 1; r >= 1; --r) {
        QString text = grid.text(r, column);
        for (const CellSpan &span : grid.spans()) {
            if (r >= span.row && r < span.row + span.rowSpan && column >= span.column
                && column < span.column + span.columnSpan)
                text = grid.text(span.row, span.column);
        }
        text = text.trimmed().remove(u'\n');
        if (!text.isEmpty())
            return text;
    }
    return {};
}

ReportChartData reportChartData(const ReportDefinition &definition, const ReportGrid &grid, int column)
{
    ReportChartData data;
    data.title = grid.title();
    data.column = column >= 1 && column < grid.columnCount() ? column : 1;
    if (grid.columnCount() < 2)
        return data;
    data.heading = columnHeading(grid, data.column);
    switch (chartKindOf(definition)) {
    case ChartKind::Regions:
        addRegionBars(data, grid);
        break;
    case ChartKind::Sections:
        addSectionBars(data, grid);
        break;
    case ChartKind::None:
        break;
    }
    return data;
}

QChart *buildReportChart(const ReportChartData &data)
{
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(data.heading.isEmpty() ? data.title : data.title + u'\n' + data.heading);
    chart->legend()->setAlignment(Qt::AlignBottom);

    // Horizontal bars are drawn from the bottom: the grid's first row goes last to stand on top.
    QStringList labels = distinctLabels(data.bars);
    std::reverse(labels.begin(), labels.end());
    auto *series = new QHorizontalStackedBarSeries;
    series->setBarWidth(0.7);
    for (int g = 0; g < data.groups.size(); ++g) {
        const bool used =
            std::any_of(data.bars.cbegin(), data.bars.cend(), [g](const ChartBar &b) { return b.group == g; });
        if (!used)
            continue;
        auto *set = new QBarSet(data.groups.at(g).name);
        set->setColor(data.groups.at(g).colour);
        set->setBorderColor(data.groups.at(g).colour);
        for (auto bar = data.bars.crbegin(); bar != data.bars.crend(); ++bar)
            set->append(bar->group == g ? bar->value : 0.0);
        series->append(set);
    }
    chart->addSeries(series);

    auto *categories = new QBarCategoryAxis;
    categories->append(labels);
    categories->setTruncateLabels(false); // a place's name is short; never "…"
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);

    auto *values = new QValueAxis;
    double low = 0;
    double high = 0;
    for (const ChartBar &bar : data.bars) {
        low = std::min(low, bar.value);
        high = std::max(high, bar.value);
    }
    values->setRange(low, high > low ? high : low + 1);
    values->applyNiceNumbers();
    values->setLabelFormat(u"%.15g"_s);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    if (series->count() == 0)
        chart->legend()->hide();
    return chart;
}

QImage reportChartImage(const ReportChartData &data, const QSize &size)
{
    QGraphicsScene scene;
    QChart *chart = buildReportChart(data);
    scene.addItem(chart); // the scene owns the chart from here
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
    scene.setSceneRect(QRectF(QPointF(0, 0), QSizeF(size)));
    // The chart lays itself out on the layout requests it posts.
    QCoreApplication::sendPostedEvents();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), scene.sceneRect());
    painter.end();
    return image;
}

QString proposedChartName(const ReportChartData &data, const QDate &day)
{
    QString name = data.title;
    if (!data.heading.isEmpty())
        name += u'（' + data.heading + u'）';
    name += u'(' + saveDateText(day) + u')';
    name.replace(u'/', u'-');
    name.replace(u'\\', u'-');
    return name;
}

void saveReportChart(const ReportChartData &data, const QString &path, const QSize &size)
{
    const QImage image = reportChartImage(data, size);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG"))
        throw Error(u"无法生成图片：%1"_s.arg(path));
    writeFileAtomically(path, png.data());
}

} // namespace granwise
