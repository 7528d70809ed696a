#include "TableWorkbook.h"

#include "SheetStreamFill.h"
#include "store/Error.h"

#include <QFile>
#include <cstdio>

namespace granwise {

using namespace Qt::StringLiterals;

void writeTableWorkbook(const QString &path, const QString &sheetName, const QStringList &headings,
                        const QVector<QVector<QVariant>> &rows)
{
    const QString temporary = path + u".part"_s;
    QFile::remove(temporary);
    try {
        createBlankWorkbook(temporary, sheetName);
        SheetStreamFill fill(temporary);
        QVector<QVariant> heading;
        for (const QString &text : headings)
            heading << text;
        fill.writeRow(heading);
        for (const QVector<QVariant> &row : rows)
            fill.writeRow(row);
        fill.finish();
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        throw Error(u"无法写入文件：%1"_s.arg(path));
    }
}

} // namespace granwise
