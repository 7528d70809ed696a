#include "SheetReader.h"

#include "CellReference.h"
#include "ReadLimits.h"
#include "XlsxSheetReader.h"
#include "store/Error.h"

#include <QFile>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

enum class WorkbookKind { OfficeOpenXml, Legacy };

WorkbookKind kindOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(u"工作簿打不开：%1（%2）"_s.arg(path, file.errorString()));
    const QByteArray head = file.read(8);
    if (head.isEmpty())
        throw Error(u"工作簿是空文件：%1"_s.arg(path));
    if (head.startsWith("PK\x03\x04"))
        return WorkbookKind::OfficeOpenXml;
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return WorkbookKind::Legacy;
    throw Error(u"不是 Excel 工作簿：%1"_s.arg(path));
}

} // namespace

bool SheetReader::nextUtf8Row(Utf8Row &row)
{
    if (!nextRow(m_utf8Cells))
        return false;
    row.assign(m_utf8Cells);
    return true;
}

void SheetReader::refuseColumnBeyondLimit(const QString &path, int row, int column, int lastColumn)
{
    sheets::limits::refuseBeyondLimit(
        path, u"第 %1 行 %2 列远在列名之外，表格的内容不应超过 %3 列"_s.arg(
                  QString::number(row), QString::fromStdString(sheets::columnLetters(column)),
                  QString::fromStdString(sheets::columnLetters(lastColumn))));
}

std::unique_ptr<SheetReader> SheetReader::open(const QString &path, const QString &sheetName)
{
    if (kindOf(path) == WorkbookKind::Legacy)
        return sheets::openXlsSheet(path, sheetName);
    return sheets::openXlsxSheet(path, sheetName);
}

QStringList SheetReader::sheetNames(const QString &path)
{
    if (kindOf(path) == WorkbookKind::Legacy)
        return sheets::xlsSheetNames(path);
    return sheets::xlsxSheetNames(path);
}

} // namespace granwise
