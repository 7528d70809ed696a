#include "InvestmentSummaryTestSupport.h"

#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportSession.h"
#include "sheets/SheetReader.h"
#include "store/Error.h"
#include "reports/summary/SummaryReports.h"

namespace granwise::summarytest {

using namespace Qt::StringLiterals;

const ReportDefinition &table(const QString &number)
{
    registerSummaryReports();
    const ReportDefinition *definition = findReport(number);
    if (!definition)
        throw Error(u"no table "_s + number);
    return *definition;
}

ReportGrid opened(const QString &number, const test::TempDatabase &db)
{
    ReportSession session(table(number), db.path());
    session.open();
    return session.grid();
}

QVariantMap project(const QVariantMap &values)
{
    static int serial = 0;
    QVariantMap p = values;
    if (!p.contains(u"项目名称"_s))
        p.insert(u"项目名称"_s, u"汇总测试项目%1"_s.arg(++serial));
    return p;
}

QStringList labelsOf(const ReportGrid &grid)
{
    QStringList labels;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        labels << grid.text(r, 0);
    return labels;
}

QStringList figuresOf(const ReportGrid &grid, int row)
{
    return grid.rowTexts(row).mid(1);
}

QMap<int, QStringList> readWorksheet(const QString &path)
{
    QMap<int, QStringList> rows;
    const auto reader = SheetReader::open(path, SheetReader::sheetNames(path).value(0));
    QVector<CellValue> cells;
    while (reader->nextRow(cells)) {
        QStringList texts;
        for (const CellValue &c : cells)
            texts << c.toText();
        rows.insert(reader->rowNumber(), texts);
    }
    return rows;
}

} // namespace granwise::summarytest
