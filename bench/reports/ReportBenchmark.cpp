// Times every regional table and the scale tables (2-1 .. 2-9) over synthetic projects: the
// bare queries a table stands on (the grouped sums as the tables' queries state them, stepped to
// the end and nothing else), the whole table as the program computes it, and the report window
// from creation until it is shown and ready. Prints one Markdown table.
#include "reports/frame/RegionalTable.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/frame/ReportSession.h"
#include "reports/windows/ReportWindowFactory.h"
#include "reports/regional/RegionalReports.h"
#include "reports/summary/ScaleTables.h"
#include "store/Database.h"
#include "store/DatabaseSetup.h"
#include "store/AppContext.h"
#include "store/ProjectColumns.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {

// N projects spread over the counties of the reference table: one in five central (中储粮,
// 中粮, 中纺, 华粮), categories, natures and ownership drawn at random, every investment and
// scale figure a random amount with two decimals, every other figure 0.
void addProjects(const QString &databasePath, int count)
{
    QStringList names;
    QStringList values;
    const auto choice = [](const QString &column) {
        const QStringList choices = findProjectColumn(column)->choices;
        QString sql = u"case abs(random()) % "_s + QString::number(choices.size());
        for (int i = 0; i < choices.size(); ++i)
            sql += u" when %1 then '%2'"_s.arg(i).arg(choices.at(i));
        return sql + u" end"_s;
    };
    for (const ProjectColumn &c : projectColumns()) {
        if (c.kind == ColumnKind::AutoNumber)
            continue;
        QString v;
        if (c.name == col::Province)
            v = u"county.省"_s;
        else if (c.name == col::Prefecture)
            v = u"county.市"_s;
        else if (c.name == col::County)
            v = u"county.名称"_s;
        else if (c.name == col::RegionCode)
            v = u"county.代码"_s;
        else if (c.name == col::Affiliation)
            v = u"case when r < 16 then '地方企业' else '中央企业' end"_s;
        else if (c.name == col::Company)
            v = u"case r when 16 then '中储粮' when 17 then '中粮' when 18 then '中纺' when 19 then '华粮' else '' end"_s;
        else if (c.name == col::Category || c.name == col::Ownership || c.name == col::ConstructionNature ||
                 c.name == col::Progress)
            v = choice(c.name);
        else if (c.name == col::ProjectName)
            v = u"'项目' || i"_s;
        else if (c.group == ColumnGroup::Investment || c.group == ColumnGroup::Scale)
            v = u"(abs(random()) % 10000000) / 100.0"_s;
        else if (c.isNumber())
            v = u"0"_s;
        else
            v = u"''"_s;
        names << c.name;
        values << v;
    }
    const QString sql =
        u"with recursive seq(i) as (select 1 union all select i + 1 from seq where i < %1), "
        u"picked as (select i, abs(random()) % 20 as r, 1 + abs(random()) % (select count(*) from county) as k from seq) "
        u"insert into TZ_XIANGMU (%2) select %3 from picked join county on county.rowid = picked.k"_s.arg(count)
            .arg(names.join(u','), values.join(u','));
    Connection connection(databasePath);
    Transaction transaction(connection);
    connection.execute(sql);
    transaction.commit();
}

double bestOf(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// Steps a statement to its end, reading every column as the table would.
void runBare(const QString &databasePath, const QStringList &statements)
{
    Connection connection(databasePath);
    for (const QString &sql : statements) {
        Statement st(connection, sql);
        double sink = 0;
        while (st.next())
            for (int c = 1; c < st.columnCount(); ++c)
                sink += st.number(c);
        (void)sink;
    }
}

// A scale table's sums: the planned and completed column of every scale item its lines show,
// over the projects of its class.
QStringList scaleTableQuery(const ReportDefinition &d)
{
    static const QHash<QString, QString> classes = {
        {u"2-1"_s, {}},
        {u"2-2"_s, u"项目单位性质='国有及国有控股'"_s},
        {u"2-3"_s, u"项目单位性质='民营'"_s},
        {u"2-4"_s, u"项目单位性质='外资'"_s},
        {u"2-5"_s, u"隶属关系='中央企业'"_s},
        {u"2-6"_s, u"隶属关系='地方企业'"_s},
        {u"2-7"_s, u"项目进展='前期项目'"_s},
        {u"2-8"_s, u"项目进展='在建项目'"_s},
        {u"2-9"_s, u"项目进展='竣工项目'"_s},
    };
    QStringList sums;
    for (const ScaleItem &item : scaleItems())
        sums << u"sum(%1)"_s.arg(item.plannedColumn) << u"sum(%1)"_s.arg(item.completedColumn);
    const QString where = classes.value(d.number);
    return {u"select %1 from TZ_XIANGMU%2"_s.arg(sums.join(u','), where.isEmpty() ? QString() : u" where "_s + where)};
}

// The grouped sums each table's queries state (Jet's mid() is substr(), texts in single quotes).
QStringList bareQueries(const ReportDefinition &d)
{
    if (d.number.startsWith(u"2-"_s))
        return scaleTableQuery(d);
    const QString code = u"substr(行政区划代码,1,2)"_s;
    const bool combined = d.title.contains(u"中央企业不单列"_s) || d.number == u"1-2"_s;
    const QString prefix = d.title.contains(u"年度完成投资"_s) ? u"本年_"_s : u"总_"_s;
    auto sums = [&](int from, int to) {
        QStringList s;
        for (int p = from; p <= to; ++p)
            s << u"sum(%1%2) as a%3"_s.arg(prefix, investmentParts().at(p)).arg(p - from + 1);
        return s.join(u',');
    };
    const auto whole = [&](const QString &select, const QString &where) {
        QStringList q;
        if (combined) {
            q << u"select %1,%2 from TZ_XIANGMU %3 group by %1"_s.arg(code, select, where.isEmpty() ? QString() : u"where "_s + where);
        } else {
            const QString local = u"隶属关系='地方企业'"_s + (where.isEmpty() ? QString() : u" and "_s + where);
            const QString central = u"隶属关系='中央企业'"_s + (where.isEmpty() ? QString() : u" and "_s + where);
            q << u"select %1,%2 from TZ_XIANGMU where %3 group by %1"_s.arg(code, select, local);
            q << u"select 公司,%1 from TZ_XIANGMU where %2 group by 公司"_s.arg(select, central);
        }
        return q;
    };
    if (d.number == u"1-2"_s)
        return whole(u"count(*) as ct,sum(总_建筑安装工程) as a1,sum(总_设备工器具购置) as a2,sum(总_其他费用) as a3,"
                     u"sum(本年_建筑安装工程) as c1,sum(本年_设备工器具购置) as c2,sum(本年_其他费用) as c3"_s,
                     {});
    if (d.columnCount == 10)
        return whole(sums(3, 10), {});
    if (d.heads.value(2).text == u"建筑安装工程"_s)
        return whole(sums(0, 2), {});
    // One query (or pair) per category column, as the category tables run them.
    QString column;
    for (const QString &c : {col::Ownership, col::ConstructionNature, col::Category})
        if (findProjectColumn(c)->choices.contains(d.heads.value(2).text))
            column = c;
    QStringList q;
    for (int k = 2; k < d.heads.size(); ++k)
        q << whole(sums(0, 2), u"%1='%2'"_s.arg(column, d.heads.at(k).text));
    return q;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg && type != QtInfoMsg && type != QtWarningMsg)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    });
    QApplication app(argc, argv);
    QList<int> sizes = {1000, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QString::fromLatin1(argv[i]).toInt();
    }
    registerRegionalReports();
    registerScaleTables();
    QTextStream out(stdout);
    out << "| table | projects | bare queries ms | table ms | table / bare | window ready ms |\n";
    out << "|---|---:|---:|---:|---:|---:|\n";
    for (int n : sizes) {
        QTemporaryDir dir;
        const AppContext context = AppContext::forProgramFolder(dir.path());
        createDatabase(context.databasePath);
        addProjects(context.databasePath, n);
        for (const ReportDefinition *d : reportDefinitions()) {
            const QStringList bare = bareQueries(*d);
            const double bareMs = bestOf(3, [&] { runBare(context.databasePath, bare); });
            ReportSession session(*d, context.databasePath);
            const double tableMs = bestOf(3, [&] { session.computeWholeTable(); });
            const double windowMs = bestOf(3, [&] {
                std::unique_ptr<QDialog> window(createReportWindow(*d, context, nullptr));
                window->show();
                QApplication::processEvents();
            });
            out << u"| %1 | %2 | %3 | %4 | %5 | %6 |\n"_s.arg(d->number)
                       .arg(n)
                       .arg(bareMs, 0, 'f', 1)
                       .arg(tableMs, 0, 'f', 1)
                       .arg(tableMs / bareMs, 0, 'f', 2)
                       .arg(windowMs, 0, 'f', 1);
            out.flush();
        }
    }
    return 0;
}
