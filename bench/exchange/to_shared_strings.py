#!/usr/bin/env python3
"""Rewrites a workbook's inline-string cells as a desktop spreadsheet program saves them: every
text once in a shared-string table (xl/sharedStrings.xml, added to the workbook's own table when
it has one), the cells referring to it by index. The rest of the package is copied unchanged.

    to_shared_strings.py IN.xlsx OUT.xlsx
"""
import re
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"
TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"

CELL = re.compile(rb'<c([^>]*?) t="inlineStr"([^>]*)><is><t(?: xml:space="preserve")?>(.*?)</t></is></c>', re.S)
EMPTY_CELL = re.compile(rb'<c([^>]*?) t="inlineStr"([^>]*)><is><t(?: xml:space="preserve")?/></is></c>')


def main():
    source, target = sys.argv[1], sys.argv[2]
    index = {}
    order = []
    count = 0
    first = 0  # items of the workbook's own table

    def shared(text):
        nonlocal count
        count += 1
        n = index.get(text)
        if n is None:
            n = index[text] = first + len(order)
            order.append(text)
        return n

    def cell(m):
        return b'<c%s t="s"%s><v>%d</v></c>' % (m.group(1), m.group(2), shared(m.group(3)))

    def empty_cell(m):
        return b'<c%s t="s"%s><v>%d</v></c>' % (m.group(1), m.group(2), shared(b""))

    with zipfile.ZipFile(source) as zin, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as zout:
        names = zin.namelist()
        own = zin.read("xl/sharedStrings.xml") if "xl/sharedStrings.xml" in names else None
        if own is not None:
            first = len(re.findall(rb"<si[ >/]", own))
        for name in names:
            data = zin.read(name)
            if name == "xl/sharedStrings.xml":
                continue
            if name.startswith("xl/worksheets/") and name.endswith(".xml"):
                data = EMPTY_CELL.sub(empty_cell, CELL.sub(cell, data))
            elif own is not None:
                pass
            elif name == "xl/_rels/workbook.xml.rels":
                data = data.replace(b"</Relationships>", b'<Relationship Id="rIdShared" Type="%s" '
                                    b'Target="sharedStrings.xml"/></Relationships>' % REL.encode())
            elif name == "[Content_Types].xml":
                data = data.replace(b"</Types>", b'<Override PartName="/xl/sharedStrings.xml" '
                                    b'ContentType="%s"/></Types>' % TYPE.encode())
            zout.writestr(name, data)
        items = b"".join(b'<si><t xml:space="preserve">%s</t></si>' % t for t in order)
        if own is None:
            table = b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<sst xmlns="%s">%s</sst>' % (
                MAIN.encode(), items)
        else:
            table = re.sub(rb'\s(count|uniqueCount)="\d+"', b"", own)
            table = re.sub(rb"<sst([^>]*)/>", rb"<sst\1></sst>", table)
            table = table.replace(b"</sst>", items + b"</sst>")
        zout.writestr("xl/sharedStrings.xml", table)
    print("%d text cells, %d distinct" % (count, len(order)))


if __name__ == "__main__":
    main()
