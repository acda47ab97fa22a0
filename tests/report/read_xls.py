"""Reads an .xls file with xlrd (a strict reader) and prints what the tests check as JSON."""
import io
import json
import struct
import sys

import xlrd
from xlrd import compdoc

path = sys.argv[1]
log = io.StringIO()
book = xlrd.open_workbook(path, formatting_info=True, logfile=log)
sheet = book.sheet_by_index(0)

# xlrd does not keep the page header and footer, so read their records from the stream.
with open(path, "rb") as f:
    stream = compdoc.CompDoc(f.read(), logfile=log).get_named_stream("Workbook")
pages = []
pos = 0
while pos + 4 <= len(stream):
    kind, size = struct.unpack_from("<HH", stream, pos)
    data = stream[pos + 4:pos + 4 + size]
    pos += 4 + size
    if kind in (0x0014, 0x0015) and size >= 3:
        count, flags = struct.unpack_from("<HB", data)
        text = data[3:3 + 2 * count].decode("utf-16-le") if flags & 1 else data[3:3 + count].decode("latin-1")
        if kind == 0x0014:
            pages.append({"header": text})
        else:
            pages[-1]["footer"] = text

font = book.font_list[book.xf_list[0].font_index]
print(json.dumps({
    "sheets": book.sheet_names(),
    "font": [font.name, font.height, font.character_set],
    "pages": pages,
    "cells": [[[cell.ctype, cell.value] for cell in sheet.row(r)] for r in range(sheet.nrows)],
    "warnings": log.getvalue(),
}, ensure_ascii=False))
