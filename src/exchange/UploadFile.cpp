#include "UploadFile.h"

#include "ExchangeTexts.h"
#include "sheets/CopyTemplateFile.h"
#include "sheets/SheetStreamFill.h"
#include "store/Database.h"
#include "store/Glob.h"
#include "store/ProjectColumns.h"

#include <QDate>

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

QString uploadTemplatePath()
{
    return glob::Locations.templatePath(exchange::TemplateFileName);
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
