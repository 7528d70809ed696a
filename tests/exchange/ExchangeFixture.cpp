#include "ExchangeFixture.h"

#include "sheets/SheetReader.h"
#include "sheets/SheetStreamFill.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace granwise::test {

using namespace Qt::StringLiterals;

void ExchangeTest::SetUp()
{
    db = std::make_unique<TempDatabase>();
    QDir(db->dir()).mkpath(u"templet"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(GRANWISE_BUILT_TEMPLETS) + u"/out.xlsx"_s, file(u"templet/out.xlsx"_s)));
}

void ExchangeTest::TearDown()
{
    db.reset();
}

QVector<QStringList> ExchangeTest::tableRows() const
{
    QVector<QStringList> rows;
    Connection connection(db->path());
    QStringList quoted;
    for (const QString &n : uploadColumnNames())
        quoted << u'"' + n + u'"';
    Statement st = connection.prepare(u"select %1 from TZ_XIANGMU order by id"_s.arg(quoted.join(u',')));
    while (st.next()) {
        QStringList row;
        for (int i = 0; i < st.columnCount(); ++i)
            row << (st.isNull(i) ? u"<null>"_s : st.text(i));
        rows << row;
    }
    return rows;
}

QByteArray ExchangeTest::databaseHash() const
{
    QFile f(db->path());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList uploadHeader()
{
    return uploadColumnNames();
}

QVector<QVariant> uploadRow(const QString &enterprise, const QString &project, const QVariantMap &values)
{
    QVector<QVariant> row;
    for (const ProjectColumn &c : projectColumns()) {
        if (c.kind == ColumnKind::AutoNumber)
            continue;
        QVariant v;
        if (c.name == col::EnterpriseName)
            v = enterprise;
        else if (c.name == col::ProjectName)
            v = project;
        else if (c.name == col::ValidationStatus)
            v = u"1"_s;
        else if (c.name == col::ModifiedAt)
            v = u"2013-05-09 09:05:00"_s;
        else if (c.name == u"邮政编码"_s)
            v = u"100010"_s; // passes the postal code rule, as the status "1" claims
        else if (c.isNumber())
            v = 0.0;
        else if (!c.choices.isEmpty())
            v = c.choices.first();
        else
            v = c.name + u"值"_s;
        if (values.contains(c.name))
            v = values.value(c.name);
        row << v;
    }
    return row;
}

void ExchangeTest::addProject(const QString &enterprise, const QString &project, const QVariantMap &values) const
{
    const QVector<QVariant> row = uploadRow(enterprise, project, values);
    const QStringList names = uploadColumnNames();
    QVariantMap all;
    for (int i = 0; i < names.size(); ++i)
        all.insert(names.at(i), row.at(i));
    db->addProject(all);
}

void writeWorkbook(const QString &path, const QString &sheetName, const QStringList &header,
                   const QVector<QVector<QVariant>> &rows)
{
    createBlankWorkbook(path, sheetName);
    SheetStreamFill fill(path);
    QVector<QVariant> head;
    for (const QString &h : header)
        head << h;
    fill.writeRow(head);
    for (const auto &row : rows)
        fill.writeRow(row);
    fill.finish();
}

QMap<int, QVector<CellValue>> sheetCells(const QString &path, const QString &sheetName)
{
    QMap<int, QVector<CellValue>> rows;
    auto reader = SheetReader::open(path, sheetName);
    QVector<CellValue> cells;
    while (reader->nextRow(cells))
        rows.insert(reader->rowNumber(), cells);
    return rows;
}

} // namespace granwise::test
