#include "StorageSheet.h"

#include "FormFigures.h"
#include "ProjectListQuery.h"
#include "StorageSheetTexts.h"
#include "store/Database.h"
#include "store/ExactSum.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The projects the sheet takes in: those with a name, narrowed by a further condition (its
// values bound before the filter's) and by the filter.
QString selection(const ListFilter &filter, const QString &condition = {})
{
    return u" from TZ_XIANGMU where 项目名称 <> ''"_s + condition + filter.sql;
}

// The figure columns (investment and scale) in table order, then the land.
QStringList summedColumns()
{
    QStringList columns;
    for (const ProjectColumn &c : projectColumns())
        if (c.group == ColumnGroup::Investment || c.group == ColumnGroup::Scale)
            columns << c.name;
    columns << col::Land;
    return columns;
}

QHash<QString, int> countsBy(Connection &connection, const QString &column, const ListFilter &filter)
{
    QHash<QString, int> counts;
    Statement st =
        connection.prepare(u"select "_s + column + u", count(*)"_s + selection(filter) + u" group by "_s + column);
    st.bindAll(filter.values);
    while (st.next())
        counts.insert(st.text(0), int(st.number(1)));
    return counts;
}

QString countText(int count)
{
    return QString::number(count);
}

// A count line's text before the first "统计": "二、项目单位性质:  国有及国有控股（  ）个  民营（  ）个 ...".
QString designLine(const StorageCountLine &line)
{
    QStringList segments;
    for (const QString &value : line.values)
        segments << value + projects::texts::DesignSegmentEnd;
    const QString body = segments.join(u"  "_s);
    return line.heading.isEmpty() ? body : line.heading + u"  "_s + body;
}

struct HeaderCell {
    int row;
    int column;
    QStringList labels; // joined by the line gap
};
const QVector<HeaderCell> &headerCells()
{
    static const QVector<HeaderCell> cells{
        {5, 2, {u"Label3"_s, u"Label4"_s}},
        {6, 2, {u"StaticText7"_s}},
        {6, 9, {u"StaticText8"_s}},
        {7, 2, {u"StaticText9"_s, NewStartsLabel}},
        {8, 2, {LandLabel}},
    };
    return cells;
}

} // namespace

const QStringList &storageFilterColumns()
{
    static const QStringList columns{col::Province,  col::Prefecture,         col::County,   col::Affiliation,
                                     col::Category,  col::Ownership,          col::ConstructionNature,
                                     col::Progress};
    return columns;
}

const QVector<StorageCountLine> &storageCountLines()
{
    static const QVector<StorageCountLine> lines = [] {
        const QStringList categories = findProjectColumn(col::Category)->choices;
        constexpr int kFirstLineCategories = 3;
        const auto choices = [](const QString &column) { return findProjectColumn(column)->choices; };
        return QVector<StorageCountLine>{
            {u"Label3"_s, u"一、项目类别:"_s, col::Category, categories.mid(0, kFirstLineCategories)},
            {u"Label4"_s, {}, col::Category, categories.mid(kFirstLineCategories)},
            {u"StaticText7"_s, u"二、项目单位性质:"_s, col::Ownership, choices(col::Ownership)},
            {u"StaticText8"_s, u"三、建设性质:"_s, col::ConstructionNature, choices(col::ConstructionNature)},
            {u"StaticText9"_s, u"四、项目进展:"_s, col::Progress, choices(col::Progress)},
        };
    }();
    return lines;
}

StorageSheet designStorageSheet()
{
    StorageSheet sheet;
    for (const QString &control : numericControls())
        sheet.figures.insert(control, u"0"_s);
    for (const StorageCountLine &line : storageCountLines())
        sheet.lines.insert(line.control, designLine(line));
    sheet.lines.insert(NewStartsLabel, projects::texts::NewStartsDesign);
    sheet.lines.insert(LandLabel, projects::texts::LandDesign);
    return sheet;
}

StorageSheet computeStorageSheet(Connection &connection, const QVector<QPair<QString, QString>> &filters)
{
    const ListFilter filter = substringFilter(filters);
    StorageSheet sheet;

    // Summed here rather than by the engine, exactly as the statistical tables sum, so that a
    // province's amounts add up to their decimal total without float noise.
    const QStringList columns = summedColumns();
    Statement st = connection.prepare(u"select "_s + columns.join(u", "_s) + selection(filter));
    st.bindAll(filter.values);
    QVector<ExactSum> sums(columns.size());
    QVector<bool> summed(columns.size(), false); // a column with no value at all sums to nothing
    while (st.next()) {
        for (int i = 0; i < columns.size(); ++i) {
            if (st.isNull(i))
                continue;
            sums[i].add(st.number(i));
            summed[i] = true;
        }
    }
    QString land;
    for (int i = 0; i < columns.size(); ++i) {
        const QString text = summed.at(i) ? formatNumber(sums.at(i).value()) : QString();
        if (columns.at(i) == col::Land)
            land = text;
        else
            sheet.figures.insert(findProjectColumn(columns.at(i))->control, text);
    }

    // The three investment totals, from the part sums as shown; empty with nothing selected.
    const bool anySelected = !sheet.figures.value(findProjectColumn(investmentColumn(0, 0))->control).isEmpty();
    for (const DerivedFigure &figure : derivedFigures()) {
        if (!figure.column.isEmpty())
            continue; // a stored scale sum, summed as stored
        QString total;
        if (anySelected) {
            ExactSum sum;
            for (const QString &source : figure.sources)
                sum.add(numberOrZero(sheet.figures.value(source)));
            total = formatNumber(sum.value());
        }
        sheet.figures.insert(figure.control, total);
    }

    QHash<QString, QHash<QString, int>> countsByColumn;
    for (const StorageCountLine &line : storageCountLines()) {
        if (!countsByColumn.contains(line.column))
            countsByColumn.insert(line.column, countsBy(connection, line.column, filter));
        const QHash<QString, int> &counts = countsByColumn[line.column];
        QString text = line.heading.isEmpty() ? QString() : line.heading + u' ';
        for (const QString &value : line.values)
            if (counts.contains(value))
                text += value + projects::texts::SegmentOpen + countText(counts.value(value)) + projects::texts::SegmentClose;
        sheet.lines.insert(line.control, text);
    }

    const QString yes = findProjectColumn(col::StartedThisYear)->choices.value(0);
    const QVariant newStarts = connection.scalar(u"select count(*)"_s + selection(filter, u" and 本年度开工项目 = ?"_s),
                                                 QVariantList{yes} + filter.values);
    sheet.lines.insert(NewStartsLabel, projects::texts::NewStartsOpen + countText(newStarts.toInt()) + projects::texts::SegmentClose);
    sheet.lines.insert(LandLabel, projects::texts::LandOpen + land + projects::texts::LandClose);
    return sheet;
}

QVector<SheetEntry> storageSheetEntries(const StorageSheet &sheet, const QString &year)
{
    QVector<SheetEntry> entries;
    entries.append({kStorageYearRow, kStorageYearColumn, year + projects::texts::YearSuffix});
    for (const HeaderCell &cell : headerCells()) {
        QStringList lines;
        for (const QString &label : cell.labels)
            lines << sheet.lines.value(label);
        entries.append({cell.row, cell.column, lines.join(projects::texts::LineGap)});
    }
    entries += figureEntries(kStorageSheetFigures, [&](const QString &control) { return sheet.figures.value(control); });
    return entries;
}

} // namespace granwise
