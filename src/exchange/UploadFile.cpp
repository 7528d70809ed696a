#include "UploadFile.h"

#include "ExchangeTexts.h"
#include "sheets/CopyTemplateFile.h"
#include "sheets/SheetStreamFill.h"
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

// A figure that is no finite number (left by an older version) would reach the file as the text
// "INF", which no office above can take in.
void refuseNonFinite(const QVector<QVariant> &row, int k, const QStringList &columns)
{
    const QVariant &value = row.at(k);
    if (value.typeId() != QMetaType::Double || std::isfinite(value.toDouble()))
        return;
    static const int enterprise = int(uploadColumnNames().indexOf(col::EnterpriseName));
    static const int project = int(uploadColumnNames().indexOf(col::ProjectName));
    throw Error(u"项目“%1／%2”的“%3”不是有效的数字（%4），请改正后再制作上报文件"_s.arg(
        row.at(enterprise).toString(), row.at(project).toString(), columns.at(k), formatNumber(value.toDouble())));
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
    QVector<QVariant> row;
    row.reserve(columns.size());
    for (const QString &name : columns)
        row << name;
    fill.writeRow(row);

    {
        Connection connection(databasePath);
        Statement projects =
            connection.prepare(u"select %1 from TZ_XIANGMU order by id"_s.arg(quotedColumnList(columns)));
        const int count = int(columns.size());
        while (projects.next()) {
            progress.advance();
            for (int k = 0; k < count; ++k)
                row[k] = projects.value(k);
            for (int k = 0; k < count; ++k)
                refuseNonFinite(row, k, columns);
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
