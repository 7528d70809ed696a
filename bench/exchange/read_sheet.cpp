// Our reader alone, to see what reading a workbook costs apart from storing it: every cell of the
// upload sheet read through SheetReader, nothing stored.
//
//     exchange_read_sheet FILE.xlsx
#include "sheets/SheetReader.h"
#include "store/Error.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: exchange_read_sheet FILE.xlsx\n");
        return 2;
    }
    try {
        auto reader = granwise::SheetReader::open(QString::fromLocal8Bit(argv[1]), QStringLiteral("数据信息"));
        QVector<granwise::CellValue> cells;
        long rows = 0, values = 0;
        while (reader->nextRow(cells)) {
            ++rows;
            for (const granwise::CellValue &c : cells)
                values += c.type != granwise::CellValue::Type::Empty;
        }
        std::printf("%ld rows, %ld values\n", rows, values);
    } catch (const granwise::Error &e) {
        std::fprintf(stderr, "%s\n", e.text().toUtf8().constData());
        return 1;
    }
    return 0;
}
