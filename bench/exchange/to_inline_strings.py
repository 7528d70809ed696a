#!/usr/bin/env python3
"""Rewrites a workbook's shared-string cells with their texts inline, leaving everything else of
the sheet as it is (cell references, styles, the XML a spreadsheet program writes around them),
and drops the shared-string table. Beside the workbook it comes from, it tells what reading the
table costs apart from reading the rest of the sheet.

    to_inline_strings.py IN.xlsx OUT.xlsx
"""
import re
import sys
import zipfile

ITEM = re.compile(rb"<si>(.*?)</si>|<si/>", re.S)
TEXT = re.compile(rb"<t(?:\s[^>]*)?>(.*?)</t>|<t(?:\s[^>]*)?/>", re.S)
PHONETIC = re.compile(rb"<rPh[ >].*?</rPh>", re.S)
CELL = re.compile(rb'<c([^>]*?) t="s"([^>]*)><v>(\d+)</v></c>')
CHUNK = 16 << 20


def strings(table):
    texts = []
    for item in ITEM.finditer(table):
        body = PHONETIC.sub(b"", item.group(1) or b"")
        texts.append(b"".join(t.group(1) or b"" for t in TEXT.finditer(body)))
    return texts


def main():
    source, target = sys.argv[1], sys.argv[2]
    with zipfile.ZipFile(source) as zin, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as zout:
        names = zin.namelist()
        texts = strings(zin.read("xl/sharedStrings.xml")) if "xl/sharedStrings.xml" in names else []

        def cell(m):
            return b'<c%s t="inlineStr"%s><is><t xml:space="preserve">%s</t></is></c>' % (
                m.group(1), m.group(2), texts[int(m.group(3))])

        for name in names:
            if name == "xl/sharedStrings.xml":
                continue
            if not name.startswith("xl/worksheets/"):
                data = zin.read(name)
                if name == "[Content_Types].xml":
                    data = re.sub(rb'<Override PartName="/xl/sharedStrings.xml"[^>]*/>', b"", data)
                elif name == "xl/_rels/workbook.xml.rels":
                    data = re.sub(rb"<Relationship [^>]*sharedStrings[^>]*/>", b"", data)
                zout.writestr(name, data)
                continue
            # Sheets are streamed, a piece at a time cut after the last whole cell.
            with zin.open(name) as sheet, zout.open(name, "w", force_zip64=True) as out:
                rest = b""
                while True:
                    piece = sheet.read(CHUNK)
                    data = rest + piece
                    cut = len(data) if not piece else data.rfind(b"</c>") + 4
                    if cut < 4:
                        cut = 0
                    out.write(CELL.sub(cell, data[:cut]))
                    rest = data[cut:]
                    if not piece:
                        break


if __name__ == "__main__":
    main()
