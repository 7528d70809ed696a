#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <map>
#include <string>

// Test helpers: .xlsx packages written part by part, as an odd or hostile writer might write
// them, to see what the readers make of them.
namespace granwise::test {

// A package with one worksheet `sheetName` whose XML is `sheetXml`, plus the given parts
// (xl/sharedStrings.xml and xl/styles.xml are linked from the workbook when given; any other
// part is only stored). Parts are deflated, so that a very regular part makes a small file.
void writeRawWorkbook(const QString &path, const QString &sheetName, const std::string &sheetXml,
                      const std::map<std::string, std::string> &parts = {});

// A zip archive of the given entries, stored uncompressed, where an entry may declare another
// uncompressed size than it has (written with the ZIP64 fields when the size needs them).
struct RawZipEntry {
    std::string name;
    std::string bytes;
    quint64 declaredSize = quint64(-1); // -1: the real size
};
void writeRawZip(const QString &path, const QVector<RawZipEntry> &entries);
// The entries of the minimal package above.
QVector<RawZipEntry> rawWorkbookEntries(const QString &sheetName, const std::string &sheetXml);

// A shared-string part around the given <si> items.
std::string sharedStrings(const std::string &items);
// Incompressible bytes: stored beside a part, they make the file large enough that the part
// unpacks within the file's budget, so that a limit of the part's content is what is tested.
std::string noise(size_t size);

// Sheet XML around the given <row> elements.
std::string sheetXml(const std::string &rows);
// A row of cells from values: texts as inline strings, numbers as numbers, invalid variants
// left out; `rawCells` (column from 1 -> the whole <c> element) replace or add cells as given.
std::string rawRow(int row, const QVector<QVariant> &values, const std::map<int, std::string> &rawCells = {});

} // namespace granwise::test
