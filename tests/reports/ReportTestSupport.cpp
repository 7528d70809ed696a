#include "ReportTestSupport.h"

#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportSession.h"
#include "reports/regional/RegionalReports.h"
#include "sheets/SheetReader.h"
#include "store/Csv.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace granwise::test {

using namespace Qt::StringLiterals;

namespace {
int serial = 0;
}

QVariantMap localProject(const QString &code, const QVariantMap &figures)
{
    QVariantMap p = figures;
    p.insert(u"行政区划代码"_s, code);
    if (!p.contains(u"隶属关系"_s))
        p.insert(u"隶属关系"_s, u"地方企业"_s);
    if (!p.contains(u"项目名称"_s))
        p.insert(u"项目名称"_s, u"项目%1"_s.arg(++serial));
    return p;
}

QVariantMap centralProject(const QString &code, const QString &company, const QVariantMap &figures)
{
    QVariantMap p = figures;
    p.insert(u"隶属关系"_s, u"中央企业"_s);
    p.insert(u"公司"_s, company);
    return localProject(code, p);
}

void addFixtureProjects(const TempDatabase &db, const QString &fixtureName)
{
    QFile file(fixture(u"reports/"_s + fixtureName));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(u"no fixture "_s + fixtureName);
    const QVector<QStringList> rows = csv::parse(file.readAll());
    const QStringList names = rows.value(0);
    for (int r = 1; r < rows.size(); ++r) {
        QVariantMap project;
        for (int c = 0; c < names.size(); ++c) {
            const QString text = rows.at(r).value(c);
            const ProjectColumn *column = findProjectColumn(names.at(c));
            if (!column)
                throw Error(u"fixture column "_s + names.at(c));
            if (column->isNumber())
                project.insert(names.at(c), numberOrZero(text));
            else
                project.insert(names.at(c), text);
        }
        db.addProject(project);
    }
}

const ReportDefinition &table(const QString &number)
{
    registerRegionalReports();
    const ReportDefinition *d = findReport(number);
    if (!d)
        throw Error(u"no table "_s + number);
    return *d;
}

ReportGrid wholeTable(const QString &number, const TempDatabase &db)
{
    ReportSession session(table(number), db.path());
    session.computeWholeTable();
    return session.grid();
}

int rowOf(const ReportGrid &grid, const QString &label)
{
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        if (grid.text(r, 0) == label)
            return r;
    return -1;
}

QStringList figuresOf(const ReportGrid &grid, const QString &label)
{
    const int row = rowOf(grid, label);
    return row < 0 ? QStringList() : grid.rowTexts(row).mid(1);
}

QStringList labelsOf(const ReportGrid &grid)
{
    QStringList labels;
    for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
        labels << grid.text(r, 0);
    return labels;
}

void installTemplates(const TempDatabase &db)
{
    const QDir source(QStringLiteral(GRANWISE_TEMPLET_DIR));
    const QString target = db.dir() + u"/templet"_s;
    QDir().mkpath(target);
    const QStringList files = source.entryList({u"*.xlsx"_s}, QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << "the templets target has not run";
    for (const QString &f : files)
        QFile::copy(source.filePath(f), target + u'/' + f);
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

} // namespace granwise::test
