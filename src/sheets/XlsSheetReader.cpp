#include "XlsxSheetReader.h"

#include "store/Error.h"

#include <QFile>
#include <freexl.h>

namespace granwise::sheets {

using namespace Qt::StringLiterals;

namespace {

// An open legacy workbook; FreeXL reads it whole when it opens it.
class XlsHandle {
public:
    explicit XlsHandle(const QString &path) : m_path(path)
    {
        const int rc = freexl_open(QFile::encodeName(path).constData(), &m_handle);
        if (rc != FREEXL_OK) {
            if (m_handle)
                freexl_close(m_handle);
            m_handle = nullptr;
            if (rc == FREEXL_FILE_NOT_FOUND)
                throw Error(u"工作簿打不开：%1"_s.arg(path));
            throw Error(u"工作簿已损坏或不是 Excel 工作簿：%1（FreeXL 错误 %2）"_s.arg(path).arg(rc));
        }
    }
    ~XlsHandle()
    {
        if (m_handle)
            freexl_close(m_handle);
    }
    XlsHandle(const XlsHandle &) = delete;
    XlsHandle &operator=(const XlsHandle &) = delete;

    const void *get() const { return m_handle; }
    const QString &path() const { return m_path; }

    QStringList sheetNames() const
    {
        unsigned int count = 0;
        if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            throw Error(u"工作簿已损坏：%1"_s.arg(m_path));
        QStringList names;
        for (unsigned int i = 0; i < count; ++i) {
            const char *name = nullptr;
            if (freexl_get_worksheet_name(m_handle, (unsigned short)i, &name) != FREEXL_OK)
                throw Error(u"工作簿已损坏：%1"_s.arg(m_path));
            names << QString::fromUtf8(name ? name : "");
        }
        return names;
    }

private:
    const void *m_handle = nullptr;
    QString m_path;
};

class XlsSheetReader final : public SheetReader {
public:
    XlsSheetReader(std::unique_ptr<XlsHandle> handle, int sheetIndex) : m_xls(std::move(handle))
    {
        if (freexl_select_active_worksheet(m_xls->get(), (unsigned short)sheetIndex) != FREEXL_OK ||
            freexl_worksheet_dimensions(m_xls->get(), &m_rows, &m_columns) != FREEXL_OK)
            throw Error(u"工作簿已损坏：%1"_s.arg(m_xls->path()));
    }

    bool nextRow(QVector<CellValue> &cells) override
    {
        while (m_next < m_rows) {
            const unsigned int row = m_next++;
            cells.clear();
            bool any = false;
            for (unsigned short column = 0; column < m_columns; ++column) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(m_xls->get(), row, column, &value) != FREEXL_OK)
                    throw Error(u"工作簿已损坏：%1（第 %2 行）"_s.arg(m_xls->path()).arg(row + 1));
                CellValue cell = convert(value);
                if (cell.type == CellValue::Type::Empty)
                    continue;
                any = true;
                cells.resize(column + 1);
                cells[column] = std::move(cell);
            }
            if (any) {
                m_rowNumber = int(row) + 1;
                return true;
            }
        }
        return false;
    }

    int rowNumber() const override { return m_rowNumber; }
    int rowCountHint() const override { return int(m_rows); }

private:
    std::unique_ptr<XlsHandle> m_xls;
    unsigned int m_rows = 0;
    unsigned short m_columns = 0;
    unsigned int m_next = 0;
    int m_rowNumber = 0;

    static CellValue convert(const FreeXL_CellValue &value)
    {
        switch (value.type) {
        case FREEXL_CELL_INT:
            return CellValue::ofNumber(value.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return CellValue::ofNumber(value.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
            return CellValue::ofText(QString::fromUtf8(value.value.text_value ? value.value.text_value : ""));
        case FREEXL_CELL_DATE:
            return CellValue::ofDateTime(
                QDateTime(QDate::fromString(QString::fromLatin1(value.value.text_value), u"yyyy-MM-dd"_s), QTime(0, 0)));
        case FREEXL_CELL_DATETIME:
            return CellValue::ofDateTime(
                QDateTime::fromString(QString::fromLatin1(value.value.text_value), u"yyyy-MM-dd HH:mm:ss"_s));
        case FREEXL_CELL_TIME: {
            const QTime t = QTime::fromString(QString::fromLatin1(value.value.text_value), u"HH:mm:ss"_s);
            CellValue cell;
            cell.type = CellValue::Type::DateTime;
            cell.number = t.msecsSinceStartOfDay() / 86400000.0;
            return cell;
        }
        default:
            return {};
        }
    }
};

} // namespace

std::unique_ptr<SheetReader> openXlsSheet(const QString &path, const QString &sheetName)
{
    auto handle = std::make_unique<XlsHandle>(path);
    const QStringList names = handle->sheetNames();
    qsizetype index = names.indexOf(sheetName);
    if (index < 0) {
        for (qsizetype i = 0; i < names.size() && index < 0; ++i)
            if (names.at(i).compare(sheetName, Qt::CaseInsensitive) == 0)
                index = i;
    }
    if (index < 0)
        throw Error(u"工作簿中没有工作表“%1”：%2"_s.arg(sheetName, path));
    return std::make_unique<XlsSheetReader>(std::move(handle), int(index));
}

QStringList xlsSheetNames(const QString &path)
{
    return XlsHandle(path).sheetNames();
}

} // namespace granwise::sheets
