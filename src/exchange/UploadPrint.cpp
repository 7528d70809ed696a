#include "UploadPrint.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/ProjectColumns.h"
#include "store/ProjectPrint.h"

#include <QHash>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

enum class Affinity { Integer, Text, Blob, Real, Numeric };

// SQLite's rules for the affinity of a declared column type.
Affinity affinityOf(const QString &declared)
{
    const QString type = declared.toUpper();
    if (type.contains(u"INT"_s))
        return Affinity::Integer;
    if (type.contains(u"CHAR"_s) || type.contains(u"CLOB"_s) || type.contains(u"TEXT"_s))
        return Affinity::Text;
    if (type.contains(u"BLOB"_s) || type.isEmpty())
        return Affinity::Blob;
    if (type.contains(u"REAL"_s) || type.contains(u"FLOA"_s) || type.contains(u"DOUB"_s))
        return Affinity::Real;
    return Affinity::Numeric;
}

} // namespace

UploadRowPrinter::UploadRowPrinter()
{
    QHash<QString, int> position;
    const QStringList columns = uploadColumnNames();
    for (int k = 0; k < columns.size(); ++k)
        position.insert(columns.at(k), k);
    const QStringList printed = projectPrintColumns();
    for (qsizetype i = 0; i < printed.size(); i += kProjectPrintGroup) {
        QVector<int> group;
        for (const QString &name : printed.mid(i, kProjectPrintGroup)) {
            const auto found = position.constFind(name);
            if (found == position.constEnd())
                throw Error(u"上报文件中没有列 %1"_s.arg(name));
            group << found.value();
        }
        m_groups << group;
    }
}

qint64 UploadRowPrinter::print(const Utf8Row &values) const
{
    ValuePrint whole;
    for (const QVector<int> &group : m_groups) {
        ValuePrint part;
        for (const int k : group) {
            const Utf8Row::Cell &cell = values.at(k);
            switch (cell.type) {
            case CellValue::Type::Empty:
                part.addNull();
                break;
            case CellValue::Type::Text: {
                const std::string_view text = values.text(k);
                part.addBytes(ValuePrint::kText, text.data(), int(text.size()));
                break;
            }
            default:
                // A whole number is stored as an integer and read back as a REAL: -0 comes
                // back as 0.
                part.addFloat(cell.number == 0 ? 0.0 : cell.number);
            }
        }
        whole.addInteger(part.value());
    }
    return whole.value();
}

bool UploadRowPrinter::printsAsBound(Connection &connection)
{
    // Texts are printed as UTF-8, as stored; a trigger could change what is stored.
    if (connection.scalar(u"pragma encoding"_s).toString() != u"UTF-8"_s ||
        connection.scalar(u"select exists (select 1 from sqlite_master where type = 'trigger' "
                          u"and tbl_name = 'TZ_XIANGMU')"_s)
                .toInt() != 0)
        return false;
    QHash<QString, Affinity> affinities;
    Statement info = connection.prepare(u"select name, type from pragma_table_info('TZ_XIANGMU')"_s);
    while (info.next())
        affinities.insert(info.text(0), affinityOf(info.text(1)));
    for (const QString &name : uploadColumnNames()) {
        const auto found = affinities.constFind(name);
        const bool number = findProjectColumn(name)->isNumber();
        if (found == affinities.constEnd() || found.value() != (number ? Affinity::Real : Affinity::Text))
            return false;
    }
    return true;
}

} // namespace granwise
