#include "RawWorkbook.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

namespace granwise::test {

std::string sharedStrings(const std::string &items)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" +
           items + "</sst>";
}

std::string noise(size_t size)
{
    std::string bytes(size, '\0');
    QRandomGenerator random(7);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

namespace {

std::string columnName(int column)
{
    std::string letters;
    while (column > 0) {
        letters.insert(letters.begin(), char('A' + (column - 1) % 26));
        column = (column - 1) / 26;
    }
    return letters;
}

std::string escaped(const QString &text)
{
    std::string out;
    for (const char c : text.toStdString()) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

template<typename T>
void put(std::string &out, T value)
{
    value = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

} // namespace

QVector<RawZipEntry> rawWorkbookEntries(const QString &sheetName, const std::string &sheet)
{
    const std::string ns = "http://schemas.openxmlformats.org/";
    return {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"" + ns + "package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"" + ns + "package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + ns + "officeDocument/2006/relationships/officeDocument\" "
         "Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"" + ns + "spreadsheetml/2006/main\" "
         "xmlns:r=\"" + ns + "officeDocument/2006/relationships\"><sheets><sheet name=\"" + escaped(sheetName) +
         "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"" + ns + "package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + ns + "officeDocument/2006/relationships/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"" + ns + "officeDocument/2006/relationships/sharedStrings\" "
         "Target=\"sharedStrings.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"" + ns + "officeDocument/2006/relationships/styles\" "
         "Target=\"styles.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet},
    };
}

void writeRawWorkbook(const QString &path, const QString &sheetName, const std::string &sheet,
                      const std::map<std::string, std::string> &parts)
{
    QFile::remove(path);
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    std::map<std::string, std::string> all;
    for (const RawZipEntry &e : rawWorkbookEntries(sheetName, sheet))
        all[e.name] = e.bytes;
    for (const auto &[name, bytes] : parts)
        all[name] = bytes;
    for (const auto &[name, bytes] : all) {
        zip_source_t *source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(zip), 0) << zip_strerror(zip);
}

void writeRawZip(const QString &path, const QVector<RawZipEntry> &entries)
{
    std::string out, directory;
    for (const RawZipEntry &e : entries) {
        const quint64 size = e.declaredSize == quint64(-1) ? e.bytes.size() : e.declaredSize;
        const bool wide = size >= 0xFFFFFFFFu;
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(e.bytes.data()), uInt(e.bytes.size())));
        std::string extra;
        if (wide) {
            put<quint16>(extra, 0x0001);
            put<quint16>(extra, 16);
            put<quint64>(extra, size);
            put<quint64>(extra, e.bytes.size());
        }
        const quint32 offset = quint32(out.size());
        put<quint32>(out, 0x04034b50);
        put<quint16>(out, wide ? 45 : 20);
        put<quint16>(out, 0x0800); // names in UTF-8
        put<quint16>(out, 0);      // stored
        put<quint32>(out, 0);      // time and date
        put<quint32>(out, crc);
        put<quint32>(out, wide ? 0xFFFFFFFFu : quint32(e.bytes.size()));
        put<quint32>(out, wide ? 0xFFFFFFFFu : quint32(size));
        put<quint16>(out, quint16(e.name.size()));
        put<quint16>(out, quint16(extra.size()));
        out += e.name + extra + e.bytes;

        put<quint32>(directory, 0x02014b50);
        put<quint16>(directory, wide ? 45 : 20);
        put<quint16>(directory, wide ? 45 : 20);
        put<quint16>(directory, 0x0800);
        put<quint16>(directory, 0);
        put<quint32>(directory, 0);
        put<quint32>(directory, crc);
        put<quint32>(directory, wide ? 0xFFFFFFFFu : quint32(e.bytes.size()));
        put<quint32>(directory, wide ? 0xFFFFFFFFu : quint32(size));
        put<quint16>(directory, quint16(e.name.size()));
        put<quint16>(directory, quint16(extra.size()));
        put<quint16>(directory, 0); // comment
        put<quint16>(directory, 0); // disk
        put<quint16>(directory, 0); // internal attributes
        put<quint32>(directory, 0); // external attributes
        put<quint32>(directory, offset);
        directory += e.name + extra;
    }
    const quint32 directoryOffset = quint32(out.size());
    out += directory;
    put<quint32>(out, 0x06054b50);
    put<quint16>(out, 0);
    put<quint16>(out, 0);
    put<quint16>(out, quint16(entries.size()));
    put<quint16>(out, quint16(entries.size()));
    put<quint32>(out, quint32(directory.size()));
    put<quint32>(out, directoryOffset);
    put<quint16>(out, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(out.data(), qint64(out.size()));
}

std::string sheetXml(const std::string &rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           rows + "</sheetData></worksheet>";
}

std::string rawRow(int row, const QVector<QVariant> &values, const std::map<int, std::string> &rawCells)
{
    std::string xml = "<row r=\"" + std::to_string(row) + "\">";
    auto raw = rawCells.begin();
    const int columns = std::max<int>(int(values.size()), rawCells.empty() ? 0 : rawCells.rbegin()->first);
    for (int column = 1; column <= columns; ++column) {
        const std::string reference = columnName(column) + std::to_string(row);
        if (raw != rawCells.end() && raw->first == column) {
            xml += raw->second;
            ++raw;
            continue;
        }
        const QVariant value = values.value(column - 1);
        if (!value.isValid() || value.isNull())
            continue;
        if (value.typeId() == QMetaType::QString)
            xml += "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" + escaped(value.toString()) + "</t></is></c>";
        else
            xml += "<c r=\"" + reference + "\"><v>" + QByteArray::number(value.toDouble(), 'g', 17).toStdString() +
                   "</v></c>";
    }
    return xml + "</row>";
}

} // namespace granwise::test
