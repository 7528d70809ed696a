#include "Cli.h"

#include "reports/frame/ReportPrinter.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportSave.h"
#include "reports/frame/ReportSession.h"
#include "reports/AllReports.h"
#include "store/Csv.h"
#include "store/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <optional>

namespace granwise::cli {

using namespace Qt::StringLiterals;

namespace {

// Tables in the order of their numbers ("1-2" before "1-10"); tables without one last.
QVector<const ReportDefinition *> tablesInOrder()
{
    QVector<const ReportDefinition *> tables = reportDefinitions();
    auto key = [](const ReportDefinition *d) {
        const QStringList parts = d->number.split(u'-');
        if (parts.size() != 2)
            return std::pair{1000, 0};
        return std::pair{parts.at(0).toInt(), parts.at(1).toInt()};
    };
    std::stable_sort(tables.begin(), tables.end(),
                     [&](const ReportDefinition *a, const ReportDefinition *b) { return key(a) < key(b); });
    return tables;
}

QString outputName(const ReportDefinition &d)
{
    QString name = d.title;
    name.replace(u'/', u'_');
    return name + u".xlsx"_s;
}

struct ReportOptions {
    QString table;
    QString province;
    QString prefecture;
    bool csv = false;
    QString out;
    QString pdf;
};

std::optional<ReportOptions> parseReportOptions(const QStringList &args)
{
    ReportOptions o;
    bool hasProvince = false;
    bool hasPrefecture = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == u"--province"_s && hasValue && !hasProvince) {
            o.province = args.at(++i);
            hasProvince = true;
        } else if (a == u"--prefecture"_s && hasValue && !hasPrefecture) {
            o.prefecture = args.at(++i);
            hasPrefecture = true;
        } else if (a == u"--csv"_s && !o.csv) {
            o.csv = true;
        } else if (a == u"--out"_s && hasValue && o.out.isEmpty()) {
            o.out = args.at(++i);
        } else if (a == u"--pdf"_s && hasValue && o.pdf.isEmpty()) {
            o.pdf = args.at(++i);
        } else if (!a.startsWith(u"--"_s) && o.table.isEmpty()) {
            o.table = a;
        } else {
            return std::nullopt;
        }
    }
    // Exactly one of --csv, --out and --pdf.
    if (o.table.isEmpty() || int(o.csv) + int(!o.out.isEmpty()) + int(!o.pdf.isEmpty()) != 1)
        return std::nullopt;
    return o;
}

int report(Context &context, const QStringList &args)
{
    const std::optional<ReportOptions> options = parseReportOptions(args);
    if (!options)
        return UsageError;
    registerAllReports();
    const ReportDefinition *definition = findReport(options->table);
    if (!definition) {
        context.err << u"没有这张表：%1\n"_s.arg(options->table);
        return UsageError;
    }
    const bool listing = !options->province.isEmpty() || !options->prefecture.isEmpty();
    if (listing && !definition->hasListings()) {
        context.err << u"%1 不分省份、地市统计\n"_s.arg(definition->title);
        return UsageError;
    }
    if (options->province.isEmpty() && !options->prefecture.isEmpty()) {
        context.err << u"只给了地市，没有给省份\n"_s;
        return UsageError;
    }

    ReportSession session(*definition, context.databasePath);
    session.compute(options->province, options->prefecture);
    const ReportGrid &grid = session.grid();
    if (options->csv) {
        for (int r = grid.firstDataRow(); r < grid.rowCount(); ++r)
            context.out << csv::line(grid.rowTexts(r)) << u'\n';
        return Success;
    }
    if (!options->pdf.isEmpty()) {
        // Laying out the pages needs the fonts, which only a GUI application has.
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            throw Error(u"无法导出 PDF：没有可用的字体"_s);
        writeReportPdf(*definition, grid, currentPageFooter(context.databasePath), options->pdf);
        context.out << u"已保存：%1\n"_s.arg(options->pdf);
        return Success;
    }
    QVector<SheetCell> extra;
    if (definition->save.extraCells)
        extra = definition->save.extraCells(context.databasePath);
    writeReportWorkbook(context.locations, *definition, grid, options->out, extra);
    context.out << u"已保存：%1\n"_s.arg(options->out);
    return Success;
}

int reports(Context &context, const QStringList &args)
{
    if (args.size() != 2 || args.at(0) != u"--out"_s)
        return UsageError;
    const QString directory = args.at(1);
    if (!QDir().mkpath(directory))
        throw Error(u"Cannot create directory %1"_s.arg(directory));
    registerAllReports();
    for (const ReportDefinition *definition : tablesInOrder()) {
        ReportSession session(*definition, context.databasePath);
        session.computeWholeTable();
        QVector<SheetCell> extra;
        if (definition->save.extraCells)
            extra = definition->save.extraCells(context.databasePath);
        const QString path = QDir(directory).filePath(outputName(*definition));
        writeReportWorkbook(context.locations, *definition, session.grid(), path, extra);
        context.out << path << u'\n';
    }
    return Success;
}

} // namespace

QVector<Command> reportCommands()
{
    return {
        {u"report"_s,
         u"report TABLE [--province P] [--prefecture C] (--csv | --out FILE.xlsx | --pdf FILE.pdf)  计算一张统计表"_s,
         report},
        {u"reports"_s, u"reports --out DIR           把每张统计表存进 DIR"_s, reports},
    };
}

} // namespace granwise::cli
