#!/usr/bin/env python3
"""Writes small hostile upload files into a folder, to measure what importing them costs.

    make_hostile.py TEMPLATE.xlsx OUTDIR

Each file is under 1 MB; each must be refused (or read) with bounded memory and time.
"""
import os
import random
import struct
import sys
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "fixtures", "sheets"))
import biff8_writer  # noqa: E402

NS = "http://schemas.openxmlformats.org/"
MAIN = NS + "spreadsheetml/2006/main"


def column(n):
    letters = ""
    while n:
        n, rest = divmod(n - 1, 26)
        letters = chr(65 + rest) + letters
    return letters


def inline(ref, text):
    return '<c r="%s" t="inlineStr"><is><t>%s</t></is></c>' % (ref, text)


def header_row(names):
    return '<row r="1">' + "".join(inline(column(i + 1) + "1", n) for i, n in enumerate(names)) + "</row>"


def data_row(names, r):
    cells = []
    for i, n in enumerate(names):
        ref = column(i + 1) + str(r)
        if n.startswith(("总_", "累计_", "本年_", "建设_", "完成_")) or n == "可用建设用地":
            cells.append('<c r="%s"><v>0</v></c>' % ref)
        else:
            cells.append(inline(ref, n + str(r)))
    return '<row r="%d">%s</row>' % (r, "".join(cells))


def sheet(rows):
    return '<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>' % (
        MAIN, rows)


def package(path, sheet_xml, parts=None, level=9):
    parts = dict(parts or {})
    files = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="%spackage/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/></Types>' % NS,
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%spackage/2006/relationships">'
        '<Relationship Id="rId1" Type="%sofficeDocument/2006/relationships/officeDocument" '
        'Target="xl/workbook.xml"/></Relationships>' % (NS, NS),
        "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="%s" xmlns:r="%sofficeDocument/'
        '2006/relationships"><sheets><sheet name="数据信息" sheetId="1" r:id="rId1"/></sheets></workbook>' % (MAIN, NS),
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships '
        'xmlns="%spackage/2006/relationships">'
        '<Relationship Id="rId1" Type="%sofficeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
        '<Relationship Id="rId2" Type="%sofficeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
        '<Relationship Id="rId3" Type="%sofficeDocument/2006/relationships/styles" Target="styles.xml"/>'
        '</Relationships>' % (NS, NS, NS, NS),
        "xl/worksheets/sheet1.xml": sheet_xml,
    }
    files.update(parts)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=level) as z:
        for name, data in files.items():
            z.writestr(name, data)


def with_declared_size(path, part, size):
    """Rewrites a package so that `part` declares `size` bytes (ZIP64 fields), stored."""
    with zipfile.ZipFile(path) as z:
        entries = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    out, directory = b"", b""
    for name, data in entries:
        declared = size if name == part else len(data)
        wide = declared >= 0xFFFFFFFF
        crc = zlib.crc32(data)
        extra = struct.pack("<HHQQ", 1, 16, declared, len(data)) if wide else b""
        encoded = name.encode()
        offset = len(out)
        sizes = (0xFFFFFFFF, 0xFFFFFFFF) if wide else (len(data), declared)
        out += struct.pack("<IHHHIIIIHH", 0x04034B50, 45, 0x800, 0, 0, crc, sizes[0], sizes[1], len(encoded),
                           len(extra)) + encoded + extra + data
        directory += struct.pack("<IHHHHIIIIHHHHHII", 0x02014B50, 45, 45, 0x800, 0, 0, crc, sizes[0], sizes[1],
                                 len(encoded), len(extra), 0, 0, 0, 0, offset) + encoded + extra
    out += directory + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(directory),
                                   len(out), 0)
    with open(path, "wb") as f:
        f.write(out)


def template_names(template):
    return biff8_writer.template_header(template)


def main():
    template, outdir = sys.argv[1], sys.argv[2]
    os.makedirs(outdir, exist_ok=True)
    names = template_names(template)
    head = header_row(names)
    one = data_row(names, 2)

    # One cell in column XFD on each of 2 000 rows.
    package(os.path.join(outdir, "xfd.xlsx"),
            sheet(head + one + "".join('<row r="%d"><c r="XFD%d"><v>1</v></c></row>' % (r, r) for r in range(3, 2001))))
    # One shared string of 256 MB.
    package(os.path.join(outdir, "long-string.xlsx"), sheet(head + one),
            {"xl/sharedStrings.xml": '<sst xmlns="%s"><si><t>%s</t></si></sst>' % (MAIN, "x" * (256 << 20))})
    # 16.7 million empty shared strings.
    package(os.path.join(outdir, "many-strings.xlsx"), sheet(head + one),
            {"xl/sharedStrings.xml": '<sst xmlns="%s">%s</sst>' % (MAIN, "<si><t></t></si>" * 16700000)})
    # A styles part of 256 MB.
    package(os.path.join(outdir, "styles.xlsx"), sheet(head + one),
            {"xl/styles.xml": '<styleSheet xmlns="%s"><cellXfs>%s</cellXfs></styleSheet>' % (
                MAIN, '<xf numFmtId="0"/>' * ((256 << 20) // 18))})
    # A start tag of 200 MB.
    package(os.path.join(outdir, "long-tag.xlsx"),
            sheet(head + '<row r="2"><c r="A2" x="%s"><v>1</v></c></row>' % ("a" * (200 << 20))))
    # Near 1 MB, with incompressible bytes beside a part so that the part unpacks within the
    # file's budget and the limits of its content are what stop it: 90 MB of short shared
    # strings, a start tag of 31 MB. And 100 000 rows reaching column GR (the farthest a cell may
    # lie right of the header), which are taken in.
    noise = {"xl/media/noise.bin": random.Random(7).randbytes(900 * 1024)}
    package(os.path.join(outdir, "budget-strings.xlsx"), sheet(head + one),
            dict(noise, **{"xl/sharedStrings.xml": '<sst xmlns="%s">%s</sst>' % (MAIN, "<si><t>ab</t></si>" * 5000000)}))
    package(os.path.join(outdir, "budget-tag.xlsx"),
            sheet(head + '<row r="2"><c r="A2" x="%s"><v>1</v></c></row>' % ("a" * (31 << 20))), noise)
    wide = "".join('<row r="%d"><c r="A%d"><v>1</v></c><c r="GR%d"><v>1</v></c></row>' % (r, r, r)
                   for r in range(3, 100000))
    package(os.path.join(outdir, "budget-wide.xlsx"), sheet(head + one + wide))
    # 2 KB whose directory declares a workbook part of 1 TB.
    path = os.path.join(outdir, "terabyte.xlsx")
    package(path, sheet(head[:0] + '<row r="1">%s</row>' % inline("A1", "x")))
    with_declared_size(path, "xl/workbook.xml", 1 << 40)
    # A legacy workbook whose second sheet-extent record claims 100 001 rows.
    sheet_ = biff8_writer.Sheet("数据信息")
    for c, n in enumerate(names):
        sheet_.set(0, c, n)
    for r in range(1, 200):
        sheet_.set(r, 0, r + 0.5)
    stream = bytearray(biff8_writer.workbook_stream([sheet_]))
    at = 0
    numbers = 0
    while at < len(stream):
        kind, length = struct.unpack_from("<HH", stream, at)
        if kind == 0x0203:
            numbers += 1
            if numbers == 100:
                struct.pack_into("<HHIIHHH", stream, at, 0x0200, 14, 0, 100001, 0, 1, 0)
                break
        at += 4 + length
    with open(os.path.join(outdir, "dimensions.xls"), "wb") as f:
        f.write(biff8_writer.compound_file(bytes(stream)))
    # Long texts continued across records (a file that must be read).
    legacy = biff8_writer.long_text()
    for c, n in enumerate(names):
        legacy[0].set(0, c, n)
    with open(os.path.join(outdir, "long-text.xls"), "wb") as f:
        f.write(biff8_writer.compound_file(biff8_writer.workbook_stream(legacy, True)))


if __name__ == "__main__":
    main()
