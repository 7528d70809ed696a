#include "UploadFile.h"

#include "ExchangeTexts.h"
#include "sheets/CopyTemplateFile.h"
#include "sheets/SheetStreamFill.h"
#include "sheets/XmlText.h"
#include "store/Database.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QDate>
#include <QFile>
#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

QString quotedColumnList(const QStringList &names)
{
    QStringList quoted;
    for (const QString &n : names)
        quoted << u'"' + n + u'"';
    return quoted.join(u',');
}

// A project's value as the sheet takes it; texts stay SQLite's own UTF-8, without a copy
// unless they need mending (then `holder` keeps the mended text).
StreamCell cellOf(const Statement &projects, int column, QByteArray &holder)
{
    const Statement::Stored value = projects.stored(column);
    switch (value.type) {
    case Statement::ValueType::Null:
        return {};
    case Statement::ValueType::Integer:
    case Statement::ValueType::Real:
        return StreamCell::of(value.number);
    case Statement::ValueType::Text:
        return StreamCell::of(sheets::utf8AsRead(value.utf8, holder));
    }
    return {};
}

QString textOf(const StreamCell &cell)
{
    switch (cell.kind) {
    case StreamCell::Kind::Empty:
        return {};
    case StreamCell::Kind::Number:
        return formatNumber(cell.number);
    case StreamCell::Kind::Text:
        return QString::fromUtf8(cell.utf8.data(), qsizetype(cell.utf8.size()));
    }
    return {};
}

// A figure that is no finite number (left by an older version) would reach the file as the text
// "INF", which no office above can take in.
void refuseNonFinite(std::span<const StreamCell> row, const QStringList &columns)
{
    for (size_t k = 0; k < row.size(); ++k) {
        if (row[k].kind != StreamCell::Kind::Number || std::isfinite(row[k].number))
            continue;
        static const auto enterprise = size_t(uploadColumnNames().indexOf(col::EnterpriseName));
        static const auto project = size_t(uploadColumnNames().indexOf(col::ProjectName));
        throw Error(u"项目“%1／%2”的“%3”不是有效的数字（%4），请改正后再制作上报文件"_s.arg(
            textOf(row[enterprise]), textOf(row[project]), columns.at(qsizetype(k)), formatNumber(row[k].number)));
    }
}

} // namespace

int unvalidatedProjectCount(Connection &connection)
{
    return connection
        .scalar(u"select count(*) from TZ_XIANGMU where 校验状态 is null or 校验状态 <> '1'"_s)
        .toInt();
}

QString defaultUploadFileName(const QString &unitName, const QDate &day)
{
    return exchange::DefaultNamePrefix + unitName + u'-' + day.toString(u"MM-dd"_s) + u".xlsx"_s;
}

QString uploadTemplatePath(const AppLocations &locations)
{
    return locations.templatePath(exchange::TemplateFileName);
}

void TransOut(const QString &databasePath, const QString &path, Progress &progress)
{
    SheetStreamFill fill(path);
    progress.advance();

    const QStringList columns = uploadColumnNames();
    progress.advance();
    fill.writeRow(QVector<QVariant>(columns.cbegin(), columns.cend()));

    {
        Connection connection(databasePath);
        Statement projects =
            connection.prepare(u"select %1 from TZ_XIANGMU order by id"_s.arg(quotedColumnList(columns)));
        std::vector<StreamCell> row(size_t(columns.size()));
        std::vector<QByteArray> mended(row.size());
        while (projects.next()) {
            progress.advance();
            for (size_t k = 0; k < row.size(); ++k)
                row[k] = cellOf(projects, int(k), mended[k]);
            refuseNonFinite(row, columns);
            fill.writeRow(row);
        }
    }
    progress.advance();
    fill.finish();
    progress.advance();
}

void makeUploadWorkbook(const QString &databasePath, const QString &templatePath, const QString &path,
                        Progress &progress)
{
    ProgressScope scope(progress);
    progress.start(0);
    int count = 0;
    {
        Connection connection(databasePath);
        count = connection.scalar(u"select count(*) from TZ_XIANGMU"_s).toInt();
    }
    progress.start(count + 5);
    progress.advance();
    writeFromTemplate(templatePath, path, [&](const QString &copy) { TransOut(databasePath, copy, progress); });
}

} // namespace granwise
