#include "DatabaseSetup.h"

#include "Journal.h"

#include "Csv.h"
#include "Database.h"
#include "DatabaseInstall.h"
#include "OutputFile.h"
#include "ProjectColumns.h"

#include <QFile>
#include <QFileInfo>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QByteArray resource(const QString &name)
{
    QFile file(u":/data/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(u"程序的参考数据缺失：%1"_s.arg(name));
    return file.readAll();
}

// Loads a CSV of the data folder (header row = column names) into a table of the same columns.
void loadCsv(Connection &connection, const QString &file, const QString &table)
{
    const QVector<QStringList> rows = csv::parse(resource(file));
    if (rows.isEmpty())
        return;
    const QStringList header = rows.first();
    QStringList marks;
    for (qsizetype i = 0; i < header.size(); ++i)
        marks << u"?"_s;
    Statement insert = connection.prepare(
        u"insert into %1 (%2) values (%3)"_s.arg(table, header.join(u','), marks.join(u',')));
    for (qsizetype r = 1; r < rows.size(); ++r) {
        insert.reset();
        for (qsizetype c = 0; c < header.size(); ++c)
            insert.bind(int(c + 1), rows.at(r).value(c));
        insert.run();
    }
}

void loadBranches(Connection &connection)
{
    const QVector<QStringList> rows = csv::parse(resource(u"branches.csv"_s));
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QString table = rows.at(r).value(0) + u"分公司"_s;
        connection.execute(u"insert into %1 (分公司) values (?)"_s.arg(table), {rows.at(r).value(1)});
    }
}

void loadQueryIndicators(Connection &connection)
{
    Statement insert = connection.prepare(u"insert into 查询指标 (指标, 类型) values (?, ?)"_s);
    for (const ProjectColumn &c : projectColumns()) {
        if (c.kind == ColumnKind::AutoNumber || c.kind == ColumnKind::DateTime)
            continue;
        insert.reset();
        insert.bind(1, c.name).bind(2, c.isText() ? u"1"_s : u"0"_s);
        insert.run();
    }
}

} // namespace

QString projectTableSql()
{
    QStringList defs;
    for (const ProjectColumn &c : projectColumns()) {
        switch (c.kind) {
        case ColumnKind::AutoNumber:
            defs << c.name + u" integer primary key autoincrement"_s;
            break;
        case ColumnKind::Number:
            defs << c.name + u" real"_s;
            break;
        case ColumnKind::DateTime:
        case ColumnKind::Text:
            defs << c.name + u" text"_s;
            break;
        }
    }
    return u"create table TZ_XIANGMU (\n  "_s + defs.join(u",\n  "_s) + u")"_s;
}

void createSchema(Connection &connection)
{
    connection.executeScript(QString::fromUtf8(resource(u"schema.sql"_s)));
    connection.executeScript(projectTableSql());
    connection.executeScript(
        u"create index project_key on TZ_XIANGMU (企业详细名称, 项目名称);"
        u"create index project_modified on TZ_XIANGMU (修改时间)"_s);
    journal::ensureTables(connection);
}

void createDatabase(const QString &path, bool overwrite)
{
    if (QFileInfo::exists(path) && !overwrite)
        throw Error(u"数据库文件已存在：%1"_s.arg(path));
    OutputFile built(path);
    {
        Connection connection(built.path(), Connection::Mode::CreateFile);
        Transaction transaction(connection);
        createSchema(connection);
        loadCsv(connection, u"province.csv"_s, u"province"_s);
        loadCsv(connection, u"city.csv"_s, u"city"_s);
        loadCsv(connection, u"county.csv"_s, u"county"_s);
        loadCsv(connection, u"levels.csv"_s, u"汇总级别"_s);
        loadCsv(connection, u"years.csv"_s, u"年度"_s);
        loadCsv(connection, u"basic_indicators.csv"_s, u"基础情况统计表指标"_s);
        loadBranches(connection);
        loadQueryIndicators(connection);
        transaction.commit();
    }
    installDatabase(built);
}

bool ensureDatabase(const QString &path)
{
    if (QFileInfo::exists(path))
        return false;
    createDatabase(path);
    return true;
}

} // namespace granwise
