"""The reference for the import benchmark: openpyxl reading every cell of the upload sheet in
its read-only (streaming) mode, without doing anything with the values.

    python3 reference_reader.py FILE.xlsx
"""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1], read_only=True)
rows = 0
for row in book["数据信息"].iter_rows(values_only=True):
    rows += 1
print(rows)
